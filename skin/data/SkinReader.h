#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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
  static constexpr std::size_t kMaxEntries = 1001;
  // Far above any real skin; a larger declared size is treated as damage, not decoded.
  static constexpr std::uint32_t kMaxPackageSize = 64u << 20;

  // A stored skin stream: u32 package size, then the LZHUF bit stream.
  PackageStatus ReadPackage(std::span<const std::uint8_t> stored);
  // An already decompressed package.
  PackageStatus IndexPackage(std::span<const std::uint8_t> package);

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
  void Clear();
  void Extract(std::size_t index, std::vector<std::uint8_t>& target) const;

  std::vector<std::string> names_;  // lower-cased (ASCII letters only)
  std::vector<std::int32_t> sizes_;
  std::vector<std::uint8_t> bodies_;
  std::uint32_t formatCode_ = 0;
};

// ASCII-only lower and upper casing: multibyte ANSI text must pass through untouched.
std::string AsciiLower(std::string_view text);
std::string AsciiUpper(std::string_view text);
