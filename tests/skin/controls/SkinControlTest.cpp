// The wrapper base: attaching, the message pipeline, giving the control back, properties by
// name and the drawing of skin records.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "skin/controls/PropertyAccess.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr COLORREF kSolid = RGB(10, 200, 30);

// Paints its window in one colour after the control painted itself; draws a record instead
// when given one.
class SolidWrapper : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;
  const TDataSkinObject* record = nullptr;

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override {
    ui::GdiObject<HBRUSH> brush(CreateSolidBrush(record ? RGB(255, 255, 255) : kSolid));
    FillRect(dc, &rect, brush.get());
    if (record) DrawStateImage(dc, rect, *record, 2, 2);
  }
};

// A window class of the ANSI kind (the system's own classes may be Unicode whatever the call).
LRESULT CALLBACK AnsiProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, msg, wParam, lParam);
}
HWND MakeAnsiWindow(HWND parent) {
  static const ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = AnsiProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "SkinTestAnsi";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  return CreateWindowExA(0, "SkinTestAnsi", "a", WS_CHILD | WS_VISIBLE, 10, 10, 80, 40, parent,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Draws the focus rectangle of its caption, as check boxes place theirs.
class FocusWrapper : public TSkinControl {
 public:
  using TSkinControl::TSkinControl;

 protected:
  void DrawSkin(HDC dc, const RECT& rect) override {
    RefreshState();
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ui::SelectObjectGuard font(dc, ControlFont());
    DrawTextFocus(dc, DT_CENTER | DT_VCENTER | DT_SINGLELINE, rect);
  }
};

bool Listed(TWinSkinForm& skinner, TControlWrapper* wrapper) {
  const auto& list = skinner.Controls();
  return std::find(list.begin(), list.end(), wrapper) != list.end();
}

void Redraw(HWND window) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

class SkinControlTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { host = new Host(); }
  static void TearDownTestSuite() {
    delete host;
    host = nullptr;
  }
  static Host* host;
};
Host* SkinControlTest::host = nullptr;

TEST_F(SkinControlTest, AWrappedWindowIsPaintedAnswersTheQueryAndIsGivenBack) {
  enum class Kind { Framework, BareUnicode, BareAnsi };
  for (Kind kind : {Kind::Framework, Kind::BareUnicode, Kind::BareAnsi}) {
    SCOPED_TRACE(static_cast<int>(kind));
    ui::TPanel* panel = nullptr;
    HWND window = nullptr;
    HWND parent = host->form().Handle();
    if (kind == Kind::Framework) {
      panel = host->Add<ui::TPanel>({10, 10, 90, 50});
      window = panel->Handle();
    } else if (kind == Kind::BareUnicode) {
      window = CreateWindowExW(0, L"STATIC", L"w", WS_CHILD | WS_VISIBLE, 10, 10, 80, 40, parent,
                               nullptr, nullptr, nullptr);
    } else {
      window = MakeAnsiWindow(parent);
      ASSERT_FALSE(IsWindowUnicode(window));
    }
    Redraw(window);
    EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 0);
    EXPECT_NE(Pixel(window, 40, 20), kSolid);

    auto* wrapper = new SolidWrapper(panel);
    if (panel)
      wrapper->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
    else
      wrapper->AttachWindow(window, host->data(), host->skinner(), host->skinner().ControlCanvas());
    EXPECT_EQ(wrapper->StateCode(), TSkinControl::kAttached);
    EXPECT_TRUE(Listed(host->skinner(), wrapper));
    EXPECT_TRUE(host->skinner().IsWrapped(window));
    EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
    Redraw(window);
    EXPECT_EQ(Pixel(window, 40, 20), kSolid);
    // The control's own handling still runs under the wrapper.
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"文本"));
    wchar_t text[16]{};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"文本");

    delete wrapper;
    EXPECT_FALSE(Listed(host->skinner(), wrapper));
    EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 0);
    Redraw(window);
    EXPECT_NE(Pixel(window, 40, 20), kSolid);
    if (panel)
      delete panel;
    else
      DestroyWindow(window);
  }
}

TEST_F(SkinControlTest, SkinStateZeroLooksUnskinnedUntilANonZeroOneRepaintsAtOnce) {
  auto* panel = host->Add<ui::TPanel>({10, 10, 90, 50});
  HWND window = panel->Handle();
  auto* wrapper = new SolidWrapper(panel);
  wrapper->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
  Redraw(window);
  ASSERT_EQ(Pixel(window, 40, 20), kSolid);

  SendMessageW(window, skin::WM_SKINSTATE, 0, 0);
  EXPECT_FALSE(wrapper->SkinningActive());
  Redraw(window);
  EXPECT_NE(Pixel(window, 40, 20), kSolid);
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 0) << "the control answers itself";

  SendMessageW(window, skin::WM_SKINSTATE, 1, 0);  // no pumping, no redraw asked
  EXPECT_EQ(Pixel(window, 40, 20), kSolid);
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
  delete panel;
}

TEST_F(SkinControlTest, ApplyColourTakesTheSkinsFaceAndRestoringGivesBackColourAndBackground) {
  const COLORREF face = skin::ResolveColour(host->data().Records().Colours.ButtonFace);
  struct Case {
    bool keepParentBackground;  // option xoParentBackGround
  };
  for (Case c : {Case{false}, Case{true}}) {
    SCOPED_TRACE(c.keepParentBackground);
    host->data().SetOptions(c.keepParentBackground ? Bit(xoParentBackGround) : 0);
    auto* panel = host->Add<ui::TPanel>({10, 60, 90, 100});
    panel->SetColor(RGB(1, 2, 3));
    panel->SetParentBackground(true);
    auto* wrapper = new SolidWrapper(panel);
    wrapper->AttachControl(host->skinner(), host->data(), true, host->skinner().ControlCanvas());
    EXPECT_EQ(ui::ColorToRGB(panel->Color()), face);
    EXPECT_EQ(panel->ParentBackground(), c.keepParentBackground);

    wrapper->RestoreControl();
    EXPECT_EQ(panel->Color(), RGB(1, 2, 3));
    EXPECT_TRUE(panel->ParentBackground());
    delete wrapper;
    delete panel;
  }
  host->data().SetOptions(Bit(xoPreview) | Bit(xoToolbarBK));

  // A control that followed its parent's colour follows it again.
  auto* panel = host->Add<ui::TPanel>({10, 60, 90, 100});
  ASSERT_TRUE(panel->ParentColor());
  auto* wrapper = new SolidWrapper(panel);
  wrapper->AttachControl(host->skinner(), host->data(), true, host->skinner().ControlCanvas());
  EXPECT_FALSE(panel->ParentColor());
  wrapper->RestoreControl();
  EXPECT_TRUE(panel->ParentColor());
  EXPECT_EQ(panel->Color(), host->form().Color());
  delete panel;
}

TEST_F(SkinControlTest, DestroyingTheWindowEndsTheWrapperAndRestoresTheControl) {
  auto* panel = host->Add<ui::TPanel>({10, 10, 90, 50});
  panel->SetColor(RGB(1, 2, 3));
  auto* wrapper = new SolidWrapper(panel);
  wrapper->AttachControl(host->skinner(), host->data(), true, host->skinner().ControlCanvas());
  ASSERT_NE(panel->Color(), RGB(1, 2, 3));

  panel->DestroyHandle();
  EXPECT_EQ(wrapper->StateCode(), TSkinControl::kEnded);
  EXPECT_EQ(panel->Color(), RGB(1, 2, 3));
  // The ended wrapper passes everything on, also to the control's next window.
  HWND again = panel->Handle();
  EXPECT_EQ(SendMessageW(again, skin::WM_SKINQUERY, 0, 0), 0);
  SendMessageW(again, skin::WM_SKINSTATE, 1, 0);
  EXPECT_EQ(SendMessageW(again, skin::WM_SKINQUERY, 0, 0), 0) << "an ended wrapper stays ended";
  host->skinner().PurgeEndedControls();
  EXPECT_FALSE(Listed(host->skinner(), wrapper));
  delete panel;
}

TEST_F(SkinControlTest, AControlFreedWithItsWrapperLeavesNothingBehind) {
  auto* panel = host->Add<ui::TPanel>({10, 10, 90, 50});
  auto* wrapper = new SolidWrapper(panel);
  wrapper->AttachControl(host->skinner(), host->data(), true, host->skinner().ControlCanvas());
  delete panel;  // frees the wrapper it owns
  EXPECT_FALSE(Listed(host->skinner(), wrapper));
}

TEST_F(SkinControlTest, TheFocusRectangleSurroundsWhereTheCaptionGoes) {
  auto* panel = host->Add<ui::TPanel>({10, 10, 130, 50});
  panel->SetCaption(L"ab");
  panel->Font()->SetHeight(-16);
  auto* wrapper = new FocusWrapper(panel);
  wrapper->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
  Redraw(panel->Handle());
  SIZE text{};
  {
    ui::WindowDC dc(panel->Handle());
    ui::SelectObjectGuard font(dc.get(), panel->Font()->Handle());
    RECT r{0, 0, 120, 40};
    DrawTextW(dc.get(), L"ab", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    text = {r.right, r.bottom};
  }
  const RECT box = InkBox(Grab(panel->Handle()), {0, 0, 120, 40},
                          [](COLORREF c) { return c != RGB(255, 255, 255); });
  // Centred, one pixel high, grown by two pixels across and one down.
  const int left = (120 - text.cx) / 2 - 2, top = (40 - text.cy) / 2 - 1 - 1;
  EXPECT_NEAR(box.left, left, 1);
  EXPECT_NEAR(box.top, top, 1);
  EXPECT_NEAR(box.right, left + text.cx + 4, 1);
  EXPECT_NEAR(box.bottom, top + text.cy + 2, 1);
  delete panel;
}

TEST(PropertyAccess, ReadsAndWritesByNameAndMissingOnesGiveNothing) {
  ui::TBitBtn button(nullptr);
  button.SetCaption(L"确定");
  button.SetMargin(3);
  button.SetLayout(ui::TButtonLayout::blGlyphTop);

  EXPECT_EQ(skin::IntProperty(&button, L"Margin"), 3);
  EXPECT_EQ(skin::IntProperty(&button, L"Default"), -1) << "a Boolean is no integer";
  EXPECT_EQ(skin::IntProperty(&button, L"NoSuchThing"), -1);
  EXPECT_EQ(skin::EnumProperty(&button, L"Layout"), L"blGlyphTop");
  EXPECT_EQ(skin::EnumProperty(&button, L"Default"), L"False");
  EXPECT_FALSE(skin::BoolProperty(&button, L"Default"));
  EXPECT_EQ(skin::EnumProperty(&button, L"Margin"), L"");
  EXPECT_EQ(skin::TextProperty(&button, L"Caption"), L"确定");
  EXPECT_EQ(skin::TextProperty(&button, L"Margin"), L"");
  EXPECT_EQ(skin::ObjectProperty(&button, L"Font", L"TFont"), button.Font());
  EXPECT_EQ(skin::ObjectProperty(&button, L"Font", L"TBitmap"), nullptr);
  EXPECT_EQ(skin::ObjectProperty(&button, L"Glyph"), button.Glyph());
  EXPECT_EQ(skin::ObjectProperty(nullptr, L"Glyph"), nullptr);

  EXPECT_TRUE(skin::WriteProperty(&button, L"Margin", L"7"));
  EXPECT_EQ(button.Margin(), 7);
  EXPECT_TRUE(skin::WriteProperty(&button, L"layout", L"blglyphbottom"));
  EXPECT_EQ(button.Layout(), ui::TButtonLayout::blGlyphBottom);
  EXPECT_TRUE(skin::WriteProperty(&button, L"Default", L"True"));
  EXPECT_TRUE(skin::BoolProperty(&button, L"Default"));
  EXPECT_FALSE(skin::WriteProperty(&button, L"Margin", L"seven"));
  EXPECT_EQ(button.Margin(), 7);
  EXPECT_FALSE(skin::WriteProperty(&button, L"NoSuchThing", L"1"));
}

TEST_F(SkinControlTest, StateImagesFollowTheRecordsFramesMarginsTilingAndKeyColour) {
  // Two 6 x 6 frames; frame 2 has a blue 2-pixel edge around a 2 x 2 checker of green and
  // magenta.
  constexpr COLORREF kBlue = RGB(0, 0, 255), kGreen = RGB(0, 160, 0), kKey = RGB(255, 0, 255);
  ui::Bitmap strip(12, 6);
  strip.Fill(RGB(200, 0, 0));
  for (int y = 0; y < 6; ++y)
    for (int x = 6; x < 12; ++x) strip.SetPixel(x, y, kBlue);
  strip.SetPixel(8, 2, kGreen);
  strip.SetPixel(9, 2, kKey);
  strip.SetPixel(8, 3, kKey);
  strip.SetPixel(9, 3, kGreen);
  TDataSkinObject record("Fixture");
  record.Bitmap = std::move(strip);
  record.Margins = {2, 2, 2, 2};

  struct Case {
    int tile, trans;
    COLORREF at3, at10;  // pixels (3, 2) and (10, 2) of a 20 x 20 face
  };
  const COLORREF white = RGB(255, 255, 255);
  for (Case c : {Case{1, 0, kKey, kGreen},      // repeated, the key colour drawn as it is
                 Case{0, 1, kGreen, white}}) {  // stretched 8 times, the key shows through
    SCOPED_TRACE(c.tile);
    record.Tile = c.tile;
    record.Trans = c.trans;
    auto* panel = host->Add<ui::TPanel>({10, 10, 30, 30});
    auto* wrapper = new SolidWrapper(panel);
    wrapper->record = &record;
    wrapper->AttachControl(host->skinner(), host->data(), false, host->skinner().ControlCanvas());
    Redraw(panel->Handle());
    EXPECT_EQ(Pixel(panel->Handle(), 0, 0), kBlue);
    EXPECT_EQ(Pixel(panel->Handle(), 19, 19), kBlue);
    EXPECT_EQ(Pixel(panel->Handle(), 1, 10), kBlue) << "the edge keeps its width";
    EXPECT_EQ(Pixel(panel->Handle(), 2, 2), kGreen);
    EXPECT_EQ(Pixel(panel->Handle(), 3, 2), c.at3);
    EXPECT_EQ(Pixel(panel->Handle(), 10, 2), c.at10);
    delete panel;
  }
}

}  // namespace
