// The cost of the skinned menus, measured on the input list's popup menu of the program's
// main window (three entries in the list):
//   - a full repaint of the open popup (frame and items), skinned and with skinning off
//     (median of 9 rounds of 20 repaints);
//   - the process's GDI and USER objects before and after 100 skinned popups opened, an item
//     selected, and closed (goal: flat).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/BenchTiming.h"
#include "shell/MainWindow.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/shell/GuiObjects.h"
#include "ui/Application.h"

namespace {

using bench::Drain;
using bench::Median;
using bench::Now;

void Settle() {
  for (int i = 0; i < 40; ++i) {
    Drain();
    Sleep(5);
  }
}

// What runs inside the popup's menu loop, once the popup shows; the menu closes after it.
std::function<void(HWND menu)> inside;

BOOL CALLBACK FindMenu(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  HWND menu = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindMenu, reinterpret_cast<LPARAM>(&menu));
  if (!menu) return;
  if (inside) {
    auto run = std::move(inside);
    inside = nullptr;
    run(menu);
    return;
  }
  EndMenu();
}

// Opens the list's popup menu, runs `work` in it, and closes it.
void WithPopup(TTntForm1& form, std::function<void(HWND)> work) {
  inside = std::move(work);
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, OnTimer);
  RECT r{};
  GetWindowRect(form.TntListView1->Handle(), &r);
  SendMessageW(form.TntListView1->Handle(), WM_CONTEXTMENU,
               reinterpret_cast<WPARAM>(form.TntListView1->Handle()),
               MAKELPARAM(r.left + 60, r.top + 40));
  KillTimer(nullptr, timer);
  Drain();
}

double PopupRepaint(TTntForm1& form) {
  std::vector<double> rounds;
  WithPopup(form, [&](HWND menu) {
    for (int round = 0; round < 9; ++round) {
      const double start = Now();
      for (int i = 0; i < 20; ++i) {
        RedrawWindow(menu, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        GdiFlush();
      }
      rounds.push_back((Now() - start) / 20);
    }
  });
  return rounds.empty() ? 0 : Median(rounds);
}

}  // namespace

int main() {
  ui::Application().Initialize();
  ui::Application().SetTitle(L"Velmo转换 - 独立版");
  TSkinData::RegisterClass();
  TSkinManage::Register();
  auto form = std::make_unique<TTntForm1>(nullptr);
  form->Show();
  Settle();
  for (const wchar_t* p : {L"C:\\clips\\a.flv", L"C:\\clips\\b.flv", L"C:\\clips\\c.flv"})
    form->ImportFile(p);
  Settle();
  TSkinManage* manager = TSkinManage::Instance();
  auto* skin = dynamic_cast<TSkinData*>(form->FindComponent(L"SkinData1"));
  if (!manager || !skin || !manager->FindFormSkinner(form->Handle())) {
    std::printf("the main window was not skinned\n");
    return 1;
  }

  PopupRepaint(*form);  // warm-up
  const double skinned = PopupRepaint(*form);
  skin->SetActive(false);
  manager->RunCommand();
  Settle();
  const double plain = PopupRepaint(*form);
  std::printf(
      "full repaint of the list's popup menu (median of 9 x 20): skinned %.2f ms, unskinned "
      "%.2f ms, ratio %.2f\n",
      skinned, plain, plain > 0 ? skinned / plain : 0);

  skin->SetActive(true);
  manager->RunCommand();
  Settle();
  auto cycle = [&] {
    WithPopup(*form, [](HWND menu) {
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
    });
  };
  cycle();
  const int gdiBefore = gui_objects::GdiObjects(), userBefore = gui_objects::UserObjects();
  const double start = Now();
  for (int i = 0; i < 100; ++i) cycle();
  const double cycles = Now() - start;
  Settle();
  std::printf(
      "100 skinned popups opened, an item selected, closed (%.0f ms): GDI objects %d -> %d, "
      "USER objects %d -> %d (goal: flat); popup skinners left %zu\n",
      cycles, gdiBefore, gui_objects::GdiObjects(), userBefore, gui_objects::UserObjects(),
      manager->PopupSkinners().size());
  form.reset();
  skin::DestroySkinManager();
  return 0;
}
