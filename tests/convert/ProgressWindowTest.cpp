// The progress window's Cancel button, pressed as a user would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "convert/CancelRequest.h"
#include "convert/ConversionHost.h"
#include "convert/ProgressWindow.h"
#include "ui/Application.h"
#include "ui/MessagePump.h"

namespace {

// The main window as far as Cancel touches it: the start button.
class StartButton : public ConversionHost {
 public:
  std::vector<EntryState> Entries() const override { return {}; }
  std::optional<int> EntryIndex(EntryId) const override { return std::nullopt; }
  std::optional<std::wstring> EntryPath(EntryId) const override { return std::nullopt; }
  void SetEntryIcon(EntryId, int) override {}
  void RemoveEntry(EntryId) override {}
  std::wstring ResolutionText() const override { return {}; }
  std::wstring OutputFolderText() const override { return {}; }
  bool DeleteAfterConversion() const override { return false; }
  void EnableStartButton(bool enabled) override { enabled_.push_back(enabled); }
  int ShowMessage(const std::wstring&, const std::wstring&, unsigned) override { return IDOK; }
  std::wstring ApplicationTitle() const override { return {}; }
  void OpenInShell(const std::wstring&) override {}

  std::vector<bool> enabled_;
};

// The Cancel button, and Alt+F4 on the window (which would otherwise only hide it while the
// run goes on), cancel alike.
class CancelPress : public testing::TestWithParam<bool> {};

TEST_P(CancelPress, AsksTheRunToStopWaitsAndGivesTheStartButtonBack) {
  const bool byKeyboard = GetParam();
  ui::Application().Initialize();
  StartButton start;
  TTntForm2 form(nullptr, &start);
  form.ShowProgress();
  ui::ProcessMessages();
  CancelRequested = 0;

  struct DuringTheWait {
    int32_t cancel;
    std::wstring status;
    bool shown;
    size_t startButtonCalls;
  };
  std::vector<DuringTheWait> seen;
  std::vector<unsigned> waits;
  form.wait = [&](unsigned ms) {
    waits.push_back(ms);
    seen.push_back({CancelRequested, form.TntLabel1->Caption(),
                    IsWindowVisible(form.Handle()) != FALSE, start.enabled_.size()});
  };
  if (byKeyboard)
    SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  else
    SendMessageW(form.TntButton1->Handle(), BM_CLICK, 0, 0);
  ui::ProcessMessages();
  // Closing the window while that cancel is under way asks for nothing more.
  SendMessageW(form.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);

  // The request and the status line come before the wait, the rest after it.
  EXPECT_THAT(waits, testing::ElementsAre(5000u));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].cancel, -1);
  EXPECT_EQ(seen[0].status, L"正在取消转换......");
  EXPECT_TRUE(seen[0].shown);
  EXPECT_EQ(seen[0].startButtonCalls, 0u);
  EXPECT_EQ(CancelRequested, -1);
  EXPECT_THAT(start.enabled_, testing::ElementsAre(true));
  EXPECT_TRUE(IsWindowEnabled(form.TntButton1->Handle()));
  EXPECT_FALSE(IsWindowVisible(form.Handle()));
  EXPECT_EQ(form.TntLabel1->Caption(), L"正在取消转换......");
  CancelRequested = 0;
}

INSTANTIATE_TEST_SUITE_P(ProgressWindow, CancelPress, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                           return info.param ? "AltF4" : "CancelButton";
                         });

// The window has no frame: its client area is the layout's, without a caption, on top of the
// other windows and centred over the main window.
TEST(ProgressWindow, IsAFramelessTopmostBoxCentredOverTheMainWindow) {
  ui::Application().Initialize();
  ui::TTntForm main(nullptr);
  main.SetBounds(100, 80, 700, 500);
  main.Show();
  ui::Application().SetMainForm(&main);
  TTntForm2 form(nullptr, nullptr);
  form.ShowProgress();
  ui::ProcessMessages();
  ui::Application().SetMainForm(nullptr);

  HWND window = form.Handle();
  RECT client{}, bounds{};
  GetClientRect(window, &client);
  GetWindowRect(window, &bounds);
  EXPECT_EQ(client.right, 446);
  EXPECT_EQ(client.bottom, 145);
  EXPECT_EQ(bounds.right - bounds.left, 446);
  EXPECT_EQ(bounds.bottom - bounds.top, 145);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT under{};
  GetWindowRect(main.Handle(), &under);
  EXPECT_EQ(under.right - under.left, 700);
  EXPECT_EQ(bounds.left, under.left + (700 - 446) / 2);
  EXPECT_EQ(bounds.top, under.top + (500 - 145) / 2);
}

}  // namespace
