#pragma once

#include <optional>
#include <string>
#include <string_view>

// What one entry's command line is built from; all 8-bit text in the ANSI code page.
struct CommandLineArgs {
  std::string_view key;            // format key (FormatTable.h)
  std::string_view resolution;     // the resolution box's text (kKeepResolution or "WxH")
  std::string_view sourcePath;     // full path of the list entry
  std::string_view outputFolder;   // the output folder text, normally ending in a backslash
  std::string_view programFolder;  // folder of the executable, no trailing backslash
  // The output's base name when it is not to be taken from the source path. The run always
  // gives it, found in the wide path (a source may reach the encoder by its short name, and
  // BaseName reads code page 936's bytes).
  std::optional<std::string_view> baseName = std::nullopt;
};

struct CommandLine {
  std::string text;          // the whole command line; empty for an unknown key
  std::string outputPath;    // where the encoder writes
  std::string quotedOutput;  // " \"<outputPath>\"  " as it ends the command line
};

// "原始分辨率" in code page 936: keep the source's picture size.
inline constexpr std::string_view kKeepResolution = "\xD4\xAD\xCA\xBC\xB7\xD6\xB1\xE6\xC2\xCA";

CommandLine BuildCommandLine(const CommandLineArgs& args);

// The second attempt's command line: ffmpeg.exe -> ffmpegx.exe, libfaac -> faac, libxvid -> xvid.
std::string RewriteForFallback(std::string_view commandLine);

// File name of a path (after the last backslash or drive colon) without its last four
// characters. Double-byte characters of code page 936 are kept whole: their second byte
// may be a backslash.
std::string BaseName(std::string_view sourcePath);

// Output folder + base name + "." + extension of the key.
std::string OutputPath(std::string_view key, std::string_view sourcePath,
                       std::string_view outputFolder);
