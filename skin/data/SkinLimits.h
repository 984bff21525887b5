#pragma once

#include <cstdint>
#include <stdexcept>

// How much a skin may ask of the program. Every bound lies far above any real skin (ours
// decodes to about 220 KB: an INI text of 8 KB in 43 sections and 45 images of some 70,000
// pixels in all) and far below what would end or stall a 32-bit process; a skin beyond any of
// them is refused whole, as a damaged one is. Together they keep the memory and time of one
// load within a small multiple of its stored size, or of these constants where a small input
// may ask for much.
namespace skin_limits {

// Entries in a package (its size table has room for this many).
inline constexpr std::size_t kMaxEntries = 1001;
// Decoded package bytes, in all ...
inline constexpr std::uint32_t kMaxPackageSize = 64u << 20;
// ... and per byte of the stored stream: LZHUF gives at most 60 bytes for 10 bits, so more
// than this can only come from the zero bits read past the end of a damaged stream.
inline constexpr std::uint32_t kMaxExpansion = 64;
inline constexpr std::uint32_t kExpansionAllowance = 4096;
// A skin file read from disk (a stored stream): beyond this it cannot hold a package within
// the bounds above.
inline constexpr std::uint64_t kMaxStoredSize = 80u << 20;
// Pixels of one image, and of all images one load decodes (32-bit DIB sections: 16 and 64 MiB).
inline constexpr std::int64_t kMaxImagePixels = 4ll << 20;
inline constexpr std::int64_t kMaxLoadPixels = 16ll << 20;
// The INI text (its lines and their index cost a few times its size), and its sections: each
// caption-button section may hold an image of its own.
inline constexpr std::size_t kMaxIniSize = 1u << 20;
inline constexpr std::size_t kMaxSections = 1000;

}  // namespace skin_limits

// Raised inside a skin load that went beyond one of the bounds above; the load catches it.
class SkinLimitExceeded : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Pixels decoded so far in one skin load.
class PixelBudget {
 public:
  // Counts an image of `pixels` pixels before it is decoded.
  void Take(std::int64_t pixels) {
    if (pixels > skin_limits::kMaxImagePixels) throw SkinLimitExceeded("a skin image is too large");
    spent_ += pixels;
    if (spent_ > skin_limits::kMaxLoadPixels)
      throw SkinLimitExceeded("the skin's images are too large");
  }

 private:
  std::int64_t spent_ = 0;
};
