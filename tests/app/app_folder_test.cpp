#include "app/app_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/temp_folder.h"

namespace taviro {
namespace {

TEST(AppFolder, AWritableProgramFolderIsTheApplicationFolder) {
  testing::TempFolder program;
  EXPECT_EQ(ResolveAppFolder(program.path(), program / "data"), program.path() / "");
  EXPECT_FALSE(program.Exists("data"));
}

TEST(AppFolder, ASystemInstallationKeepsItsFilesInTheDataHomeEvenWhenWritable) {
  testing::TempFolder root;
  const std::filesystem::path program = root / "usr/lib/taviro";
  std::filesystem::create_directories(program);
  root.Write("usr/lib/taviro/i.gif", "GIF89a");
  for (const std::filesystem::path& folder : {program, program / ""}) {
    EXPECT_EQ(ResolveAppFolder(folder, root / "home/data"), root / "home/data/taviro/");
  }
  EXPECT_EQ(root.Read("home/data/taviro/i.gif"), "GIF89a");
  // Only that exact layout: a portable folder of another name stays itself.
  std::filesystem::create_directories(root / "lib/taviro-portable");
  EXPECT_EQ(ResolveAppFolder(root / "lib/taviro-portable", root / "d"), root / "lib/taviro-portable/");
}

TEST(AppFolder, XdgDataHomeFallsBackToTheHomeFolder) {
  EXPECT_EQ(XdgDataHome("/x/data", "/home/u"), "/x/data");
  EXPECT_EQ(XdgDataHome("relative", "/home/u"), "/home/u/.local/share");
  EXPECT_EQ(XdgDataHome(nullptr, "/home/u"), "/home/u/.local/share");
}

TEST(AppFolder, ProgramFolderHoldsTheTestExecutable) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() / "taviro_unit_tests"));
}

}  // namespace
}  // namespace taviro
