// How a window comes onto the screen skinned: kept off it while it is being skinned (cloaked
// by the compositor, or hidden where there is none, as under Wine), then shown, active and
// focused, with its skinned frame; and a maximised window's rectangle.
#include "SkinTestFixture.h"
#include "skin/forms/SkinMessages.h"

using namespace skintest;

namespace {

class FirstShowTest : public SkinnedTest {
 protected:
  // The title's middle as the screen shows it against the skin's title image.
  bool ShowsSkinnedTitle(HWND window) {
    const ui::Bitmap& title = data->Records().FrameTop->Bitmap;
    return FramePixel(window, 200, 15) == StripPixel(title, 2, 1, true, 20, 15) ||
           FramePixel(window, 200, 15) == StripPixel(title, 2, 2, true, 20, 15);
  }
  // A form shown and activated, nothing pumped yet.
  HWND Shown(ui::TFormBorderStyle border, RECT bounds = {60, 60, 480, 360}) {
    ui::TForm* form = NewForm(L"Skinned", bounds);
    form->SetBorderStyle(border);
    form->Show();
    return form->Handle();
  }
};

INT_PTR CALLBACK DialogProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A modeless dialog of the system's class with one edit, which takes the focus.
HWND EditDialog() {
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, windowClass, title;
    DLGITEMTEMPLATE item alignas(4);
    WORD itemClass[2], itemTitle, extra;
  } t{};
  t.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
  t.dialog.cdit = 1;
  t.dialog.x = 150;
  t.dialog.y = 100;
  t.dialog.cx = 200;
  t.dialog.cy = 100;
  t.item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
  t.item.x = 10;
  t.item.y = 10;
  t.item.cx = 120;
  t.item.cy = 14;
  t.item.id = 100;
  t.itemClass[0] = 0xFFFF;
  t.itemClass[1] = 0x0081;  // edit
  HWND dialog =
      CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, nullptr, DialogProc, 0);
  ShowWindow(dialog, SW_SHOW);
  return dialog;
}

TEST_F(FirstShowTest, AWindowShowsOnlyOnceSkinnedAndNeverStaysHeld) {
  struct Case {
    const char* kind;
    std::function<HWND()> open;
    std::function<HWND(HWND)> focus;  // where the focus belongs once shown
    // Hooked at its activation while visible. A dialog is activated by its focus before it
    // shows: without a compositor to cloak it there is nothing yet to hide.
    bool held = true;
  };
  const Case cases[] = {
      {"form", [&] { return Shown(ui::TFormBorderStyle::bsSizeable); }, [](HWND w) { return w; }},
      {"dialog form", [&] { return Shown(ui::TFormBorderStyle::bsDialog); },
       [](HWND w) { return w; }},
      {"plain window",
       [] {
         return PlainWindow({.className = L"VelmoFirstShow", .bounds = {300, 200, 700, 450}});
       },
       [](HWND w) { return w; }},
      {"system dialog", [] { return EditDialog(); }, [](HWND w) { return GetDlgItem(w, 100); },
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    const HWND window = c.open();
    ASSERT_TRUE(window);
    // Hooked at its activation inside the show; skinned from a posted message.
    TWinSkinForm* skinner = Skinner(window);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->HeldWhileSkinning(), c.held) << "shown before it is skinned";
    ASSERT_TRUE(WaitSkinned(window));
    Pump(100ms);
    EXPECT_FALSE(skinner->HeldWhileSkinning());
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetForegroundWindow(), window);
    EXPECT_EQ(GetFocus(), c.focus(window));
    EXPECT_TRUE(ShowsSkinnedTitle(window));
    if (!ui::TWinControl::FromHandle(window)) DestroyWindow(window);
  }
}

// Two windows shown before either is skinned (a form opening another as it shows): both
// come back.
TEST_F(FirstShowTest, WindowsHookedTogetherAllComeBack) {
  const HWND first = Shown(ui::TFormBorderStyle::bsSizeable);
  const HWND second = Shown(ui::TFormBorderStyle::bsSizeable, {500, 300, 900, 600});
  ASSERT_TRUE(WaitSkinned(first));
  ASSERT_TRUE(WaitSkinned(second));
  Pump(100ms);
  for (HWND window : {first, second}) {
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(Skinner(window)->HeldWhileSkinning());
    EXPECT_TRUE(ShowsSkinnedTitle(window));
  }
}

// A window skinned while on the screen (the skin switched on later) is not hidden: it would
// flash.
TEST_F(FirstShowTest, AWindowAlreadyShownIsNotHidden) {
  manager->SetEnabled(false);
  ui::TForm* form = MakeForm(ui::TFormBorderStyle::bsSizeable, false);
  Pump(100ms);
  ASSERT_FALSE(Skinner(form->Handle()));
  manager->SetPendingSkinData(data.get());
  manager->ScheduleCommand(ISkinManager::kSkinAll, 0);
  manager->RunCommand();
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_FALSE(skinner->HeldWhileSkinning());
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  ASSERT_TRUE(WaitSkinned(form->Handle()));
}

TEST_F(FirstShowTest, AMaximisedWindowCoversItsMonitorsWorkArea) {
  ui::TForm* form = MakeForm();
  const HWND window = form->Handle();
  RECT before{};
  GetWindowRect(window, &before);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
  const struct {
    const char* how;
    std::function<void()> maximise;
  } ways[] = {
      {"shown maximised", [&] { ShowWindow(window, SW_MAXIMIZE); }},
      {"caption double-click",
       [&] {
         RECT r{};
         GetWindowRect(window, &r);
         SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(r.left + 200, r.top + 15));
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.how);
    way.maximise();
    ASSERT_TRUE(PumpUntil([&] { return IsZoomed(window) != FALSE; }));
    Pump(100ms);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_TRUE(EqualRect(&r, &monitor.rcWork))
        << r.left << "," << r.top << " " << r.right << "," << r.bottom;
    ShowWindow(window, SW_RESTORE);
    ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(window); }));
    Pump(100ms);
    GetWindowRect(window, &r);
    EXPECT_TRUE(EqualRect(&r, &before)) << "restored";
  }
}

}  // namespace
