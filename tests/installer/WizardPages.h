#pragma once
// Going through the pages of the setup's or the uninstaller's wizard as a user does.
#include <windows.h>

#include <chrono>

#include "tests/e2e/AppDriver.h"

namespace installer {

using namespace std::chrono_literals;

// Presses Next (or Install, Finish) once it is enabled, and gives the next page its time.
inline void NextPage(HWND wizard) {
  HWND next = GetDlgItem(wizard, IDOK);
  e2e::WaitFor([&] { return IsWindowEnabled(next) != FALSE; }, 120s);
  e2e::Click(next);
  Sleep(300);
}

// Waits for the progress page to end (Next enabled again).
inline void WaitForWork(HWND wizard) {
  Sleep(500);
  e2e::WaitFor([&] { return IsWindowEnabled(GetDlgItem(wizard, IDOK)) != FALSE; }, 120s);
}

}  // namespace installer
