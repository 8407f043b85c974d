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

  const ProgramArguments files = ParseProgramArguments({"-x", "/v/a b.mkv", "--", "--help", "--version"});
  EXPECT_EQ(files.action, ProgramAction::kRun);
  EXPECT_EQ(files.paths, (Paths{"-x", "/v/a b.mkv", "--help", "--version"}));
  EXPECT_EQ(VersionText(), "Taviro 2.3\n");
}

}  // namespace
}  // namespace taviro
