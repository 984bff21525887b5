// Caption buttons: their states on the screen, what clicking them does, disabled buttons,
// and when each is shown.
#include "SkinTestFixture.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSysButton.h"

using namespace skintest;

namespace {

class CaptionButtonsTest : public SkinnedTest {
 protected:
  TWinSysButton* Button(HWND window, int action) {
    TWinSkinForm* skinner = Skinner(window);
    SendMessageW(window, skin::WM_SKINPAINTFRAME, 0, 0);  // lays the buttons out for now
    for (const auto& b : skinner->SysButtons())
      if (b->Data.Action == action && b->Visible && !b->Image().Empty()) return b.get();
    return nullptr;
  }
  POINT ScreenPoint(HWND window, POINT frame) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left + frame.x, r.top + frame.y};
  }
  POINT Centre(HWND window, const TWinSysButton& b) {
    const RECT& r = b.BoundsRect;
    return ScreenPoint(window, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  }
  void Click(HWND window, const TWinSysButton& b) {
    const POINT p = Centre(window, b);
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
    SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(p.x, p.y));
    Pump(100ms);
  }
  // What the screen shows at a point of the button in state frame k: the image, or the
  // title beneath where the image is key-coloured.
  COLORREF Expected(const TWinSkinForm& skinner, const TWinSysButton& b, int k, POINT p) {
    const COLORREF c = StripPixel(b.Image(), b.FrameCount(), k, false, p.x, p.y);
    if (c != RGB(255, 0, 255)) return c;
    return StripPixel(data->Records().FrameTop->Bitmap, 2, skinner.Active() ? 1 : 2, true, 20,
                      b.BoundsRect.top + p.y);
  }
  // A point of the button where the given frames look different on the screen.
  POINT Telling(const TWinSkinForm& skinner, const TWinSysButton& b, std::vector<int> frames) {
    const int w = b.Image().Width() / b.FrameCount();
    for (int y = 0; y < b.Image().Height(); ++y) {
      for (int x = 0; x < w; ++x) {
        std::vector<COLORREF> seen;
        for (int k : frames) {
          const COLORREF c = Expected(skinner, b, k, {x, y});
          if (std::find(seen.begin(), seen.end(), c) != seen.end()) break;
          seen.push_back(c);
        }
        if (seen.size() == frames.size()) return {x, y};
      }
    }
    ADD_FAILURE() << "the frames look alike";
    return {0, 0};
  }
  COLORREF Shown(HWND window, const TWinSysButton& b, POINT p) {
    return FramePixel(window, b.BoundsRect.left + p.x, b.BoundsRect.top + p.y);
  }
};

TEST_F(CaptionButtonsTest, HoverPressAndLeaveShowTheirFrames) {
  const HWND window = MakeForm()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  for (int action : {TWinSysButton::kClose, TWinSysButton::kMaximize, TWinSysButton::kMinimize}) {
    SCOPED_TRACE(action);
    TWinSysButton* b = Button(window, action);
    ASSERT_NE(b, nullptr);
    const POINT p = Telling(skinner, *b, {1, 2, 3});
    const POINT at = Centre(window, *b);
    EXPECT_EQ(Shown(window, *b, p), Expected(skinner, *b, 1, p));
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(skinner.HotObject(), b);
    EXPECT_EQ(Shown(window, *b, p), Expected(skinner, *b, 3, p)) << "hover";
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(Shown(window, *b, p), Expected(skinner, *b, 2, p)) << "pressed";
    const POINT away = ScreenPoint(window, {150, 15});
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(away.x, away.y));
    EXPECT_EQ(skinner.HotObject(), nullptr);
    EXPECT_EQ(Shown(window, *b, p), Expected(skinner, *b, 1, p)) << "left";
  }
}

// The hover timer finds the cursor gone and lets the button go, as a missed leave would.
TEST_F(CaptionButtonsTest, TheHoverTimerReleasesAButtonTheCursorLeft) {
  const HWND window = MakeForm()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  TWinSysButton* close = Button(window, TWinSysButton::kClose);
  ASSERT_NE(close, nullptr);
  const POINT p = Telling(skinner, *close, {1, 3});
  const POINT at = Centre(window, *close);
  auto moveCursor = [](POINT to) {
    SetCursorPos(to.x, to.y);
    return PumpUntil([&] {
      POINT now{};
      GetCursorPos(&now);
      return now.x == to.x && now.y == to.y;
    });
  };
  ASSERT_TRUE(moveCursor(at));
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(at.x, at.y));
  Pump(400ms);
  EXPECT_EQ(skinner.HotObject(), close) << "the cursor is still on it";
  ASSERT_TRUE(moveCursor({5, 1000}));
  Pump(400ms);
  EXPECT_EQ(skinner.HotObject(), nullptr);
  EXPECT_EQ(Shown(window, *close, p), Expected(skinner, *close, 1, p));
}

TEST_F(CaptionButtonsTest, ClicksMaximizeRestoreMinimizeAndClose) {
  const HWND window = MakeForm()->Handle();
  RECT normal{};
  GetWindowRect(window, &normal);
  Click(window, *Button(window, TWinSysButton::kMaximize));
  EXPECT_TRUE(IsZoomed(window));
  EXPECT_EQ(Skinner(window)->WindowState(), TWinSkinForm::kMaximized);
  // The restore button takes the maximize button's place.
  TWinSysButton* restore = Button(window, TWinSysButton::kMaximize);
  ASSERT_NE(restore, nullptr);
  EXPECT_EQ(restore->Data.Visibility, 1);
  Click(window, *restore);
  EXPECT_FALSE(IsZoomed(window));
  RECT back{};
  GetWindowRect(window, &back);
  EXPECT_EQ(back.right - back.left, normal.right - normal.left);
  Click(window, *Button(window, TWinSysButton::kMinimize));
  EXPECT_TRUE(IsIconic(window));
  ShowWindow(window, SW_RESTORE);
  SetForegroundWindow(window);
  Pump(100ms);
  Click(window, *Button(window, TWinSysButton::kClose));
  EXPECT_FALSE(IsWindowVisible(window));
}

LRESULT CALLBACK NoMaxProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Shows caption buttons of visibility code 1500.
  if (msg == skin::WM_SKINBUTTONQUERY) return wParam == 1500 ? 1 : 0;
  return DefWindowProcW(window, msg, wParam, lParam);
}

HWND PlainWindow(DWORD style, DWORD exStyle = 0) {
  return skintest::PlainWindow({.className = L"VelmoButtons",
                                .style = style,
                                .exStyle = exStyle,
                                .bounds = {150, 120, 570, 380},
                                .procedure = NoMaxProc});
}

TEST_F(CaptionButtonsTest, ADisabledButtonShowsItsFourthFrame) {
  const HWND window = PlainWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_TRUE(WaitSkinned(window));
  TWinSkinForm& skinner = *Skinner(window);
  TWinSysButton* max = Button(window, TWinSysButton::kMaximize);
  ASSERT_NE(max, nullptr);
  EXPECT_FALSE(max->Enabled);
  ASSERT_EQ(max->FrameCount(), 4);
  const POINT p = Telling(skinner, *max, {1, 4});
  EXPECT_EQ(Shown(window, *max, p), Expected(skinner, *max, 4, p));
  // Clicking it does nothing; hovering keeps the disabled frame.
  Click(window, *max);
  EXPECT_FALSE(IsZoomed(window));
  const POINT at = Centre(window, *max);
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(Shown(window, *max, p), Expected(skinner, *max, 4, p));
  DestroyWindow(window);
}

// A Close the system menu greys or lacks: the × shows its disabled frame and a click on it
// closes nothing (on Windows a Yes/No message box greys Close so).
TEST_F(CaptionButtonsTest, AGreyedOrMissingCloseShowsADisabledCrossThatDoesNothing) {
  const std::function<void(HMENU)> rows[] = {
      [](HMENU menu) { EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED); },
      [](HMENU menu) { DeleteMenu(menu, SC_CLOSE, MF_BYCOMMAND); },
  };
  for (const auto& change : rows) {
    const HWND window = PlainWindow(WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(WaitSkinned(window));
    TWinSkinForm& skinner = *Skinner(window);
    TWinSysButton* close = Button(window, TWinSysButton::kClose);
    ASSERT_NE(close, nullptr);
    EXPECT_TRUE(close->Enabled);
    change(GetSystemMenu(window, FALSE));
    SendMessageW(window, WM_NCPAINT, 1, 0);
    close = Button(window, TWinSysButton::kClose);
    ASSERT_NE(close, nullptr);
    EXPECT_FALSE(close->Enabled);
    const POINT p = Telling(skinner, *close, {1, 4});
    EXPECT_EQ(Shown(window, *close, p), Expected(skinner, *close, 4, p));
    Click(window, *close);
    EXPECT_TRUE(IsWindowVisible(window));
    DestroyWindow(window);
  }
}

// The same skin with a three-frame maximize image: a disabled button has no frame of its
// own and shows the normal one.
class ThreeFrameButtonTest : public CaptionButtonsTest {
 protected:
  std::vector<std::uint8_t> Stream() override {
    const ui::Bitmap full = ui::Bitmap::FromHandle(static_cast<HBITMAP>(LoadImageW(
        nullptr, (std::wstring(L"" VELMO_SOURCE_DIR) + L"/resources/skin/caption-max.bmp").c_str(),
        IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    three = ui::Bitmap(full.Width() * 3 / 4, full.Height());
    {
      ui::Bitmap::Canvas to(three), from(full);
      BitBlt(to.dc(), 0, 0, three.Width(), three.Height(), from.dc(), 0, 0, SRCCOPY);
    }
    SkinVariant variant;
    variant.images["caption-max.bmp"] = &three;
    variant.ini["Button1"] = {"frame=3"};
    return SkinStream(variant);
  }
  ui::Bitmap three;
};

TEST_F(ThreeFrameButtonTest, ADisabledButtonShowsItsFirstFrame) {
  const HWND window = PlainWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  ASSERT_TRUE(WaitSkinned(window));
  TWinSkinForm& skinner = *Skinner(window);
  TWinSysButton* max = Button(window, TWinSysButton::kMaximize);
  ASSERT_NE(max, nullptr);
  ASSERT_EQ(max->FrameCount(), 3);
  EXPECT_FALSE(max->Enabled);
  const POINT p = Telling(skinner, *max, {1, 2});
  EXPECT_EQ(Shown(window, *max, p), Expected(skinner, *max, 1, p));
  const POINT at = Centre(window, *max);
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, MAKELPARAM(at.x, at.y));
  EXPECT_EQ(Shown(window, *max, p), Expected(skinner, *max, 1, p));
  DestroyWindow(window);
}

// Visibility over the two codes and the window's styles. Buttons of a user action, so that
// only the codes decide; the built-in actions' own rules follow.
class VisibilityTest : public CaptionButtonsTest {
 protected:
  static constexpr std::pair<int, int> kCodes[] = {
      {0, 0},  {1, 0},  {2, 0},   {3, 0},   {4, 0},    {6, 0},    {8, 0},  {7, 0},
      {9, 0},  {10, 0}, {200, 0}, {500, 0}, {1500, 0}, {3000, 0}, {-1, 0}, {0, 6},
      {0, 10}, {0, 5},  {0, 100}, {0, 200}, {6, 6},    {3, 4}};
  std::vector<std::uint8_t> Stream() override {
    SkinVariant variant;
    for (size_t i = 0; i < std::size(kCodes); ++i) {
      variant.ini[(i < 10 ? "ButtonT0" : "ButtonT") + std::to_string(i)] = {
          "Action=50", "Align=0", "Visibility=" + std::to_string(kCodes[i].first),
          "Visibility1=" + std::to_string(kCodes[i].second)};
    }
    return SkinStream(variant);
  }
  std::string Visible(HWND window) {
    TWinSkinForm& skinner = *Skinner(window);
    std::string seen;
    for (size_t i = 0; i < skinner.SysButtons().size(); ++i) {
      const auto& b = *skinner.SysButtons()[i];
      if (b.Data.Name.rfind("BUTTONT", 0) != 0) continue;
      seen += skinner.IsButtonVisible(static_cast<int>(i)) ? '1' : '0';
    }
    return seen;
  }
};

TEST_F(VisibilityTest, CodesAgainstWindowStyles) {
  const HWND normal = MakeForm()->Handle();
  const HWND maximized = MakeForm()->Handle();
  ShowWindow(maximized, SW_MAXIMIZE);
  const HWND dialog = MakeForm(ui::TFormBorderStyle::bsDialog)->Handle();
  const HWND help = PlainWindow(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_CONTEXTHELP);
  ASSERT_TRUE(WaitSkinned(help));  // the active one; the others are inactive now
  Pump(50ms);
  // Columns follow kCodes: 0/0 1 2 3 4 6 8 7 9 10 200 500 1500 3000 -1 | 0/6 0/10 0/5 0/100
  // 0/200 6/6 3/4.
  struct Row {
    const char* what;
    HWND window;
    const char* expected;
  };
  const Row rows[] = {
      {"normal, inactive, all boxes", normal, "1010111000010001001010"},
      {"maximized, inactive", maximized, "1100111000010001001010"},
      {"dialog frame, inactive", dialog, "1010100110110000001000"},
      {"context help, active", help, "1011000111011000101000"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    EXPECT_EQ(Visible(row.window), row.expected);
  }
  // The built-in actions: no close button without a system menu, no icon on a dialog frame,
  // maximize and minimize enabled only with their boxes.
  TWinSkinForm& d = *Skinner(dialog);
  TWinSkinForm& h = *Skinner(help);
  for (size_t i = 0; i < d.SysButtons().size(); ++i) {
    const int action = d.SysButtons()[i]->Data.Action;
    if (action == TWinSysButton::kIcon) EXPECT_FALSE(d.IsButtonVisible(static_cast<int>(i)));
    if (action == TWinSysButton::kClose) EXPECT_TRUE(d.IsButtonVisible(static_cast<int>(i)));
  }
  for (size_t i = 0; i < h.SysButtons().size(); ++i) {
    h.IsButtonVisible(static_cast<int>(i));
    const auto& b = *h.SysButtons()[i];
    if (b.Data.Action == TWinSysButton::kMaximize || b.Data.Action == TWinSysButton::kMinimize)
      EXPECT_FALSE(b.Enabled);
  }
  DestroyWindow(help);
}

}  // namespace
