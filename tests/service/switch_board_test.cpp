#include <gtest/gtest.h>

#include "service/running_service.h"

namespace taviro::demo::testing {
namespace {

class SwitchBoardTest : public ::testing::Test {
 protected:
  int Set(const std::string& query) {
    const httplib::Result result = service_.Get("/__switches?" + query);
    return result ? result->status : -1;
  }

  RunningService service_;
};

TEST_F(SwitchBoardTest, TestsTurnEachFeatureOnOrOff) {
  ASSERT_EQ(Set("all=1&version=2.4"), 200);
  EXPECT_EQ(service_.GetPage("/lib/wen.txt"), "1====1====1====1====1====2.4\r\n");
  ASSERT_EQ(Set("all=0&ticker=01"), 200);
  EXPECT_EQ(service_.GetPage("/lib/wen.txt"), "0====0====0====01====0====2.4\r\n");

  ASSERT_EQ(Set("notice_delay=2&notice_stay=3&notice_repeat=0"), 200);
  const std::string base = service_.BaseUrl();
  EXPECT_EQ(service_.GetPage("/lib/tan.txt"),
            "2||3||0||" + base + "notice/1.htm$$$" + base + "notice/2.htm\r\n");

  ASSERT_EQ(Set("headlines=1"), 200);
  EXPECT_EQ(service_.GetPage("/lib/gun.txt").find("$$$"), std::string::npos);
  ASSERT_EQ(Set("headlines=9"), 200);
  EXPECT_NE(service_.GetPage("/lib/gun.txt").find("$$$"), std::string::npos);
}

TEST_F(SwitchBoardTest, ABadSettingChangesNothing) {
  const std::string before = service_.GetPage("/lib/wen.txt");
  EXPECT_EQ(Set("all=1&colour=red"), 400);
  EXPECT_EQ(Set("all=1&notice_delay=soon"), 400);
  EXPECT_EQ(service_.GetPage("/lib/wen.txt"), before);
}

TEST_F(SwitchBoardTest, PlainFaultHasNoSeparatorOfAnyFile) {
  ASSERT_EQ(service_.Get("/__fault?path=/lib/wen.txt&mode=plain")->status, 200);
  const std::string text = service_.GetPage("/lib/wen.txt");
  EXPECT_FALSE(text.empty());
  for (const char* separator : {"====", "||", "$$$"}) {
    EXPECT_EQ(text.find(separator), std::string::npos) << separator;
  }
}

}  // namespace
}  // namespace taviro::demo::testing
