// The program folders a user unpacks, of both builds: every executable in them is of the
// folder's bitness, imports only DLLs that come with Windows and carries no debug
// information, and each zip holds exactly its folder. Each build's setup program has the
// bitness of what it installs (a 32-bit one would not start where 32-bit code cannot run).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

// One build's release: its program folder, its zip, and what its executables must say.
struct Release {
  const char* dist;
  const char* zip;
  const char* packageName;
  const char* setup;
  std::uint32_t machine;        // the COFF header's machine field
  std::uint32_t optionalMagic;  // PE32 or PE32+
};
const Release kReleases[] = {
    {VELMO_DIST_32, VELMO_ZIP_32, VELMO_PACKAGE_NAME_32, VELMO_SETUP_32, 0x14C, 0x10B},
    {VELMO_DIST_64, VELMO_ZIP_64, VELMO_PACKAGE_NAME_64, VELMO_SETUP_64, 0x8664, 0x20B},
};

const std::vector<std::string> kShipped = {"VelmoConvert.exe", "ffmpeg.exe", "ffmpegx.exe",
                                           "mencoder.exe", "engine/ffmpeg.exe"};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return s;
}

// What the headers of a PE file (32- or 64-bit) say; `valid` is false for anything that does
// not read.
struct PeFile {
  bool valid = false;
  std::uint32_t machine = 0;
  std::uint32_t optionalMagic = 0;
  std::vector<std::string> imports;   // DLL names of the import directory
  std::vector<std::string> sections;  // section names, long ones read from the string table
  std::uint32_t symbols = 0;          // entries of the COFF symbol table, 0 when stripped
  std::string manifest;               // the manifest resource (type 24), empty when none

  explicit PeFile(const std::vector<std::uint8_t>& f) : bytes(f) { valid = Read(); }

 private:
  const std::vector<std::uint8_t>& bytes;
  struct Section {
    std::uint32_t address, size, offset;
  };
  std::vector<Section> table;

  bool Has(std::size_t at, std::size_t n) const {
    return at <= bytes.size() && n <= bytes.size() - at;
  }
  std::uint32_t U16(std::size_t at) const { return bytes[at] | bytes[at + 1] << 8; }
  std::uint32_t U32(std::size_t at) const { return U16(at) | U16(at + 2) << 16; }
  // File offset of a relative virtual address, or 0 when no section holds it.
  std::size_t Offset(std::uint32_t rva) const {
    for (const Section& s : table) {
      if (rva >= s.address && rva - s.address < s.size) return s.offset + (rva - s.address);
    }
    return 0;
  }
  // The resource tree is type, name, language; the first entry of type 24 down to its data.
  void ReadManifest(std::uint32_t resourceRva) {
    const std::size_t root = resourceRva ? Offset(resourceRva) : 0;
    if (root == 0) return;
    auto entries = [&](std::size_t directory) {
      std::vector<std::pair<std::uint32_t, std::uint32_t>> found;  // id, offset
      if (!Has(directory, 16)) return found;
      const std::size_t count = U16(directory + 12) + U16(directory + 14);
      for (std::size_t i = 0; i < count && Has(directory + 16 + i * 8, 8); ++i)
        found.emplace_back(U32(directory + 16 + i * 8), U32(directory + 20 + i * 8));
      return found;
    };
    std::size_t at = 0;
    for (const auto& [id, offset] : entries(root))
      if (id == 24 && (offset & 0x80000000u)) at = root + (offset & 0x7FFFFFFFu);
    for (int level = 0; level < 2 && at; ++level) {
      auto below = entries(at);
      at = below.empty() ? 0 : root + (below.front().second & 0x7FFFFFFFu);
    }
    if (!at || !Has(at, 8)) return;
    const std::size_t data = Offset(U32(at)), size = U32(at + 4);
    if (data && Has(data, size)) manifest.assign(reinterpret_cast<const char*>(&bytes[data]), size);
  }
  bool Read() {
    if (!Has(0, 0x40) || bytes[0] != 'M' || bytes[1] != 'Z') return false;
    const std::size_t pe = U32(0x3C);
    if (!Has(pe, 24) || U32(pe) != 0x00004550) return false;
    machine = U16(pe + 4);
    const std::size_t count = U16(pe + 6);
    symbols = U32(pe + 16);
    // Names longer than eight characters stand in the string table after the symbols, as
    // "/<offset>".
    const std::size_t strings = std::size_t{U32(pe + 12)} + std::size_t{symbols} * 18;
    const std::size_t optional = pe + 24, optionalSize = U16(pe + 20);
    if (!Has(optional, optionalSize)) return false;
    optionalMagic = U16(optional);
    // The data directories follow the fields that PE32+ widens to 64 bits.
    std::size_t directories;
    if (optionalMagic == 0x10B) {
      directories = optional + 96;
    } else if (optionalMagic == 0x20B) {
      directories = optional + 112;
    } else {
      return false;
    }
    if (optionalSize < directories - optional + 16) return false;
    const std::size_t first = optional + optionalSize;
    if (!Has(first, count * 40)) return false;
    for (std::size_t i = 0; i < count; ++i) {
      const std::size_t s = first + i * 40;
      std::string name(reinterpret_cast<const char*>(&bytes[s]), 8);
      name = name.substr(0, name.find('\0'));
      if (name.size() > 1 && name[0] == '/') {
        const std::size_t at = strings + std::stoul(name.substr(1));
        if (!Has(at, 1)) return false;
        name.clear();
        for (std::size_t i = at; i < bytes.size() && bytes[i] != 0; ++i) name += char(bytes[i]);
      }
      sections.push_back(name);
      table.push_back({U32(s + 12), std::max(U32(s + 8), U32(s + 16)), U32(s + 20)});
    }
    ReadManifest(U32(directories + 16));
    const std::uint32_t importRva = U32(directories + 8);
    if (importRva == 0) return true;
    for (std::size_t d = Offset(importRva); Has(d, 20) && U32(d + 12) != 0; d += 20) {
      const std::size_t name = Offset(U32(d + 12));
      if (name == 0 || !Has(name, 1)) return false;
      std::string dll;
      for (std::size_t i = name; i < bytes.size() && bytes[i] != 0; ++i) dll += char(bytes[i]);
      imports.push_back(Lower(dll));
    }
    return true;
  }
};

class ShippedExecutables : public testing::TestWithParam<Release> {
 protected:
  std::string Path(const std::string& name) const {
    return std::string(GetParam().dist) + "/" + name;
  }
};

TEST_P(ShippedExecutables, AreOfTheirFoldersBitness) {
  for (const std::string& name : kShipped) {
    const std::vector<std::uint8_t> bytes = ReadFile(Path(name));
    ASSERT_FALSE(bytes.empty()) << Path(name) << " is missing: scripts/build.sh cross both";
    const PeFile pe(bytes);
    ASSERT_TRUE(pe.valid) << name;
    EXPECT_EQ(pe.machine, GetParam().machine) << name;
    EXPECT_EQ(pe.optionalMagic, GetParam().optionalMagic) << name;
  }
}

TEST_P(ShippedExecutables, TheSetupProgramIsOfItsProgramsBitness) {
  const std::vector<std::uint8_t> bytes = ReadFile(GetParam().setup);
  ASSERT_FALSE(bytes.empty()) << GetParam().setup << " is missing: scripts/build.sh cross both";
  const PeFile pe(bytes);
  ASSERT_TRUE(pe.valid);
  EXPECT_EQ(pe.machine, GetParam().machine);
  EXPECT_EQ(pe.optionalMagic, GetParam().optionalMagic);
}

TEST_P(ShippedExecutables, ImportOnlyDllsThatComeWithWindows) {
  const std::set<std::string> system = {
      "kernel32.dll", "user32.dll",   "gdi32.dll",    "comctl32.dll", "comdlg32.dll", "shell32.dll",
      "ole32.dll",    "oleaut32.dll", "advapi32.dll", "msvcrt.dll",   "msimg32.dll",  "shlwapi.dll",
      "version.dll",  "winmm.dll",    "ws2_32.dll",   "imm32.dll",    "psapi.dll",    "bcrypt.dll",
      "crypt32.dll",  "avicap32.dll", "uxtheme.dll"};
  for (const std::string& name : kShipped) {
    const std::vector<std::uint8_t> bytes = ReadFile(Path(name));
    const PeFile pe(bytes);
    ASSERT_TRUE(pe.valid) << name;
    EXPECT_FALSE(pe.imports.empty()) << name;
    for (const std::string& dll : pe.imports) {
      EXPECT_TRUE(system.count(dll)) << name << " imports " << dll;
    }
  }
}

TEST_P(ShippedExecutables, CarryNoDebugInformation) {
  for (const std::string& name : kShipped) {
    const std::vector<std::uint8_t> bytes = ReadFile(Path(name));
    const PeFile pe(bytes);
    ASSERT_TRUE(pe.valid) << name;
    EXPECT_EQ(pe.symbols, 0u) << name;
    for (const std::string& section : pe.sections) {
      EXPECT_FALSE(section.rfind(".debug", 0) == 0) << name << " has section " << section;
    }
  }
}

// The program and the front-ends run as the signed-in user, unvirtualized, and say which Windows
// versions they know (Windows then neither reports an older version nor wraps them in a
// compatibility job); they stay DPI-unaware. The engine has no manifest.
TEST_P(ShippedExecutables, ManifestsDeclareTheLevelTheWindowsVersionsAndNoDpiAwareness) {
  const char* const kSupportedOs[] = {
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
  };
  for (const std::string& name : kShipped) {
    const std::vector<std::uint8_t> bytes = ReadFile(Path(name));
    const PeFile pe(bytes);
    ASSERT_TRUE(pe.valid) << name;
    if (name == "engine/ffmpeg.exe") {
      EXPECT_EQ(pe.manifest, "") << name;
      continue;
    }
    ASSERT_FALSE(pe.manifest.empty()) << name;
    EXPECT_NE(pe.manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
              std::string::npos)
        << name;
    for (const char* id : kSupportedOs)
      EXPECT_NE(pe.manifest.find(std::string("<supportedOS Id=\"") + id + "\"/>"),
                std::string::npos)
          << name << " lacks " << id;
    EXPECT_EQ(Lower(pe.manifest).find("<dpiaware"), std::string::npos) << name;
    const char* arch = GetParam().machine == 0x14C ? "\"x86\"" : "\"amd64\"";
    EXPECT_NE(pe.manifest.find(std::string("processorArchitecture=") + arch), std::string::npos)
        << name;
  }
}

// Entries of a zip's central directory: name -> uncompressed size.
std::map<std::string, std::uint32_t> ZipEntries(const std::vector<std::uint8_t>& zip) {
  auto u16 = [&](std::size_t at) { return std::uint32_t(zip[at] | zip[at + 1] << 8); };
  auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
  std::map<std::string, std::uint32_t> entries;
  if (zip.size() < 22) return entries;
  std::size_t end = zip.size() - 22;
  while (end > 0 && u32(end) != 0x06054B50) --end;
  if (u32(end) != 0x06054B50) return entries;
  std::size_t at = u32(end + 16);
  for (std::uint32_t i = 0; i < u16(end + 10) && at + 46 <= zip.size(); ++i) {
    if (u32(at) != 0x02014B50) break;
    const std::size_t nameLength = u16(at + 28);
    if (at + 46 + nameLength > zip.size()) break;
    entries[std::string(reinterpret_cast<const char*>(&zip[at + 46]), nameLength)] = u32(at + 24);
    at += 46 + nameLength + u16(at + 30) + u16(at + 32);
  }
  return entries;
}

TEST_P(ShippedExecutables, TheZipHoldsTheProgramFolderInAFolderNamedWithTheVersion) {
  const std::vector<std::uint8_t> zip = ReadFile(GetParam().zip);
  ASSERT_FALSE(zip.empty()) << GetParam().zip;
  std::map<std::string, std::uint32_t> expected;
  for (const std::string& name : kShipped) {
    expected[std::string(GetParam().packageName) + "/" + name] =
        static_cast<std::uint32_t>(ReadFile(Path(name)).size());
  }
  std::map<std::string, std::uint32_t> files = ZipEntries(zip);
  std::erase_if(files, [](const auto& e) { return e.first.back() == '/'; });  // folders
  EXPECT_EQ(files, expected);
}

INSTANTIATE_TEST_SUITE_P(Builds, ShippedExecutables, testing::ValuesIn(kReleases),
                         [](const testing::TestParamInfo<Release>& info) {
                           return info.param.machine == 0x14C ? "x86" : "x64";
                         });

}  // namespace
