#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace frontend {

// What the engine's log tells us; fed line by line (level-tagged with "level+info").
class EngineLog {
 public:
  void FeedLine(std::string_view line);
  // The first input's "Duration: ..., start: ..., bitrate: ..." text after "Duration: ".
  const std::optional<std::string>& DurationText() const { return durationText_; }
  std::optional<long long> DurationCentis() const;
  // The input has been described and encoding is about to start.
  bool HeaderDone() const { return headerDone_; }
  // The engine's own end-of-run summary ("video:...kB audio:...kB ... muxing overhead: ..."),
  // once it printed one.
  const std::optional<std::string>& Summary() const { return summary_; }
  // The engine's error and fatal messages, level tags removed; else its last lines.
  std::string ErrorText() const;

 private:
  std::optional<std::string> durationText_;
  std::optional<std::string> summary_;
  bool headerDone_ = false;
  std::vector<std::string> errors_;
  std::vector<std::string> tail_;
};

}  // namespace frontend
