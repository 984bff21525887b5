#include "encoders/EngineProgress.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace frontend {

namespace {

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

long long ToInteger(std::string_view text) {
  long long value = 0;
  text = Trim(text);
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double ToDouble(std::string_view text) {
  std::string copy(Trim(text));
  return std::strtod(copy.c_str(), nullptr);
}

std::string Padded(std::string line, std::string_view ending) {
  size_t room = kMarkerLineSize - ending.size();
  if (line.size() > room) line.resize(room);
  line.append(room - line.size(), ' ');
  line += ending;
  return line;
}

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

std::optional<long long> ParseClockCentis(std::string_view text) {
  text = Trim(text);
  bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  int h = 0, m = 0;
  double s = 0;
  std::string copy(text);
  if (std::sscanf(copy.c_str(), "%d:%d:%lf", &h, &m, &s) != 3) return std::nullopt;
  if (negative) return 0;
  return static_cast<long long>(h) * 360000 + m * 6000LL + std::llround(std::floor(s * 100 + 1e-6));
}

bool ProgressStream::Feed(std::string_view text) {
  pending_.append(text);
  completed_ = false;
  size_t begin = 0;
  for (size_t end; (end = pending_.find('\n', begin)) != std::string::npos; begin = end + 1)
    TakeLine(std::string_view(pending_).substr(begin, end - begin));
  pending_.erase(0, begin);
  return completed_;
}

void ProgressStream::TakeLine(std::string_view line) {
  line = Trim(line);
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  std::string_view key = line.substr(0, equals);
  std::string_view value = Trim(line.substr(equals + 1));
  if (key == "frame") {
    building_.frame = ToInteger(value);
  } else if (key == "fps") {
    building_.fps = ToDouble(value);
  } else if (key.ends_with("_q")) {
    building_.quality = ToDouble(value);
  } else if (key == "total_size") {
    building_.totalBytes = ToInteger(value);
  } else if (key == "out_time") {
    if (auto centis = ParseClockCentis(value)) building_.outTimeCentis = *centis;
  } else if (key == "bitrate") {
    building_.bitrate = std::string(value);
  } else if (key == "speed") {
    building_.speed = ToDouble(value);
  } else if (key == "progress") {
    building_.ended = value == "end";
    // Time never runs backwards on our console, whatever the engine's stream order did.
    building_.outTimeCentis = std::max(building_.outTimeCentis, latest_.outTimeCentis);
    latest_ = building_;
    ++blocks_;
    completed_ = true;
  }
}

void EngineLog::FeedLine(std::string_view raw) {
  std::string text;
  std::string_view level = SplitLevel(raw, text);
  std::string_view trimmed = Trim(text);
  if (trimmed.empty()) return;
  if (level == "[error] " || level == "[fatal] " || level == "[panic] ")
    errors_.emplace_back(trimmed);
  tail_.emplace_back(trimmed);
  if (tail_.size() > 8) tail_.erase(tail_.begin());
  if (!durationText_ && trimmed.starts_with("Duration: "))
    durationText_ = std::string(trimmed.substr(10));
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

long long EstimatedCentis(const EngineProgress& progress, long long millisSinceReport,
                          std::optional<long long> durationCentis) {
  constexpr long long kReportPeriodMs = 500;
  if (progress.ended || progress.speed <= 0) return progress.outTimeCentis;
  long long millis = std::clamp(millisSinceReport, 0LL, kReportPeriodMs);
  long long estimate = progress.outTimeCentis + std::llround(progress.speed * millis / 10.0);
  if (durationCentis)
    estimate = std::min(estimate, std::max(*durationCentis, progress.outTimeCentis));
  return estimate;
}

std::string DurationLine(const std::optional<std::string>& durationText) {
  return Padded("  Duration: " + durationText.value_or("N/A, start: 0.000000, bitrate: N/A"),
                "\r\n");
}

std::string FfmpegStatusLine(const EngineProgress& progress) {
  char line[kMarkerLineSize * 2];
  std::string bitrate = progress.bitrate;
  if (bitrate.size() > 24) bitrate.resize(24);
  // The blank after the time ends the converter's time marker.
  std::snprintf(line, sizeof line,
                "frame=%5lld fps=%3.0f q=%.1f size=%8lldkB time=%lld.%02lld bitrate=%6s ",
                progress.frame, progress.fps, progress.quality, progress.totalBytes / 1024,
                progress.outTimeCentis / 100, progress.outTimeCentis % 100, bitrate.c_str());
  return Padded(line, "\r");
}

std::string MencoderStatusLine(const EngineProgress& progress,
                               std::optional<long long> durationCentis, bool finished) {
  long long percent = 0, remainingMinutes = 0, megabytes = 0;
  if (durationCentis && *durationCentis > 0) {
    percent = std::clamp(progress.outTimeCentis * 100 / *durationCentis, 0LL, 100LL);
    double left = std::max(0.0, (*durationCentis - progress.outTimeCentis) / 100.0);
    if (progress.speed > 0) remainingMinutes = std::llround(left / progress.speed / 60);
    if (progress.outTimeCentis > 0)
      megabytes = progress.totalBytes * *durationCentis / progress.outTimeCentis / (1024 * 1024);
  }
  if (finished) {
    percent = 100;
    remainingMinutes = 0;
    megabytes = progress.totalBytes / (1024 * 1024);
  }
  char line[kMarkerLineSize * 2];
  std::snprintf(line, sizeof line,
                "Pos:%6.1fs %6lldf (%2lld%%) %6.2ffps Trem:%4lldmin %4lldmb  A-V:0.000 [0:0]",
                progress.outTimeCentis / 100.0, progress.frame, percent, progress.fps,
                remainingMinutes, megabytes);
  return Padded(line, "\r");
}

}  // namespace frontend
