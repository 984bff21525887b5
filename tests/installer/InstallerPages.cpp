// Walks the setup program and then the uninstaller through their pages as a user would (the
// uninstaller first while the program runs, to show its question), for
// installer/screenshots.sh: on each page it prints "<name> <left> <top> <right> <bottom>" and
// waits for a line on its input (the picture taken) before it goes on.
// Usage: installer_pages.exe <setup exe>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <initializer_list>
#include <iostream>
#include <string>

#include "tests/e2e/AppDriver.h"
#include "tests/installer/WizardPages.h"

namespace {

using namespace e2e;
using installer::NextPage;
using installer::WaitForWork;

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

// Takes each page in turn and goes on from it.
void ShootAndGoOn(HWND wizard, std::initializer_list<const char*> pages) {
  for (const char* page : pages) {
    Shoot(wizard, page);
    NextPage(wizard);
  }
}

bool Start(std::wstring commandLine, PROCESS_INFORMATION& info) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  CloseHandle(info.hThread);
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  PROCESS_INFORMATION info{};
  if (!Start(L"\"" + std::wstring(argv[1]) + L"\"", info)) return 1;
  HWND setup = WaitForWizard(L"安装");
  if (!setup) return 1;
  ShootAndGoOn(setup, {"welcome", "directory", "components"});
  WaitForWork(setup);
  ShootAndGoOn(setup, {"progress"});
  // Not now: the program would start.
  if (HWND run = FindDescendant(setup, L"运行 Velmo转换")) {
    if (SendMessageW(run, BM_GETCHECK, 0, 0) == BST_CHECKED) SendMessageW(run, BM_CLICK, 0, 0);
  }
  ShootAndGoOn(setup, {"finish"});
  WaitForSingleObject(info.hProcess, 30000);
  CloseHandle(info.hProcess);

  // The uninstaller while the program runs, then again once it has ended.
  wchar_t programs[MAX_PATH]{};
  GetEnvironmentVariableW(L"ProgramFiles", programs, MAX_PATH);
  const std::filesystem::path folder = std::filesystem::path(programs) / L"Velmo转换";
  const std::wstring uninstaller = L"\"" + (folder / L"uninstall.exe").wstring() + L"\"";
  {
    App app(folder);
    if (!Start(uninstaller, info)) return 1;
    CloseHandle(info.hProcess);
    HWND box = WaitForWizard(L"卸载");
    if (!box) return 1;
    Shoot(box, "running");
    Click(GetDlgItem(box, IDCANCEL));
    WaitFor([&] { return !IsWindow(box); }, 10s);
  }
  if (!Start(uninstaller, info)) return 1;
  CloseHandle(info.hProcess);
  HWND un = WaitForWizard(L"卸载");
  if (!un) return 1;
  ShootAndGoOn(un, {"uninstall-confirm", "uninstall-components"});
  WaitForWork(un);
  ShootAndGoOn(un, {"uninstall-progress", "uninstall-finish"});
  return 0;
}
