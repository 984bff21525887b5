#pragma once

#include <string>

// What the encoder watcher drives: the current bar and the detail line of the progress window.
// The bar keeps its position within 0 and its maximum, as a progress bar control does.
class ProgressDisplay {
 public:
  virtual ~ProgressDisplay() = default;
  virtual int CurrentMax() const = 0;
  virtual int CurrentPosition() const = 0;
  virtual void SetCurrentMax(int max) = 0;
  virtual void SetCurrentPosition(int position) = 0;
  virtual void SetDetailText(const std::wstring& text) = 0;
};
