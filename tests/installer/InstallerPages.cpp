// Walks the setup program and then the uninstaller through their pages as a user would (the
// uninstaller first while the program runs, to show its question), for
// installer/screenshots.sh: on each page it prints "<name> <left> <top> <right> <bottom>" and
// waits for a line on its input (the picture taken) before it goes on.
// Usage: installer_pages.exe <setup exe>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>

#include "tests/e2e/AppDriver.h"

namespace {

using namespace e2e;

// The wizard window whose title contains `titlePart`, of any process (the uninstaller runs
// from a copy of itself).
HWND WaitForWizard(const std::wstring& titlePart) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        found = nullptr;
        for (HWND w = FindWindowW(L"#32770", nullptr); w && !found;
             w = FindWindowExW(nullptr, w, L"#32770", nullptr)) {
          if (IsWindowVisible(w) && WindowText(w).find(titlePart) != std::wstring::npos) found = w;
        }
        return found != nullptr;
      },
      30s);
  return found;
}

void Shoot(HWND window, const char* name) {
  Sleep(800);  // the page draws itself
  RECT r{};
  GetWindowRect(window, &r);
  std::printf("%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
  std::fflush(stdout);
  std::string taken;
  std::getline(std::cin, taken);
}

// Presses Next (or Install, Finish) once it is enabled.
void Next(HWND wizard) {
  HWND next = GetDlgItem(wizard, IDOK);
  WaitFor([&] { return IsWindowEnabled(next) != FALSE; }, 120s);
  Click(next);
  Sleep(300);
}

// Waits for the progress page to end (Next enabled again) and shows what it did.
void WaitForWork(HWND wizard) {
  Sleep(500);
  WaitFor([&] { return IsWindowEnabled(GetDlgItem(wizard, IDOK)) != FALSE; }, 120s);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::wstring line = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return 1;
  CloseHandle(info.hThread);

  HWND setup = WaitForWizard(L"安装");
  if (!setup) return 1;
  Shoot(setup, "welcome");
  Next(setup);
  Shoot(setup, "directory");
  Next(setup);
  Shoot(setup, "components");
  Next(setup);
  WaitForWork(setup);
  Shoot(setup, "progress");
  Next(setup);
  // Not now: the program would start.
  if (HWND run = FindDescendant(setup, L"运行 Velmo转换")) {
    if (SendMessageW(run, BM_GETCHECK, 0, 0) == BST_CHECKED) SendMessageW(run, BM_CLICK, 0, 0);
  }
  Shoot(setup, "finish");
  Next(setup);
  WaitForSingleObject(info.hProcess, 30000);
  CloseHandle(info.hProcess);

  // The uninstaller while the program runs, then again once it has ended.
  wchar_t programs[MAX_PATH]{};
  GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH);
  const std::filesystem::path folder = std::filesystem::path(programs) / L"Velmo转换";
  auto uninstall = [&] {
    std::wstring uninstaller = L"\"" + (folder / L"uninstall.exe").wstring() + L"\"";
    if (!CreateProcessW(nullptr, uninstaller.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
      return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return true;
  };
  {
    App app(folder);
    if (!uninstall()) return 1;
    HWND box = WaitForWizard(L"卸载");
    if (!box) return 1;
    Shoot(box, "running");
    Click(GetDlgItem(box, IDCANCEL));
    WaitFor([&] { return !IsWindow(box); }, 10s);
  }
  if (!uninstall()) return 1;
  HWND un = WaitForWizard(L"卸载");
  if (!un) return 1;
  Shoot(un, "uninstall-confirm");
  Next(un);
  Shoot(un, "uninstall-components");
  Next(un);
  WaitForWork(un);
  Shoot(un, "uninstall-progress");
  Next(un);
  Shoot(un, "uninstall-finish");
  Next(un);
  return 0;
}
