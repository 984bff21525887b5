#include "convert/PipeReader.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace {

constexpr size_t kChunksHeld = 16;

}  // namespace

struct PipeReader::State {
  ui::UniqueHandle pipe;
  size_t chunkSize;
  ui::UniqueHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::mutex lock;
  std::condition_variable room;
  std::deque<std::string> chunks;
  bool ended = false;
  bool abandoned = false;
};

void PipeReader::ReadAll(std::shared_ptr<State> state) {
  std::vector<char> buffer(state->chunkSize);
  while (true) {
    {
      std::unique_lock guard(state->lock);
      state->room.wait(guard,
                       [&] { return state->abandoned || state->chunks.size() < kChunksHeld; });
      if (state->abandoned) break;
    }
    DWORD got = 0;
    if (!ReadFile(state->pipe.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                  nullptr))
      break;
    if (got == 0) continue;
    std::lock_guard guard(state->lock);
    state->chunks.emplace_back(buffer.data(), got);
    SetEvent(state->ready.get());
  }
  std::lock_guard guard(state->lock);
  state->ended = true;
  SetEvent(state->ready.get());
}

PipeReader::PipeReader(ui::UniqueHandle pipe, size_t chunkSize)
    : state_(std::make_shared<State>()) {
  state_->pipe = std::move(pipe);
  state_->chunkSize = chunkSize;
  std::thread(ReadAll, state_).detach();
}

PipeReader::~PipeReader() {
  std::lock_guard guard(state_->lock);
  state_->abandoned = true;
  state_->room.notify_all();
}

HANDLE PipeReader::ReadyEvent() const { return state_->ready.get(); }

std::optional<std::string> PipeReader::Take() {
  std::lock_guard guard(state_->lock);
  if (state_->chunks.empty()) return std::nullopt;
  std::string chunk = std::move(state_->chunks.front());
  state_->chunks.pop_front();
  if (state_->chunks.empty() && !state_->ended) ResetEvent(state_->ready.get());
  state_->room.notify_all();
  return chunk;
}

bool PipeReader::Ended() const {
  std::lock_guard guard(state_->lock);
  return state_->ended && state_->chunks.empty();
}
