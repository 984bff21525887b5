#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "bench/skin/MixedData.h"
#include "bench/skin/PlainLzhDecoder.h"
#include "skin/data/Lzh.h"

namespace {

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

std::vector<std::uint8_t> Fixture(const char* name) {
  std::ifstream in(std::string(VELMO_SOURCE_DIR "/tests/skin/fixtures/lzhuf/") + name,
                   std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A stream from an independent encoder of the format, long enough for many tree rebuilds.
TEST(Lzh, ReferenceStreamDecodesByteForByte) {
  const auto plain = Fixture("plain.bin");
  const auto packed = Fixture("packed.lzh");
  ASSERT_EQ(plain.size(), 240000u);
  ASSERT_GT(packed.size(), 4u);
  const std::uint32_t size = packed[0] | packed[1] << 8 | packed[2] << 16 | packed[3] << 24;
  ASSERT_EQ(size, plain.size());
  const auto out = TLZH::Unpack(std::span(packed).subspan(4), size);
  ASSERT_EQ(out.size(), plain.size());
  const auto diff = std::mismatch(out.begin(), out.end(), plain.begin());
  EXPECT_EQ(diff.first, out.end()) << "first difference at byte " << diff.first - out.begin();
}

// Any bit stream, also one no encoder would write (matches reaching back before the first
// byte, runs cut by the end), decodes exactly as the plain one-bit-at-a-time decoder does.
TEST(Lzh, ArbitraryStreamsDecodeAsThePlainDecoderDoes) {
  std::mt19937 random(11);
  for (const std::size_t streamSize : {0u, 1u, 3u, 7u, 64u, 999u, 20000u}) {
    for (int round = 0; round < 4; ++round) {
      std::vector<std::uint8_t> stream(streamSize);
      for (auto& b : stream) b = static_cast<std::uint8_t>(random());
      // Sizes past what the stream holds read zero bits.
      const auto size = static_cast<std::uint32_t>(streamSize * (round + 1) * 3 + round);
      EXPECT_EQ(TLZH::Unpack(stream, size), PlainLzhUnpack(stream, size))
          << streamSize << " bytes, round " << round;
    }
  }
}

TEST(Lzh, PackThenUnpackGivesTheSameBytes) {
  const std::vector<std::vector<std::uint8_t>> cases = {
      {}, Bytes("a"), Bytes("aaa"), Bytes(std::string(10000, ' ')), MixedData(300000)};
  for (const auto& data : cases) {
    const auto packed = TLZH::Pack(data);
    EXPECT_EQ(TLZH::Unpack(packed, static_cast<std::uint32_t>(data.size())), data)
        << "size " << data.size();
  }
}

TEST(Lzh, RepetitiveDataShrinks) {
  const auto data = MixedData(100000);
  std::vector<std::uint8_t> repeated;
  for (int i = 0; i < 20; ++i) repeated.insert(repeated.end(), data.begin(), data.begin() + 3000);
  EXPECT_LT(TLZH::Pack(repeated).size(), repeated.size() / 10);
}

TEST(Lzh, FirstSymbolFollowsTheInitialTree) {
  // In the starting tree all-zero bits lead to leaf 116 and all-one bits to leaf 115.
  EXPECT_EQ(TLZH::Unpack({}, 1), Bytes("t"));
  const std::vector<std::uint8_t> ones(4, 0xFF);
  EXPECT_EQ(TLZH::Unpack(ones, 1), Bytes("s"));
}

TEST(Lzh, TruncatedInputStillYieldsExactlyTheAskedSize) {
  const auto data = MixedData(20000);
  auto packed = TLZH::Pack(data);
  packed.resize(packed.size() / 2);
  const auto out = TLZH::Unpack(packed, static_cast<std::uint32_t>(data.size()));
  ASSERT_EQ(out.size(), data.size());
  // The part whose bits were all present decodes as before.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + 1000, data.begin()));
}

TEST(Lzh, StopsAfterExactlyTheAskedSizeEvenInsideAMatch) {
  const auto data = Bytes(std::string(200, 'q'));
  const auto packed = TLZH::Pack(data);
  EXPECT_EQ(TLZH::Unpack(packed, 10), Bytes(std::string(10, 'q')));
}

}  // namespace
