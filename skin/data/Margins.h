#pragma once

#include <algorithm>

// Edge sizes of a skin element that keep their size when it is stretched.
struct Margins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  friend bool operator==(const Margins&, const Margins&) = default;
};

// Margins as the skin gives them may be anything a 32-bit integer holds. Drawing takes each
// within 0 .. kMaxMargin, far beyond any bitmap or window, so that sums and differences of
// margins and sizes cannot overflow.
inline constexpr int kMaxMargin = 1 << 20;

constexpr Margins ClampedMargins(Margins m) {
  auto clamp = [](int v) { return std::clamp(v, 0, kMaxMargin); };
  return {clamp(m.left), clamp(m.top), clamp(m.right), clamp(m.bottom)};
}

// The margins a nine-part resize to width x height keeps: on an axis narrower than its two
// margins together both count as 0, so that the whole frame is stretched.
constexpr Margins FittedMargins(Margins m, int width, int height) {
  m = ClampedMargins(m);
  if (width < m.left + m.right) m.left = m.right = 0;
  if (height < m.top + m.bottom) m.top = m.bottom = 0;
  return m;
}
