#include "helper/helper_leftovers.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"

namespace taviro::helper {
namespace {

// A helper killed while writing its two files or a ranges list leaves
// temporaries; the next one removes exactly those, and keeps what resumes a
// download or belongs to someone else.
TEST(HelperLeftoversTest, RemovesOnlyTemporariesOfItsOwnWrites) {
  testing::TempFolder files;
  testing::TempFolder save;
  for (const char* name : {"QvodCfg.ini", ".QvodCfg.ini.a1B2c3", ".QvodPlayer.xml.Zz9900",
                           ".QvodCfg.ini.short", ".notes.txt.a1B2c3"}) {
    files.Write(name, "x");
  }
  for (const char* name : {"第1集.mp4.part", "第1集.mp4.part.ranges", ".第1集.mp4.part.ranges.Qw3rTy",
                           ".a.mp4.part.ranges.Ab-1Cd", "done.mp4", ".done.mp4.Ab12Cd", ".hidden",
                           ".index.mp4.remux", ".remux"}) {
    save.Write(name, "x");
  }
  // A folder that looks like a temporary is no file of ours.
  std::filesystem::create_directory(save / ".b.mp4.part.ranges.Ab12Cd");
  std::filesystem::create_directory(save / ".c.mkv.remux");

  RemoveHelperWriteLeftovers(files.path().string() + "/", save.path().string() + "/");

  EXPECT_EQ(files.ListNames(), ".QvodCfg.ini.short .notes.txt.a1B2c3 QvodCfg.ini");
  EXPECT_EQ(
      save.ListNames(),
      ".a.mp4.part.ranges.Ab-1Cd .b.mp4.part.ranges.Ab12Cd .c.mkv.remux .done.mp4.Ab12Cd .hidden .remux "
      "done.mp4 "
      "第1集.mp4.part 第1集.mp4.part.ranges");
}

}  // namespace
}  // namespace taviro::helper
