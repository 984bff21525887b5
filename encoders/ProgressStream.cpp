#include "encoders/ProgressStream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "convert/OutputReaders.h"

namespace frontend {

namespace {

long long ToInteger(std::string_view text) {
  long long value = 0;
  text = TrimText(text);
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double ToDouble(std::string_view text) {
  std::string copy(TrimText(text));
  return std::strtod(copy.c_str(), nullptr);
}

}  // namespace

std::optional<long long> ParseClockCentis(std::string_view text) {
  text = TrimText(text);
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
  line = TrimText(line);
  size_t equals = line.find('=');
  if (equals == std::string_view::npos) return;
  std::string_view key = line.substr(0, equals);
  std::string_view value = TrimText(line.substr(equals + 1));
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

}  // namespace frontend
