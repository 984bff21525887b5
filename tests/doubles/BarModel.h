#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "convert/ProgressDisplay.h"

// The current bar and detail line as the progress window holds them: the position stays
// within 0 and the maximum, like the progress bar control's. Records every position it was
// given. `Base` is ProgressDisplay or one of its extensions (the run's ProgressView).
template <typename Base = ProgressDisplay>
class BarModel : public Base {
 public:
  int CurrentMax() const override { return max_; }
  int CurrentPosition() const override { return position_; }
  void SetCurrentMax(int max) override {
    max_ = max;
    position_ = std::min(position_, max_);
  }
  void SetCurrentPosition(int position) override {
    position_ = std::clamp(position, 0, max_);
    positions.push_back(position_);
    PositionSet();
  }
  void SetDetailText(const std::wstring& text) override { detail = text; }

  std::vector<int> positions;
  std::wstring detail;

 protected:
  // Called after every position change (tests press Cancel from here).
  virtual void PositionSet() {}

 private:
  int max_ = 100;
  int position_ = 0;
};
