// Popup menus drawn from the skin: the popup window's frame from MenuBackground, items from
// MenuItem, the control manager's bookkeeping of popup windows.
#include <memory>

#include "SkinTestFixture.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "ui/Menus.h"

using namespace skintest;

namespace {

// A pixel of a menu item's rectangle on the screen, in item coordinates.
COLORREF ItemPixel(HWND menuWindow, HMENU menu, int position, int x, int yFromMiddle = 0) {
  RECT item{};
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item);
  (void)menuWindow;
  return ScreenPixel(item.left + x, (item.top + item.bottom) / 2 + yFromMiddle);
}

HMENU MenuOf(HWND menuWindow) {
  return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
}

class PopupMenuTest : public SkinnedTest {
 protected:
  // A form whose popup menu shows a caption with a shortcut, a separator and a plain item.
  ui::TForm* FormWithPopup(int tag = 0) {
    auto owned = std::make_unique<ui::TForm>(nullptr);
    ui::TForm* form = owned.get();
    forms.push_back(std::move(owned));
    form->SetBounds(60, 60, 420, 300);
    form->SetCaption(L"Popup");
    popup = new ui::TPopupMenu(form);
    popup->SetTag(tag);
    for (const wchar_t* caption : {L"移除文件", L"-", L"全选"}) {
      auto* item = new ui::TMenuItem(form);
      item->SetCaption(caption);
      popup->Items().Add(item);
    }
    popup->ItemList()[0]->SetShortCut(VK_DELETE);
    form->SetPopupMenu(popup);
    form->Show();
    EXPECT_TRUE(WaitSkinned(form->Handle()));
    return form;
  }
  void OpenPopup(ui::TForm& form) {
    RECT r{};
    GetWindowRect(form.Handle(), &r);
    PostMessageW(form.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form.Handle()),
                 MAKELPARAM(r.left + 120, r.top + 120));
  }
  const TDataSkinObject& Record(std::unique_ptr<TDataSkinObject> SkinRecords::*member) {
    return *(data->Records().*member);
  }

  ui::TPopupMenu* popup = nullptr;
};

TEST_F(PopupMenuTest, ThePopupIsDrawnFromTheSkin) {
  ui::TForm* form = FormWithPopup();
  EXPECT_TRUE(popup->OwnerDraw());
  const ui::Bitmap& background = Record(&SkinRecords::MenuBackground).Bitmap;
  const ui::Bitmap& item = Record(&SkinRecords::MenuItem).Bitmap;
  HMENU shown = nullptr;
  MenuWatch watch(
      {[&](HWND menu) {
         shown = MenuOf(menu);
         EXPECT_EQ(SendMessageW(menu, skin::WM_SKINQUERY, 0, 0), 1);
         EXPECT_TRUE(manager->IsPopupSkinned(menu));
         // The frame: the outer pixels of MenuBackground, at the left edge.
         RECT r{};
         GetWindowRect(menu, &r);
         const int middle = (r.bottom - r.top) / 2;
         EXPECT_EQ(FramePixel(menu, 0, middle), background.Pixel(0, 8));
         EXPECT_EQ(FramePixel(menu, 1, middle), background.Pixel(1, 8));
         PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
       },
       [&](HWND menu) {
         // The first item selected: frame 4 of MenuItem; the last one clear,
         // the popup's background showing through.
         EXPECT_EQ(ItemPixel(menu, shown, 0, 2), StripPixel(item, 5, 4, false, 2, 11));
         EXPECT_EQ(ItemPixel(menu, shown, 2, 2), background.Pixel(8, 8));
         // The separator is the skin's: the line of frame 2 near its bottom.
         RECT separator{};
         GetMenuItemRect(nullptr, shown, 1, &separator);
         const int height = separator.bottom - separator.top;
         const int frameHeight = item.Height();
         EXPECT_EQ(ScreenPixel((separator.left + separator.right) / 2, separator.top + height - 5),
                   StripPixel(item, 5, 2, false, 12, frameHeight - 5));
       }});
  OpenPopup(*form);
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
  Pump(200ms);
  EXPECT_TRUE(watch.opened());
  // The popup's skinner goes with its window, and the popup kind is reset.
  EXPECT_TRUE(PumpUntil([&] { return manager->PopupSkinners().empty(); }));
  EXPECT_EQ(manager->PopupKind(), TSkinManage::kPlainPopup);
}

}  // namespace
