#include <gtest/gtest.h>

#include "skin/data/SkinImages.h"

namespace {

ui::Bitmap Numbered(int w, int h) {
  ui::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.SetPixel(x, y, RGB(x, y, 7));
  }
  return b;
}

TEST(SkinImages, MirrorFlipAndQuarterTurnsMovePixels) {
  ui::Bitmap b = Numbered(3, 2);
  skin::MirrorHorizontal(b);
  EXPECT_EQ(b.Pixel(0, 1), RGB(2, 1, 7));
  skin::FlipVertical(b);
  EXPECT_EQ(b.Pixel(0, 0), RGB(2, 1, 7));

  ui::Bitmap r = Numbered(3, 2);
  skin::Rotate(r);  // clockwise: the bottom-left corner comes to the top-left
  ASSERT_EQ(r.Width(), 2);
  ASSERT_EQ(r.Height(), 3);
  EXPECT_EQ(r.Pixel(0, 0), RGB(0, 1, 7));
  EXPECT_EQ(r.Pixel(1, 0), RGB(0, 0, 7));
  skin::RotateBack(r);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(r.Pixel(x, y), RGB(x, y, 7));
  }
}

TEST(SkinImages, ReplaceMagentaAndGrayscale) {
  ui::Bitmap b(3, 1);
  b.SetPixel(0, 0, RGB(255, 0, 255));
  b.SetPixel(1, 0, RGB(255, 1, 255));
  b.SetPixel(2, 0, RGB(10, 20, 40));
  skin::ReplaceMagenta(b, RGB(1, 2, 3));
  EXPECT_EQ(b.Pixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(b.Pixel(1, 0), RGB(255, 1, 255));  // only the exact key
  skin::Grayscale(b);
  EXPECT_EQ(b.Pixel(2, 0), RGB(23, 23, 23));
}

TEST(SkinImages, SystemColourReferencesResolveThroughTheColourTable) {
  EXPECT_EQ(skin::ResolveColour(0xFF000000u | COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(skin::ResolveColour(RGB(1, 2, 3)), RGB(1, 2, 3));
  // Mixing resolves references itself: a reference mixes as the colour it stands for.
  const COLORREF window = GetSysColor(COLOR_WINDOW), text = GetSysColor(COLOR_BTNTEXT);
  EXPECT_EQ(skin::MixColors(0xFF000000u | COLOR_WINDOW, 0xFF000000u | COLOR_BTNTEXT, 30),
            MixRgb(window, text, 30));
  EXPECT_EQ(skin::MixColors(0xFF000000u | COLOR_WINDOW, RGB(0, 0, 0), 100), MixRgb(window, 0, 100));
}

TEST(SkinImages, GradientFillDrawsTheRampOnlyInsideTheClipBox) {
  ui::Bitmap b(4, 5);
  b.Fill(RGB(9, 9, 9));
  {
    ui::Bitmap::Canvas canvas(b);
    HRGN clip = CreateRectRgn(0, 1, 4, 5);
    SelectClipRgn(canvas.dc(), clip);
    DeleteObject(clip);
    skin::GradientFill(canvas.dc(), {0, 0, 4, 5}, RGB(0, 0, 0), true, RGB(200, 100, 40));
  }
  EXPECT_EQ(b.Pixel(0, 0), RGB(9, 9, 9));
  const auto ramp = GradientRamp(RGB(0, 0, 0), RGB(200, 100, 40), 5);
  for (int y = 1; y < 5; ++y) EXPECT_EQ(b.Pixel(3, y), ramp[static_cast<std::size_t>(y)]) << y;
}

}  // namespace
