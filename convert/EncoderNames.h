#pragma once

// The three encoder programs that lie in the program folder. The converter starts them by
// these names and stops them by these names; whatever stands behind them must accept the
// command lines of CommandLine.h, write the output at the given path and print the progress
// markers that OutputReaders.h understands.
namespace encoders {

inline constexpr char kFfmpeg[] = "ffmpeg.exe";
inline constexpr char kFfmpegX[] = "ffmpegx.exe";
inline constexpr char kMencoder[] = "mencoder.exe";

}  // namespace encoders
