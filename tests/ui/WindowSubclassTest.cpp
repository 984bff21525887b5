// Subclassing through a procedure bound to an object.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/WindowSubclass.h"

using ui::WindowSubclass;

namespace {

constexpr UINT kAsk = WM_APP + 1;  // the base procedure answers 7

LRESULT CALLBACK BaseProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kAsk) return 7;
  return DefWindowProcW(window, msg, wParam, lParam);
}
LRESULT CALLBACK BaseProcA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kAsk) return 7;
  return DefWindowProcA(window, msg, wParam, lParam);
}

HWND MakeWindow(bool unicode) {
  if (unicode) {
    static ATOM atom = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = BaseProcW;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SubclassTestW";
      return RegisterClassW(&wc);
    }();
    (void)atom;
    return CreateWindowExW(0, L"SubclassTestW", L"w", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  static ATOM atom = [] {
    WNDCLASSA wc{};
    wc.lpfnWndProc = BaseProcA;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = "SubclassTestA";
    return RegisterClassA(&wc);
  }();
  (void)atom;
  return CreateWindowExA(0, "SubclassTestA", "a", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Adds its own number to what the procedures below it answer.
struct Adder {
  explicit Adder(int n) : amount(n) {}
  bool Install(HWND window) {
    return subclass.Install(window, [this](UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (msg == WM_NCDESTROY) sawDestroy = true;
      LRESULT below = subclass.CallPrevious(msg, wParam, lParam);
      return msg == kAsk ? below + amount : below;
    });
  }
  int amount;
  bool sawDestroy = false;
  WindowSubclass subclass;
};

class WindowSubclassTest : public testing::TestWithParam<bool> {};

TEST_P(WindowSubclassTest, BoundHandlerSeesMessagesAndReachesThePreviousProcedure) {
  HWND window = MakeWindow(GetParam());
  ASSERT_TRUE(window);
  Adder adder(100);
  ASSERT_TRUE(adder.Install(window));
  EXPECT_EQ(adder.subclass.Unicode(), GetParam());
  EXPECT_FALSE(adder.Install(window)) << "one object subclasses a window once";
  EXPECT_EQ(SendMessageW(window, kAsk, 0, 0), 107);
  adder.subclass.Remove();
  EXPECT_EQ(SendMessageW(window, kAsk, 0, 0), 7);
  DestroyWindow(window);
}

TEST_P(WindowSubclassTest, TwoObjectsStackAndLetGoInEitherOrder) {
  HWND window = MakeWindow(GetParam());
  Adder lower(10), upper(1000);
  ASSERT_TRUE(lower.Install(window));
  ASSERT_TRUE(upper.Install(window));
  EXPECT_EQ(SendMessageW(window, kAsk, 0, 0), 1017);

  // The lower one lets go first: it stays in the chain as a pass-through.
  lower.subclass.Remove();
  EXPECT_EQ(SendMessageW(window, kAsk, 0, 0), 1007);
  upper.subclass.Remove();
  EXPECT_EQ(SendMessageW(window, kAsk, 0, 0), 7);
  DestroyWindow(window);  // the pass-through frees itself here
}

TEST_P(WindowSubclassTest, HandlerMayLetGoWhileHandlingAndStillCallThePrevious) {
  HWND window = MakeWindow(GetParam());
  WindowSubclass subclass;
  std::vector<UINT> seen;
  ASSERT_TRUE(subclass.Install(window, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    seen.push_back(msg);
    if (msg == WM_NCDESTROY) subclass.Remove();
    return subclass.CallPrevious(msg, wParam, lParam);
  }));
  DestroyWindow(window);
  EXPECT_FALSE(subclass.Installed());
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
}

TEST_P(WindowSubclassTest, ObjectOutlivingItsWindowLetsGoQuietly) {
  HWND window = MakeWindow(GetParam());
  auto adder = std::make_unique<Adder>(1);
  ASSERT_TRUE(adder->Install(window));
  DestroyWindow(window);
  EXPECT_TRUE(adder->sawDestroy);
  adder.reset();  // Remove on a window that is gone
}

INSTANTIATE_TEST_SUITE_P(UnicodeAndAnsi, WindowSubclassTest, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Unicode" : "Ansi");
                         });

}  // namespace
