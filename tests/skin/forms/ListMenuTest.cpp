// The main window's input list with the skin on: its popup menu is the skin's, and its
// commands and shortcuts still act.
#include <memory>

#include "SkinTestFixture.h"
#include "shell/MainWindow.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinMessages.h"
#include "tests/doubles/UserInput.h"
#include "ui/Application.h"

using namespace skintest;

namespace {

using user_input::Key;
using user_input::Mouse;
using user_input::Send;

class ListMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    TSkinManage::Register();
    form = std::make_unique<TTntForm1>(nullptr);
    form->Show();
    manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    ASSERT_TRUE(PumpUntil([&] {
      TWinSkinForm* skinner = manager->FindFormSkinner(form->Handle());
      return skinner && skinner->SkinState() == TWinSkinForm::kActive;
    }));
    list = form->TntListView1;
    for (const wchar_t* p : {L"C:\\clips\\a.flv", L"C:\\clips\\b.flv", L"C:\\clips\\c.flv"})
      form->ImportFile(p);
    Pump(50ms);
  }
  void TearDown() override {
    skin::DestroySkinManager();
    form.reset();
    skin::SetSkinManagerFactory(nullptr);
  }
  // The screen point in the middle of an entry's caption.
  POINT EntryPoint(int index) {
    RECT r{LVIR_LABEL, 0, 0, 0};
    SendMessageW(list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&r));
    POINT p{r.left + 20, (r.top + r.bottom) / 2};
    ClientToScreen(list->Handle(), &p);
    return p;
  }

  std::unique_ptr<TTntForm1> form;
  TSkinManage* manager = nullptr;
  ui::TTntListView* list = nullptr;
};

TEST_F(ListMenuTest, ARightClickOnTheListOpensTheSkinsPopupMenu) {
  ASSERT_TRUE(form->TntPopupMenu1->OwnerDraw());
  auto* skin = dynamic_cast<TSkinData*>(form->FindComponent(L"SkinData1"));
  ASSERT_NE(skin, nullptr);
  const SkinRecords& records = skin->Records();
  // 移除文件 removes the entry the click selected.
  MenuWatch watch(SkinnedMenuSteps(
      records, [](HWND menu, HMENU) { PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0); }));
  const POINT at = EntryPoint(1);
  Send({Mouse(MOUSEEVENTF_MOVE, at), Mouse(MOUSEEVENTF_RIGHTDOWN, at),
        Mouse(MOUSEEVENTF_RIGHTUP, at)});
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
  Pump(200ms);
  ASSERT_EQ(list->ItemCount(), 2);
  EXPECT_EQ(list->ItemText(0, 0), L"a");
  EXPECT_EQ(list->ItemText(1, 0), L"c");
}

TEST_F(ListMenuTest, DelAndCtrlDelStillAct) {
  SetForegroundWindow(form->Handle());
  list->SetFocus();
  list->SetSelected(0, true);
  Send({Key(VK_DELETE, true), Key(VK_DELETE, false)});
  EXPECT_TRUE(PumpUntil([&] { return list->ItemCount() == 2; }));
  Send(
      {Key(VK_CONTROL, true), Key(VK_DELETE, true), Key(VK_DELETE, false), Key(VK_CONTROL, false)});
  EXPECT_TRUE(PumpUntil([&] { return list->ItemCount() == 0; }));
}

}  // namespace
