#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

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

// The block as a copy of another account or of a higher integrity level leaves it to this one:
// holding `window`, readable by everyone, writable by no one.
class ReadOnlyBlock {
 public:
  explicit ReadOnlyBlock(HWND window) {
    mapping_.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(LONG), kInstanceMappingName));
    void* view = MapViewOfFile(mapping_.get(), FILE_MAP_WRITE, 0, 0, 0);
    if (!view) return;
    *static_cast<LONG*>(view) = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
    UnmapViewOfFile(view);
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;GW;;;WD)(A;;GR;;;WD)",
                                                         SDDL_REVISION_1, &readOnly, nullptr);
    made_ = SetKernelObjectSecurity(mapping_.get(), DACL_SECURITY_INFORMATION, readOnly);
    LocalFree(readOnly);
  }
  bool Made() const { return made_; }
  LONG Stored() const {
    void* view = MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0);
    LONG stored = view ? *static_cast<LONG*>(view) : -1;
    if (view) UnmapViewOfFile(view);
    return stored;
  }

 private:
  ui::UniqueHandle mapping_;
  bool made_ = false;
};

// A copy that may only read the block still finds the first copy through it and ends; when the
// block names no copy it can hand over to, it runs as one of its own (it cannot claim the
// block, and ending would leave the user with no window).
TEST(SingleInstance, ACopyThatMayOnlyReadTheBlockEndsOnlyWhenItFoundTheFirst) {
  FirstCopyWindows windows;
  HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  DestroyWindow(gone);
  const struct {
    const char* name;
    HWND stored;
    bool ends;
  } cases[] = {
      {"the first copy runs", windows.app, true},
      {"the copy that claimed it has gone", gone, false},
      {"not claimed", nullptr, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ShowWindow(windows.app, SW_MINIMIZE);
    ReadOnlyBlock block(c.stored);
    ASSERT_TRUE(block.Made());
    // The fixture: full access is refused.
    ui::UniqueHandle full(OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kInstanceMappingName));
    ASSERT_FALSE(full);
    ASSERT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    SingleInstance second;
    second.Open();
    EXPECT_TRUE(second.Guarded());
    EXPECT_EQ(second.CheckRunningInstance(reinterpret_cast<HWND>(0x4444)), c.ends);
    EXPECT_EQ(IsIconic(windows.app) == FALSE, c.ends) << "restored only when found";
    EXPECT_EQ(block.Stored(), static_cast<LONG>(reinterpret_cast<LONG_PTR>(c.stored)));
  }
}

}  // namespace
