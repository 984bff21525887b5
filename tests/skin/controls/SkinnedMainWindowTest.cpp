// The main window as the program skins it: the control manager takes it over at its first
// activation, and switching the skin off and on gives the controls back and wraps them again.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/controls/SkinListView.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/shell/GuiObjects.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/SkinnedMainForm.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"

namespace {

using namespace controltest;

// Immediate paints (WM_PAINT sent, as UpdateWindow does) per window while a window is being
// taken over: from taking the activation message off the queue to taking the next one.
std::map<HWND, int>* paints = nullptr;
bool takingOver = false;
bool tookOver = false;

LRESULT CALLBACK SentPaint(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code >= 0 && paints && takingOver && sent->message == WM_PAINT) ++(*paints)[sent->hwnd];
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK TakenMessage(int code, WPARAM wParam, LPARAM lParam) {
  const auto* taken = reinterpret_cast<const MSG*>(lParam);
  if (code >= 0 && wParam == PM_REMOVE) {
    takingOver = taken->message == skin::WM_SKINACTIVATE;
    tookOver = tookOver || takingOver;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ClassOf(HWND window) {
  wchar_t name[128]{};
  GetClassNameW(window, name, 128);
  std::string text;
  for (const wchar_t* c = name; *c; ++c) text += static_cast<char>(*c);
  return text;
}

class SkinnedMainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeSkinnedMainForm();
    data = dynamic_cast<TSkinData*>(form->FindComponent(L"SkinData1"));
    manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    for (int i = 0; i < 40; ++i) form->TntListView1->AddItem(L"视频 " + std::to_wstring(i));
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(Wrapped(true));
  }
  void TearDown() override { EndSkinnedMainForm(form); }

  HWND List() const { return form->TntListView1->Handle(); }
  // Waits until the list answers the skin query as a wrapped control would, or would not.
  bool Wrapped(bool on) {
    return PumpUntil([&] { return (SendMessageW(List(), skin::WM_SKINQUERY, 0, 0) == 1) == on; },
                     5s);
  }
  void Switch(bool on) {
    data->SetActive(on);
    manager->RunCommand();
    Pump();
  }
  // Every windowed control: its window and whether it answers the skin query.
  std::map<std::wstring, bool> Queries() const {
    std::map<std::wstring, bool> result;
    for (ui::TComponent* c : form->Components())
      if (auto* w = dynamic_cast<ui::TWinControl*>(c))
        result[w->Name()] = SendMessageW(w->Handle(), skin::WM_SKINQUERY, 0, 0) == 1;
    return result;
  }
  // What giving back must restore: each control's colour and ParentBackground.
  std::map<std::wstring, std::pair<int, bool>> Looks() const {
    std::map<std::wstring, std::pair<int, bool>> result;
    for (ui::TComponent* c : form->Components())
      if (auto* w = dynamic_cast<ui::TWinControl*>(c))
        result[w->Name()] = {w->Color(), w->ParentBackground()};
    return result;
  }

  std::unique_ptr<TTntForm1> form;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
};

TEST_F(SkinnedMainWindowTest, EveryWrappedControlAnswersTheSkinQueryAndSwitchingOffGivesThemBack) {
  const std::map<std::wstring, bool> skinned = Queries();
  for (const wchar_t* name :
       {L"TntButton1", L"TntButton2", L"TntBitBtn1", L"TntBitBtn5", L"TntBitBtn9", L"TntListView1"})
    EXPECT_TRUE(skinned.at(name)) << std::string(name, name + wcslen(name));
  HWND header = reinterpret_cast<HWND>(SendMessageW(List(), LVM_GETHEADER, 0, 0));
  EXPECT_EQ(SendMessageW(header, skin::WM_SKINQUERY, 0, 0), 1);
  HWND overlay = FindWindowExW(GetParent(List()), nullptr, L"TWScrollbar", nullptr);
  EXPECT_NE(overlay, nullptr);

  // Off: no control answers any more, the overlays are gone, the looks are as before.
  Switch(false);
  ASSERT_TRUE(Wrapped(false));
  for (const auto& [name, on] : Queries())
    EXPECT_FALSE(on) << std::string(name.begin(), name.end());
  EXPECT_EQ(FindWindowExW(GetParent(List()), nullptr, L"TWScrollbar", nullptr), nullptr);
  const auto plain = Looks();

  Switch(true);
  ASSERT_TRUE(Wrapped(true));
  EXPECT_EQ(Queries(), skinned);
  Switch(false);
  ASSERT_TRUE(Wrapped(false));
  EXPECT_EQ(Looks(), plain);
}

// Taking a window over paints none of its controls at once: they are invalidated, and the
// window's first paint shows them skinned (painting each as it is wrapped, and the page
// control before its children are wrapped, paints most of them two or three times).
TEST_F(SkinnedMainWindowTest, TakingAWindowOverPaintsNoControlAtOnce) {
  auto other = std::make_unique<TTntForm1>(nullptr);
  std::map<HWND, int> counted;
  paints = &counted;
  tookOver = false;
  HHOOK sent = SetWindowsHookExW(WH_CALLWNDPROC, SentPaint, nullptr, GetCurrentThreadId());
  HHOOK taken = SetWindowsHookExW(WH_GETMESSAGE, TakenMessage, nullptr, GetCurrentThreadId());
  other->Show();
  const HWND window = other->Handle();
  const bool active = PumpUntil([&] {
    TWinSkinForm* skinner = manager->FindFormSkinner(window);
    return skinner && skinner->SkinState() == TWinSkinForm::kActive;
  });
  Pump();
  UnhookWindowsHookEx(sent);
  UnhookWindowsHookEx(taken);
  paints = nullptr;
  ASSERT_TRUE(active);
  ASSERT_TRUE(tookOver);

  for (const auto& [painted, times] : counted)
    if (painted == window || IsChild(window, painted))
      ADD_FAILURE() << ClassOf(painted) << " x" << times;
}

TEST_F(SkinnedMainWindowTest, AHundredSwitchesLeaveNoGdiOrUserObjectBehind) {
  auto cycle = [&] {
    Switch(false);
    ASSERT_TRUE(Wrapped(false));
    Switch(true);
    ASSERT_TRUE(Wrapped(true));
  };
  for (int i = 0; i < 2; ++i) cycle();
  Pump();
  const int gdi = gui_objects::GdiObjects(), user = gui_objects::UserObjects();
  ASSERT_GT(gdi, 0);
  for (int i = 0; i < 100; ++i) cycle();
  Pump();
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
}

}  // namespace
