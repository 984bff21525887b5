#include <gtest/gtest.h>

#include "shell/InputNames.h"

using namespace input_names;

namespace {

// "视频" in code page 936; D5 5C is a character whose second byte is a backslash.
const std::string kVideo = "\xCA\xD3\xC6\xB5";
const std::string kBackslashTrail = "\xD5\x5C";

TEST(InputNames, PartsOfAPath) {
  EXPECT_EQ(FileNamePart("C:\\clips\\Clip.MP4"), "Clip.MP4");
  EXPECT_EQ(DirectoryPart("C:\\clips\\Clip.MP4"), "C:\\clips");
  EXPECT_EQ(DirectoryPart("C:\\Clip.MP4"), "C:\\");
  EXPECT_EQ(ExtensionPart("C:\\a.b\\Clip.MP4"), ".MP4");
  EXPECT_EQ(ExtensionPart("C:\\a.b\\folder"), "");
}

TEST(InputNames, TwoByteCharactersAreNeverSplit) {
  // A trail byte that looks like a backslash is part of its character, not a separator.
  std::string path = "C:\\" + kBackslashTrail + ".mp4";
  EXPECT_EQ(FileNamePart(path), kBackslashTrail + ".mp4");
  EXPECT_EQ(DirectoryPart(path), "C:\\");
  // Trail bytes in 'A'..'Z' keep their case; letters around them are lowered.
  std::string upperTrail = "\x81\x41";
  EXPECT_EQ(LowerAsciiLetters("D:\\" + upperTrail + "CLIP.MP4"), "d:\\" + upperTrail + "clip.mp4");
  // Cutting four bytes off never leaves half a character.
  EXPECT_EQ(DropLastFour("a" + kVideo.substr(0, 2) + "b.mp4"), "a" + kVideo.substr(0, 2) + "b");
  EXPECT_EQ(DropLastFour("a" + kVideo + "x"), "a");
  EXPECT_EQ(DropLastFour(".mp4"), "");
}

TEST(InputNames, FormatsAndOutputFolder) {
  EXPECT_EQ(FormatOfExtension(".flv"), "flv");
  EXPECT_EQ(FormatOfExtension(".m4v"), "m4v");
  EXPECT_EQ(FormatOfExtension(".avi"), "");
  EXPECT_EQ(FormatOfExtension(".MP4"), "");  // callers lower it first
  EXPECT_EQ(OutputFolderFor("C:\\clips\\a.mp4", "out\\"), "C:\\clips\\out\\");
  EXPECT_EQ(OutputFolderFor("C:\\a.mp4", "out\\"), "C:\\out\\");  // no doubled backslash
}

}  // namespace
