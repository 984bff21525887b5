#include "skin/data/Colours.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>

#include "skin/data/QuickIni.h"

Colour ParseColour(std::string_view text, Colour defaultValue) {
  if (text.empty()) return defaultValue;
  text = TrimBlanks(text);
  int numbers[3] = {0, 0, 0};
  int stored = 0;
  std::string digits;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digits += c;
      continue;
    }
    if (!digits.empty() && stored < 3) {
      // A number too long to convert is skipped, as a failed conversion is.
      if (auto value = ParseSkinInteger(digits)) numbers[stored++] = *value;
    }
    digits.clear();
  }
  if (stored == 2 && !digits.empty()) {
    if (auto value = ParseSkinInteger(digits)) numbers[stored++] = *value;
  }
  return Rgb(numbers[0], numbers[1], numbers[2]);
}

Colour MixRgb(Colour c1, Colour c2, int weight) {
  const int d = weight < 100 ? 100 : 1000;
  auto mix = [&](int a, int b) { return (b * (d - weight) + a * weight + d / 2) / d; };
  return Rgb(mix(RedOf(c1), RedOf(c2)), mix(GreenOf(c1), GreenOf(c2)), mix(BlueOf(c1), BlueOf(c2)));
}

int ColourSaturation(Colour c) {
  const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
  if (r < 160 && g < 160 && b < 160) return 200;
  const int high = std::max({r, g, b});
  const int low = std::min({r, g, b});
  if (high == 0) return 0;
  // Halves round to even, as the skin's colour rules were written against.
  return static_cast<int>(std::nearbyint(255.0 * (high - low) / high));
}

std::vector<Colour> GradientRamp(Colour c1, Colour c2, int length) {
  assert(length > 0 && "a ramp needs at least one entry");
  std::vector<Colour> ramp(static_cast<std::size_t>(std::max(length, 0)));
  const int from[3] = {RedOf(c1), GreenOf(c1), BlueOf(c1)};
  const int delta[3] = {RedOf(c2) - from[0], GreenOf(c2) - from[1], BlueOf(c2) - from[2]};
  for (int i = 0; i < length; ++i) {
    int channel[3];
    for (int k = 0; k < 3; ++k) {
      channel[k] = length == 1 ? from[k] + delta[k] / 2
                               : from[k] + ((length - 1) / 2 + i * delta[k]) / (length - 1);
    }
    ramp[static_cast<std::size_t>(i)] = Rgb(channel[0], channel[1], channel[2]);
  }
  return ramp;
}

const std::vector<Colour>& GradientRampCache::Get(Colour c1, Colour c2, int length) {
  for (int i = kSlots - 1; i >= 0; --i) {
    const Slot& s = slots_[i];
    if (!s.ramp.empty() && s.length == length && s.c1 == c1 && s.c2 == c2) return s.ramp;
  }
  ++misses_;
  Slot& slot = slots_[next_];
  next_ = (next_ + 1) % kSlots;
  slot = {length, c1, c2, GradientRamp(c1, c2, length)};
  return slot.ramp;
}
