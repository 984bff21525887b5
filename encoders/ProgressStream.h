#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace frontend {

// The engine's latest "-progress" block.
struct EngineProgress {
  long long frame = 0;
  double fps = 0;
  double quality = 0;
  long long totalBytes = 0;
  long long outTimeCentis = 0;
  std::string bitrate = "N/A";  // as the engine wrote it, e.g. "563.6kbits/s"
  double speed = 0;
  bool ended = false;
};

// Reads the engine's progress stream in whatever pieces it arrives; a block counts once its
// "progress=" line has come.
class ProgressStream {
 public:
  // True when the text completed at least one block.
  bool Feed(std::string_view text);
  const EngineProgress& Latest() const { return latest_; }
  bool AnyBlock() const { return blocks_ > 0; }
  size_t BlockCount() const { return blocks_; }

 private:
  void TakeLine(std::string_view line);

  std::string pending_;
  EngineProgress building_;
  EngineProgress latest_;
  size_t blocks_ = 0;
  bool completed_ = false;
};

// "HH:MM:SS.frac" (possibly negative or N/A) in hundredths of a second; nothing for N/A.
std::optional<long long> ParseClockCentis(std::string_view text);

// The engine reports every 500 ms; between two reports its time is carried forward at its
// last speed, by at most one report period and never past the duration.
long long EstimatedCentis(const EngineProgress& progress, long long millisSinceReport,
                          std::optional<long long> durationCentis);

}  // namespace frontend
