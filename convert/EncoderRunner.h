#pragma once

#include <cstdint>
#include <functional>
#include <string>

class ProgressDisplay;

enum class WatchMode {
  PrimaryFfmpeg,   // first attempt of every key but avi: hundredths of a second
  FallbackFfmpeg,  // after RewriteForFallback: seconds x 10
  Mencoder,        // avi: percent
};

inline constexpr size_t kChunkBufferSize = 5211;
inline constexpr unsigned kChunkReadSize = 256;

struct WatchResult {
  // The encoder's exit code when it ended; the code it had when the watch was stopped (the
  // encoder is left running then); -1 when it could not be started.
  int32_t exitCode = -1;
  // The encoder printed its end-of-run report (EndReportScanner.h).
  bool endReported = false;
  // The watch was stopped before the encoder ended.
  bool stopped = false;
};

// Starts the command line as a hidden child with standard output and error joined into one
// pipe, inside the program's encoder job, and watches it: the output arrives in chunks of at
// most 256 bytes, each drives the display and is followed by processing the window messages
// that wait. While the encoder is silent the messages are processed as they come, so the
// windows answer and `stopRequested` (by default: a cancel) is seen at once. The display is
// not touched when the encoder could not be started.
// The encoder is started with the wide call: a line built in the ANSI code page reaches it as
// exactly the same bytes, and a path that has no ANSI form at all (EncoderPaths) reaches it too.
WatchResult RunAndWatch(const std::wstring& commandLine, int showWindow, WatchMode mode,
                        ProgressDisplay& display,
                        const std::function<bool()>& stopRequested = nullptr);
// The same for a line in the ANSI code page.
WatchResult RunAndWatch(const std::string& commandLine, int showWindow, WatchMode mode,
                        ProgressDisplay& display,
                        const std::function<bool()>& stopRequested = nullptr);

// Folder of this program's executable, without a trailing backslash.
std::wstring ProgramFolder();
