// Popup menus drawn from the skin: the popup window's frame from MenuBackground, items from
// MenuItem, the control manager's bookkeeping of popup windows.
#include <functional>
#include <memory>

#include "SkinTestFixture.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/MenuItemPainter.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinPopMenu.h"
#include "ui/Menus.h"

using namespace skintest;

namespace {

// A pixel of a menu item on the screen, x from its left, in the middle of its height.
COLORREF ItemPixel(HMENU menu, int position, int x) {
  RECT item{};
  GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item);
  return ScreenPixel(item.left + x, (item.top + item.bottom) / 2);
}

HMENU MenuOf(HWND menuWindow) {
  return reinterpret_cast<HMENU>(SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
}

class PopupMenuTest : public SkinnedTest {
 protected:
  // A form whose popup menu shows a caption with a shortcut, a separator and a plain item.
  ui::TForm* FormWithPopup(int tag = 0) {
    ui::TForm* form = NewForm(L"Popup");
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
  MenuWatch watch(SkinnedMenuSteps(data->Records(), [&](HWND menu, HMENU shown) {
    EXPECT_TRUE(manager->IsPopupSkinned(menu));
    // The last item is clear: the popup's background shows through.
    EXPECT_EQ(ItemPixel(shown, 2, 2), background.Pixel(8, 8));
    // The separator is the skin's: the line of frame 2 near its bottom.
    RECT separator{};
    GetMenuItemRect(nullptr, shown, 1, &separator);
    EXPECT_EQ(ScreenPixel((separator.left + separator.right) / 2, separator.bottom - 5),
              StripPixel(item, 5, 2, false, 12, item.Height() - 5));
  }));
  OpenPopup(*form);
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
  Pump(200ms);
  EXPECT_TRUE(watch.opened());
  // The popup's skinner goes with its window, and the popup kind is reset.
  EXPECT_TRUE(PumpUntil([&] { return manager->PopupSkinners().empty(); }));
  EXPECT_EQ(manager->PopupKind(), TSkinManage::kPlainPopup);
}

// A popup menu with the disable tag is left to the system: items and frame alike.
TEST_F(PopupMenuTest, APopupMenuWithTheDisableTagKeepsTheSystemLook) {
  ui::TForm* form = FormWithPopup(data->DisableTag());
  EXPECT_FALSE(popup->OwnerDraw());
  EXPECT_FALSE(popup->ItemList()[0]->OnDrawItem);
  const ui::Bitmap& background = Record(&SkinRecords::MenuBackground).Bitmap;
  MenuWatch watch([&](HWND menu) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(MenuOf(menu), 0, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
    RECT r{};
    GetWindowRect(menu, &r);
    EXPECT_NE(FramePixel(menu, 0, (r.bottom - r.top) / 2), background.Pixel(0, 8));
  });
  OpenPopup(*form);
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
}

// Which popup menus are skinned follows SkinControls: plain popups with xcPopupMenu, the
// system menu with xcSystemMenu.
TEST_F(PopupMenuTest, PopupKindsFollowSkinControls) {
  struct Row {
    const char* what;
    bool systemMenu;
    int dropped;  // the SkinControls member taken out, or -1
    bool skinned;
  };
  const Row rows[] = {{"popup menu", false, -1, true},
                      {"popup menu without xcPopupMenu", false, xcPopupMenu, false},
                      {"system menu", true, -1, true},
                      {"system menu without xcSystemMenu", true, xcSystemMenu, false}};
  const TSkinControlTypes all = data->SkinControls();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    data->SetSkinControls(row.dropped < 0 ? all : all & ~Bit(row.dropped));
    ui::TForm* form = FormWithPopup();
    LRESULT answer = -1;
    bool ownerDrawn = false;
    MenuWatch watch([&](HWND menu) {
      answer = SendMessageW(menu, skin::WM_SKINQUERY, 0, 0);
      MENUITEMINFOW info{};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(MenuOf(menu), 0, TRUE, &info);
      ownerDrawn = info.fType & MFT_OWNERDRAW;
    });
    if (row.systemMenu) {
      SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
    } else {
      OpenPopup(*form);
    }
    EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
    EXPECT_EQ(answer, row.skinned ? 1 : 0);
    EXPECT_EQ(ownerDrawn, row.skinned);
    form->Hide();
    Pump(300ms);  // past the double-click time of the system menu
  }
}

// A submenu's window gets a skinner of its own one level up, with its own background; both
// go with their windows and the popup kind is reset.
TEST_F(PopupMenuTest, ASubmenuIsSkinnedOneLevelUp) {
  ui::TForm* form = FormWithPopup();
  auto* more = new ui::TMenuItem(form);
  more->SetCaption(L"更多");
  popup->Items().Add(more);
  for (const wchar_t* caption : {L"甲", L"乙"}) {
    auto* item = new ui::TMenuItem(form);
    item->SetCaption(caption);
    more->Add(item);
  }
  SendMessageW(form->Handle(), skin::WM_SKINREFRESH, 0, 0);  // the new items get the painter
  const ui::Bitmap& background = Record(&SkinRecords::MenuBackground).Bitmap;
  const ui::Bitmap& item = Record(&SkinRecords::MenuItem).Bitmap;
  std::vector<int> levels;
  std::vector<SIZE> sizes;
  ui::Bitmap printed;
  MenuWatch watch({[&](HWND menu) {
                     // 移除文件, 全选, 更多 (the separator is passed by): the submenu opens.
                     for (int i = 0; i < 3; ++i) PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                     PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0);
                   },
                   [&](HWND sub) {
                     for (const auto& p : manager->PopupSkinners()) {
                       levels.push_back(p->Level());
                       const TSkinManage::PopupBackground b = manager->PopupBitmap(p->Menu());
                       ASSERT_NE(b.bitmap, nullptr);
                       sizes.push_back({b.bitmap->Width(), b.bitmap->Height()});
                     }
                     // The first item of the submenu is selected: frame 4.
                     RECT first{};
                     GetMenuItemRect(nullptr, MenuOf(sub), 0, &first);
                     EXPECT_EQ(ScreenPixel(first.left + 2, (first.top + first.bottom) / 2),
                               StripPixel(item, 5, 4, false, 2, 11));
                     // Printed, it shows the same frame and items.
                     RECT r{};
                     GetWindowRect(sub, &r);
                     printed = ui::Bitmap(r.right - r.left, r.bottom - r.top);
                     ui::Bitmap::Canvas canvas(printed);
                     SendMessageW(sub, WM_PRINT, reinterpret_cast<WPARAM>(canvas.dc()),
                                  PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
                   }});
  OpenPopup(*form);
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }));
  EXPECT_EQ(levels, (std::vector<int>{0, 1}));
  ASSERT_EQ(sizes.size(), 2u);
  EXPECT_NE(sizes[0].cy, sizes[1].cy);
  ASSERT_FALSE(printed.Empty());
  EXPECT_EQ(printed.Pixel(0, printed.Height() / 2), background.Pixel(0, 8));
  EXPECT_EQ(printed.Pixel(5, printed.Height() / 2), background.Pixel(8, 8)) << "beside the text";
  EXPECT_TRUE(PumpUntil([&] { return manager->PopupSkinners().empty(); }));
  EXPECT_EQ(manager->PopupKind(), TSkinManage::kPlainPopup);
  EXPECT_FALSE(manager->PopupsFromMenuBar());
}

// The skin's item painter widens what the framework proposes by the item's left margin and
// the glyph column; an empty caption measures as a space, a separator 8 pixels high.
TEST_F(PopupMenuTest, Measuring) {
  FormWithPopup();
  ui::TMenuItem& item = *popup->ItemList()[2];
  ui::WindowDC dc(nullptr);
  ui::GdiObject<HFONT> font = ui::CreateMenuFont();
  ui::SelectObjectGuard select(dc.get(), font.get());
  auto measure = [&](const wchar_t* caption, bool painted) {
    item.SetCaption(caption);
    SIZE size{};
    int w = 0, h = 0;
    if (painted) {
      item.MeasureItem(dc.get(), w, h);
    } else {
      item.DefaultMeasureItem(dc.get(), w, h);
    }
    size = {w, h};
    return size;
  };
  const int margin = Record(&SkinRecords::MenuItem).Margins.left;
  EXPECT_EQ(measure(L"全选", true).cx, measure(L"全选", false).cx + margin + 12 + 23);
  EXPECT_EQ(measure(L"", true).cx, measure(L" ", true).cx);
  EXPECT_EQ(measure(L"&", true).cx, measure(L" ", true).cx);
  EXPECT_GT(measure(L" ", false).cx, 0);
  EXPECT_EQ(measure(L"-", false).cy, 8);
}

// The content of one item as the painter draws it, by what the item is: the check mark, the
// image (greyed when disabled, on a dither when checked), and the caption's colour for
// enabled, disabled and selected items.
TEST_F(PopupMenuTest, AnItemsGlyphAndCaptionShowWhatItIs) {
  const SkinRecords& records = data->Records();
  const SkinColours& colours = records.Colours;
  const COLORREF text = skin::ResolveColour(colours.MenuText);
  const COLORREF mark = skin::ResolveColour(colours.ButtonText);
  const COLORREF shadow = skin::ResolveColour(colours.ButtonShadow);
  const COLORREF white = skin::ResolveColour(colours.HilightText);
  const COLORREF face = skin::ResolveColour(colours.ButtonFace);
  // Red squares, 16 and 12 pixels.
  auto redImages = [](int size) {
    HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, 1, 0);
    ui::Bitmap red(size, size);
    red.Fill(RGB(220, 0, 0));
    ImageList_Add(list, red.Handle(), nullptr);
    return list;
  };
  const HIMAGELIST images16 = redImages(16), images12 = redImages(12);
  const int w = 220, h = 22, left = 1 + (records.MenuItem ? records.MenuItem->Margins.left : 0);
  const RECT glyph{left, 0, left + 16, h}, caption{left + 19, 0, w - 10, h};
  auto count = [](const ui::Bitmap& b, const RECT& r, const std::function<bool(COLORREF)>& is) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += is(b.Pixel(x, y));
    return n;
  };
  auto of = [](COLORREF c) { return [c](COLORREF p) { return p == c; }; };
  auto grey = [](COLORREF p) {
    return GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p) && GetRValue(p) > 128 &&
           GetRValue(p) < 255;
  };
  auto red = of(RGB(220, 0, 0));
  struct Row {
    const char* item;
    bool enabled, checked, selected;
    HIMAGELIST images;
    std::function<void(const ui::Bitmap&)> expect;
  };
  const Row rows[] = {
      {"plain", true, false, false, nullptr,
       [&](const ui::Bitmap& b) {
         EXPECT_EQ(count(b, glyph, of(mark)), 0);
         EXPECT_GT(count(b, caption, of(text)), 10);
       }},
      {"checked", true, true, false, nullptr,
       [&](const ui::Bitmap& b) { EXPECT_GT(count(b, glyph, of(mark)), 5); }},
      {"disabled", false, false, false, nullptr,
       [&](const ui::Bitmap& b) {
         EXPECT_EQ(count(b, caption, of(text)), 0);
         EXPECT_GT(count(b, caption, of(shadow)), 10);
       }},
      {"selected", true, false, true, nullptr,
       [&](const ui::Bitmap& b) {
         EXPECT_EQ(count(b, caption, of(text)), 0);
         EXPECT_GT(count(b, caption, of(white)), 10);
       }},
      {"image", true, false, false, images16,
       [&](const ui::Bitmap& b) { EXPECT_EQ(count(b, glyph, red), 16 * 16); }},
      {"disabled image", false, false, false, images16,
       [&](const ui::Bitmap& b) {
         EXPECT_EQ(count(b, glyph, red), 0);
         EXPECT_GT(count(b, glyph, grey), 16 * 16 / 2);
       }},
      {"checked image", true, true, false, images12,
       [&](const ui::Bitmap& b) {
         EXPECT_EQ(count(b, glyph, red), 12 * 12);
         EXPECT_GT(count(b, glyph, of(face)), 10) << "the dither around it";
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.item);
    skin::MenuItemView view;
    view.caption = L"打开文件";
    view.enabled = row.enabled;
    view.checked = row.checked;
    view.images = row.images;
    view.imageIndex = row.images ? 0 : -1;
    ui::Bitmap picture(w, h);
    {
      ui::Bitmap::Canvas canvas(picture);
      skin::MenuItemTarget target;
      target.dc = canvas.dc();
      target.rect = {0, 0, w, h};
      target.state = row.selected ? ODS_SELECTED : 0;
      skin::PaintMenuItem(records, view, target, skin::MenuItemLook::Skinned);
    }
    row.expect(picture);
  }
  ImageList_Destroy(images16);
  ImageList_Destroy(images12);
}

}  // namespace
