#include <gtest/gtest.h>
#include <windows.h>

#include "shell/SingleInstance.h"

namespace {

// A stand-in for the first copy's hidden application window and its main window.
class FirstCopyWindows {
 public:
  FirstCopyWindows() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SingleInstanceTestWindow";
    RegisterClassW(&wc);
    app = CreateWindowExW(0, wc.lpszClassName, L"app", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                          nullptr, wc.hInstance, nullptr);
    main = CreateWindowExW(0, wc.lpszClassName, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                           300, 200, app, nullptr, wc.hInstance, nullptr);
  }
  ~FirstCopyWindows() {
    DestroyWindow(main);
    DestroyWindow(app);
  }
  HWND app;
  HWND main;
};

TEST(SingleInstance, SecondCopyRestoresTheFirstAndEnds) {
  FirstCopyWindows windows;
  ShowWindow(windows.app, SW_MINIMIZE);
  ASSERT_TRUE(IsIconic(windows.app));

  SingleInstance first;
  first.Open();
  ASSERT_TRUE(first.Guarded());
  EXPECT_FALSE(first.CheckRunningInstance(windows.app));

  SingleInstance second;
  second.Open();
  EXPECT_TRUE(second.CheckRunningInstance(reinterpret_cast<HWND>(0x1234)));
  EXPECT_FALSE(IsIconic(windows.app));
  // The first copy keeps its claim: a third start is sent to the same window.
  SingleInstance third;
  third.Open();
  EXPECT_TRUE(third.CheckRunningInstance(reinterpret_cast<HWND>(0x5678)));
}

TEST(SingleInstance, StartAfterTheFirstEndedRunsNormally) {
  {
    SingleInstance first;
    first.Open();
    EXPECT_FALSE(first.CheckRunningInstance(reinterpret_cast<HWND>(0x1111)));
  }
  // The block went with its last handle.
  SingleInstance later;
  later.Open();
  EXPECT_FALSE(later.CheckRunningInstance(reinterpret_cast<HWND>(0x2222)));
}

TEST(SingleInstance, SecondCopyOfAVanishedFirstStillEnds) {
  SingleInstance first;
  first.Open();
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  EXPECT_FALSE(first.CheckRunningInstance(gone));
  DestroyWindow(gone);
  SingleInstance second;
  second.Open();
  EXPECT_TRUE(second.CheckRunningInstance(reinterpret_cast<HWND>(0x3333)));
}

}  // namespace
