#pragma once

#include <string>
#include <vector>

#include "encoders/EncoderRequest.h"

namespace frontend {

struct FrameSize {
  int width = 0;
  int height = 0;
  bool operator==(const FrameSize&) const = default;
};

// The H.263 frame that a chosen size gets: the largest standard one that fits into it, or the
// smallest when none does.
FrameSize H263FrameFor(FrameSize chosen);

// The engine's arguments (without the program) for a request: what the old options intended,
// spelled for the current engine, with progress on standard output and nothing read from
// standard input.
std::vector<std::string> EngineArguments(const EncoderRequest& request);

}  // namespace frontend
