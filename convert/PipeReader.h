#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "ui/UniqueHandle.h"

// Reads a pipe on a thread of its own, in chunks of at most `chunkSize` bytes each handed over
// as read, so that the user-interface thread can wait for output and window messages at once
// instead of blocking in a read. A few chunks are held at most: a reader that falls behind
// holds the writer back instead of piling up its output.
class PipeReader {
 public:
  PipeReader(ui::UniqueHandle pipe, size_t chunkSize);
  // Leaves the thread to end when the pipe does (when the writer ends).
  ~PipeReader();
  PipeReader(const PipeReader&) = delete;
  PipeReader& operator=(const PipeReader&) = delete;

  // Signalled while a chunk or the end of the pipe is waiting to be taken.
  HANDLE ReadyEvent() const;
  // The next chunk; nothing when none is waiting.
  std::optional<std::string> Take();
  // The pipe ended and every chunk has been taken.
  bool Ended() const;

 private:
  struct State;
  static void ReadAll(std::shared_ptr<State> state);
  std::shared_ptr<State> state_;
};
