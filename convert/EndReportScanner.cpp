#include "convert/EndReportScanner.h"

void EndReportScanner::Feed(std::string_view chunk) {
  for (char c : chunk) {
    if (c == '\r' || c == '\n') {
      CheckLine();
      line_.clear();
    } else if (line_.size() < kLineKept) {
      line_ += c;
    }
  }
  // The report may be the last thing written, without a line break behind it.
  CheckLine();
}

void EndReportScanner::CheckLine() {
  if (seen_) return;
  std::string_view line = line_;
  if (kind_ == EndReportKind::Ffmpeg)
    seen_ = line.starts_with("video:") && line.find("muxing overhead") != std::string_view::npos;
  else
    seen_ = line.starts_with("Video stream:");
}
