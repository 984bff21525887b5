#include "encoders/MarkerLines.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace frontend {

namespace {

std::string Padded(std::string line, std::string_view ending) {
  size_t room = kMarkerLineSize - ending.size();
  if (line.size() > room) line.resize(room);
  line.append(room - line.size(), ' ');
  line += ending;
  return line;
}

}  // namespace

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

std::string EndReportLine(bool mencoder, const EngineProgress& progress,
                          const std::optional<std::string>& engineSummary, long long outputBytes) {
  char line[kMarkerLineSize * 2];
  if (mencoder) {
    double seconds = progress.outTimeCentis / 100.0;
    double bytesPerSecond = seconds > 0 ? outputBytes / seconds : 0;
    std::snprintf(
        line, sizeof line,
        "Video stream: %8.3f kbit/s  (%.0f B/s)  size: %lld bytes  %.3f secs  %lld frames",
        bytesPerSecond * 8 / 1000, bytesPerSecond, outputBytes, seconds, progress.frame);
    return Padded(line, "\r\n");
  }
  // The engine's line when it fits whole; the converter looks for its beginning and its
  // "muxing overhead".
  if (engineSummary && engineSummary->size() <= kMarkerLineSize - 2)
    return Padded(*engineSummary, "\r\n");
  std::snprintf(line, sizeof line,
                "video:%lldkB audio:0kB subtitle:0kB other streams:0kB global headers:0kB "
                "muxing overhead: unknown",
                outputBytes / 1024);
  return Padded(line, "\r\n");
}

}  // namespace frontend
