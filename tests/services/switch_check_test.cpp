#include "services/switch_check.h"

#include <gtest/gtest.h>

#include "services/switch_file.h"
#include "support/fake_program_launcher.h"
#include "support/fake_prompt.h"
#include "support/fake_text_fetcher.h"
#include "support/fake_uri_launcher.h"
#include "support/manual_scheduler.h"
#include "support/temp_folder.h"
#include "window/window_model.h"

namespace taviro {
namespace {

using testing::FakeProgramLauncher;
using testing::FakePrompt;
using testing::FakeTextFetcher;
using testing::FakeUriLauncher;
using testing::ManualScheduler;
using testing::TempFolder;

constexpr const char* kBase = "http://127.0.0.1:9/";
constexpr const char* kUpdateQuestion = "检测到最新版本 2.4 ,你需要现在升级吗？";

TEST(SwitchFileTest, FieldsAreReadAsTheServiceWritesThem) {
  const auto all_on = ParseSwitchFile("1====1====1====1====1====2.4\r\n");
  ASSERT_TRUE(all_on);
  EXPECT_EQ(all_on->exit_promotion, "1");
  EXPECT_TRUE(all_on->notice && all_on->pause_panel && all_on->ticker && all_on->player_panel);
  EXPECT_EQ(all_on->version, "2.4");

  const auto short_file = ParseSwitchFile("1====01");
  ASSERT_TRUE(short_file);
  EXPECT_TRUE(short_file->notice);
  EXPECT_FALSE(short_file->pause_panel || short_file->ticker || short_file->player_panel);
  EXPECT_EQ(short_file->version, "");

  EXPECT_FALSE(ParseSwitchFile(""));
  EXPECT_FALSE(ParseSwitchFile("1,1,1,1,1,2.4\r\n"));
  EXPECT_EQ(ParseSwitchFile("0====0====0====0====0====2.\r\n3\n")->version, "2.3");
}

TEST(SwitchFileTest, ASwitchIsOnOnlyForTheNumberOne) {
  for (const char* on : {"1", "01", " 1 ", "1.0", "+1", "1\r\n"}) {
    EXPECT_TRUE(SwitchIsOn(on)) << on;
  }
  for (const char* off : {"", " ", "0", "2", "-1", "1x", "x1", "yes", "1 1", "1e0", "0x1"}) {
    EXPECT_FALSE(SwitchIsOn(off)) << off;
  }
}

struct SwitchCheckFixture : ::testing::Test {
  ManualScheduler scheduler;
  FakeTextFetcher fetcher;
  FakePrompt prompt;
  FakeProgramLauncher programs;
  FakeUriLauncher uris;
  TempFolder folder;
  WindowModel model;
  ServiceState state;
  std::vector<std::string> calls;

  UpdateEnv Update() {
    return {prompt, programs, uris, folder.path(), kBase, [this] { calls.push_back("update"); }};
  }
  SwitchCheck check{scheduler,
                    SwitchCheckEnv{model, state, fetcher, Update(), [this] { calls.push_back("notice"); },
                                   [this] { calls.push_back("ticker"); }}};

  // Runs the switch check with `reply` as the service's answer.
  void Reply(const std::string& reply) {
    scheduler.Advance(kTimer5IntervalMs);
    ASSERT_EQ(fetcher.requests, std::vector<std::string>{std::string(kBase) + "lib/wen.txt"});
    fetcher.Answer(reply);
  }
};

TEST_F(SwitchCheckFixture, FetchesOnceSixSecondsAfterTheWindowIsCreated) {
  scheduler.Advance(kTimer5IntervalMs - 1);
  EXPECT_TRUE(fetcher.requests.empty());
  scheduler.Advance(1);
  EXPECT_EQ(fetcher.requests.size(), 1U);
  scheduler.Advance(10 * kTimer5IntervalMs);
  EXPECT_EQ(fetcher.requests.size(), 1U);
  EXPECT_EQ(scheduler.active(), 0U);
}

TEST_F(SwitchCheckFixture, EverySwitchOnAndTheUpdateDeclined) {
  model[RegionId::bo_pad].visible = false;
  prompt.answers = {false};
  Reply("1====1====1====1====1====2.4\r\n");
  EXPECT_EQ(state.ExitPromoFlag, "1");
  EXPECT_EQ(state.RemoteVersion, "2.4");
  ASSERT_EQ(prompt.questions.size(), 1U);
  EXPECT_EQ(prompt.questions[0].caption, "提示：");
  EXPECT_EQ(prompt.questions[0].text, kUpdateQuestion);
  EXPECT_EQ(calls, (std::vector<std::string>{"notice", "ticker"}));
  EXPECT_EQ(model.pause_panel, AdPanel::kEnabled);
  EXPECT_EQ(model.banner_panel, AdPanel::kEnabled);
  EXPECT_TRUE(model[RegionId::bo_pad].visible);
  EXPECT_TRUE(uris.opened.empty());
}

TEST_F(SwitchCheckFixture, EverySwitchOffOrAFailedReplyChangesNothing) {
  for (const char* reply :
       {"0====0====0====0====0====2.3\r\n", "", "garbage without separators", "2.4\r\n"}) {
    SCOPED_TRACE(reply);
    check.Apply(reply);
    EXPECT_TRUE(prompt.questions.empty());
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(model.pause_panel, AdPanel::kOff);
    EXPECT_EQ(model.banner_panel, AdPanel::kOff);
    EXPECT_EQ(state.ExitPromoFlag, "0");
  }
  CheckForUpdate(state, Update());
  ASSERT_EQ(prompt.notices.size(), 1U);
  EXPECT_EQ(prompt.notices[0].text, kUpToDateText);
  EXPECT_EQ(prompt.notices[0].icon, PromptIcon::kQuestion);
}

TEST_F(SwitchCheckFixture, APanelWhosePageFailedStaysOff) {
  model.pause_panel = AdPanel::kFailed;
  model.banner_panel = AdPanel::kFailed;
  model[RegionId::bo_pad].visible = false;
  check.Apply("0====0====1====0====1====2.3");
  EXPECT_EQ(model.pause_panel, AdPanel::kFailed);
  EXPECT_EQ(model.banner_panel, AdPanel::kFailed);
  EXPECT_FALSE(model[RegionId::bo_pad].visible);
}

TEST_F(SwitchCheckFixture, AnyOtherVersionIsOfferedButNotZeroOrNothing) {
  prompt.answers = {false, false};
  check.Apply("0====0====0====0====0====2.2\r\n");
  ASSERT_EQ(prompt.questions.size(), 1U);
  EXPECT_EQ(prompt.questions[0].text, "检测到最新版本 2.2 ,你需要现在升级吗？");
  // The menu's check asks again about the same version, without a fetch.
  CheckForUpdate(state, Update());
  EXPECT_EQ(prompt.questions.size(), 2U);
  EXPECT_TRUE(prompt.notices.empty());

  for (const char* reply : {"0====0====0====0====0====0\r\n", "0====0====0====0====0"}) {
    check.Apply(reply);
    EXPECT_EQ(prompt.questions.size(), 2U) << reply;
  }
  EXPECT_TRUE(fetcher.requests.empty());
}

TEST_F(SwitchCheckFixture, AnAcceptedUpdateStartsTheUpdaterBesideTheProgramAndQuits) {
  folder.Write("update.exe", "#!/bin/sh\n");
  check.Apply("1====1====1====1====1====2.4\r\n");
  ASSERT_EQ(programs.started.size(), 1U);
  EXPECT_EQ(programs.started[0].program, (folder / "update.exe").string());
  EXPECT_TRUE(uris.opened.empty());
  EXPECT_EQ(state.ExitPromoFlag, "0");
  // The run ends: neither the notice nor the ticker is started.
  EXPECT_EQ(calls, std::vector<std::string>{"update"});
  EXPECT_EQ(model.banner_panel, AdPanel::kOff);
}

TEST_F(SwitchCheckFixture, WithoutALocalUpdaterTheServicesCopyOpensInTheBrowser) {
  state.RemoteVersion = "2.4";
  CheckForUpdate(state, Update());
  EXPECT_TRUE(programs.started.empty());
  EXPECT_EQ(uris.opened, std::vector<std::string>{std::string(kBase) + "update/update.exe"});
  EXPECT_EQ(calls, std::vector<std::string>{"update"});
}

TEST_F(SwitchCheckFixture, TheManualCheckBeforeTheFetchReportsUpToDate) {
  scheduler.Advance(kTimer5IntervalMs);  // fetch asked, not answered yet
  CheckForUpdate(state, Update());
  EXPECT_TRUE(prompt.questions.empty());
  ASSERT_EQ(prompt.notices.size(), 1U);
  EXPECT_EQ(prompt.notices[0].caption, "提示：");
}

}  // namespace
}  // namespace taviro
