#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "encoders/ProgressStream.h"

namespace frontend {

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

// The end-of-run report, printed once the output is complete and only then; the converter
// counts a conversion only when it read it. ffmpeg names: the engine's own summary line
// ("video:12kB audio:3kB subtitle:0kB other streams:0kB global headers:0kB muxing overhead:
// 1.2%"), or one made from the output's size when the engine printed none that fits; mencoder:
// "Video stream:  456.789 kbit/s  (57098 B/s)  size: 1234567 bytes  21.622 secs  541 frames".
// Padded and ended by CR LF.
std::string EndReportLine(bool mencoder, const EngineProgress& progress,
                          const std::optional<std::string>& engineSummary, long long outputBytes);

}  // namespace frontend
