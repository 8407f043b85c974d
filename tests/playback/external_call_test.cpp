#include "playback/external_call.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace taviro {
namespace {

TEST(ExternalCall, TheOfferedNameWithItsTextsIsTaken) {
  const auto call = ParseExternalCall(R"( ["DangJ", "%u4E2D", "12", "\u4e2d\"\\", ""] )");
  ASSERT_TRUE(call);
  EXPECT_EQ(call->name, "DangJ");
  EXPECT_EQ(call->arguments, (std::vector<std::string>{"%u4E2D", "12", "中\"\\", ""}));
  EXPECT_EQ(ParseExternalCall(R"(["DangJ"])")->arguments.size(), 0U);
}

TEST(ExternalCall, OtherNamesShapesAndSizesAreNothing) {
  const std::string long_text(kMaxExternalArgumentUnits + 1, 'x');
  std::string many = R"(["DangJ")";
  for (std::size_t i = 0; i <= kMaxExternalArguments; ++i) many += R"(,"a")";
  many += "]";
  for (const std::string& message : std::initializer_list<std::string>{
           R"(["shengji"])", R"(["dangj","1"])", R"(["DangJ",1])", R"({"name":"DangJ"})", R"(["DangJ","a")",
           R"(["DangJ","a"]x)", R"(["DangJ",,"a"])", "", "[]", R"(["DangJ","a" "b"])",
           R"(["DangJ",")" + long_text + R"("])", many}) {
    EXPECT_FALSE(ParseExternalCall(message)) << message.substr(0, 60);
  }
}

}  // namespace
}  // namespace taviro
