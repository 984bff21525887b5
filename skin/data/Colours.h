#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Colours are 0x00BBGGRR; a top byte of 0xFF marks a reference to a system colour whose
// index is the low byte. The arithmetic here is on explicit colours; skin::MixColors and
// skin::ResolveColour (SkinImages.h) take references too.
using Colour = std::uint32_t;

inline constexpr Colour kKeyColour = 0xFF00FF;

constexpr Colour Rgb(int r, int g, int b) {
  return static_cast<Colour>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) { return c & 0xFF; }
constexpr int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
constexpr int BlueOf(Colour c) { return (c >> 16) & 0xFF; }
constexpr bool IsSystemColourReference(Colour c) { return (c >> 24) == 0xFF; }

// "227 238 253" (any separators) -> red 227, green 238, blue 253; missing numbers are 0,
// numbers after the third are ignored; empty text gives the default.
Colour ParseColour(std::string_view text, Colour defaultValue);

// Per channel (c2 * (d - w) + c1 * w + d / 2) / d, d = 100 below w 100, else 1000, of two
// explicit colours.
Colour MixRgb(Colour c1, Colour c2, int weight);

// 0..255; 200 for dark colours (every channel below 160).
int ColourSaturation(Colour c);

// The linear ramp GradientFill draws: entry i of n runs from c1 towards c2.
std::vector<Colour> GradientRamp(Colour c1, Colour c2, int length);

// The last 16 ramps, found again by length and end colours, replaced round-robin.
class GradientRampCache {
 public:
  static constexpr int kSlots = 16;
  const std::vector<Colour>& Get(Colour c1, Colour c2, int length);
  int Misses() const { return misses_; }

 private:
  struct Slot {
    int length = 0;
    Colour c1 = 0, c2 = 0;
    std::vector<Colour> ramp;
  };
  Slot slots_[kSlots];
  int next_ = 0;
  int misses_ = 0;
};
