// The skinned system menu and the keys of a skinned window.
#include "SkinTestFixture.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSysButton.h"
#include "ui/Menus.h"

using namespace skintest;

namespace {

class SysMenuTest : public SkinnedTest {
 protected:
  ui::TMenuItem* Item(HWND window, UINT command) {
    ui::TPopupMenu* popup = Skinner(window)->SysMenuPopup();
    if (!popup) return nullptr;
    for (ui::TMenuItem* item : popup->ItemList())
      if (item->Tag() == static_cast<int>(command)) return item;
    return nullptr;
  }
};

TEST_F(SysMenuTest, AltSpaceOpensTheSkinnedSystemMenu) {
  const HWND window = MakeForm()->Handle();
  MenuWatch watch;
  EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' '), 0);
  EXPECT_TRUE(watch.opened());
  ui::TPopupMenu* popup = Skinner(window)->SysMenuPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Tag(), TWinSkinForm::kSysMenuTag);
  EXPECT_EQ(popup->Images(), data->MenuGlyphs());
  struct Row {
    UINT command;
    bool enabled;
    int image;
  };
  for (const Row& row :
       {Row{SC_RESTORE, false, 0}, Row{SC_MOVE, true, -1}, Row{SC_SIZE, true, -1},
        Row{SC_MINIMIZE, true, 2}, Row{SC_MAXIMIZE, true, 1}, Row{SC_CLOSE, true, 3}}) {
    SCOPED_TRACE(row.command);
    ui::TMenuItem* item = Item(window, row.command);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Enabled(), row.enabled);
    EXPECT_EQ(item->ImageIndex(), row.image);
  }
  // The items' commands reach the window.
  ASSERT_NE(Item(window, SC_MAXIMIZE), nullptr);
  Item(window, SC_MAXIMIZE)->Click();
  Pump(100ms);
  EXPECT_TRUE(IsZoomed(window));
  Sleep(GetDoubleClickTime() + 50);  // a second opening within it would count as a double click
  {
    MenuWatch again;
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_TRUE(again.opened());
  }
  ASSERT_NE(Item(window, SC_RESTORE), nullptr);
  EXPECT_TRUE(Item(window, SC_RESTORE)->Enabled());
  EXPECT_FALSE(Item(window, SC_MAXIMIZE)->Enabled());
  EXPECT_FALSE(Item(window, SC_MOVE)->Enabled());
  Item(window, SC_RESTORE)->Click();
  Pump(100ms);
  EXPECT_FALSE(IsZoomed(window));
  ASSERT_NE(Item(window, SC_CLOSE), nullptr);
  Item(window, SC_CLOSE)->Click();
  Pump(100ms);
  EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(SysMenuTest, TheSystemMenuIsDrawnFromTheSkin) {
  const HWND window = MakeForm()->Handle();
  MenuWatch watch(SkinnedMenuSteps(data->Records()));
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(watch.finished());
  ui::TPopupMenu* popup = Skinner(window)->SysMenuPopup();
  ASSERT_NE(popup, nullptr);
  EXPECT_TRUE(popup->OwnerDraw());
  // Nothing of Wine's own: its item about itself is left out, and no separator ends the menu.
  EXPECT_EQ(Item(window, 0xF141), nullptr);
  EXPECT_FALSE(popup->ItemList().back()->IsLine());
}

TEST_F(SysMenuTest, ARightClickOnTheCaptionOpensIt) {
  const HWND window = MakeForm()->Handle();
  RECT r{};
  GetWindowRect(window, &r);
  {
    MenuWatch watch;
    SendMessageW(window, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 150, r.top + 15));
    EXPECT_TRUE(watch.opened());
  }
  ASSERT_NE(Item(window, SC_MINIMIZE), nullptr);
  Item(window, SC_MINIMIZE)->Click();
  Pump(100ms);
  EXPECT_TRUE(IsIconic(window));
  // Elsewhere a right click is the default's.
  ShowWindow(window, SW_RESTORE);
  Pump(100ms);
  MenuWatch watch;
  SendMessageW(window, WM_NCRBUTTONDOWN, HTCLIENT, MAKELPARAM(r.left + 150, r.top + 100));
  EXPECT_FALSE(watch.opened());
}

TEST_F(SysMenuTest, ASecondClickOnTheIconClosesTheWindow) {
  const HWND window = MakeForm()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  SendMessageW(window, skin::WM_SKINPAINTFRAME, 0, 0);
  const TWinSysButton* icon = nullptr;
  for (const auto& b : skinner.SysButtons())
    if (b->IsIcon() && b->Visible) icon = b.get();
  ASSERT_NE(icon, nullptr);
  RECT r{};
  GetWindowRect(window, &r);
  const LPARAM at = MAKELPARAM(r.left + (icon->BoundsRect.left + icon->BoundsRect.right) / 2,
                               r.top + (icon->BoundsRect.top + icon->BoundsRect.bottom) / 2);
  MenuWatch watch([window, at](HWND) {
    // The second click, while the menu of the first one shows.
    PostMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, at);
    PostMessageW(window, WM_NCLBUTTONUP, HTCAPTION, at);
  });
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, at);
  SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, at);
  EXPECT_TRUE(watch.opened());
  Pump(150ms);
  EXPECT_FALSE(IsWindowVisible(window));

  // A double click on the icon closes as well.
  const HWND other = MakeForm()->Handle();
  GetWindowRect(other, &r);
  SendMessageW(other, WM_NCLBUTTONDBLCLK, HTCAPTION,
               MAKELPARAM(r.left + (icon->BoundsRect.left + icon->BoundsRect.right) / 2,
                          r.top + (icon->BoundsRect.top + icon->BoundsRect.bottom) / 2));
  Pump(150ms);
  EXPECT_FALSE(IsWindowVisible(other));
}

TEST_F(SysMenuTest, MaximizeIsDisabledWithoutAMaximizeBox) {
  HWND window = PlainWindow({.className = L"VelmoNoMax",
                             .style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                             .bounds = {150, 150, 510, 390}});
  ASSERT_TRUE(WaitSkinned(window));
  {
    MenuWatch watch;
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_TRUE(watch.opened());
  }
  ASSERT_NE(Item(window, SC_MAXIMIZE), nullptr);
  EXPECT_FALSE(Item(window, SC_MAXIMIZE)->Enabled());
  EXPECT_TRUE(Item(window, SC_MINIMIZE)->Enabled());
  EXPECT_FALSE(Item(window, SC_SIZE)->Enabled()) << "the window cannot be sized";
  EXPECT_TRUE(Skinner(window)->CanClose());
  DestroyWindow(window);
}

TEST_F(SysMenuTest, AltAloneWithoutAMenuBarIsSwallowed) {
  const HWND window = MakeForm()->Handle();
  MenuWatch watch;
  EXPECT_EQ(SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  Pump(150ms);
  EXPECT_FALSE(watch.opened());
  EXPECT_EQ(Skinner(window)->SysMenuPopup(), nullptr);
}

}  // namespace
