#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/SkinLimits.h"

// What reading a stored skin came to.
enum class PackageStatus {
  Ok,
  OlderFormat,  // a format code this reader does not know: the caller tells the user
  Damaged,      // sizes or counts that do not fit the data: nothing is indexed
};

// Indexes a skin package (a list of names, a table of sizes, the bodies back to back) and
// hands out single files by name.
class TSkinReader {
 public:
  static constexpr std::size_t kMaxEntries = skin_limits::kMaxEntries;

  // A stored skin stream: u32 package size, then the LZHUF bit stream. A declared size beyond
  // the skin limits (in all, or for the length of the stream) is damage and is not decoded.
  PackageStatus ReadPackage(std::span<const std::uint8_t> stored);
  // An already decompressed package.
  PackageStatus IndexPackage(std::span<const std::uint8_t> package);

  // The body of the first entry whose name equals `name` ignoring ASCII letter case, as a view
  // into the reader; nothing when there is none.
  std::optional<std::span<const std::uint8_t>> FindByName(std::string_view name) const;
  // Fills `target` with the body of the first entry whose name equals `name` ignoring ASCII
  // letter case; false and an empty target when there is none.
  bool ExtractByName(std::string_view name, std::vector<std::uint8_t>& target) const;
  // The first entry whose lower-cased name contains `text` (case-sensitive: pass lower case);
  // returns that name, or an empty text and an empty target.
  std::string ExtractByPart(std::string_view text, std::vector<std::uint8_t>& target) const;

  const std::vector<std::string>& Names() const { return names_; }
  std::size_t Count() const { return names_.size(); }
  std::uint32_t FormatCode() const { return formatCode_; }

  // Extra block length of a format code, or -1 for a code this reader does not know.
  static int ExtraBlockSize(std::uint32_t formatCode);

 private:
  PackageStatus Index(std::vector<std::uint8_t> package);
  void Clear();
  std::span<const std::uint8_t> Body(std::size_t index) const;

  std::vector<std::string> names_;    // lower-cased (ASCII letters only)
  std::vector<std::size_t> offsets_;  // of each body in package_, and the end of the last
  std::vector<std::uint8_t> package_;
  std::uint32_t formatCode_ = 0;
};

// ASCII-only lower and upper casing: multibyte ANSI text must pass through untouched.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
