// How fast the converter starts and how much it weighs, against a program that only opens a
// window of the same place, size and title (minimal_window.exe, built by the same tree): the
// floor of Wine's own process start and one window.
//
// Each program is started as a new process, alternately, with the prefix's server and desktop
// already running. The clock runs from CreateProcess until the window's frame on the screen
// (the pixels read back from the display, outside the program) shows what it shows once the
// program has settled: for the converter its skinned frame, for the minimal window its
// system frame. So a window shown before it is skinned earns nothing. The reference frame is
// taken from a first start of each program that is left to settle. Then, after a second of
// idling, the resident set and its peak are read from the process (Wine reads them from the
// Linux process). Medians of the starts; goals: start <= 1.2x, resident <= 1.5x,
// peak <= 1.6x.
//   startup_bench.exe [starts]   (default 7)
#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "tests/e2e/AppDriver.h"
#include "ui/CodePage.h"

namespace {

using namespace std::chrono_literals;
using bench::Median;
using bench::Now;

struct Program {
  const char* name;
  std::wstring path;
  std::wstring windowClass;
  std::wstring arguments;
};

// The frame of a window as the screen shows it: the strips around the client area.
struct Frame {
  RECT window{};
  RECT client{};  // in screen coordinates
  std::vector<DWORD> pixels;
  bool operator==(const Frame& other) const {
    return EqualRect(&window, &other.window) && EqualRect(&client, &other.client) &&
           pixels == other.pixels;
  }
};

// The screen's pixels in `r` appended to `out` (32-bit, top-down).
void ReadScreen(const RECT& r, std::vector<DWORD>& out) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
  void* bits = nullptr;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD* p = static_cast<const DWORD*>(bits);
  out.insert(out.end(), p, p + static_cast<size_t>(w) * h);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

Frame ReadFrame(HWND window) {
  Frame frame;
  GetWindowRect(window, &frame.window);
  GetClientRect(window, &frame.client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&frame.client), 2);
  const RECT& w = frame.window;
  const RECT& c = frame.client;
  ReadScreen({w.left, w.top, w.right, c.top}, frame.pixels);
  ReadScreen({w.left, c.top, c.left, c.bottom}, frame.pixels);
  ReadScreen({c.right, c.top, w.right, c.bottom}, frame.pixels);
  ReadScreen({w.left, c.bottom, w.right, w.bottom}, frame.pixels);
  return frame;
}

struct Start {
  double ms = 0;
  double residentMb = 0;
  double peakMb = 0;
};

// Starts the program, waits until its frame shows `reference` (or, with none, until the
// window is visible and has had time to settle; the frame it shows then is returned in
// `settled`), then reads its memory and closes it.
Start StartOnce(const Program& program, const Frame* reference, Frame* settled,
                std::wstring* title) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  std::wstring line = L"\"" + program.path + L"\"" + program.arguments;
  const std::wstring folder = program.path.substr(0, program.path.find_last_of(L"\\/"));
  const double start = Now();
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                      &startup, &process))
    throw std::runtime_error(std::string("could not start ") + program.name);
  CloseHandle(process.hThread);
  Start result;
  HWND window = nullptr;
  const double timeout = start + 30000;
  for (;;) {
    if (!window) window = e2e::FindProcessWindow(process.dwProcessId, program.windowClass);
    if (window) {
      if (!reference) break;
      if (ReadFrame(window) == *reference) break;
    }
    if (Now() > timeout) {
      TerminateProcess(process.hProcess, 1);
      CloseHandle(process.hProcess);
      throw std::runtime_error(std::string(program.name) + ": its frame never showed");
    }
    Sleep(1);
  }
  result.ms = Now() - start;
  if (!reference) {
    Sleep(2500);
    *settled = ReadFrame(window);
    if (title) *title = e2e::WindowText(window);
  }
  // Idle: what the window keeps while it waits for the user.
  Sleep(1000);
  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory)) {
    result.residentMb = static_cast<double>(memory.WorkingSetSize) / (1024.0 * 1024.0);
    result.peakMb = static_cast<double>(memory.PeakWorkingSetSize) / (1024.0 * 1024.0);
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 15000) != WAIT_OBJECT_0)
    TerminateProcess(process.hProcess, 1);
  CloseHandle(process.hProcess);
  return result;
}

struct Series {
  std::vector<double> ms, resident, peak;
  void Add(const Start& s) {
    ms.push_back(s.ms);
    resident.push_back(s.residentMb);
    peak.push_back(s.peakMb);
  }
};

std::wstring Windows(const char* unixPath) {
  std::wstring path = ui::AnsiToWide(unixPath, CP_UTF8);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  const int starts = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  Program velmo{"VelmoConvert", (e2e::ProgramFolder() / L"VelmoConvert.exe").wstring(),
                L"TTntForm1", L""};
  std::replace(velmo.path.begin(), velmo.path.end(), L'/', L'\\');
  Program minimal{"minimal window", Windows(VELMO_MINIMAL_WINDOW), L"MinimalWindow", L""};
  std::printf("start-up bench: the %d-bit build, %ls against %ls\n",
              static_cast<int>(sizeof(void*) * 8), velmo.path.c_str(), minimal.path.c_str());

  try {
    // First starts: the files in the cache, the reference frames, and the minimal window
    // placed and titled as the converter's main window.
    Frame velmoFrame, minimalFrame;
    std::wstring title;
    StartOnce(velmo, nullptr, &velmoFrame, &title);
    const RECT& r = velmoFrame.window;
    minimal.arguments = L" " + std::to_wstring(r.left) + L" " + std::to_wstring(r.top) + L" " +
                        std::to_wstring(r.right - r.left) + L" " +
                        std::to_wstring(r.bottom - r.top) + L" " + title;
    StartOnce(minimal, nullptr, &minimalFrame, nullptr);
    if (!EqualRect(&minimalFrame.window, &velmoFrame.window))
      std::printf("note: the minimal window is not where the converter's window is\n");

    Series v, m;
    for (int i = 0; i < starts; ++i) {
      m.Add(StartOnce(minimal, &minimalFrame, nullptr, nullptr));
      v.Add(StartOnce(velmo, &velmoFrame, nullptr, nullptr));
    }
    auto row = [](const char* what, const char* unit, double mv, double vv, double goal) {
      std::printf("  %-44s %8.1f %s %8.1f %s   %.2fx (goal <= %.1fx)%s\n", what, mv, unit, vv, unit,
                  vv / mv, goal, vv / mv <= goal ? "" : "  missed");
    };
    std::printf("medians of %d starts each:               minimal window  VelmoConvert\n", starts);
    row("process start to the frame painted", "ms", Median(m.ms), Median(v.ms), 1.2);
    row("resident set of the idle window", "MB", Median(m.resident), Median(v.resident), 1.5);
    row("peak resident set", "MB", Median(m.peak), Median(v.peak), 1.6);
    std::printf("  every start (ms): minimal");
    for (double x : m.ms) std::printf(" %.0f", x);
    std::printf("; VelmoConvert");
    for (double x : v.ms) std::printf(" %.0f", x);
    std::printf("\n");
  } catch (const std::exception& error) {
    std::printf("start-up bench failed: %s\n", error.what());
    return 1;
  }
  return 0;
}
