// The cost of the skinned frames, measured on the program's own main window:
//   - from creating the main window to its first complete paint, skinned and with skinning
//     off, alternating in one run (goal: ratio at most 1.2);
//   - a full repaint (frame, client, children) skinned and unskinned (goal: at most 2);
//   - the process's GDI and USER objects before and after 200 skinned message boxes opened
//     and closed (goal: flat).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "bench/BenchTiming.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
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
using bench::ThreadCpu;

struct Cost {
  double wall = 0;
  double cpu = 0;
};

void SetSkinning(bool on) {
  skin::DestroySkinManager();
  if (on) {
    TSkinManage::Register();
  } else {
    skin::SetSkinManagerFactory(nullptr);
  }
}

// Creation of the main window to its first complete paint.
Cost StartUp(bool skinned) {
  SetSkinning(skinned);
  const double start = Now(), startCpu = ThreadCpu();
  auto form = std::make_unique<TTntForm1>(nullptr);
  form->Show();
  const HWND window = form->Handle();
  for (;;) {
    Drain();
    TSkinManage* manager = TSkinManage::Instance();
    if (!skinned) break;
    if (TWinSkinForm* s = manager ? manager->FindFormSkinner(window) : nullptr;
        s && s->SkinState() == TWinSkinForm::kActive)
      break;
    Sleep(0);
  }
  Drain();
  const Cost cost{Now() - start, ThreadCpu() - startCpu};
  form.reset();
  Drain();
  return cost;
}

double Repaint(bool skinned, int times) {
  SetSkinning(skinned);
  auto form = std::make_unique<TTntForm1>(nullptr);
  form->Show();
  const HWND window = form->Handle();
  for (int i = 0; i < 100; ++i) {
    Drain();
    Sleep(5);
  }
  const double start = Now();
  for (int i = 0; i < times; ++i) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
  }
  const double each = (Now() - start) / times;
  form.reset();
  Drain();
  return each;
}

void CALLBACK CloseBox(HWND, UINT, UINT_PTR, DWORD) {
  if (HWND box = FindWindowW(L"#32770", L"Bench")) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

}  // namespace

int main() {
  ui::Application().Initialize();
  ui::Application().SetTitle(L"Velmo转换 - 独立版");
  TSkinData::RegisterClass();
  // The whole window as the program shows it: frames and every control wrapped.
  skin::RegisterSkinControls();

  // Warm-up: fonts, layouts and the skin's first decode.
  StartUp(true);
  StartUp(false);
  std::vector<double> skinned, plain, skinnedCpu, plainCpu;
  for (int i = 0; i < 15; ++i) {
    const Cost on = StartUp(true), off = StartUp(false);
    skinned.push_back(on.wall);
    skinnedCpu.push_back(on.cpu);
    plain.push_back(off.wall);
    plainCpu.push_back(off.cpu);
  }
  const double s = Median(skinned), p = Median(plain);
  const double sc = Median(skinnedCpu), pc = Median(plainCpu);
  std::printf(
      "start-up to first paint (median of 15): skinned %.1f ms, unskinned %.1f ms, ratio "
      "%.2f; thread CPU %.1f ms against %.1f ms, ratio %.2f (goal <= 1.2)\n",
      s, p, s / p, sc, pc, sc / pc);

  const double rs = Repaint(true, 40), rp = Repaint(false, 40);
  std::printf(
      "full repaint of the main window: skinned %.2f ms, unskinned %.2f ms, ratio %.2f "
      "(goal <= 2)\n",
      rs, rp, rs / rp);

  SetSkinning(true);
  auto owner = std::make_unique<TTntForm1>(nullptr);
  owner->Show();
  for (int i = 0; i < 50; ++i) {
    Drain();
    Sleep(5);
  }
  const UINT_PTR timer = SetTimer(nullptr, 0, 10, CloseBox);
  auto cycle = [&] { MessageBoxW(owner->Handle(), L"Bench", L"Bench", MB_OK); };
  cycle();  // the first box creates what every box shares
  Drain();
  const int gdiBefore = gui_objects::GdiObjects(), userBefore = gui_objects::UserObjects();
  const double start = Now();
  for (int i = 0; i < 200; ++i) cycle();
  const double cycles = Now() - start;
  Drain();
  TSkinManage::Instance()->PurgeFormSkinners();
  const int gdiAfter = gui_objects::GdiObjects(), userAfter = gui_objects::UserObjects();
  KillTimer(nullptr, timer);
  std::printf(
      "200 skinned message boxes (%.0f ms): GDI objects %d -> %d, USER objects %d -> %d "
      "(goal: flat); skinners left %zu\n",
      cycles, gdiBefore, gdiAfter, userBefore, userAfter,
      TSkinManage::Instance()->FormSkinners().size());
  owner.reset();
  skin::DestroySkinManager();
  return 0;
}
