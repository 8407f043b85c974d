#include "util/app_folder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/temp_folder.h"

namespace taviro {
namespace {

TEST(AppFolder, AWritableProgramFolderIsTheApplicationFolder) {
  testing::TempFolder program;
  const AppFolderChoice choice = ResolveAppFolder(program.path(), program / "data");
  EXPECT_EQ(choice.folder, program.path() / "");
  EXPECT_FALSE(choice.refused);
  EXPECT_FALSE(program.Exists("data"));
}

// Another user could plant settings that name a program to start.
TEST(AppFolder, AFolderOthersMayWriteOrOwnIsRefused) {
  testing::TempFolder program;
  const auto& path = program.path();
  ::chmod(path.c_str(), 0777);
  EXPECT_TRUE(ResolveAppFolder(path, path / "data").refused);
  ::chmod(path.c_str(), 0700);
  EXPECT_TRUE(ResolveAppFolder(path, path / "data", ::getuid() + 1).refused);

  const gid_t group = ::getgid();
  ::chmod(path.c_str(), 0775);
  EXPECT_TRUE(IsPrivateFolder(path, ::getuid(), group)) << "the user's own group may write";
  EXPECT_FALSE(IsPrivateFolder(path, ::getuid(), group + 1));
  ::chmod(path.c_str(), 0755);
  EXPECT_TRUE(IsPrivateFolder(path, ::getuid(), group + 1));
  EXPECT_FALSE(IsPrivateFolder(path / "missing", ::getuid(), group));
  EXPECT_NE(RefusedFolderText(path).find(path.string()), std::string::npos);
}

TEST(AppFolder, ASystemInstallationKeepsItsFilesInTheDataHomeEvenWhenWritable) {
  testing::TempFolder root;
  const std::filesystem::path program = root / "usr/lib/taviro";
  std::filesystem::create_directories(program);
  root.Write("usr/lib/taviro/i.gif", "GIF89a");
  for (const std::filesystem::path& folder : {program, program / ""}) {
    EXPECT_EQ(ResolveAppFolder(folder, root / "home/data").folder, root / "home/data/taviro/");
  }
  EXPECT_EQ(root.Read("home/data/taviro/i.gif"), "GIF89a");
  // Only that exact layout: a portable folder of another name stays itself.
  std::filesystem::create_directories(root / "lib/taviro-portable");
  EXPECT_EQ(ResolveAppFolder(root / "lib/taviro-portable", root / "d").folder, root / "lib/taviro-portable/");
}

TEST(AppFolder, XdgDataHomeFallsBackToTheHomeFolder) {
  EXPECT_EQ(XdgDataHome("/x/data", "/home/u"), "/x/data");
  EXPECT_EQ(XdgDataHome("relative", "/home/u"), "/home/u/.local/share");
  EXPECT_EQ(XdgDataHome(nullptr, "/home/u"), "/home/u/.local/share");
  // Without a home there is no data home: never /tmp, which every user shares.
  EXPECT_EQ(XdgDataHome(nullptr, nullptr), "");
  EXPECT_EQ(XdgDataHome("", "relative"), "");
}

TEST(AppFolder, ProgramFolderHoldsTheTestExecutable) {
  EXPECT_TRUE(std::filesystem::exists(ProgramFolder() / "taviro_unit_tests"));
}

}  // namespace
}  // namespace taviro
