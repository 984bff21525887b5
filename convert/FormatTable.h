#pragma once

#include <optional>
#include <string_view>

// The eight target formats. Keys are compared exactly and case-sensitively.
struct FormatInfo {
  std::string_view key;
  std::string_view encoder;    // first attempt's program (EncoderNames.h)
  std::string_view extension;  // output extension without the dot
  bool hasFallback;            // an attempt without progress is repeated with RewriteForFallback
};

// The format of a key; nothing for an unknown or empty key.
std::optional<FormatInfo> FindFormat(std::string_view key);

// The output extension of a key ("" for an unknown key).
std::string_view OutputExtension(std::string_view key);
