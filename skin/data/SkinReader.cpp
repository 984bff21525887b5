#include "skin/data/SkinReader.h"

#include "skin/data/Lzh.h"

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Lines split at CR LF, CR or LF; a final break does not open a further line. Stops with
// nothing once there are more than `limit` lines, so that a list of mere line breaks costs
// no more than its own length.
std::optional<std::vector<std::string>> SplitLines(std::string_view text, std::size_t limit) {
  std::vector<std::string> lines;
  std::size_t start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (lines.size() == limit) return std::nullopt;
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) {
    if (lines.size() == limit) return std::nullopt;
    lines.emplace_back(text.substr(start));
  }
  return lines;
}

}  // namespace

std::string AsciiLower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

std::string AsciiUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

int TSkinReader::ExtraBlockSize(std::uint32_t formatCode) {
  switch (formatCode) {
    case 20000:
      return 0;
    case 30000:
      return 256;
    case 40000:
      return 80;
    case 50000:
      return 48;
    default:
      return -1;
  }
}

void TSkinReader::Clear() {
  names_.clear();
  offsets_.clear();
  package_.clear();
  formatCode_ = 0;
}

PackageStatus TSkinReader::ReadPackage(std::span<const std::uint8_t> stored) {
  Clear();
  if (stored.size() < 4) return PackageStatus::Damaged;
  const std::uint32_t size = ReadU32(stored, 0);
  const std::uint64_t possible = std::uint64_t{stored.size() - 4} * skin_limits::kMaxExpansion +
                                 skin_limits::kExpansionAllowance;
  if (size > skin_limits::kMaxPackageSize || size > possible) return PackageStatus::Damaged;
  return Index(TLZH::Unpack(stored.subspan(4), size));
}

PackageStatus TSkinReader::IndexPackage(std::span<const std::uint8_t> package) {
  return Index({package.begin(), package.end()});
}

PackageStatus TSkinReader::Index(std::vector<std::uint8_t> package) {
  Clear();
  constexpr std::size_t kHeader = 16;
  if (package.size() < kHeader) return PackageStatus::Damaged;
  const std::uint32_t code = ReadU32(package, 0);
  const int extra = ExtraBlockSize(code);
  if (extra < 0) return PackageStatus::OlderFormat;
  const std::size_t nameListLength = ReadU32(package, 4);
  const std::size_t nameStart = kHeader + static_cast<std::size_t>(extra);
  if (nameStart > package.size() || nameListLength > package.size() - nameStart) {
    return PackageStatus::Damaged;
  }
  const std::string_view nameText(reinterpret_cast<const char*>(package.data() + nameStart),
                                  nameListLength);
  std::optional<std::vector<std::string>> names = SplitLines(nameText, kMaxEntries);
  if (!names) return PackageStatus::Damaged;
  for (std::string& name : *names) name = AsciiLower(name);

  const std::size_t count = names->size();
  const std::size_t sizeStart = nameStart + nameListLength;
  if ((package.size() - sizeStart) / 4 < count) return PackageStatus::Damaged;
  std::vector<std::size_t> offsets(count + 1);
  offsets[0] = sizeStart + count * 4;
  for (std::size_t i = 0; i < count; ++i) {
    const auto size = static_cast<std::int32_t>(ReadU32(package, sizeStart + i * 4));
    if (size < 0 || static_cast<std::size_t>(size) > package.size() - offsets[i]) {
      return PackageStatus::Damaged;
    }
    offsets[i + 1] = offsets[i] + static_cast<std::size_t>(size);
  }

  names_ = std::move(*names);
  offsets_ = std::move(offsets);
  package_ = std::move(package);
  formatCode_ = code;
  return PackageStatus::Ok;
}

std::span<const std::uint8_t> TSkinReader::Body(std::size_t index) const {
  return std::span(package_).subspan(offsets_[index], offsets_[index + 1] - offsets_[index]);
}

std::optional<std::span<const std::uint8_t>> TSkinReader::FindByName(std::string_view name) const {
  const std::string wanted = AsciiLower(name);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) return Body(i);
  }
  return std::nullopt;
}

bool TSkinReader::ExtractByName(std::string_view name, std::vector<std::uint8_t>& target) const {
  target.clear();
  const auto body = FindByName(name);
  if (body) target.assign(body->begin(), body->end());
  return body.has_value();
}

std::string TSkinReader::ExtractByPart(std::string_view text,
                                       std::vector<std::uint8_t>& target) const {
  target.clear();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(text) != std::string::npos) {
      const auto body = Body(i);
      target.assign(body.begin(), body.end());
      return names_[i];
    }
  }
  return {};
}
