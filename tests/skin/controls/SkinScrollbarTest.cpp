// Skinned scroll bars: the overlays over the main window's input list, read back from the
// screen and driven with the real mouse; the drawing rules; scroll bar controls and the
// drop-down list of a combo box.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "shell/MainWindow.h"
#include "skin/controls/ComboxScrollBar.h"
#include "skin/controls/ScrollBarPainter.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinControls.h"
#include "skin/controls/SkinHeader.h"
#include "skin/controls/SkinListView.h"
#include "skin/controls/SkinScControl.h"
#include "skin/controls/SkinScrollbarH.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr COLORREF kKey = RGB(255, 0, 255);

// The main window shown above everything, skinned by a form skinner with its own skin data.
class InputListTest : public ::testing::Test {
 public:
  static void SetUpTestSuite() {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    skin::RegisterSkinControls();
    form = new TTntForm1(nullptr);
    form->SetBounds(20, 20, 945, 643);
    form->Show();
    SetWindowPos(form->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    skinner = new TWinSkinForm(nullptr);
    skinner->SetHandle(form->Handle());
    skinner->HookWindow(*dynamic_cast<TSkinData*>(form->FindComponent(L"SkinData1")));
    skinner->SkinFormControls(*form);
    Pump();
  }
  static void TearDownTestSuite() {
    delete skinner;
    delete form;
    Pump();
  }
  void SetUp() override {
    list()->Clear();
    form->SetBounds(20, 20, 945, 643);
    Pump();
  }

  static ui::TTntListView* list() { return form->TntListView1; }
  static HWND listWindow() { return list()->Handle(); }
  static TSkinListView* wrapper() {
    for (TControlWrapper* w : skinner->Controls())
      if (auto* l = dynamic_cast<TSkinListView*>(w)) return l;
    return nullptr;
  }
  static TWScrollbar& bar() { return *wrapper()->VerticalBar(); }
  static SCROLLBARINFO SystemBar() {
    SCROLLBARINFO info{};
    info.cbSize = sizeof(info);
    GetScrollBarInfo(listWindow(), OBJID_VSCROLL, &info);
    return info;
  }
  static bool HasBar() { return GetWindowLongW(listWindow(), GWL_STYLE) & WS_VSCROLL; }
  static int TopIndex() {
    return static_cast<int>(SendMessageW(listWindow(), LVM_GETTOPINDEX, 0, 0));
  }
  // Adds entries until the list shows its vertical bar, and a few more.
  static void FillUntilTheBarShows(int extra = 30) {
    while (!HasBar()) {
      list()->AddItem(L"视频 " + std::to_wstring(list()->ItemCount()));
      Pump();
    }
    for (int i = 0; i < extra; ++i) list()->AddItem(L"more " + std::to_wstring(i));
    Pump();
  }
  static const SkinRecords& records() { return skinner->SkinData()->Records(); }

  static TTntForm1* form;
  static TWinSkinForm* skinner;
};
TTntForm1* InputListTest::form = nullptr;
TWinSkinForm* InputListTest::skinner = nullptr;

TEST_F(InputListTest, AnOverlayCoversTheVerticalBarExactlyWhileTheBarShows) {
  ASSERT_NE(wrapper(), nullptr);
  EXPECT_FALSE(IsWindowVisible(bar().Handle())) << "no entries, no bar";
  FillUntilTheBarShows(0);
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(bar().Handle()) != FALSE; }));
  RECT overlay;
  GetWindowRect(bar().Handle(), &overlay);
  const RECT system = SystemBar().rcScrollBar;
  EXPECT_TRUE(EqualRect(&overlay, &system));
  const POINT centre{(system.left + system.right) / 2, (system.top + system.bottom) / 2};
  EXPECT_EQ(WindowFromPoint(centre), bar().Handle());

  // Entries added out of sight change the range without a repaint: the thumb follows.
  auto thumbRows = [] {
    const SCROLLBARINFO info = SystemBar();
    const TDataSkinObject& track = *records().VertScroll;
    const COLORREF plain = track.Bitmap.Pixel(track.Bitmap.Width() / 8, track.Bitmap.Height() / 2);
    ui::Bitmap picture = Grab(bar().Handle());
    const int x = picture.Width() / 2;
    int rows = 0;
    const int arrow = GetSystemMetrics(SM_CYVSCROLL);
    for (int y = arrow; y < picture.Height() - arrow; ++y) rows += picture.Pixel(x, y) != plain;
    return std::pair{rows, info.xyThumbBottom - info.xyThumbTop};
  };
  auto [before, beforeSystem] = thumbRows();
  EXPECT_NEAR(before, beforeSystem, 4);
  for (int i = 0; i < 100; ++i) list()->AddItem(L"out of sight");
  Pump();
  auto [after, afterSystem] = thumbRows();
  EXPECT_LT(afterSystem, beforeSystem / 2);
  EXPECT_NEAR(after, afterSystem, 4);

  // The list's own repaints keep below it.
  RedrawWindow(listWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_EQ(WindowFromPoint(centre), bar().Handle());

  while (HasBar()) {
    list()->Delete(list()->ItemCount() - 1);
    Pump();
  }
  EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(bar().Handle()); }));
  EXPECT_FALSE(bar().Shown());
}

// With both bars, the horizontal one has its overlay on it too, and the square between them
// is the skin's face rather than the system's.
TEST_F(InputListTest, TheHorizontalBarHasItsOverlayAndTheCornerIsTheFace) {
  FillUntilTheBarShows();
  // Narrower than the list's columns: the horizontal bar shows.
  for (int width = 900; width > 200 && !(GetWindowLongW(listWindow(), GWL_STYLE) & WS_HSCROLL);
       width -= 100) {
    form->SetBounds(20, 20, width, 643);
    Pump();
  }
  ASSERT_TRUE(GetWindowLongW(listWindow(), GWL_STYLE) & WS_HSCROLL);
  TWScrollbar* horizontal = wrapper()->HorizontalBar();
  ASSERT_TRUE(horizontal);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(horizontal->Handle()) != FALSE; }));
  SCROLLBARINFO system{};
  system.cbSize = sizeof system;
  GetScrollBarInfo(listWindow(), OBJID_HSCROLL, &system);
  RECT overlay{}, vertical{};
  GetWindowRect(horizontal->Handle(), &overlay);
  EXPECT_TRUE(EqualRect(&overlay, &system.rcScrollBar));
  GetWindowRect(bar().Handle(), &vertical);
  ASSERT_TRUE(IsWindowVisible(bar().Handle()));
  const POINT corner{(vertical.left + vertical.right) / 2, (overlay.top + overlay.bottom) / 2};
  RedrawWindow(listWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  HDC screen = GetDC(nullptr);
  const COLORREF shown = GetPixel(screen, corner.x, corner.y);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(shown, skin::ResolveColour(records().Colours.ButtonFace));
  EXPECT_NE(shown, GetSysColor(COLOR_BTNFACE));
}

TEST_F(InputListTest, ResizingTheWindowKeepsTheOverlayOnTheBar) {
  FillUntilTheBarShows();
  for (SIZE size : {SIZE{800, 500}, SIZE{1000, 700}, SIZE{945, 643}}) {
    form->SetBounds(20, 20, size.cx, size.cy);
    Pump();
    RECT overlay;
    GetWindowRect(bar().Handle(), &overlay);
    const RECT system = SystemBar().rcScrollBar;
    EXPECT_TRUE(EqualRect(&overlay, &system)) << size.cx;
    EXPECT_TRUE(IsWindowVisible(bar().Handle()));
  }
}

// Drags from the thumb's middle by `distance` pixels with the real mouse.
void DragThumb(int distance) {
  const SCROLLBARINFO info = InputListTest::SystemBar();
  const int x = (info.rcScrollBar.left + info.rcScrollBar.right) / 2;
  const int y = info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2;
  HWND desktop = GetDesktopWindow();
  MouseMove(desktop, {x, y});
  MouseDown(desktop, {x, y});
  MouseMove(desktop, {x, y + distance / 2});
  MouseMove(desktop, {x, y + distance});
  MouseUp(desktop, {x, y + distance});
  PumpFor(300ms);
}

TEST_F(InputListTest, DraggingTheOverlaysThumbScrollsTheListAsTheSystemBarWould) {
  FillUntilTheBarShows(60);
  ASSERT_EQ(TopIndex(), 0);
  DragThumb(40);
  const int skinned = TopIndex();
  EXPECT_GT(skinned, 0);

  // The same drag on the system's own bar, with the overlay out of the way.
  SendMessageW(listWindow(), LVM_ENSUREVISIBLE, 0, FALSE);
  Pump();
  ASSERT_EQ(TopIndex(), 0);
  ShowWindow(bar().Handle(), SW_HIDE);
  DragThumb(40);
  EXPECT_EQ(TopIndex(), skinned);
  SendMessageW(listWindow(), LVM_ENSUREVISIBLE, 0, FALSE);
  RedrawWindow(listWindow(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  EXPECT_TRUE(PumpUntil([] { return IsWindowVisible(bar().Handle()) != FALSE; }));
}

// A point of two Scrollbar frames (at their own size) where they differ and neither is the
// key colour.
POINT DifferingPoint(const ui::Bitmap& strip, int a, int b) {
  const int w = strip.Width() / 23;
  for (int y = 2; y < strip.Height() - 2; ++y)
    for (int x = 2; x < w - 2; ++x) {
      COLORREF pa = strip.Pixel((a - 1) * w + x, y), pb = strip.Pixel((b - 1) * w + x, y);
      if (pa != pb && pa != kKey && pb != kKey) return {x, y};
    }
  return {-1, -1};
}

// Checks, from a timer inside the system's tracking loop, how the held arrow looks.
struct HoldWatch {
  static HoldWatch* current;
  HWND overlay = nullptr;
  POINT at{};
  COLORREF seen = 0;
  int topIndex = 0;
  UINT_PTR timer = 0;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HoldWatch& self = *current;
    self.seen = Pixel(self.overlay, self.at.x, self.at.y);
    self.topIndex = InputListTest::TopIndex();
    MouseUp(GetDesktopWindow(), [] {
      POINT p;
      GetCursorPos(&p);
      return p;
    }());
  }
};
HoldWatch* HoldWatch::current = nullptr;

// Windows sends the wheel to the window under the pointer: over the overlay, the list must
// scroll (the default handler would give it to the form).
TEST_F(InputListTest, TheWheelOverTheOverlayScrollsTheList) {
  FillUntilTheBarShows();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(bar().Handle()) != FALSE; }));
  ASSERT_EQ(TopIndex(), 0);
  RECT r;
  GetWindowRect(bar().Handle(), &r);
  SendMessageW(bar().Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA),
               MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2));
  Pump();
  EXPECT_GT(TopIndex(), 0);
}

// Skinning switched off (WM_SKINSTATE 0): the overlay goes, so that the list's own bar shows
// and works; on again, it covers the bar.
TEST_F(InputListTest, SkinningSwitchedOffHidesTheOverlay) {
  FillUntilTheBarShows();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(bar().Handle()) != FALSE; }));
  SendMessageW(listWindow(), skin::WM_SKINSTATE, 0, 0);
  Pump();
  EXPECT_FALSE(IsWindowVisible(bar().Handle()));
  SendMessageW(listWindow(), skin::WM_SKINSTATE, 1, 0);
  Pump();
  EXPECT_TRUE(IsWindowVisible(bar().Handle()));
}

TEST_F(InputListTest, HoldingTheDownArrowRepeatsAndShowsItPressed) {
  FillUntilTheBarShows(60);
  const ui::Bitmap& strip = records().Scrollbar->Bitmap;
  const POINT inFrame = DifferingPoint(strip, 13, 14);
  ASSERT_GE(inFrame.x, 0);
  const int frame = strip.Width() / 23;
  RECT overlay;
  GetClientRect(bar().Handle(), &overlay);
  ASSERT_EQ(overlay.right, frame) << "the arrows are drawn at their own size here";
  const POINT at{inFrame.x, overlay.bottom - frame + inFrame.y};
  EXPECT_EQ(Pixel(bar().Handle(), at.x, at.y), strip.Pixel(12 * frame + inFrame.x, inFrame.y));

  HoldWatch watch;
  watch.overlay = bar().Handle();
  watch.at = at;
  HoldWatch::current = &watch;
  watch.timer = SetTimer(nullptr, 0, 700, &HoldWatch::Tick);
  MouseMove(bar().Handle(), {overlay.right / 2, overlay.bottom - 5});
  MouseDown(bar().Handle(), {overlay.right / 2, overlay.bottom - 5});
  PumpUntil([&] { return watch.topIndex > 0; }, 5s);
  PumpFor(200ms);
  EXPECT_GE(watch.topIndex, 4) << "the system repeated the line-down";
  EXPECT_EQ(watch.seen, strip.Pixel(13 * frame + inFrame.x, inFrame.y)) << "pressed while held";
  EXPECT_NE(Pixel(bar().Handle(), at.x, at.y), watch.seen) << "released";
  MouseMove(form->Handle(), {5, 300});
  EXPECT_TRUE(PumpUntil([&] {
    return Pixel(bar().Handle(), at.x, at.y) == strip.Pixel(12 * frame + inFrame.x, inFrame.y);
  })) << "plain once the mouse has gone";
  HoldWatch::current = nullptr;
}

TEST_F(InputListTest, TheListsFrameIsFlatAndItsHeaderIsDrawnFromTheSkin) {
  FillUntilTheBarShows(0);
  const COLORREF shadow = skin::ResolveColour(records().Colours.ButtonShadow);
  ui::WindowDC frame(listWindow(), ui::WindowDC::Area::Whole);
  EXPECT_EQ(GetPixel(frame.get(), 0, 50), shadow);
  EXPECT_EQ(GetPixel(frame.get(), 1, 50), skin::ResolveColour(records().Colours.ButtonFace));
  // Printing the skinned window asks the wrapper for its frame.
  {
    ui::Bitmap print(50, 50);
    ui::Bitmap::Canvas canvas(print);
    EXPECT_EQ(SendMessageW(listWindow(), skin::WM_SKINPAINTDC,
                           reinterpret_cast<WPARAM>(canvas.dc()), skin::SkinCookie),
              skin::SkinCookie);
    EXPECT_EQ(
        SendMessageW(listWindow(), skin::WM_SKINPAINTDC, reinterpret_cast<WPARAM>(canvas.dc()), 0),
        0);
    EXPECT_EQ(GetPixel(canvas.dc(), 0, 20), shadow);
  }

  TSkinHeader* header = wrapper()->Header();
  ASSERT_NE(header, nullptr);
  HWND window = header->WindowHandle();
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
  RECT item;
  Header_GetItemRect(window, 0, &item);
  const TDataSkinObject& bar = *records().Headerbar;
  auto expected = [&](int frameIndex, POINT p) {
    skin::Element element{
        &bar.Bitmap, bar.Margins, {bar.FrameCount, frameIndex, false}, bar.Tile != 0, false};
    return skin::RenderElement(item, element).Pixel(p.x, p.y);
  };
  // A point on the item's face clear of its text, where normal and hot differ.
  POINT at{-1, -1};
  for (int x = item.right - 20; x < item.right - 8 && at.x < 0; ++x)
    for (int y = 1; y < item.bottom - 1 && at.x < 0; ++y)
      if (expected(1, {x, y}) != expected(2, {x, y})) at = {x, y};
  ASSERT_GE(at.x, 0);
  EXPECT_EQ(Pixel(window, at.x, at.y), expected(1, at));
  MouseMove(window, {item.left + 20, 5});
  EXPECT_TRUE(PumpUntil([&] { return Pixel(window, at.x, at.y) == expected(2, at); }));
  EXPECT_EQ(header->HotItem(), 0);
  MouseMove(form->Handle(), {5, 300});
  EXPECT_TRUE(PumpUntil([&] { return Pixel(window, at.x, at.y) == expected(1, at); }));
}

TEST_F(InputListTest, ANewWindowOfTheListGetsANewWrapperFromTheFormSkinner) {
  list()->RecreateWnd();
  // The ended wrapper asks the form skinner, which puts a new one on the new window.
  ASSERT_TRUE(PumpUntil([] {
    TSkinListView* now = wrapper();
    return now && now->StateCode() == TSkinControl::kAttached &&
           now->WindowHandle() == list()->WindowHandle();
  }));
  int listWrappers = 0;
  for (TControlWrapper* w : skinner->Controls()) listWrappers += w->InheritsFrom(L"TSkinListView");
  EXPECT_EQ(listWrappers, 1);
  EXPECT_EQ(SendMessageW(listWindow(), skin::WM_SKINQUERY, 0, 0), 1);
  FillUntilTheBarShows(0);
  EXPECT_TRUE(PumpUntil([] { return IsWindowVisible(bar().Handle()) != FALSE; }));
}

// Whether the frame of the strip stands somewhere in `area` of the picture (key pixels aside).
bool ShowsFrame(const ui::Bitmap& picture, const RECT& area, const ui::Bitmap& strip, int count,
                int frame) {
  const RECT f = skin::FrameRect(strip, {count, frame, false});
  const int w = f.right - f.left, h = f.bottom - f.top;
  for (int y = area.top; y + h <= area.bottom; ++y)
    for (int x = area.left; x + w <= area.right; ++x) {
      bool same = true;
      for (int dy = 0; same && dy < h; ++dy)
        for (int dx = 0; same && dx < w; ++dx) {
          COLORREF want = strip.Pixel(f.left + dx, f.top + dy);
          same = want == kKey || picture.Pixel(x + dx, y + dy) == want;
        }
      if (same) return true;
    }
  return false;
}

TEST_F(InputListTest, EntriesCheckBoxesAreTheSkinsAndGoBackWithIt) {
  ASSERT_NE(wrapper(), nullptr);
  HIMAGELIST ours = wrapper()->CheckImages();
  ASSERT_NE(ours, nullptr);
  auto stateImages = [] {
    return reinterpret_cast<HIMAGELIST>(
        SendMessageW(listWindow(), LVM_GETIMAGELIST, LVSIL_STATE, 0));
  };
  EXPECT_EQ(stateImages(), ours);

  list()->AddItem({L"checked", L"flv", L"C:\\a.flv"}, 0, true, 1);
  list()->AddItem({L"unchecked", L"flv", L"C:\\b.flv"}, 0, false, 2);
  Pump();
  const TDataSkinButton& buttons = *records().Buttons;
  const int count = buttons.CheckButtonFrame;
  auto row = [](int index) {
    RECT r{LVIR_BOUNDS};
    SendMessageW(listWindow(), LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    r.right = r.left + 40;  // the box stands at the row's start
    return r;
  };
  ui::Bitmap picture = Grab(listWindow());
  const int checked = TSkinCheckBox::CheckFrame(count, 2, false, false);
  EXPECT_TRUE(ShowsFrame(picture, row(0), buttons.CheckBitmap, count, checked));
  EXPECT_TRUE(ShowsFrame(picture, row(1), buttons.CheckBitmap, count, 1));
  EXPECT_FALSE(ShowsFrame(picture, row(1), buttons.CheckBitmap, count, checked));

  // Skinning off shows the list's own boxes; on again, the skin's.
  SendMessageW(listWindow(), skin::WM_SKINSTATE, 0, 0);
  EXPECT_EQ(wrapper()->CheckImages(), nullptr);
  EXPECT_NE(stateImages(), nullptr);
  Pump();
  EXPECT_FALSE(ShowsFrame(Grab(listWindow()), row(0), buttons.CheckBitmap, count, checked));
  SendMessageW(listWindow(), skin::WM_SKINSTATE, 1, 0);
  EXPECT_NE(wrapper()->CheckImages(), nullptr);
  EXPECT_EQ(stateImages(), wrapper()->CheckImages());
}

// ---- the drawing rules ---------------------------------------------------------------------

class ScrollBarDrawingTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { data = OurSkin().release(); }
  static void TearDownTestSuite() { delete data; }
  static TSkinData* data;
};
TSkinData* ScrollBarDrawingTest::data = nullptr;

TEST_F(ScrollBarDrawingTest, ABarShorterThanTwoArrowsShowsTwoHalfArrowsAndNoThumb) {
  const SkinRecords& r = data->Records();
  const ui::Bitmap& strip = r.Scrollbar->Bitmap;
  const int A = strip.Height();
  ScrollBarLook look;
  look.size = {A, 20};
  look.arrow = A;
  look.thumbStart = 10;
  look.thumbEnd = 14;
  ui::Bitmap bar = PaintScrollBar(r, look);
  ASSERT_FALSE(bar.Empty());
  // Each half is one arrow frame squeezed to 10 rows: its pixel rows come from the frame.
  auto expected = [&](int frame, int y) {
    ui::Bitmap half(A, 10);
    half.Fill(skin::ResolveColour(r.Colours.ButtonFace));
    ui::Bitmap::Canvas canvas(half);
    skin::DrawFrame(canvas.dc(), {0, 0, A, 10}, strip, true, 23, frame);
    return half.Pixel(A / 2, y);
  };
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(bar.Pixel(A / 2, y), expected(9, y)) << y;
    EXPECT_EQ(bar.Pixel(A / 2, 10 + y), expected(13, y)) << y;
  }
}

TEST_F(ScrollBarDrawingTest, AThumbTooShortForItsGripIsDrawnWithoutIt) {
  const SkinRecords& r = data->Records();
  const ui::Bitmap& strip = r.Scrollbar->Bitmap;
  const int A = strip.Height();
  const int w = strip.Width() / 23;
  // The grip's own colours: those of frame 20 that are not the key.
  std::set<COLORREF> grip;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < w; ++x)
      if (COLORREF c = strip.Pixel(19 * w + x, y); c != kKey) grip.insert(c);
  auto gripShows = [&](int thumbLength) {
    ScrollBarLook look;
    look.size = {A, 200};
    look.arrow = A;
    look.thumbStart = 60;
    look.thumbEnd = 60 + thumbLength;
    ui::Bitmap bar = PaintScrollBar(r, look);
    int count = 0;
    for (int y = 60; y < 60 + thumbLength; ++y)
      for (int x = 0; x < A; ++x) count += grip.count(bar.Pixel(x, y)) != 0;
    return count;
  };
  EXPECT_GT(gripShows(A + 10), 0);
  EXPECT_EQ(gripShows(A - 3), 0);
}

// ---- scroll bar controls and drop-down lists ----------------------------------------------

// A framework control over the system's scroll bar class that moves one line at a time.
class TScrollBar : public ui::TWinControl {
 public:
  using ui::TWinControl::TWinControl;
  int lines = 0;

 protected:
  void WndProc(ui::TMessage& m) override {
    if (m.Msg == ui::CN_VSCROLL && LOWORD(m.WParam) == SB_LINEDOWN) {
      ++lines;
      SetScrollPos(WindowHandle(), SB_CTL, GetScrollPos(WindowHandle(), SB_CTL) + 1, TRUE);
    }
    ui::TWinControl::WndProc(m);
  }
  void CreateParams(ui::TCreateParams& p) override {
    ui::TWinControl::CreateParams(p);
    p.windowClass = L"TestScrollBar";
    p.baseClass = L"SCROLLBAR";
    p.style |= SBS_VERT;
  }
};

TEST(ScrollBarControl, AnOverlayCoversItAndAPressOnItsArrowScrollsIt) {
  skin::RegisterSkinControls();
  Host host(300, 300);
  auto* scroll = host.Add<TScrollBar>({20, 20, 37, 220});
  HWND window = scroll->Handle();
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 0, 0};
  SetScrollInfo(window, SB_CTL, &info, TRUE);
  auto* wrapper = dynamic_cast<TSkinScControl*>(skin::CreateWrapper(L"TSkinScControl", scroll));
  ASSERT_NE(wrapper, nullptr);
  wrapper->AttachControl(host.skinner(), host.data(), false, host.skinner().ControlCanvas());
  Pump();
  HWND overlay = wrapper->Bar()->Handle();
  RECT r1, r2;
  GetWindowRect(overlay, &r1);
  GetWindowRect(window, &r2);
  EXPECT_TRUE(EqualRect(&r1, &r2));
  EXPECT_TRUE(IsWindowVisible(overlay));
  EXPECT_EQ(WindowFromPoint({(r2.left + r2.right) / 2, (r2.top + r2.bottom) / 2}), overlay);

  // The control's own tracking answers the press on its down arrow.
  MouseMove(overlay, {8, 195});
  MouseDown(overlay, {8, 195});
  MouseUp(overlay, {8, 195});
  PumpFor(200ms);
  EXPECT_EQ(scroll->lines, 1);
  EXPECT_EQ(GetScrollPos(window, SB_CTL), 1);
  EXPECT_FALSE(wrapper->Bar()->Pressed());
  delete scroll;
}

TEST(BareWindow, AListBoxWithoutAFrameworkControlGetsItsBarSkinnedAndScrollsFromIt) {
  skin::RegisterSkinControls();
  Host host(300, 300);
  HWND box =
      CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_NOINTEGRALHEIGHT,
                      20, 20, 150, 150, host.form().Handle(), nullptr, nullptr, nullptr);
  auto* wrapper = new TSkinScrollbarH(nullptr);
  wrapper->AttachWindow(box, host.data(), host.skinner(), host.skinner().ControlCanvas());
  HWND overlay = wrapper->VerticalBar()->Handle();
  EXPECT_FALSE(IsWindowVisible(overlay)) << "nothing to scroll yet";
  for (int i = 0; i < 50; ++i)
    SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"项目"));
  Pump();
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(overlay) != FALSE; }));
  SCROLLBARINFO info{};
  info.cbSize = sizeof(info);
  GetScrollBarInfo(box, OBJID_VSCROLL, &info);
  RECT r;
  GetWindowRect(overlay, &r);
  EXPECT_TRUE(EqualRect(&r, &info.rcScrollBar));
  MouseMove(overlay, {8, r.bottom - r.top - 6});
  MouseDown(overlay, {8, r.bottom - r.top - 6});
  MouseUp(overlay, {8, r.bottom - r.top - 6});
  PumpFor(200ms);
  EXPECT_EQ(SendMessageW(box, LB_GETTOPINDEX, 0, 0), 1) << "one line down";
  delete wrapper;
  DestroyWindow(box);
}

// The drop-down list's bar: painted from the skin into the list's frame, its thumb dragged
// here, its parts hot as an overlay's, and a quit taken while its thumb is dragged left for
// the program's loop.
class ComboDropDownTest : public ::testing::Test {
 protected:
  void SetUp() override {
    host = std::make_unique<Host>(300, 300);
    combo =
        CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | WS_VSCROLL,
                        20, 20, 150, 200, host->form().Handle(), nullptr, nullptr, nullptr);
    for (int i = 0; i < 60; ++i)
      SendMessageW(combo, CB_ADDSTRING, 0,
                   reinterpret_cast<LPARAM>((L"项 " + std::to_wstring(i)).c_str()));
    COMBOBOXINFO comboInfo{};
    comboInfo.cbSize = sizeof(comboInfo);
    ASSERT_TRUE(GetComboBoxInfo(combo, &comboInfo));
    list = comboInfo.hwndList;
    bar = new TComboxScrollBar(nullptr);
    bar->AttachWindow(list, host->data(), host->skinner(), host->skinner().ControlCanvas());
    SendMessageW(combo, CB_SHOWDROPDOWN, TRUE, 0);
    Pump();
    RedrawWindow(list, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    info.cbSize = sizeof(info);
    ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
  }
  void TearDown() override {
    SendMessageW(combo, CB_SHOWDROPDOWN, FALSE, 0);
    delete bar;
    DestroyWindow(combo);
    host.reset();
  }
  // What the bar shows at a point of the up arrow, and frame k's pixel there.
  COLORREF UpArrowShown(POINT p) const {
    RECT window;
    GetWindowRect(list, &window);
    ui::WindowDC dc(list, ui::WindowDC::Area::Whole);
    return GetPixel(dc.get(), info.rcScrollBar.left - window.left + p.x,
                    info.rcScrollBar.top - window.top + p.y);
  }
  COLORREF Frame(int k, POINT p) const {
    const ui::Bitmap& strip = host->data().Records().Scrollbar->Bitmap;
    return strip.Pixel((k - 1) * (strip.Width() / 23) + p.x, p.y);
  }
  POINT UpArrowCentre() const {
    const int size = info.rcScrollBar.right - info.rcScrollBar.left;
    return {(info.rcScrollBar.left + info.rcScrollBar.right) / 2, info.rcScrollBar.top + size / 2};
  }

  std::unique_ptr<Host> host;
  HWND combo = nullptr, list = nullptr;
  TComboxScrollBar* bar = nullptr;
  SCROLLBARINFO info{};
};

TEST_F(ComboDropDownTest, TheListsBarIsPaintedFromTheSkinAndItsThumbDragsTheList) {
  RECT window;
  GetWindowRect(list, &window);
  const ui::Bitmap& strip = host->data().Records().Scrollbar->Bitmap;
  const int frame = strip.Width() / 23;
  const POINT inFrame = DifferingPoint(strip, 9, 10);
  {
    ui::WindowDC dc(list, ui::WindowDC::Area::Whole);
    EXPECT_EQ(GetPixel(dc.get(), info.rcScrollBar.left - window.left + inFrame.x,
                       info.rcScrollBar.top - window.top + inFrame.y),
              strip.Pixel(8 * frame + inFrame.x, inFrame.y))
        << "the up arrow";
  }

  // A press on the thumb drags it: the moves and the release are waiting in the queue.
  const POINT thumb{(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
                    info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  ASSERT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
  POINT moved{thumb.x - window.left, thumb.y + 60 - window.top};
  SetCursorPos(thumb.x, thumb.y + 60);
  PostMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(moved.x, moved.y));
  PostMessageW(list, WM_LBUTTONUP, 0, MAKELPARAM(moved.x, moved.y));
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  EXPECT_FALSE(bar->Dragging());
  EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
}

TEST_F(ComboDropDownTest, TheArrowsShowHot) {
  const ui::Bitmap& strip = host->data().Records().Scrollbar->Bitmap;
  const POINT hot = DifferingPoint(strip, 9, 12);
  const POINT centre = UpArrowCentre();
  SendMessageW(list, WM_NCMOUSEMOVE, HTVSCROLL, MAKELPARAM(centre.x, centre.y));
  EXPECT_EQ(bar->Part(), ScrollBarLook::kFirstArrow);
  EXPECT_EQ(UpArrowShown(hot), Frame(12, hot)) << "hot";
  SendMessageW(list, WM_NCMOUSELEAVE, 0, 0);
  EXPECT_EQ(bar->Part(), ScrollBarLook::kNone);
  EXPECT_EQ(UpArrowShown(hot), Frame(9, hot)) << "normal again";
}

TEST_F(ComboDropDownTest, AQuitTakenWhileTheThumbIsDraggedIsLeftForTheProgram) {
  const POINT thumb{(info.rcScrollBar.left + info.rcScrollBar.right) / 2,
                    info.rcScrollBar.top + (info.xyThumbTop + info.xyThumbBottom) / 2};
  RECT window;
  GetWindowRect(list, &window);
  PostMessageW(list, WM_MOUSEMOVE, 0, MAKELPARAM(thumb.x - window.left, thumb.y + 20 - window.top));
  PostQuitMessage(7);
  SendMessageW(list, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y));
  EXPECT_FALSE(bar->Dragging());
  MSG quit{};
  ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(quit.wParam, 7u);
}

}  // namespace
