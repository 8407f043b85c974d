#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

// Every test runs with the same locale and time zone, whatever the machine's.
int main(int argc, char** argv) {
  ::setenv("LC_ALL", "C.UTF-8", 1);
  ::setenv("TZ", "UTC", 1);
  ::tzset();
  std::setlocale(LC_ALL, "C.UTF-8");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
