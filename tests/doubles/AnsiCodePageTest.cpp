// Built into every test program that also runs under other ANSI code pages: each run checks
// that Wine gave it the code page it was made for, since a missing locale quietly leaves another.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>

TEST(AnsiCodePage, IsTheOneTheRunIsFor) {
  // The code-page runs name theirs; the usual run is under zh_CN.UTF-8 (936), unless a caller
  // picked another locale for it.
  const char* expected = std::getenv("VELMO_EXPECTED_ACP");
  if (!expected && std::getenv("VELMO_LOCALE")) GTEST_SKIP() << "a locale chosen by the caller";
  EXPECT_EQ(GetACP(), expected ? std::strtoul(expected, nullptr, 10) : 936ul);
}
