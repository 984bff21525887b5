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

}  // namespace frontend
