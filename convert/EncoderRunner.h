#pragma once

#include <cstdint>
#include <string>

class ProgressDisplay;

enum class WatchMode {
  PrimaryFfmpeg,   // first attempt of every key but avi: hundredths of a second
  FallbackFfmpeg,  // after RewriteForFallback: seconds x 10
  Mencoder,        // avi: percent
};

inline constexpr size_t kChunkBufferSize = 5211;
inline constexpr unsigned kChunkReadSize = 256;

// Starts the command line as a hidden child with standard output and error joined into one
// pipe, reads that pipe in chunks of at most 256 bytes, drives the display from each chunk and
// pumps window messages after each. Returns the encoder's exit code when it ended, the code it
// had at that moment when a cancel was seen (the encoder is left running), or -1 when it could
// not be started (the display is not touched then).
int32_t RunAndWatch(const std::string& commandLine, int showWindow, WatchMode mode,
                    ProgressDisplay& display);

// Folder of this program's executable, without a trailing backslash (ANSI).
std::string ProgramFolder();
