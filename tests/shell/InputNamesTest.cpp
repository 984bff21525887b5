#include <gtest/gtest.h>

#include "shell/InputNames.h"

using namespace input_names;

namespace {

TEST(InputNames, PartsOfAPath) {
  EXPECT_EQ(FileNamePart(L"C:\\clips\\Clip.MP4"), L"Clip.MP4");
  EXPECT_EQ(DirectoryPart(L"C:\\clips\\Clip.MP4"), L"C:\\clips");
  EXPECT_EQ(DirectoryPart(L"C:\\Clip.MP4"), L"C:\\");
  EXPECT_EQ(ExtensionPart(L"C:\\a.b\\Clip.MP4"), L".MP4");
  EXPECT_EQ(ExtensionPart(L"C:\\a.b\\folder"), L"");
}

// Characters of any script are whole characters: none of them is ever taken for a separator,
// whatever its bytes would be in some code page ("é" ends a two-byte character of 936 in 1252).
TEST(InputNames, NamesOfAnyScriptKeepTheirCharacters) {
  struct Case {
    const wchar_t* path;
    const wchar_t* name;
    const wchar_t* folder;
    const wchar_t* lowered;
  } cases[] = {
      {L"D:\\Café\\Clip.MP4", L"Clip.MP4", L"D:\\Café", L"d:\\café\\clip.mp4"},
      {L"D:\\Видео\\Клип.FLV", L"Клип.FLV", L"D:\\Видео", L"d:\\Видео\\Клип.flv"},
      {L"D:\\한국\\영상.F4V", L"영상.F4V", L"D:\\한국", L"d:\\한국\\영상.f4v"},
      {L"D:\\视频\\片段.M4V", L"片段.M4V", L"D:\\视频", L"d:\\视频\\片段.m4v"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FileNamePart(c.path), c.name);
    EXPECT_EQ(DirectoryPart(c.path), c.folder);
    EXPECT_EQ(LowerAsciiLetters(c.path), c.lowered);  // only ASCII letters are lowered
  }
  EXPECT_EQ(DropLastFour(L"영상.flv"), L"영상");
  // Cutting four characters never leaves half a surrogate pair.
  EXPECT_EQ(DropLastFour(L"a\U0001F600.flv"), L"a\U0001F600");
  EXPECT_EQ(DropLastFour(L"a\U0001F600xyz"), L"a");
  EXPECT_EQ(DropLastFour(L".mp4"), L"");
}

TEST(InputNames, FormatsAndOutputFolder) {
  EXPECT_EQ(FormatOfExtension(L".flv"), L"flv");
  EXPECT_EQ(FormatOfExtension(L".m4v"), L"m4v");
  EXPECT_EQ(FormatOfExtension(L".avi"), L"");
  EXPECT_EQ(FormatOfExtension(L".MP4"), L"");  // callers lower it first
  EXPECT_EQ(OutputFolderFor(L"C:\\clips\\a.mp4", L"out\\"), L"C:\\clips\\out\\");
  EXPECT_EQ(OutputFolderFor(L"C:\\a.mp4", L"out\\"), L"C:\\out\\");  // no doubled backslash
  EXPECT_EQ(OutputFolderFor(L"D:\\Café\\a.mp4", L"转换\\"), L"D:\\Café\\转换\\");
}

}  // namespace
