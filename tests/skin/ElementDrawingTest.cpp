#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "skin/data/ElementDrawing.h"

namespace {

using skin::Element;

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kBlue = RGB(0, 0, 255),
                   kWhite = RGB(255, 255, 255), kGrey = RGB(128, 128, 128),
                   kYellow = RGB(255, 255, 0), kKey = RGB(255, 0, 255);

// A bitmap from rows of letters: r g b w y k(ey) . (grey); one letter per pixel.
ui::Bitmap Picture(const std::vector<std::string>& rows) {
  ui::Bitmap b(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) {
      const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
      b.SetPixel(x, y,
                 c == 'r'   ? kRed
                 : c == 'g' ? kGreen
                 : c == 'b' ? kBlue
                 : c == 'w' ? kWhite
                 : c == 'y' ? kYellow
                 : c == 'k' ? kKey
                            : kGrey);
    }
  }
  return b;
}

std::string RowOf(const ui::Bitmap& b, int y) {
  std::string s;
  for (int x = 0; x < b.Width(); ++x) {
    const COLORREF c = b.Pixel(x, y);
    s += c == kRed      ? 'r'
         : c == kGreen  ? 'g'
         : c == kBlue   ? 'b'
         : c == kWhite  ? 'w'
         : c == kYellow ? 'y'
         : c == kKey    ? 'k'
         : c == kGrey   ? '.'
                        : '?';
  }
  return s;
}

// 6 x 6, corners 2 x 2: red, green (top right), blue (bottom left), yellow; grey edges;
// white middle.
const std::vector<std::string> kNine = {"rr..gg", "rr..gg", "..ww..", "..ww..", "bb..yy", "bb..yy"};

TEST(ElementDrawing, NinePartKeepsCornersAndStretchesTheRest) {
  const ui::Bitmap strip = Picture(kNine);
  const ui::Bitmap out =
      skin::RenderElement({0, 0, 10, 8}, {.strip = &strip, .margins = {2, 2, 2, 2}});
  EXPECT_EQ(RowOf(out, 0), "rr......gg");
  EXPECT_EQ(RowOf(out, 1), "rr......gg");
  EXPECT_EQ(RowOf(out, 2), "..wwwwww..");
  EXPECT_EQ(RowOf(out, 5), "..wwwwww..");
  EXPECT_EQ(RowOf(out, 6), "bb......yy");
  EXPECT_EQ(RowOf(out, 7), "bb......yy");
}

TEST(ElementDrawing, TargetNarrowerThanBothMarginsStretchesTheWholeFrameOnThatAxis) {
  const ui::Bitmap strip = Picture(kNine);
  // Width 3 < 2 + 2: no fixed columns, every column sampled from the whole frame. Height
  // 8 keeps its fixed rows.
  const ui::Bitmap out =
      skin::RenderElement({0, 0, 3, 8}, {.strip = &strip, .margins = {2, 2, 2, 2}});
  EXPECT_EQ(RowOf(out, 0), "r.g");
  EXPECT_EQ(RowOf(out, 3), ".w.");
  EXPECT_EQ(RowOf(out, 7), "b.y");
}

// Margins a skin gives may be any integer; absurd ones draw like margins wider than the target.
TEST(ElementDrawing, MarginsNearTheIntegerLimitsStretchTheWholeFrame) {
  const ui::Bitmap strip = Picture(kNine);
  const Margins absurd[] = {{INT_MAX, 2, INT_MAX, 2}, {INT_MIN, 2, INT_MIN, 2}};
  for (const Margins& m : absurd) {
    const ui::Bitmap out = skin::RenderElement({0, 0, 3, 8}, {.strip = &strip, .margins = m});
    EXPECT_EQ(RowOf(out, 0), "r.g");
    EXPECT_EQ(RowOf(out, 7), "b.y");
  }
  ui::Bitmap target(9, 2);
  {
    ui::Bitmap::Canvas canvas(target);
    const ui::Bitmap three = Picture({"rgbwy", "rgbwy"});
    skin::DrawStrip3(canvas.dc(), {0, 0, 9, 2},
                     {.strip = &three, .margins = {INT_MAX, 0, INT_MAX, 0}});
  }
}

TEST(ElementDrawing, TiledMiddleRepeatsAndIsCutAtTheEdge) {
  // Middle columns r g b w between grey margins of 2.
  const ui::Bitmap strip = Picture({"..rgbw..", "..rgbw.."});
  Element e{.strip = &strip, .margins = {2, 0, 2, 0}};
  e.tileMiddle = true;
  const ui::Bitmap out = skin::RenderElement({0, 0, 10, 3}, e);
  EXPECT_EQ(RowOf(out, 0), "..rgbwrg..");
  EXPECT_EQ(RowOf(out, 2), "..rgbwrg..");
}

TEST(ElementDrawing, TransparentDrawingLeavesKeyPixelsOut) {
  const ui::Bitmap strip = Picture({"krrk", "rkkr"});
  ui::Bitmap target(4, 2);
  target.Fill(kBlue);
  {
    ui::Bitmap::Canvas canvas(target);
    Element e{.strip = &strip};
    e.transparent = true;
    skin::DrawElement(canvas.dc(), {0, 0, 4, 2}, e);
  }
  EXPECT_EQ(RowOf(target, 0), "brrb");
  EXPECT_EQ(RowOf(target, 1), "rbbr");
}

TEST(ElementDrawing, StripRemainderColumnsBelongToNoFrame) {
  // 7 wide, 3 frames: frames are 2 wide; the seventh column (yellow) is never drawn.
  const ui::Bitmap strip = Picture({"rrggbby"});
  ui::Bitmap target(4, 1);
  {
    ui::Bitmap::Canvas canvas(target);
    skin::DrawFrame(canvas.dc(), {0, 0, 4, 1}, strip, false, 3, 3);
  }
  EXPECT_EQ(RowOf(target, 0), "bbbb");
  const RECT frame = skin::FrameRect(strip, {.count = 3, .index = 3});
  EXPECT_EQ(frame.right, 6);
  // One frame of a one-frame strip is the whole image.
  EXPECT_EQ(skin::FrameRect(strip, {.count = 1, .index = 1}).right, 7);
  // Stacked frames are cut by rows.
  const ui::Bitmap stacked = Picture({"r", "r", "g", "g", "y"});
  const RECT second = skin::FrameRect(stacked, {2, 2, true});
  EXPECT_EQ(second.top, 2);
  EXPECT_EQ(second.bottom, 4);
}

TEST(ElementDrawing, FrameAtSizeAndThreePartStrip) {
  const ui::Bitmap strip = Picture({"rgbwy.", "rgbwy."});
  ui::Bitmap target(9, 2);
  target.Fill(kKey);
  {
    ui::Bitmap::Canvas canvas(target);
    // Only the target's top-left counts, also for a transparent copy.
    skin::DrawFrameAtSize(canvas.dc(), {1, 0, 1, 0}, strip, true, 2, 2);  // columns b w
  }
  EXPECT_EQ(RowOf(target, 0), "kbwkkkkkk");
  // Three parts: r, then g b w repeated while inside, then y over the last column.
  const ui::Bitmap three = Picture({"rgbwy", "rgbwy"});
  {
    ui::Bitmap::Canvas canvas(target);
    skin::DrawStrip3(canvas.dc(), {0, 0, 9, 2}, {.strip = &three, .margins = {1, 0, 1, 0}});
  }
  EXPECT_EQ(RowOf(target, 1), "rgbwgbwgy");
}

TEST(ElementDrawing, NegativeTargetsDrawNothing) {
  const ui::Bitmap strip = Picture(kNine);
  ui::Bitmap target(4, 4);
  target.Fill(kBlue);
  {
    ui::Bitmap::Canvas canvas(target);
    skin::DrawElement(canvas.dc(), {3, 0, 1, 4}, {.strip = &strip});
    skin::DrawTransparent(canvas.dc(), {0, 3, 4, 1}, strip);
    skin::DrawStrip3(canvas.dc(), {3, 0, 1, 4}, {.strip = &strip});
  }
  EXPECT_EQ(RowOf(target, 0), "bbbb");
}

TEST(ElementDrawing, AllKeyBitmapGivesAnEmptyRegion) {
  ui::Bitmap all(5, 3);
  all.Fill(kKey);
  auto region = skin::RegionFromBitmap(all);
  RECT box;
  EXPECT_EQ(GetRgnBox(region.get(), &box), NULLREGION);
}

TEST(ElementDrawing, RegionHoldsExactlyTheNonKeyPixels) {
  // A checkerboard of 150 x 60 gives 4500 one-pixel runs: more than two batches.
  ui::Bitmap board(150, 60);
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 150; ++x) {
      // Near-key colours within the tolerance of 1 count as key too.
      board.SetPixel(x, y, (x + y) % 2 ? RGB(255, x % 2, 255) : RGB(10, 20, 30));
    }
  }
  const POINT offset{7, -3};
  auto region = skin::RegionFromBitmap(board, offset);
  int wrong = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 150; ++x) {
      const bool inside = PtInRegion(region.get(), x + offset.x, y + offset.y);
      if (inside != ((x + y) % 2 == 0)) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
  RECT box;
  GetRgnBox(region.get(), &box);
  EXPECT_EQ(box.left, 7);
  EXPECT_EQ(box.top, -3);
  EXPECT_EQ(box.right, 157);
  EXPECT_EQ(box.bottom, 57);
}

}  // namespace
