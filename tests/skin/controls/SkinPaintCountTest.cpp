// A skinned window paints once each time it is made invalid: a paint path that leaves the
// update region of the window painted valid makes the system send WM_PAINT again at once.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "tests/skin/controls/SkinnedMainForm.h"
#include "ui/Application.h"

namespace {

using namespace controltest;

// WM_PAINTs per window while the queue is drained, at most `limit` messages: a window whose
// update region stays invalid takes nearly all of them (and would keep Pump() busy for ever).
std::map<HWND, int> CountPaints(int limit) {
  std::map<HWND, int> paints;
  MSG msg;
  for (int i = 0; i < limit && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (msg.message == WM_PAINT) ++paints[msg.hwnd];
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return paints;
}

// Rounds of draining with a short wait between them (timers and posted refreshes arrive).
std::map<HWND, int> CountPaintRounds(int rounds) {
  std::map<HWND, int> paints;
  for (int i = 0; i < rounds; ++i) {
    for (const auto& [window, n] : CountPaints(500)) paints[window] += n;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return paints;
}

std::string Describe(HWND window) {
  char name[64]{};
  GetClassNameA(window, name, 64);
  char styles[48];
  snprintf(styles, sizeof styles, " style %08lx ex %08lx", GetWindowLongW(window, GWL_STYLE),
           GetWindowLongW(window, GWL_EXSTYLE));
  return std::string(name) + styles;
}

// The board is complete before its form first shows (controls whose windows are made while
// the form's own window is being made), and the manager wraps it on that show.
TEST(SkinPaintCountTest, EachControlOfABoardBuiltBeforeItsFirstShowPaintsOnlyWhenInvalid) {
  auto main = MakeSkinnedMainForm();
  main->SetBounds(900, 600, main->Width(), main->Height());
  main->Show();
  auto gallery = std::make_unique<ui::TForm>(nullptr);
  gallery->SetCaption(L"控件");
  gallery->SetBounds(0, 0, kGalleryWidth + 40, kGalleryHeight + 60);
  BuildGallery(*gallery);
  gallery->Show();
  SetForegroundWindow(gallery->Handle());
  const HWND window = gallery->Handle();
  bool skinned = false;
  for (int i = 0; i < 500 && !skinned; ++i) {
    CountPaintRounds(1);
    skinned = SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1;
  }
  ASSERT_TRUE(skinned);
  CountPaintRounds(30);
  // Everything invalid once more: each window paints again, and then it is done.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  for (const auto& [hwnd, n] : CountPaintRounds(20)) EXPECT_LE(n, 3) << Describe(hwnd);
}

}  // namespace
