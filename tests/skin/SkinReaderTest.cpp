#include <gtest/gtest.h>

#include "skin/data/SkinPackageWriter.h"
#include "skin/data/SkinReader.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }
std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

std::vector<SkinPackageEntry> SmallSkin() {
  return {{"Skin.INI", Bytes("[Colours]\r\n")},
          {"Frame.bmp", Bytes("first")},
          {"FRAME.BMP", Bytes("second")},
          {"\xB1\xB3\xBE\xB0.bmp", Bytes("chinese")},  // a GBK name: its bytes stay as they are
          {"empty.bmp", {}}};
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(SkinReader, EveryKnownFormatCodeIndexesItsPackage) {
  for (std::uint32_t code : {20000u, 30000u, 40000u, 50000u}) {
    TSkinReader reader;
    const auto stored = StoreSkinPackage(BuildSkinPackage(SmallSkin(), code));
    ASSERT_EQ(reader.ReadPackage(stored), PackageStatus::Ok) << code;
    EXPECT_EQ(reader.Count(), 5u);
    std::vector<std::uint8_t> body;
    EXPECT_TRUE(reader.ExtractByName("empty.bmp", body));
    EXPECT_TRUE(body.empty());
    reader.ExtractByName("\xB1\xB3\xBE\xB0.BMP", body);
    EXPECT_EQ(Text(body), "chinese") << code;
  }
}

TEST(SkinReader, UnknownFormatCodeIsAnOlderSkinAndIndexesNothing) {
  TSkinReader reader;
  ASSERT_EQ(reader.ReadPackage(StoreSkinPackage(BuildSkinPackage(SmallSkin()))), PackageStatus::Ok);
  EXPECT_EQ(reader.ReadPackage(StoreSkinPackage(BuildSkinPackage(SmallSkin(), 10000))),
            PackageStatus::OlderFormat);
  EXPECT_EQ(reader.Count(), 0u);
  std::vector<std::uint8_t> body = Bytes("stale");
  EXPECT_EQ(reader.ExtractByPart(".ini", body), "");
  EXPECT_TRUE(body.empty());
}

TEST(SkinReader, NamesIgnoreCaseAndTheFirstOfTwoEqualNamesWins) {
  TSkinReader reader;
  ASSERT_EQ(reader.IndexPackage(BuildSkinPackage(SmallSkin())), PackageStatus::Ok);
  std::vector<std::uint8_t> body;
  for (const char* name : {"frame.bmp", "FRAME.BMP", "Frame.Bmp"}) {
    EXPECT_TRUE(reader.ExtractByName(name, body));
    EXPECT_EQ(Text(body), "first") << name;
  }
  EXPECT_FALSE(reader.ExtractByName("frame", body));
  EXPECT_TRUE(body.empty());
  const auto view = reader.FindByName("FRAME.bmp");
  ASSERT_TRUE(view);
  EXPECT_EQ(std::string(view->begin(), view->end()), "first");
  EXPECT_FALSE(reader.FindByName("frame"));
  EXPECT_EQ(reader.Names()[0], "skin.ini");
}

TEST(SkinReader, ExtractByPartFindsTheFirstNameContainingTheText) {
  auto entries = SmallSkin();
  std::rotate(entries.begin(), entries.begin() + 1, entries.end());  // the INI now comes last
  entries.push_back({"other.ini", Bytes("later")});
  TSkinReader reader;
  ASSERT_EQ(reader.IndexPackage(BuildSkinPackage(entries)), PackageStatus::Ok);
  std::vector<std::uint8_t> body;
  EXPECT_EQ(reader.ExtractByPart(".ini", body), "skin.ini");
  EXPECT_EQ(Text(body), "[Colours]\r\n");
  EXPECT_EQ(reader.ExtractByPart(".INI", body), "");  // the text is compared as given
}

TEST(SkinReader, NameListSplitsAtAnyLineBreakWithoutATrailingEntry) {
  // Names "a", "b", "c" ended by LF, CR and CR LF.
  std::vector<std::uint8_t> package = BuildSkinPackage({}, 20000);
  const std::string names = "a\nb\rc\r\n";
  PutU32(package, 4, static_cast<std::uint32_t>(names.size()));
  package.insert(package.end(), names.begin(), names.end());
  for (int i = 0; i < 3; ++i) package.insert(package.end(), {1, 0, 0, 0});
  package.insert(package.end(), {'A', 'B', 'C'});
  TSkinReader reader;
  ASSERT_EQ(reader.IndexPackage(package), PackageStatus::Ok);
  EXPECT_EQ(reader.Names(), (std::vector<std::string>{"a", "b", "c"}));
  std::vector<std::uint8_t> body;
  reader.ExtractByName("c", body);
  EXPECT_EQ(Text(body), "C");
}

// Packages whose counts or sizes do not fit their data are refused whole.
TEST(SkinReader, DamagedPackagesAreRejectedWithoutIndexing) {
  const auto good = BuildSkinPackage(SmallSkin());
  const std::size_t nameListAt = 16 + 48;
  const std::size_t nameListLength = good[4] | good[5] << 8;
  const std::size_t sizesAt = nameListAt + nameListLength;
  struct Case {
    const char* what;
    std::vector<std::uint8_t> package;
  };
  std::vector<Case> cases;
  auto with = [&](const char* what, auto change) {
    auto p = good;
    change(p);
    cases.push_back({what, p});
  };
  with("negative size", [&](auto& p) { PutU32(p, sizesAt + 4, 0xFFFFFFF0u); });
  with("size past the end", [&](auto& p) { PutU32(p, sizesAt + 16, 1000); });
  with("sizes summing past the end", [&](auto& p) { PutU32(p, sizesAt, 0x7FFFFFFF); });
  with("name list longer than the package", [&](auto& p) { PutU32(p, 4, 0xFFFFFFF0u); });
  with("size table cut off", [&](auto& p) { p.resize(sizesAt + 6); });
  with("header cut off", [&](auto& p) { p.resize(10); });
  with("extra block cut off", [&](auto& p) { p.resize(30); });
  {
    std::vector<SkinPackageEntry> many(1002, {"x.bmp", {}});
    cases.push_back({"1002 entries", BuildSkinPackage(many)});
  }
  for (const Case& c : cases) {
    TSkinReader reader;
    EXPECT_EQ(reader.IndexPackage(c.package), PackageStatus::Damaged) << c.what;
    EXPECT_EQ(reader.Count(), 0u) << c.what;
  }
  std::vector<SkinPackageEntry> limit(1001, {"x.bmp", {}});
  TSkinReader reader;
  EXPECT_EQ(reader.IndexPackage(BuildSkinPackage(limit)), PackageStatus::Ok);
}

// A name list of nothing but line breaks: refused once it passes the entry limit, however
// long it goes on (the list is not split whole first).
TEST(SkinReader, NameListOfMoreEntriesThanTheLimitIsDamaged) {
  for (const std::size_t breaks : {std::size_t{1002}, std::size_t{2} << 20}) {
    std::vector<std::uint8_t> package = BuildSkinPackage({}, 20000);
    PutU32(package, 4, static_cast<std::uint32_t>(breaks));
    package.insert(package.end(), breaks, '\n');
    TSkinReader reader;
    EXPECT_EQ(reader.IndexPackage(package), PackageStatus::Damaged) << breaks;
  }
}

// The declared package size may be no more than the stream could hold (60 bytes for 10 bits)
// nor more than the limit; the zero bits past the end of a stream must not conjure 64 MiB.
TEST(SkinReader, DeclaredSizesBeyondWhatTheStreamCanHoldAreDamaged) {
  const auto stored = StoreSkinPackage(BuildSkinPackage(SmallSkin()));
  struct Case {
    const char* what;
    std::vector<std::uint8_t> stored;
    PackageStatus expected;
  } cases[] = {
      {"too short for a size", Bytes("ab"), PackageStatus::Damaged},
      {"above the limit", {0xFF, 0xFF, 0xFF, 0xFF, 0}, PackageStatus::Damaged},
      {"64 MiB from five bytes", {0, 0, 0, 4, 1, 2, 3, 4, 5}, PackageStatus::Damaged},
      {"a real stream", stored, PackageStatus::Ok},
  };
  for (const Case& c : cases) {
    TSkinReader reader;
    EXPECT_EQ(reader.ReadPackage(c.stored), c.expected) << c.what;
  }
}

}  // namespace
