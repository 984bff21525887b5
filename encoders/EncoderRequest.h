#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

// Which of the three front-ends is running, from its own file name.
enum class FrontEndName { Ffmpeg, FfmpegX, Mencoder };

std::optional<FrontEndName> FrontEndFromFileName(std::string_view fileName);
std::string_view FileNameOf(FrontEndName name);

enum class SizeChoice {
  Kept,   // "原始分辨率"
  Empty,  // an empty resolution item: treated like Kept
  Chosen  // width x height
};

// One conversion as the converter asked for it.
struct EncoderRequest {
  std::string key;  // format key
  bool fallback = false;
  SizeChoice size = SizeChoice::Kept;
  int width = 0;  // Chosen only
  int height = 0;
  std::string source;
  std::string output;
};

struct ParsedRequest {
  std::optional<EncoderRequest> request;
  std::string error;  // why the arguments were refused, when there is no request
};

// Recognises exactly the command lines that the converter builds for `name` (first and
// fallback attempts); `arguments` is the whole split command line, program first.
ParsedRequest ParseRequest(FrontEndName name, const std::vector<std::string>& arguments);

}  // namespace frontend
