// How much the control wrappers cost a full repaint of the main window: the window with a
// filled input list is repainted (every child, erased, synchronously) many times unskinned,
// with every control wrapped as the form skinner wraps them, and unskinned again; the median
// times and the ratio of wrapped to unskinned are printed. Goal: wrapped / unskinned <= 2.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Application.h"

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// Median milliseconds of one full repaint.
double RepaintMs(HWND window, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = std::chrono::steady_clock::now();
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    // Overlays and other windows painted after their targets come in with the next pump.
    Pump();
    GdiFlush();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main() {
  ui::Application().Initialize();
  TSkinData::RegisterClass();
  skin::RegisterSkinControls();
  TTntForm1 form(nullptr);
  for (int i = 0; i < 40; ++i) form.TntListView1->AddItem(L"视频 " + std::to_wstring(i));
  form.Show();
  Pump();
  Sleep(500);
  Pump();
  constexpr int kRuns = 60;
  RepaintMs(form.Handle(), 5);  // warm caches
  const double before = RepaintMs(form.Handle(), kRuns);

  // The controls only: the skin data leaves the frame to the system, so that the figure is
  // the wrappers' own.
  TSkinData& data = *dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  data.SetSkinControls(data.SkinControls() & ~Bit(xcMainMenu));
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(data);
  skinner.SkinFormControls(form);
  Pump();
  RepaintMs(form.Handle(), 5);
  const double wrapped = RepaintMs(form.Handle(), kRuns);
  const size_t count = skinner.Controls().size();

  skinner.Unhook();
  Pump();
  RepaintMs(form.Handle(), 5);
  const double after = RepaintMs(form.Handle(), kRuns);
  const double plain = (before + after) / 2;

  std::printf("full repaint of the main window (40 entries, %d runs each, median)\n", kRuns);
  std::printf("  unskinned %.2f ms (%.2f before, %.2f after), %zu wrapped controls %.2f ms\n",
              plain, before, after, count, wrapped);
  std::printf("  ratio %.2f (goal <= 2)\n", wrapped / plain);
  return 0;
}
