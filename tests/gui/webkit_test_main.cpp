#include <gtest/gtest.h>
#include <gtk/gtk.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "support/temp_folder.h"

namespace {

// The engine's caches and the desktop's choice of browser live in a folder of
// the test's own; the "browser" only writes down what it was asked to open.
void PrivateDesktop(const taviro::testing::TempFolder& home) {
  const std::string root = home.path().string();
  ::setenv("HOME", root.c_str(), 1);
  ::setenv("XDG_DATA_HOME", (root + "/data").c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", (root + "/config").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (root + "/cache").c_str(), 1);
  home.Write("browser.sh", "#!/bin/sh\necho \"$1\" >> \"" + root + "/data/browser-opened.txt\"\n");
  ::chmod((root + "/browser.sh").c_str(), 0755);
  std::filesystem::create_directories(home.path() / "data/applications");
  std::filesystem::create_directories(home.path() / "config");
  home.Write("data/applications/taviro-test-browser.desktop",
             "[Desktop Entry]\nType=Application\nName=Test browser\nExec=" + root +
                 "/browser.sh %u\nMimeType=x-scheme-handler/http;x-scheme-handler/https;\n");
  home.Write("config/mimeapps.list",
             "[Default Applications]\nx-scheme-handler/http=taviro-test-browser.desktop\n"
             "x-scheme-handler/https=taviro-test-browser.desktop\n");
}

}  // namespace

int main(int argc, char** argv) {
  ::setenv("LC_ALL", "C.UTF-8", 1);
  std::setlocale(LC_ALL, "C.UTF-8");
  const taviro::testing::TempFolder home;
  PrivateDesktop(home);
  gtk_init(&argc, &argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
