#include "app/program_arguments.h"

#include <gtest/gtest.h>

namespace taviro {
namespace {

using Paths = std::vector<std::string>;

TEST(ProgramArguments, OptionsComeBeforeDoubleDashAndEverythingElseIsAPath) {
  EXPECT_EQ(ParseProgramArguments({}).action, ProgramAction::kRun);
  EXPECT_EQ(ParseProgramArguments({"/v/a.mkv", "--help"}).action, ProgramAction::kShowHelp);
  EXPECT_EQ(ParseProgramArguments({"-h"}).action, ProgramAction::kShowHelp);
  EXPECT_EQ(ParseProgramArguments({"--version"}).action, ProgramAction::kShowVersion);

  const ProgramArguments files =
      ParseProgramArguments({"-", "/v/a b.mkv", "--", "--help", "-x", "--version"});
  EXPECT_EQ(files.action, ProgramAction::kRun);
  EXPECT_EQ(files.paths, (Paths{"-", "/v/a b.mkv", "--help", "-x", "--version"}));
  EXPECT_EQ(VersionText(), "Taviro 2.3\n");

  // A library folder is never a file to play, even one named like an option.
  const ProgramArguments library =
      ParseProgramArguments({"--library", "/films", "a.mkv", "--library", "--help", "--", "--library"});
  EXPECT_EQ(library.action, ProgramAction::kRun);
  EXPECT_EQ(library.library_folders, (Paths{"/films", "--help"}));
  EXPECT_EQ(library.paths, (Paths{"a.mkv", "--library"}));
  EXPECT_EQ(ParseProgramArguments({"a.mkv", "--library"}).bad_option, "--library");
}

TEST(ProgramArguments, AnUnknownOptionIsNamedBeforeTheUsageAndIsNoPath) {
  const ProgramArguments bogus = ParseProgramArguments({"/v/a.mkv", "--bogus", "--help"});
  EXPECT_EQ(bogus.action, ProgramAction::kBadOption);
  EXPECT_EQ(bogus.bad_option, "--bogus");
  EXPECT_TRUE(bogus.paths.empty());
  // No catalogue is bound here: the texts are as written.
  EXPECT_EQ(BadOptionText("--bogus"),
            "taviro: 未知选项 “--bogus”\n"
            "用法: taviro [选项] [文件...]\n"
            "运行 “taviro --help” 查看全部选项。\n");
  EXPECT_EQ(HelpText().rfind("用法: taviro [选项] [文件...]\n", 0), 0u);
}

}  // namespace
}  // namespace taviro
