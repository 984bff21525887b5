#include "skin/data/SkinReader.h"

#include "skin/data/Lzh.h"

namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Lines split at CR LF, CR or LF; a final break does not open a further line.
std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0, i = 0;
  while (i < text.size()) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = ++i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
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
  sizes_.clear();
  bodies_.clear();
  formatCode_ = 0;
}

PackageStatus TSkinReader::ReadPackage(std::span<const std::uint8_t> stored) {
  Clear();
  if (stored.size() < 4) return PackageStatus::Damaged;
  const std::uint32_t size = ReadU32(stored, 0);
  if (size > kMaxPackageSize) return PackageStatus::Damaged;
  const std::vector<std::uint8_t> package = TLZH::Unpack(stored.subspan(4), size);
  return IndexPackage(package);
}

PackageStatus TSkinReader::IndexPackage(std::span<const std::uint8_t> package) {
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
  std::vector<std::string> names = SplitLines(AsciiLower(nameText));
  if (names.size() > kMaxEntries) return PackageStatus::Damaged;

  const std::size_t sizeStart = nameStart + nameListLength;
  if ((package.size() - sizeStart) / 4 < names.size()) return PackageStatus::Damaged;
  const std::size_t bodyStart = sizeStart + names.size() * 4;
  std::vector<std::int32_t> sizes(names.size());
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < names.size(); ++i) {
    sizes[i] = static_cast<std::int32_t>(ReadU32(package, sizeStart + i * 4));
    if (sizes[i] < 0) return PackageStatus::Damaged;
    total += static_cast<std::uint32_t>(sizes[i]);
  }
  if (total > package.size() - bodyStart) return PackageStatus::Damaged;

  names_ = std::move(names);
  sizes_ = std::move(sizes);
  bodies_.assign(package.begin() + static_cast<std::ptrdiff_t>(bodyStart), package.end());
  formatCode_ = code;
  return PackageStatus::Ok;
}

void TSkinReader::Extract(std::size_t index, std::vector<std::uint8_t>& target) const {
  std::size_t offset = 0;
  for (std::size_t i = 0; i < index; ++i) offset += static_cast<std::size_t>(sizes_[i]);
  const auto begin = bodies_.begin() + static_cast<std::ptrdiff_t>(offset);
  target.assign(begin, begin + sizes_[index]);
}

bool TSkinReader::ExtractByName(std::string_view name, std::vector<std::uint8_t>& target) const {
  target.clear();
  const std::string wanted = AsciiLower(name);
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i] == wanted) {
      Extract(i, target);
      return true;
    }
  }
  return false;
}

std::string TSkinReader::ExtractByPart(std::string_view text,
                                       std::vector<std::uint8_t>& target) const {
  target.clear();
  for (std::size_t i = 0; i < names_.size(); ++i) {
    if (names_[i].find(text) != std::string::npos) {
      Extract(i, target);
      return names_[i];
    }
  }
  return {};
}
