// Skinned push buttons, glyph buttons and speed buttons: faces read back from the windows,
// real mouse input, and the buttons of a message box.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

#include "skin/controls/SkinControls.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "ui/BitmapImage.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr COLORREF kKey = RGB(255, 0, 255);

class ButtonTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    skin::RegisterSkinControls();
    host = new Host(420, 320);
  }
  static void TearDownTestSuite() {
    delete host;
    host = nullptr;
  }
  void TearDown() override {
    for (ui::TControl* c : made) delete c;
    made.clear();
    MouseMove(host->form().Handle(), {400, 300});
    Pump();
  }

  template <typename T>
  T* Make(RECT bounds, const wchar_t* caption) {
    T* control = host->Add<T>(bounds);
    control->SetCaption(caption);
    made.push_back(control);
    return control;
  }
  // Classified as the form skinner does it, so that the registered wrapper takes it.
  void Skin(ui::TControl& control) {
    host->skinner().ClassifyControl(control, &host->form());
    Pump();
  }

  const TDataSkinButton& Buttons() const { return *host->data().Records().Buttons; }
  COLORREF Face() const { return skin::ResolveColour(host->data().Records().Colours.ButtonFace); }

  // What frame `frame` of the Buttons record shows at a point of a face of that size.
  COLORREF FramePixel(SIZE size, int frame, POINT at) const {
    const TDataSkinButton& b = Buttons();
    skin::Element element{&b.Bitmap, b.Margins, {5, frame, false}, b.Tile != 0, false};
    ui::Bitmap face = skin::RenderElement({0, 0, size.cx, size.cy}, element);
    COLORREF c = face.Pixel(at.x, at.y);
    return b.Trans && c == kKey ? Face() : c;
  }
  // A point clear of the caption where all five frames differ.
  POINT DistinctPoint(SIZE size) const {
    for (int y = 2; y < size.cy - 2; ++y) {
      for (int x = 1; x < 10; ++x) {
        std::set<COLORREF> seen;
        for (int frame = 1; frame <= 5; ++frame) seen.insert(FramePixel(size, frame, {x, y}));
        if (seen.size() == 5) return {x, y};
      }
    }
    ADD_FAILURE() << "the five button frames look alike";
    return {0, 0};
  }

  static Host* host;
  std::vector<ui::TControl*> made;
};
Host* ButtonTest::host = nullptr;

TEST_F(ButtonTest, APushButtonShowsItsFiveStates) {
  auto* button = Make<ui::TButton>({20, 20, 110, 50}, L"确定");
  auto* other = Make<ui::TButton>({20, 70, 110, 100}, L"其他");
  Skin(*button);
  Skin(*other);
  HWND window = button->Handle();
  const SIZE size{90, 30};
  const POINT at = DistinctPoint(size);
  auto shows = [&](int frame) {
    return PumpUntil([&] { return Pixel(window, at.x, at.y) == FramePixel(size, frame, at); }, 2s);
  };
  other->SetFocus();
  EXPECT_TRUE(shows(1)) << "normal";
  MouseMove(window, {45, 15});
  EXPECT_TRUE(shows(4)) << "hot";
  MouseDown(window, {45, 15});
  EXPECT_TRUE(shows(2)) << "pressed";
  MouseUp(window, {45, 15});
  MouseMove(host->form().Handle(), {300, 250});
  EXPECT_TRUE(shows(5)) << "focused: the press took the focus";
  other->SetFocus();
  EXPECT_TRUE(shows(1));
  button->SetDefault(true);
  EXPECT_TRUE(shows(5)) << "default";
  button->SetEnabled(false);
  EXPECT_TRUE(shows(3)) << "a disabled default button";
}

TEST_F(ButtonTest, APressReleasedOutsideClicksNothingAndOneReleasedInsideClicksOnce) {
  auto* button = Make<ui::TButton>({20, 20, 110, 50}, L"确定");
  Skin(*button);
  int clicks = 0;
  std::vector<POINT> downs;
  button->OnClick = [&](ui::TPersistent&) { ++clicks; };
  button->OnMouseDown = [&](ui::TControl&, ui::TMouseButton, int, int x, int y) {
    downs.push_back({x, y});
  };
  HWND window = button->Handle();
  HWND form = host->form().Handle();

  MouseMove(window, {30, 12});
  MouseDown(window, {30, 12});
  PumpFor(100ms);
  MouseMove(form, {300, 250});
  PumpFor(100ms);
  MouseUp(form, {300, 250});
  PumpFor(100ms);
  EXPECT_EQ(clicks, 0);
  // Leaving took the press back: coming back and releasing clicks nothing either.
  MouseDown(window, {30, 12});
  PumpFor(100ms);
  MouseMove(form, {300, 250});
  PumpFor(100ms);
  MouseMove(window, {30, 12});
  PumpFor(100ms);
  MouseUp(window, {30, 12});
  PumpFor(100ms);
  EXPECT_EQ(clicks, 0);

  MouseMove(window, {30, 12});
  MouseDown(window, {30, 12});
  MouseUp(window, {30, 12});
  PumpFor(100ms);
  EXPECT_EQ(clicks, 1);
  ASSERT_EQ(downs.size(), 3u) << "the control still hears of each press";
  EXPECT_EQ(downs[2].x, 30);
  EXPECT_EQ(downs[2].y, 12);
}

TEST_F(ButtonTest, TheSpaceKeyShowsThePressedLookAndTheButtonItselfClicks) {
  auto* button = Make<ui::TButton>({20, 20, 110, 50}, L"确定");
  Skin(*button);
  int clicks = 0;
  button->OnClick = [&](ui::TPersistent&) { ++clicks; };
  HWND window = button->Handle();
  const SIZE size{90, 30};
  const POINT at = DistinctPoint(size);
  button->SetFocus();
  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0x00390001);
  Pump();
  EXPECT_EQ(Pixel(window, at.x, at.y), FramePixel(size, 2, at));
  EXPECT_EQ(clicks, 0);
  SendMessageW(window, WM_KEYUP, VK_SPACE, 0xC0390001);
  Pump();
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Pixel(window, at.x, at.y), FramePixel(size, 5, at));
}

TEST_F(ButtonTest, TheFocusMovingOnWhileSpaceIsHeldTakesThePressedLookAway) {
  auto* button = Make<ui::TButton>({20, 20, 110, 50}, L"确定");
  auto* other = Make<ui::TButton>({20, 60, 110, 90}, L"取消");
  Skin(*button);
  HWND window = button->Handle();
  const SIZE size{90, 30};
  const POINT at = DistinctPoint(size);
  button->SetFocus();
  SendMessageW(window, WM_KEYDOWN, VK_SPACE, 0x00390001);
  Pump();
  ASSERT_EQ(Pixel(window, at.x, at.y), FramePixel(size, 2, at));
  other->SetFocus();
  Pump();
  EXPECT_NE(Pixel(window, at.x, at.y), FramePixel(size, 2, at));
}

TEST_F(ButtonTest, ACaptionBreaksIntoTwoLinesAtItsFirstDoubleBar) {
  struct Case {
    const wchar_t* caption;
    size_t lines;
  };
  for (Case c : {Case{L"ab", 1}, Case{L"a||b", 2}, Case{L"a||b||c", 2}}) {
    auto* button = Make<ui::TButton>({20, 20, 140, 90}, c.caption);
    button->Font()->SetHeight(-16);
    Skin(*button);
    ui::Bitmap picture = Grab(button->Handle());
    EXPECT_EQ(InkRows(picture, {8, 8, 112, 62}, Dark).size(), c.lines)
        << std::string(c.caption, c.caption + wcslen(c.caption));
    delete button;
    made.pop_back();
  }
}

// The glyph and caption of a bitmap button where the layout rules put them, for each layout
// and for Margin and Spacing given or -1.
TEST_F(ButtonTest, GlyphAndCaptionAreLaidOutByLayoutMarginAndSpacing) {
  constexpr COLORREF kGlyph = RGB(0, 0, 255);
  auto* button = Make<ui::TBitBtn>({20, 20, 160, 84}, L"ab");
  ui::Bitmap glyph(16, 12);
  glyph.Fill(kGlyph);
  glyph.SetPixel(0, 11, kKey);  // the bottom-left pixel names the transparent colour
  button->Glyph()->Assign(glyph);
  button->Font()->SetHeight(-14);
  Skin(*button);
  HWND window = button->Handle();
  const int W = 140, H = 64, Gw = 16, Gh = 12;
  SIZE text{};
  {
    ui::WindowDC dc(window);
    ui::SelectObjectGuard font(dc.get(), button->Font()->Handle());
    RECT r{0, 0, W, H};
    DrawTextW(dc.get(), L"ab", -1, &r, DT_CALCRECT | DT_WORDBREAK);
    text = {r.right, r.bottom};
  }
  const int Tw = text.cx, Th = text.cy;

  struct Layout {
    ui::TButtonLayout layout;
    const char* name;
  };
  const Layout layouts[] = {{ui::TButtonLayout::blGlyphLeft, "left"},
                            {ui::TButtonLayout::blGlyphRight, "right"},
                            {ui::TButtonLayout::blGlyphTop, "top"},
                            {ui::TButtonLayout::blGlyphBottom, "bottom"}};
  const std::pair<int, int> spacings[] = {{-1, -1}, {4, -1}, {-1, 2}, {3, 5}};
  for (const Layout& l : layouts) {
    for (auto [margin, spacing] : spacings) {
      SCOPED_TRACE(std::string(l.name) + " margin " + std::to_string(margin) + " spacing " +
                   std::to_string(spacing));
      button->SetLayout(l.layout);
      button->SetMargin(margin);
      button->SetSpacing(spacing);
      // The rules, with W x H the face, G the glyph and T the text.
      const bool across =
          l.layout == ui::TButtonLayout::blGlyphLeft || l.layout == ui::TButtonLayout::blGlyphRight;
      const int along = across ? W : H, g = across ? Gw : Gh, t = across ? Tw : Th;
      int m = margin, s = spacing;
      if (m == -1) {
        if (s == -1)
          m = s = (along - g - t) / 3;
        else
          m = (along - (g + s + t)) / 2;
      } else if (s == -1) {
        s = ((along - m - g) - t) / 2;
      }
      POINT gp{}, tp{};
      switch (l.layout) {
        case ui::TButtonLayout::blGlyphLeft:
          gp = {m, (H - Gh + 1) / 2};
          tp = {m + Gw + s, (H - Th + 1) / 2};
          break;
        case ui::TButtonLayout::blGlyphRight:
          gp = {W - m - Gw, (H - Gh + 1) / 2};
          tp = {gp.x - s - Tw, (H - Th + 1) / 2};
          break;
        case ui::TButtonLayout::blGlyphTop:
          gp = {(W - Gw + 1) / 2, m};
          tp = {(W - Tw + 1) / 2, m + Gh + s};
          break;
        case ui::TButtonLayout::blGlyphBottom:
          gp = {(W - Gw + 1) / 2, H - m - Gh};
          tp = {(W - Tw + 1) / 2, gp.y - s - Th};
          break;
      }
      button->Repaint();
      ui::Bitmap picture = Grab(window);
      RECT g_ = InkBox(picture, {0, 0, W, H}, Is(kGlyph));
      EXPECT_EQ(g_.left, gp.x);
      EXPECT_EQ(g_.top, gp.y);
      EXPECT_EQ(g_.right - g_.left, Gw);
      RECT ink = InkBox(picture, {0, 0, W, H}, [&](COLORREF c) { return c != kGlyph && Dark(c); });
      EXPECT_GE(ink.left, tp.x);
      EXPECT_LE(ink.left, tp.x + 2);
      EXPECT_GE(ink.top, tp.y);
      EXPECT_LE(ink.right, tp.x + Tw + 1);
      EXPECT_LE(ink.bottom, tp.y + Th + 1);
    }
  }
}

TEST_F(ButtonTest, ADisabledGlyphIsGreyAndAnImageListGlyphTakesTheDisabledImage) {
  auto* button = Make<ui::TBitBtn>({20, 20, 120, 60}, L"");
  ui::Bitmap glyph(16, 16);
  glyph.Fill(RGB(0, 0, 255));
  glyph.SetPixel(0, 15, kKey);
  button->Glyph()->Assign(glyph);
  Skin(*button);
  HWND window = button->Handle();
  const POINT centre{50, 20};
  EXPECT_EQ(Pixel(window, centre.x, centre.y), RGB(0, 0, 255));
  button->SetEnabled(false);
  Pump();
  EXPECT_EQ(Pixel(window, centre.x, centre.y), RGB(85, 85, 85)) << "each channel the mean";

  // Without a glyph: ImageIndex, and DisabledIndex while disabled (ImageIndex when it is -1).
  auto* images = new ui::TImageList(&host->form());
  for (COLORREF c : {RGB(200, 0, 0), RGB(0, 150, 0)}) {
    ui::Bitmap picture(16, 16);
    picture.Fill(c);
    ImageList_AddMasked(images->Handle(), picture.Handle(), kKey);
  }
  button->Glyph()->Clear();
  button->SetImages(images);
  button->SetImageIndex(0);
  button->SetDisabledIndex(1);
  button->SetEnabled(true);
  Pump();
  EXPECT_EQ(Pixel(window, centre.x, centre.y), RGB(200, 0, 0));
  button->SetEnabled(false);
  Pump();
  EXPECT_EQ(Pixel(window, centre.x, centre.y), RGB(0, 150, 0));
  button->SetDisabledIndex(-1);
  button->Repaint();
  EXPECT_EQ(Pixel(window, centre.x, centre.y), RGB(200, 0, 0));
  delete images;
}

TEST_F(ButtonTest, AFlatSpeedButtonShowsNoSkinImageUntilTheMouseIsOverIt) {
  HWND form = host->form().Handle();
  for (bool flat : {true, false}) {
    SCOPED_TRACE(flat);
    auto* speed = Make<ui::TSpeedButton>({200, 20, 280, 50}, L"");
    speed->SetFlat(flat);
    int clicks = 0;
    speed->OnClick = [&](ui::TPersistent&) { ++clicks; };
    Skin(*speed);
    const SIZE size{80, 30};
    const POINT at = DistinctPoint(size);
    host->form().Repaint();
    EXPECT_EQ(Pixel(form, 200 + at.x, 20 + at.y), flat ? Face() : FramePixel(size, 1, at));
    MouseMove(form, {240, 35});
    EXPECT_TRUE(PumpUntil(
        [&] { return Pixel(form, 200 + at.x, 20 + at.y) == FramePixel(size, 4, at); }, 2s));
    MouseDown(form, {240, 35});
    EXPECT_TRUE(PumpUntil(
        [&] { return Pixel(form, 200 + at.x, 20 + at.y) == FramePixel(size, 2, at); }, 2s));
    MouseUp(form, {240, 35});
    EXPECT_TRUE(PumpUntil([&] { return clicks == 1; })) << "the button's own click";
    MouseMove(form, {380, 280});
    EXPECT_TRUE(PumpUntil([&] {
      return Pixel(form, 200 + at.x, 20 + at.y) == (flat ? Face() : FramePixel(size, 1, at));
    }));
    delete speed;
    made.pop_back();
  }
}

TEST_F(ButtonTest, AFocusedCaptionIsFramedUnlessTheSkinSaysNoFocusRectangle) {
  auto* button = Make<ui::TButton>({20, 20, 140, 60}, L"确定");
  Skin(*button);
  HWND window = button->Handle();
  button->SetFocus();
  Pump();
  const ui::Bitmap framed = Grab(window);
  host->data().SetOptions(host->data().Options() | Bit(xoNoFocusRect));
  button->Repaint();
  const ui::Bitmap plain = Grab(window);
  host->data().SetOptions(host->data().Options() & ~Bit(xoNoFocusRect));
  // The difference is a frame around the caption: it encloses the caption's ink.
  RECT changed{120, 40, 0, 0};
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 120; ++x)
      if (framed.Pixel(x, y) != plain.Pixel(x, y)) {
        changed.left = std::min<int>(changed.left, x);
        changed.top = std::min<int>(changed.top, y);
        changed.right = std::max<int>(changed.right, x + 1);
        changed.bottom = std::max<int>(changed.bottom, y + 1);
      }
  const RECT ink = InkBox(plain, {0, 0, 120, 40}, Dark);
  ASSERT_LT(changed.left, changed.right) << "no focus rectangle";
  EXPECT_LT(changed.left, ink.left);
  EXPECT_LT(changed.top, ink.top);
  EXPECT_GT(changed.right, ink.right);
  EXPECT_GT(changed.bottom, ink.bottom);
  EXPECT_LE(ink.left - changed.left, 6);
}

TEST_F(ButtonTest, AMenuButtonDrawsItsArrowAndKeepsTheCaptionClearOfIt) {
  auto* button = Make<ui::TButton>({20, 20, 120, 50}, L"菜单");
  TControlWrapper* wrapper = skin::CreateWrapper(L"TSkinMenuButton", button);
  wrapper->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
  Pump();
  HWND window = button->Handle();
  const int W = 100, H = 30;
  const COLORREF arrow = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(Pixel(window, W - 12, H / 2), arrow);
  EXPECT_EQ(Pixel(window, W - 14, H / 2 - 1), arrow);
  EXPECT_NE(Pixel(window, W - 12, H / 2 + 4), arrow);
  const RECT ink = InkBox(Grab(window), {0, 0, W - 16, H}, Dark);
  EXPECT_NEAR((ink.left + ink.right) / 2, (W - 16) / 2, 3) << "centred left of the arrow";
  button->SetEnabled(false);
  Pump();
  EXPECT_EQ(Pixel(window, W - 12, H / 2), GetSysColor(COLOR_BTNSHADOW));
}

// Finds the message box from a timer inside its modal loop, skins it as a plain window and
// clicks its "No" button with the mouse.
struct BoxClicker {
  static BoxClicker* current;
  TSkinData* data = nullptr;
  std::unique_ptr<TWinSkinForm> skinner;
  bool skinned = false;
  UINT_PTR timer = 0;

  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    BoxClicker& self = *current;
    HWND box = FindWindowW(L"#32770", L"皮肤测试");
    if (!box || self.skinner) return;
    KillTimer(nullptr, self.timer);
    self.skinner = std::make_unique<TWinSkinForm>(nullptr);
    self.skinner->SetHandle(box);
    self.skinner->HookWindow(*self.data);
    self.skinner->SkinChildWindows(box);
    HWND no = GetDlgItem(box, IDNO);
    self.skinned = SendMessageW(no, skin::WM_SKINQUERY, 0, 0) == 1 &&
                   SendMessageW(GetDlgItem(box, IDYES), skin::WM_SKINQUERY, 0, 0) == 1;
    RECT r;
    GetClientRect(no, &r);
    MouseMove(no, {r.right / 2, r.bottom / 2});
    MouseDown(no, {r.right / 2, r.bottom / 2});
    MouseUp(no, {r.right / 2, r.bottom / 2});
  }
};
BoxClicker* BoxClicker::current = nullptr;

TEST_F(ButtonTest, AClickOnASkinnedButtonOfAMessageBoxAnswersTheBox) {
  BoxClicker clicker;
  clicker.data = &host->data();
  BoxClicker::current = &clicker;
  clicker.timer = SetTimer(nullptr, 0, 50, &BoxClicker::Tick);
  int answer = MessageBoxW(host->form().Handle(), L"要继续吗?", L"皮肤测试", MB_YESNO);
  KillTimer(nullptr, clicker.timer);
  EXPECT_TRUE(clicker.skinned);
  EXPECT_EQ(answer, IDNO);
  clicker.skinner.reset();
  BoxClicker::current = nullptr;
}

}  // namespace
