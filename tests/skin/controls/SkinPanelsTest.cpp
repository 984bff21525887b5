// Group boxes, panels, tab sheets, status bars and progress bars: faces read back from the
// screen.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinSizer.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

class PanelsTest : public WrapperFixture {
 protected:
  // The element's frame drawn at that size on the face, as the wrappers draw it.
  ui::Bitmap Expected(const TDataSkinObject& record, SIZE size, int frames, int frame) const {
    ui::Bitmap picture(size.cx, size.cy);
    picture.Fill(Face());
    Draw(picture, {0, 0, size.cx, size.cy}, record, frames, frame);
    return picture;
  }
  static void Draw(ui::Bitmap& on, const RECT& r, const TDataSkinObject& record, int frames,
                   int frame) {
    ui::Bitmap::Canvas canvas(on);
    skin::DrawElement(canvas.dc(), r,
                      {&record.Bitmap,
                       record.Margins,
                       {frames, frame, false},
                       record.Tile != 0,
                       record.Trans != 0});
  }
  // A progress bar of that size filled so far, lying.
  ui::Bitmap ExpectedBar(SIZE size, int filled) const {
    const TDataSkinBorder& progress = *Records().Progress;
    ui::Bitmap expected = Expected(progress, size, 2, 1);
    if (filled > 0) Draw(expected, {0, 0, filled, size.cy}, progress, 2, 2);
    return expected;
  }
};

TEST_F(PanelsTest, AGroupBoxCaptionSitsEightPixelsInFromTheLeftOrFromTheRightWithWsExRight) {
  for (bool right : {false, true}) {
    SCOPED_TRACE(right);
    auto* group = Make<ui::TGroupBox>({20, 20, 260, 120}, L"转换格式为");
    group->Font()->SetHeight(-14);
    if (right) {
      HWND h = group->Handle();
      SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_RIGHT);
    }
    Skin(*group);
    HWND window = group->Handle();
    ui::Bitmap picture = Grab(window);
    RECT caption = InkBox(picture, {0, 0, 240, 14}, Dark);
    if (right) {
      EXPECT_GE(caption.right, 240 - 8 - 2);
      EXPECT_LE(caption.right, 240 - 8);
    } else {
      EXPECT_GE(caption.left, 8);
      EXPECT_LE(caption.left, 8 + 2);
    }
    // The outline in the shadow colour; the face inside it.
    EXPECT_EQ(picture.Pixel(1, 60), Shadow());
    EXPECT_EQ(picture.Pixel(238, 60), Shadow());
    EXPECT_EQ(picture.Pixel(120, 98), Shadow());
    EXPECT_EQ(picture.Pixel(120, 60), Face());
    delete group;
    made.pop_back();
  }
}

// "&" in a group caption marks the access key, as the system draws it: "格式(&F)" shows
// "格式(F)" with the F underlined, as wide as the caption without the "&".
TEST_F(PanelsTest, AGroupBoxCaptionDrawsItsAccessKeyPrefix) {
  auto width = [&](const wchar_t* caption) {
    auto* group = Make<ui::TGroupBox>({20, 20, 260, 120}, caption);
    Skin(*group);
    const RECT ink = InkBox(Grab(group->Handle()), {0, 0, 240, 16}, Dark);
    delete group;
    made.pop_back();
    return ink.right - ink.left;
  };
  const int plain = width(L"格式(F)");
  ASSERT_GT(plain, 0);
  EXPECT_EQ(width(L"格式(&F)"), plain);
}

TEST_F(PanelsTest, TheLabelsInsideAGroupBoxOrATabSheetAreDrawnOnItsFace) {
  auto* group = Make<ui::TGroupBox>({20, 20, 260, 120}, L"视频画质");
  auto* label = Make<ui::TLabel>({20, 40, 120, 56}, L"分辨率:", group);
  label->Font()->SetHeight(-14);
  Skin(*group);
  ui::Bitmap picture = Grab(group->Handle());
  EXPECT_NE(InkBox(picture, {20, 40, 120, 56}, Dark).right, 0);
  EXPECT_EQ(picture.Pixel(110, 50), Face());

  auto* pages = Make<ui::TPageControl>({280, 20, 460, 200});
  auto* sheet = Make<ui::TTabSheet>({0, 0, 10, 10}, L"页", pages);
  auto* text = Make<ui::TLabel>({10, 10, 120, 26}, L"标签", sheet);
  text->Font()->SetHeight(-14);
  Pump();
  Skin(*sheet);
  picture = Grab(sheet->Handle());
  EXPECT_NE(InkBox(picture, {10, 10, 120, 26}, Dark).right, 0);
  EXPECT_EQ(picture.Pixel(100, 60), Face());
}

TEST_F(PanelsTest, APanelTakesTheSkinsFaceAndGetsItsColourBack) {
  auto* panel = Make<ui::TPanel>({20, 20, 200, 80});
  panel->SetColor(RGB(200, 10, 10));
  Skin(*panel);
  EXPECT_EQ(ui::ColorToRGB(panel->Color()), Face());
  EXPECT_TRUE(PumpUntil([&] { return Pixel(panel->Handle(), 90, 30) == Face(); }));
  host->skinner().Unhook();
  EXPECT_EQ(panel->Color(), RGB(200, 10, 10));
}

TEST_F(PanelsTest, ContainersReachedByTheirWindowsShowTheFace) {
  // A dialog nested in the form: its ground and its static text's ground are the face.
  HWND dialog = MakeWindow(L"#32770", 0, {20, 20, 220, 100});
  HWND text = CreateWindowExW(0, L"STATIC", L"文本", WS_CHILD | WS_VISIBLE, 10, 10, 120, 20, dialog,
                              nullptr, nullptr, nullptr);
  // A size grip: the face with the skin's grip in its corner.
  HWND grip = MakeWindow(L"SCROLLBAR", SBS_SIZEGRIP, {240, 20, 264, 44});
  SkinWindow(dialog);
  SkinWindow(grip);
  EXPECT_EQ(SendMessageW(dialog, skin::WM_SKINQUERY, 0, 0), 1);
  RedrawWindow(dialog, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(Pixel(dialog, 150, 60), Face());
  EXPECT_EQ(Pixel(text, 115, 10), Face());

  const TDataSkinObject& extra = *Records().ExtraImages;
  const int w = extra.Bitmap.Width() / extra.FrameCount, h = extra.Bitmap.Height();
  RedrawWindow(grip, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  ui::Bitmap picture = Grab(grip);
  EXPECT_TRUE(
      Shows(picture, {24 - w, 24 - h}, FramePicture(extra.Bitmap, extra.FrameCount, 5, Face())));
  EXPECT_EQ(picture.Pixel(1, 1), Face());
}

TEST_F(PanelsTest, AStatusBarDrawsEachPanelFromTheSkinWithItsText) {
  auto* bar = Make<ui::TStatusBar>({0, 300, 460, 320});
  bar->Font()->SetHeight(-12);
  HWND window = bar->Handle();
  SendMessageW(window, SB_SIMPLE, FALSE, 0);
  int parts[] = {120, 300, -1};
  SendMessageW(window, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SendMessageW(window, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪"));
  SendMessageW(window, SB_SETTEXTW, 2, reinterpret_cast<LPARAM>(L"共 6 个文件"));
  Skin(*bar);
  const TDataSkinObject& edges = *Records().StatusBarEdges;
  ui::Bitmap picture = Grab(window);
  ASSERT_GT(picture.Width(), 400);
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    RECT r{};
    SendMessageW(window, SB_GETRECT, i, reinterpret_cast<LPARAM>(&r));
    ASSERT_GT(r.bottom - r.top, 10) << r.left << " " << r.right;
    ui::Bitmap expected = Expected(edges, {r.right - r.left, r.bottom - r.top}, 3, 1);
    // The panel's edges are the skin's (its inside carries the text).
    for (POINT p : {POINT{0, 0}, POINT{r.right - r.left - 1, r.bottom - r.top - 1}})
      EXPECT_EQ(picture.Pixel(r.left + p.x, r.top + p.y), expected.Pixel(p.x, p.y));
    const bool text = i != 1;
    EXPECT_EQ(InkBox(picture, r, Dark).right != 0, text);
  }
}

TEST_F(PanelsTest, ASimpleStatusBarIsOneFieldWithItsSimpleText) {
  auto* bar = Make<ui::TStatusBar>({0, 300, 460, 320});
  bar->Font()->SetHeight(-12);
  bar->SetSimpleText(L"正在转换");
  Skin(*bar);
  ui::Bitmap picture = Grab(bar->Handle());
  RECT ink = InkBox(picture, {0, 0, picture.Width(), picture.Height()}, Dark);
  EXPECT_GE(ink.left, 2);
  EXPECT_LE(ink.left, 10) << "at the left of the one field";
}

// A status bar with a size grip shows the skin's whole grip (ExtraImages, frame 5) in its
// corner; one without shows none there.
TEST_F(PanelsTest, AStatusBarsSizeGripIsTheSkins) {
  const TDataSkinObject& extra = *Records().ExtraImages;
  const SIZE size = TSkinSizer::GripSize(&Records());
  ASSERT_GT(size.cx, 0);
  ui::Bitmap grip(size.cx, size.cy);
  for (int y = 0; y < size.cy; ++y)
    for (int x = 0; x < size.cx; ++x) grip.SetPixel(x, y, extra.Bitmap.Pixel(4 * size.cx + x, y));
  for (const bool withGrip : {true, false}) {
    SCOPED_TRACE(withGrip);
    auto* bar = Make<ui::TStatusBar>({0, withGrip ? 300 : 260, 460, withGrip ? 320 : 280});
    bar->SetSizeGrip(withGrip);
    bar->SetSimpleText(L"正在转换");
    Pump();  // the window is made again with the new style
    Skin(*bar);
    const ui::Bitmap picture = Grab(bar->Handle());
    // The whole picture, its top row too, anchored at the bottom-right corner of a 20 px bar.
    ASSERT_LE(size.cy, picture.Height());
    const int x0 = picture.Width() - size.cx, y0 = picture.Height() - size.cy;
    bool shows = true;
    for (int y = 0; y < size.cy; ++y)
      for (int x = 0; x < size.cx; ++x) {
        const COLORREF c = grip.Pixel(x, y);
        if (c != RGB(255, 0, 255) && picture.Pixel(x0 + x, y0 + y) != c) shows = false;
      }
    EXPECT_EQ(shows, withGrip);
  }
}

TEST_F(PanelsTest, AProgressBarFillsTheShareOfItsRangeFromItsLowEnd) {
  struct Case {
    int low, high, position;
    int filled;  // of 200
  };
  auto* bar = Make<ui::TProgressBar>({20, 20, 220, 38});
  Skin(*bar);
  for (Case c : {Case{0, 100, 50, 100},
                 {50, 100, 75, 100},
                 {-100, 100, 0, 100},
                 {0, 100, 0, 0},
                 {0, 100, 100, 200}}) {
    SCOPED_TRACE(c.low);
    SCOPED_TRACE(c.position);
    bar->SetMin(c.low);
    bar->SetMax(c.high);
    bar->SetPosition(c.position);
    Pump();
    EXPECT_TRUE(Shows(Grab(bar->Handle()), {0, 0}, ExpectedBar({200, 18}, c.filled)));
  }
}

TEST_F(PanelsTest, AVerticalProgressBarIsAHorizontalOneTurnedSoThatItFillsFromTheBottom) {
  auto* bar = Make<ui::TProgressBar>({20, 20, 38, 220});
  HWND window = bar->Handle();
  SetWindowLongW(window, GWL_STYLE, GetWindowLongW(window, GWL_STYLE) | PBS_VERTICAL);
  bar->SetPosition(25);
  Skin(*bar);
  ui::Bitmap expected = ExpectedBar({200, 18}, 50);
  skin::RotateBack(expected);
  ASSERT_EQ(expected.Width(), 18);
  ui::Bitmap picture = Grab(window);
  EXPECT_TRUE(Shows(picture, {0, 0}, expected));
  // The fill frame at the bottom, the track above it.
  const COLORREF fill = ExpectedBar({200, 18}, 200).Pixel(100, 9);
  EXPECT_EQ(picture.Pixel(9, 190), fill);
  EXPECT_NE(picture.Pixel(9, 40), fill);
}

}  // namespace
