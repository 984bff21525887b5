// Main menus on forms and owner-drawn menus, as the skin engine uses them.
#include <gtest/gtest.h>

#include <memory>

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/Menus.h"

using namespace ui;

namespace {

TMenuItem* AddItem(TMenu& menu, TComponent* owner, const wchar_t* caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  menu.Items().Add(item);
  return item;
}

TEST(MainMenu, IsTheFormsMenuBarAndTellsTheFormWhenItChanges) {
  Application().Initialize();
  auto form = std::make_unique<TForm>(nullptr);
  auto* menu = new TMainMenu(form.get());
  TMenuItem* file = AddItem(*menu, form.get(), L"&File");
  auto* open = new TMenuItem(form.get());
  open->SetCaption(L"&Open");
  file->Add(open);
  AddItem(*menu, form.get(), L"&Help");
  int changed = 0;
  TWndMethod previous = form->WindowProc;
  form->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_MENUCHANGED) ++changed;
    previous(m);
  };
  form->SetMenu(menu);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(form->Menu(), menu);
  const HMENU bar = GetMenu(form->Handle());
  ASSERT_EQ(bar, menu->Handle());
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  const HMENU sub = GetSubMenu(bar, 0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(GetMenuItemID(sub, 0), open->Command());
  EXPECT_EQ(menu->FindItem(open->Command()), open);
  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
  EXPECT_EQ(changed, 2);
}

TEST(OwnerDraw, ItemsAreOwnerDrawnAndCarryTheirFrameworkItem) {
  auto owner = std::make_unique<TComponent>(nullptr);
  TPopupMenu popup(nullptr);
  TMenuItem* first = AddItem(popup, owner.get(), L"First");
  AddItem(popup, owner.get(), L"-");
  EXPECT_EQ(popup.GetPropText(L"OwnerDraw"), L"False");
  EXPECT_TRUE(popup.SetPropText(L"OwnerDraw", L"True"));
  EXPECT_TRUE(first->SetPropText(L"ImageIndex", L"2"));
  EXPECT_EQ(first->ImageIndex(), 2);

  TMainMenu menu(nullptr);
  menu.SetOwnerDraw(true);
  TMenuItem* item = AddItem(menu, owner.get(), L"Item");
  AddItem(menu, owner.get(), L"-");
  const HMENU bar = menu.Handle();
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(bar, 0, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
  EXPECT_EQ(info.dwItemData, reinterpret_cast<ULONG_PTR>(item));
  ASSERT_TRUE(GetMenuItemInfoW(bar, 1, TRUE, &info));
  EXPECT_TRUE(info.fType & MFT_SEPARATOR);
}

// WM_MEASUREITEM and WM_DRAWITEM of an owner-drawn item reach its handlers, whoever owns the
// menu; data of an item that is gone, or of another kind of control, is left alone.
TEST(OwnerDraw, MessagesReachTheHandlersOfLiveItemsOnly) {
  TPopupMenu popup(nullptr);
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(L"移除文件");
  popup.Items().Add(item);
  int proposed = -1;
  item->OnMeasureItem = [&](TMenuItem&, HDC, int& width, int&) {
    proposed = width;
    width += 7;
  };
  HMENU drawnIn = nullptr;
  item->OnDrawItem = [&](TMenuItem&, const TMenuDrawArgs& args) { drawnIn = args.menu; };

  MEASUREITEMSTRUCT measure{ODT_MENU, 0, item->Command(), 0, 0, reinterpret_cast<ULONG_PTR>(item)};
  ASSERT_TRUE(DispatchMenuItemMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure)));
  EXPECT_GT(proposed, 0) << "the caption's width";
  EXPECT_EQ(static_cast<int>(measure.itemWidth), proposed + 7);
  const HMENU menu = CreatePopupMenu();
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.hwndItem = reinterpret_cast<HWND>(menu);
  draw.itemData = reinterpret_cast<ULONG_PTR>(item);
  draw.hDC = GetDC(nullptr);
  EXPECT_TRUE(DispatchMenuItemMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw)));
  EXPECT_EQ(drawnIn, menu);

  measure.CtlType = ODT_BUTTON;
  EXPECT_FALSE(DispatchMenuItemMessage(WM_MEASUREITEM, reinterpret_cast<LPARAM>(&measure)));
  delete item;
  EXPECT_FALSE(DispatchMenuItemMessage(WM_DRAWITEM, reinterpret_cast<LPARAM>(&draw)));
  ReleaseDC(nullptr, draw.hDC);
  DestroyMenu(menu);
}

}  // namespace
