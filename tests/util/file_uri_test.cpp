#include "util/file_uri.h"

#include <gtest/gtest.h>

namespace taviro {
namespace {

TEST(FileUri, EncodesWhatWouldEndOrBreakThePath) {
  EXPECT_EQ(FileUri("/opt/taviro/c.htm"), "file:///opt/taviro/c.htm");
  EXPECT_EQ(FileUri("/home/a b/#1?/f.htm"), "file:///home/a%20b/%231%3F/f.htm");
  EXPECT_EQ(FileUri("/影/c.htm"), "file:///%E5%BD%B1/c.htm");
}

}  // namespace
}  // namespace taviro
