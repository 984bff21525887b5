// The stored skin the build packed from resources/skin/ holds every source file unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "skin/data/SkinReader.h"

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(OurSkinStream, EveryFileReadsBackByteForByte) {
  const std::vector<std::uint8_t> framed = ReadFile(VELMO_SKIN_STREAM);
  ASSERT_GT(framed.size(), 8u) << VELMO_SKIN_STREAM;
  const std::uint32_t length = framed[0] | framed[1] << 8 | framed[2] << 16 | framed[3] << 24;
  EXPECT_EQ(length, framed.size() - 4);
  TSkinReader reader;
  ASSERT_EQ(reader.ReadPackage(std::span(framed).subspan(4)), PackageStatus::Ok);
  EXPECT_EQ(reader.FormatCode(), 50000u);

  std::size_t files = 0;
  for (const auto& item : std::filesystem::directory_iterator(VELMO_SOURCE_DIR "/resources/skin")) {
    const std::string ext = AsciiLower(item.path().extension().string());
    if (ext != ".ini" && ext != ".bmp") continue;
    ++files;
    std::vector<std::uint8_t> body;
    EXPECT_TRUE(reader.ExtractByName(item.path().filename().string(), body)) << item.path();
    EXPECT_TRUE(body == ReadFile(item.path())) << item.path();
  }
  EXPECT_EQ(reader.Count(), files);
  std::vector<std::uint8_t> ini;
  EXPECT_EQ(reader.ExtractByPart(".ini", ini), "skin.ini");
}

}  // namespace
