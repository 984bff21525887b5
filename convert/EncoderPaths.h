#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The encoders' command lines are ANSI text: characters the ANSI code page lacks (Korean,
// emoji, "bär" under code page 936, Cyrillic under 1252) would reach them as "?".

// The text in the ANSI code page when every character has its own form there; else nothing.
std::optional<std::string> ExactAnsi(std::wstring_view text);

// The short (8.3) form of an existing path; empty where the volume keeps no short names.
std::wstring ShortPathOf(const std::wstring& path);

// The paths of one command line. A path goes as it is when the ANSI code page can write it,
// else by its short name, which the file system writes in ASCII; a path with neither form goes
// in as a stand-in that Wide() replaces with the path itself, for a start with the wide call.
// For a line without stand-ins Wide() is the ANSI text converted, so the encoder reads exactly
// the same bytes.
class EncoderPaths {
 public:
  using ShortPath = std::function<std::wstring(const std::wstring&)>;
  explicit EncoderPaths(ShortPath shortPath = nullptr);

  std::string Path(const std::wstring& path);
  // The line (or a path built from Path() pieces) as wide text.
  std::wstring Wide(std::string_view ansiLine) const;
  // The line in the ANSI code page, stand-ins written as well as the code page can.
  std::string Ansi(std::string_view ansiLine) const;

 private:
  ShortPath shortPath_;
  std::vector<std::wstring> wideOnly_;
};

// The output's base name for a source: the file name without its last four characters, taken
// from the wide path, every character the code page lacks written as its code point in hex
// between underscores ("bär" gives "b_E4_r"), so that different names stay different.
std::string RepresentableBaseName(std::wstring_view sourcePath);
