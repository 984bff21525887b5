#include "convert/FormatTable.h"

#include <array>

#include "convert/EncoderNames.h"

namespace {

constexpr std::array<FormatInfo, 8> kFormats{{
    {"flv", encoders::kFfmpegX, "flv", true},
    {"3gp", encoders::kFfmpeg, "3gp", true},
    {"mp4", encoders::kFfmpeg, "mp4", true},
    {"mp4-psp", encoders::kFfmpeg, "mp4", true},
    {"mp4-iphone", encoders::kFfmpeg, "mp4", true},
    {"avi", encoders::kMencoder, "avi", false},
    {"mp3", encoders::kFfmpegX, "mp3", true},
    {"mp4-ipad", encoders::kFfmpeg, "mp4", true},
}};

}  // namespace

std::optional<FormatInfo> FindFormat(std::string_view key) {
  for (const FormatInfo& format : kFormats)
    if (format.key == key) return format;
  return std::nullopt;
}

std::string_view OutputExtension(std::string_view key) {
  auto format = FindFormat(key);
  return format ? format->extension : std::string_view{};
}
