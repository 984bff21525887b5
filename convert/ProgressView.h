#pragma once

#include <string>

#include "convert/ProgressDisplay.h"

// The progress window as the conversion run sees it: the watcher's current bar and detail line,
// plus the status line, the total bar, and showing and closing the window.
class ProgressView : public ProgressDisplay {
 public:
  virtual void SetStatusText(const std::wstring& text) = 0;
  virtual int TotalMax() const = 0;
  virtual void SetTotalMax(int max) = 0;
  virtual int TotalPosition() const = 0;
  virtual void SetTotalPosition(int position) = 0;
  virtual void ShowProgress() = 0;   // not modal
  virtual void CloseProgress() = 0;  // hides; the window is reused by the next run
};
