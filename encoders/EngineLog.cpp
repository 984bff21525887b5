#include "encoders/EngineLog.h"

#include "convert/OutputReaders.h"
#include "encoders/ProgressStream.h"

namespace frontend {

namespace {

// Removes "[component @ 0x...] " and the "[level] " tag of a log line; gives the level.
std::string_view SplitLevel(std::string_view line, std::string& text) {
  constexpr std::string_view kLevels[] = {"[panic] ", "[fatal] ",   "[error] ", "[warning] ",
                                          "[info] ",  "[verbose] ", "[debug] "};
  for (std::string_view level : kLevels) {
    size_t at = line.find(level);
    if (at == std::string_view::npos) continue;
    text = std::string(line.substr(0, at)) + std::string(line.substr(at + level.size()));
    return level;
  }
  text = std::string(line);
  return {};
}

}  // namespace

void EngineLog::FeedLine(std::string_view raw) {
  std::string text;
  std::string_view level = SplitLevel(raw, text);
  std::string_view trimmed = TrimText(text);
  if (trimmed.empty()) return;
  if (level == "[error] " || level == "[fatal] " || level == "[panic] ")
    errors_.emplace_back(trimmed);
  tail_.emplace_back(trimmed);
  if (tail_.size() > 8) tail_.erase(tail_.begin());
  if (!durationText_ && trimmed.starts_with("Duration: "))
    durationText_ = std::string(trimmed.substr(10));
  if (trimmed.starts_with("video:") && trimmed.find("muxing overhead") != std::string_view::npos)
    summary_ = std::string(trimmed);
  if (trimmed.starts_with("Stream mapping:") || trimmed.starts_with("Output #") ||
      trimmed.starts_with("Press [q]"))
    headerDone_ = true;
}

std::optional<long long> EngineLog::DurationCentis() const {
  if (!durationText_) return std::nullopt;
  auto centis = ParseClockCentis(durationText_->substr(0, durationText_->find(',')));
  if (centis && *centis <= 0) return std::nullopt;
  return centis;
}

std::string EngineLog::ErrorText() const {
  const std::vector<std::string>& lines = errors_.empty() ? tail_ : errors_;
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

}  // namespace frontend
