#pragma once

#include <string>
#include <string_view>

// Which encoder's end-of-run report to look for.
enum class EndReportKind {
  Ffmpeg,    // a line that begins with "video:" and contains "muxing overhead"
  Mencoder,  // a line that begins with "Video stream:"
};

// Watches an encoder's console output for the report it prints once it has written its whole
// output, the only evidence that the encoder finished rather than being stopped (an encoder
// ended from outside may still exit with 0). Fed chunk by chunk: a report cut by a chunk
// boundary is still recognised.
class EndReportScanner {
 public:
  explicit EndReportScanner(EndReportKind kind) : kind_(kind) {}

  void Feed(std::string_view chunk);
  bool Seen() const { return seen_; }

 private:
  void CheckLine();

  EndReportKind kind_;
  // The beginning of the line under way; a line without an end is kept only this far, so that
  // output without line breaks cannot grow it.
  static constexpr size_t kLineKept = 1024;
  std::string line_;
  bool seen_ = false;
};
