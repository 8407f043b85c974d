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
