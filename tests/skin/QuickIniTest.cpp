#include <gtest/gtest.h>

#include "skin/data/QuickIni.h"

namespace {

TQuickIni Parse(std::string_view text) {
  TQuickIni ini;
  ini.LoadFromStream({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  return ini;
}

constexpr std::string_view kText =
    "; a comment\r\n"
    "[Colours]\r\n"
    "  ButtonFace = 227 238 253 \r\n"
    "\t  ; indented comment=1\n"
    "Rightwidth=5\r"
    "Empty=\r\n"
    "Empty=1\r\n"
    "NoEquals\r\n"
    "Hex=0x1F\r\n"
    "Dollar=$1F\r\n"
    "Bare=0x\r\n"
    "Padded=12   \r\n"
    "Neg=-7\r\n"
    "Junk=12a\r\n"
    "[ Spaced ]\r\n"
    "OnlyHere=yes\r\n"
    "[colours]\r\n"
    "Second=no\r\n";

TEST(QuickIni, SectionsAndKeysIgnoreCaseAndTheScanStopsAtTheNextSection) {
  const TQuickIni ini = Parse(kText);
  EXPECT_EQ(ini.ReadString("colours", "BUTTONFACE", "d"), "227 238 253");
  EXPECT_EQ(ini.ReadString("Colours", "RightWidth", "d"), "5");
  EXPECT_EQ(ini.ReadString("Colours", "OnlyHere", "d"), "d");
  // The first of two equal headers wins, so the second [colours] is never searched.
  EXPECT_EQ(ini.ReadString("Colours", "Second", "d"), "d");
  EXPECT_EQ(ini.ReadString("Missing", "ButtonFace", "d"), "d");
  // Blanks inside the brackets are part of the name.
  EXPECT_EQ(ini.ReadString("Spaced", "OnlyHere", "d"), "d");
  EXPECT_EQ(ini.ReadString(" Spaced ", "OnlyHere", "d"), "yes");
}

TEST(QuickIni, FirstKeyWinsEvenWhenItsValueIsEmpty) {
  const TQuickIni ini = Parse(kText);
  EXPECT_EQ(ini.ReadString("Colours", "Empty", "d"), "d");
  EXPECT_EQ(ini.ReadInteger("Colours", "Empty", 9), 9);
  EXPECT_EQ(ini.ReadString("Colours", "NoEquals", "d"), "d");
}

TEST(QuickIni, CommentsAndBlankLinesAreDropped) {
  const TQuickIni ini = Parse(kText);
  EXPECT_EQ(ini.Lines().front(), "[Colours]");
  EXPECT_EQ(ini.ReadString("Colours", "; indented comment", "d"), "d");
  EXPECT_EQ(ini.SectionIndex("COLOURS"), 0);
  EXPECT_EQ(ini.SectionIndex("colours "), -1);
}

TEST(QuickIni, ReadIntegerTakesDecimalAndBothHexPrefixes) {
  const TQuickIni ini = Parse(kText);
  const std::pair<const char*, int> cases[] = {{"Hex", 31},       {"Dollar", 31}, {"Bare", -1},
                                               {"Padded", 12},    {"Neg", -7},    {"Junk", -1},
                                               {"RightWidth", 5}, {"Missing", -1}};
  for (const auto& [key, expected] : cases) {
    EXPECT_EQ(ini.ReadInteger("Colours", key, -1), expected) << key;
  }
}

TEST(QuickIni, IntegerTextRules) {
  EXPECT_EQ(ParseSkinInteger("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseSkinInteger("-$10"), -16);
  EXPECT_EQ(ParseSkinInteger("2147483647"), 2147483647);
  EXPECT_EQ(ParseSkinInteger("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseSkinInteger("2147483648"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("$100000000"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger(""), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("-"), std::nullopt);
  EXPECT_EQ(ParseSkinInteger("1 2"), std::nullopt);
}

TEST(QuickIni, ReadSectionsListsNamesInFileOrderWithDuplicates) {
  EXPECT_EQ(Parse(kText).ReadSections(),
            (std::vector<std::string>{"Colours", "Spaced", "colours"}));
}

// Thousands of sections, each named twice: every lookup still finds the first header of its
// name and the first line of its key.
TEST(QuickIni, ManySectionsKeepFirstMatchLookups) {
  std::string text;
  for (int round = 0; round < 2; ++round) {
    for (int i = 0; i < 5000; ++i) {
      text += "[Button" + std::to_string(i) + "]\r\nAction=" + std::to_string(i + round) +
              "\r\nAction=-1\r\n";
    }
  }
  const TQuickIni ini = Parse(text);
  EXPECT_EQ(ini.SectionCount(), 10000u);
  for (int i : {0, 1, 2500, 4999}) {
    EXPECT_EQ(ini.ReadInteger("BUTTON" + std::to_string(i), "action", -7), i) << i;
  }
  EXPECT_EQ(ini.SectionIndex("button4999"), 3 * 4999);
  EXPECT_EQ(ini.ReadInteger("Button5000", "Action", -7), -7);
}

TEST(QuickIni, LoadingReplacesEarlierTextAndAZeroByteEndsIt) {
  TQuickIni ini = Parse(kText);
  const std::string text("[A]\r\nk=1\r\n\0[B]\r\nk=2\r\n", 20);
  ini.LoadFromStream({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  EXPECT_EQ(ini.ReadSections(), (std::vector<std::string>{"A"}));
  EXPECT_EQ(ini.ReadInteger("A", "k", 0), 1);
}

}  // namespace
