#include <gtest/gtest.h>

#include "encoders/WindowsArguments.h"

namespace frontend {
namespace {

using Words = std::vector<std::string>;

TEST(WindowsArgumentsTest, SplitsByTheRuntimeRules) {
  struct Case {
    std::string line;
    Words words;
  } cases[] = {
      {R"("C:\T\ffmpeg.exe" -y -i  "D:\v\a b.flv"  -f mp4 )",
       {R"(C:\T\ffmpeg.exe)", "-y", "-i", R"(D:\v\a b.flv)", "-f", "mp4"}},
      // The program name takes backslashes literally, even before a quote.
      {R"("C:\a b\x.exe"tail)", {R"(C:\a b\x.exetail)"}},
      {R"(p "a\"b" "c\\" d\\\"e)", {"p", R"(a"b)", R"(c\)", R"(d\"e)"}},
      {R"(p "a""b" "" x)", {"p", R"(a"b)", "", "x"}},
      {"p\ta\t\tb", {"p", "a", "b"}},
      {"", {""}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitWindowsCommandLine(c.line), c.words) << c.line;
}

TEST(WindowsArgumentsTest, QuotedArgumentsComeBackUnchanged) {
  Words words = {"prog.exe",
                 "plain",
                 "with blank",
                 "",
                 R"(trail\)",
                 R"(trail blank\)",
                 R"(q"uote)",
                 R"(\\server\share\a b\)",
                 "\xE8\xBD\xAC \xE6\x8D\xA2"};
  EXPECT_EQ(SplitWindowsCommandLine(JoinWindowsCommandLine(words)), words);
  EXPECT_EQ(QuoteWindowsArgument("file:C:\\a.mp4"), "file:C:\\a.mp4");
}

}  // namespace
}  // namespace frontend
