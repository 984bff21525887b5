#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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

// What the engine's log tells us; fed line by line (level-tagged with "level+info").
class EngineLog {
 public:
  void FeedLine(std::string_view line);
  // The first input's "Duration: ..., start: ..., bitrate: ..." text after "Duration: ".
  const std::optional<std::string>& DurationText() const { return durationText_; }
  std::optional<long long> DurationCentis() const;
  // The input has been described and encoding is about to start.
  bool HeaderDone() const { return headerDone_; }
  // The engine's error and fatal messages, level tags removed; else its last lines.
  std::string ErrorText() const;

 private:
  std::optional<std::string> durationText_;
  bool headerDone_ = false;
  std::vector<std::string> errors_;
  std::vector<std::string> tail_;
};

// The engine reports every 500 ms; between two reports its time is carried forward at its
// last speed, by at most one report period and never past the duration.
long long EstimatedCentis(const EngineProgress& progress, long long millisSinceReport,
                          std::optional<long long> durationCentis);

// Every marker line is padded to this size and written in one piece. The converter reads
// 256-byte chunks, so with every write a divisor of 256 a chunk never cuts a marker in two.
inline constexpr size_t kMarkerLineSize = 128;

// "  Duration: 00:00:04.03, start: 0.000000, bitrate: 571 kb/s" padded, ended by CR LF.
std::string DurationLine(const std::optional<std::string>& durationText);
// "frame=  101 fps= 25 q=8.0 size=     139kB time=4.02 bitrate= 563.6kbits/s" padded, ended by CR.
std::string FfmpegStatusLine(const EngineProgress& progress);
// "Pos:   4.0s    101f ( 99%)  25.00fps Trem:   0min   0mb  A-V:0.000 [0:0]" padded, ended by CR.
std::string MencoderStatusLine(const EngineProgress& progress,
                               std::optional<long long> durationCentis, bool finished);

}  // namespace frontend
