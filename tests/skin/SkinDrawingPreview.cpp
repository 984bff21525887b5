// Draws a mock window and a sheet of controls from our parsed skin with the element drawing
// operations, to look at what painters will get. Not a test: it writes a BMP.
//   skin_drawing_preview <framed skin stream> <output.bmp>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "skin/data/BmpImage.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinReader.h"
#include "skin/data/SkinRecords.h"

namespace {

using skin::Element;

Element Of(const TDataSkinObject& r, int frame, bool vertical = false) {
  return {&r.Bitmap, r.Margins, {r.FrameCount, frame, vertical}, r.Tile != 0, r.Trans != 0};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> framed{std::istreambuf_iterator<char>(in), {}};
  TSkinReader reader;
  if (framed.size() < 8 || reader.ReadPackage(std::span(framed).subspan(4)) != PackageStatus::Ok) {
    std::fprintf(stderr, "cannot read the skin\n");
    return 1;
  }
  std::vector<std::uint8_t> text;
  reader.ExtractByPart(".ini", text);
  TQuickIni ini;
  ini.LoadFromStream(text);
  SkinRecords r;
  ParseSkin(r, reader, ini);

  constexpr int W = 760, H = 420;
  ui::Bitmap sheet(W, H);
  sheet.Fill(RGB(40, 40, 48));
  ui::Bitmap::Canvas canvas(sheet);
  HDC dc = canvas.dc();

  // Two windows, active and inactive: the frame in nine parts, cut by its region.
  for (int state = 1; state <= 2; ++state) {
    const int x0 = 10 + (state - 1) * 370, y0 = 10, w = 360, h = 200;
    ui::Bitmap window(w, h);
    // Key colour outside the client area, so that the frame's key pixels cut the region.
    window.Fill(kKeyColour);
    {
      ui::Bitmap::Canvas wc(window);
      HDC d = wc.dc();
      const int top = r.FrameTop->Bitmap.Height() / r.FrameTop->FrameCount;
      const int side = r.FrameLeft->Bitmap.Width() / r.FrameLeft->FrameCount;
      const int bottom = r.FrameBottom->Bitmap.Height() / r.FrameBottom->FrameCount;
      const RECT client{side, top, w - side, h - bottom};
      FillRect(d, &client, r.FaceBrush.get());
      skin::DrawElement(d, {0, 0, side, h}, Of(*r.FrameLeft, state));
      skin::DrawElement(d, {w - side, 0, w, h}, Of(*r.FrameRight, state));
      skin::DrawElement(d, {side, 0, w - side, top}, Of(*r.FrameTop, state, true));
      skin::DrawElement(d, {side, h - bottom, w - side, h}, Of(*r.FrameBottom, state, true));
      // The title record's margins are text offsets; its image keeps TXTBackleft/Right.
      Element title = Of(*r.Title, state, true);
      title.margins = {r.Title->TXTBackleft, 0, r.Title->TXTBackRight, 0};
      skin::DrawElement(d, {40, 0, 200, top}, title);
      SetBkMode(d, TRANSPARENT);
      SetTextColor(d, state == 1 ? r.Title->ActiveText : r.Title->InActiveText);
      RECT caption{48, 0, 200, top};
      DrawTextW(d, L"Velmo skin", -1, &caption, DT_SINGLELINE | DT_VCENTER);
      for (std::size_t i = 0; i < 3; ++i) {
        const TDataSkinSysButton& b = *r.SysButtons[i];
        const int bw = b.Bitmap.Width() / b.FrameCount;
        const int x = b.Align == 1 ? w - b.XCoord : b.XCoord;
        skin::DrawFrameAtSize(d, {x, b.YCoord, x + bw, b.YCoord + b.Bitmap.Height()}, b.Bitmap,
                              true, bw, state == 1 ? 1 : 4);
      }
      const int face = top + 6;
      for (int k = 1; k <= 5; ++k) {
        skin::DrawElement(d, {side + 8 + (k - 1) * 66, face, side + 68 + (k - 1) * 66, face + 26},
                          Of(*r.Buttons, k));
      }
      skin::DrawStrip3(d, {side + 8, face + 40, w - side - 8, face + 58}, Of(*r.Progress, 1));
      skin::DrawStrip3(d, {side + 8, face + 40, w / 2, face + 58}, Of(*r.Progress, 2));
      skin::DrawElement(d, {side + 8, face + 70, side + 180, face + 91}, Of(*r.ComboButton, 1));
      skin::DrawElement(d, {side + 190, face + 70, w - side - 8, face + 91}, Of(*r.SunkEdge, 2));
      const int sb = r.Scrollbar->Bitmap.Width() / 23;
      for (int k = 1; k <= 16; ++k) {
        skin::DrawFrameAtSize(d, {side + 8 + (k - 1) * (sb + 2), face + 104, 0, 0},
                              r.Scrollbar->Bitmap, true, sb, k);
      }
    }
    auto region = skin::RegionFromBitmap(window, {x0, y0});
    SelectClipRgn(dc, region.get());
    BitBlt(dc, x0, y0, w, h, ui::Bitmap::Canvas(window).dc(), 0, 0, SRCCOPY);
    SelectClipRgn(dc, nullptr);
  }

  // Check boxes and radio buttons, every frame; tabs; track bar thumbs.
  const TDataSkinButton& b = *r.Buttons;
  const int cw = b.CheckBitmap.Width() / b.CheckButtonFrame;
  for (int k = 1; k <= b.CheckButtonFrame; ++k) {
    skin::DrawFrameAtSize(dc, {10 + (k - 1) * (cw + 6), 230, 0, 0}, b.CheckBitmap, true, cw, k);
  }
  const int rw = b.RadioBitmap.Width() / b.RadioButtonFrame;
  for (int k = 1; k <= b.RadioButtonFrame; ++k) {
    skin::DrawFrameAtSize(dc, {10 + (k - 1) * (rw + 6), 252, 0, 0}, b.RadioBitmap, true, rw, k);
  }
  for (int k = 1; k <= 5; ++k) {
    skin::DrawElement(dc, {10 + (k - 1) * 84, 280, 90 + (k - 1) * 84, 304}, Of(*r.Tabs, k));
  }
  skin::DrawElement(dc, {10, 304, 430, 400}, Of(*r.TabPane, 1));
  skin::DrawElement(dc, {450, 240, 740, 246}, Of(*r.Track, 1));
  for (int k = 1; k <= 5; ++k) {
    const TDataSkinObject& t = *r.TrackbarThumbHorz;
    const int tw = t.Bitmap.Width() / t.FrameCount;
    skin::DrawFrameAtSize(dc, {460 + (k - 1) * 50, 232, 0, 0}, t.Bitmap, true, tw, k);
  }
  skin::DrawElement(dc, {450, 270, 740, 290}, Of(*r.Headerbar, 1));
  for (int k = 1; k <= 5; ++k) {
    skin::DrawElement(dc, {450, 300 + (k - 1) * 22, 740, 322 + (k - 1) * 22}, Of(*r.MenuItem, k));
  }
  skin::DrawElement(dc, {10, 404, 740, 414}, Of(*r.Toolbar, 1));

  BmpImage image{W, H, {}};
  for (int y = 0; y < H; ++y)
    image.pixels.insert(image.pixels.end(), sheet.Row(y), sheet.Row(y) + W);
  const auto bmp = EncodeBmp24(image);
  std::ofstream(argv[2], std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  return 0;
}
