#pragma once

// Edge sizes of a skin element that keep their size when it is stretched.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};
