// The menu bar of a skinned window: drawn in the frame's strip from MenuBar, opened with the
// mouse and the keys, switching between menus, its drop-down items drawn from the skin.
#include <algorithm>
#include <memory>

#include "SkinTestFixture.h"
#include "skin/data/ElementDrawing.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/MenuBtn.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinMenu.h"
#include "tests/doubles/UserInput.h"
#include "tests/shell/GuiObjects.h"
#include "ui/Menus.h"

using namespace skintest;

namespace {

using user_input::Keys;
using user_input::MoveMouse;

// Pixels of the text colour inside a rectangle of the window's frame.
int PixelsOf(HWND window, const RECT& r, COLORREF colour) {
  const ui::Bitmap shot = GrabWindow(window);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += shot.Pixel(x, y) == colour;
  return n;
}

class MenuBarTest : public SkinnedTest {
 protected:
  // 文件 (打开, -, 退出), 编辑 (复制), 帮助 (disabled), 视图 (大图标, 列表 > 详细)
  ui::TForm* FormWithMenu() {
    ui::TForm* form = NewForm(L"Menus");
    menu = new ui::TMainMenu(form);
    auto add = [&](ui::TMenuItem* parent, const wchar_t* caption) {
      auto* item = new ui::TMenuItem(form);
      item->SetCaption(caption);
      item->OnClick = [this, item](ui::TPersistent&) { clicked.push_back(item->Caption()); };
      if (parent) {
        parent->Add(item);
      } else {
        menu->Items().Add(item);
      }
      return item;
    };
    ui::TMenuItem* file = add(nullptr, L"文件(&F)");
    add(file, L"打开(&O)")->SetShortCut(ui::scCtrl | 'O');
    add(file, L"-");
    add(file, L"退出(&X)");
    add(add(nullptr, L"编辑(&E)"), L"复制(&C)");
    add(add(nullptr, L"帮助(&H)"), L"关于");
    menu->ItemList()[2]->SetEnabled(false);
    ui::TMenuItem* view = add(nullptr, L"视图(&V)");
    add(view, L"大图标");
    add(add(view, L"列表"), L"详细");
    form->SetMenu(menu);
    form->Show();
    EXPECT_TRUE(WaitSkinned(form->Handle()));
    Pump(50ms);
    return form;
  }
  TMenuBtn* Button(HWND window, int index) { return Skinner(window)->SkinMenu()->Button(index); }
  POINT Centre(HWND window, int index) {
    RECT r{};
    GetWindowRect(window, &r);
    const RECT& b = Button(window, index)->BoundsRect;
    return {r.left + (b.left + b.right) / 2, r.top + (b.top + b.bottom) / 2};
  }
  // The index of the bar item whose menu is open, or -1.
  int OpenIndex(HWND window) {
    TWinSkinForm* skinner = Skinner(window);
    if (!skinner->MenuTracking()) return -1;
    for (int i = 0; i < skinner->SkinMenu()->Count(); ++i)
      if (Button(window, i)->SubMenu == skinner->TrackedMenu()) return i;
    return -1;
  }

  ui::TMainMenu* menu = nullptr;
  std::vector<std::wstring> clicked;
};

TEST_F(MenuBarTest, TheBarIsDrawnInTheFrameStripFromMenuBar) {
  const HWND window = FormWithMenu()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  EXPECT_EQ(GetMenu(window), nullptr) << "the system no longer draws the menu";
  ASSERT_EQ(skinner.SkinMenu()->Count(), 4);
  EXPECT_EQ(skinner.MenuBarHeight(), GetSystemMetrics(SM_CYMENU));
  EXPECT_EQ(Button(window, 0)->Caption, L"文件(&F)");

  RECT r{};
  GetWindowRect(window, &r);
  const RECT strip{skinner.BorderLeft(), skinner.TitleHeight(),
                   r.right - r.left - skinner.BorderRight(),
                   skinner.TitleHeight() + skinner.MenuBarHeight()};
  const POINT inStrip{r.left + strip.right - 20, r.top + strip.top + 5};
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(inStrip.x, inStrip.y)), HTMENU);

  // Past the items the strip shows MenuBar, frame 1 while active and 2 while not.
  const TDataSkinObject& bar = *data->Records().MenuBar;
  for (const bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    if (!active) SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    skin::Element element{&bar.Bitmap, bar.Margins, {2, active ? 1 : 2, true}};
    const ui::Bitmap expected =
        skin::RenderElement({0, 0, strip.right - strip.left, strip.bottom - strip.top}, element);
    const int h = strip.bottom - strip.top;
    for (const int y : {1, h / 2, h - 1})
      EXPECT_EQ(FramePixel(window, strip.right - 20, strip.top + y),
                expected.Pixel(expected.Width() - 20, y));
  }
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);

  // Captions in MenuBarText; the disabled item's in ButtonShadow.
  const SkinColours& colours = data->Records().Colours;
  const COLORREF text = skin::ResolveColour(colours.MenuBarText);
  const COLORREF shadow = skin::ResolveColour(colours.ButtonShadow);
  const RECT& help = Button(window, 2)->BoundsRect;
  const RECT& edit = Button(window, 1)->BoundsRect;
  EXPECT_GT(PixelsOf(window, help, shadow), 0);
  EXPECT_EQ(PixelsOf(window, help, text), 0);
  EXPECT_GT(PixelsOf(window, edit, text), 0);
  EXPECT_EQ(PixelsOf(window, edit, shadow), 0);
}

TEST_F(MenuBarTest, ADisabledBarItemDoesNotOpen) {
  const HWND window = FormWithMenu()->Handle();
  const POINT help = Centre(window, 2);
  MenuWatch watch;
  SendMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(help.x, help.y));
  Pump(200ms);
  EXPECT_FALSE(watch.opened());
  EXPECT_TRUE(clicked.empty());
  EXPECT_FALSE(Skinner(window)->MenuTracking());
}

TEST_F(MenuBarTest, AltF10AndAltLetterOpenTheirMenus) {
  const HWND window = FormWithMenu()->Handle();
  struct Row {
    const char* keys;
    std::initializer_list<std::pair<WORD, bool>> input;
    int opens;
  };
  const Row rows[] = {
      {"Alt", {{VK_MENU, true}, {VK_MENU, false}}, 0},
      {"F10", {{VK_F10, true}, {VK_F10, false}}, 0},
      {"Alt+E", {{VK_MENU, true}, {'E', true}, {'E', false}, {VK_MENU, false}}, 1},
      {"Alt+V", {{VK_MENU, true}, {'V', true}, {'V', false}, {VK_MENU, false}}, 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.keys);
    SetForegroundWindow(window);
    Pump(50ms);
    int open = -1;
    MenuWatch watch([&](HWND) { open = OpenIndex(window); });
    Keys(row.input);
    EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }, 2s));
    Pump(150ms);
    EXPECT_EQ(open, row.opens);
  }
  // Alt with the letter of the disabled item opens nothing.
  MenuWatch none;
  Keys({{VK_MENU, true}, {'H', true}, {'H', false}, {VK_MENU, false}});
  Pump(300ms);
  EXPECT_FALSE(none.opened());
}

TEST_F(MenuBarTest, LeftAndRightMoveRoundTheBar) {
  const HWND window = FormWithMenu()->Handle();
  std::vector<int> seen;
  auto post = [](WPARAM key) {
    return [key](HWND menu) { PostMessageW(menu, WM_KEYDOWN, key, 0); };
  };
  auto see = [&](WPARAM key) {
    return [&, key](HWND menu) {
      seen.push_back(OpenIndex(window));
      if (key) PostMessageW(menu, WM_KEYDOWN, key, 0);
    };
  };
  MenuWatch watch({
      see(VK_LEFT),   // 文件: Left on the first opens the last
      see(VK_RIGHT),  // 视图: Right on the last opens the first
      see(VK_RIGHT),  // 文件 → 编辑
      see(VK_RIGHT),  // 编辑 → 视图, past the disabled 帮助
      post(VK_DOWN),  // from 大图标 (selected as the menu opened) to 列表, which has a submenu
      see(VK_RIGHT),  // opens the submenu, not the next menu
      see(VK_LEFT),   // closes the submenu
      see(VK_LEFT),   // 视图 → 编辑
      see(0),
  });
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(watch.finished());
  EXPECT_EQ(seen, (std::vector<int>{0, 3, 0, 1, 3, 3, 3, 1}));
}

TEST_F(MenuBarTest, TheMouseOverAnotherItemSwitchesMenus) {
  const HWND window = FormWithMenu()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  std::vector<int> seen;
  std::vector<int> pressed;
  auto see = [&](int moveTo) {
    return [&, moveTo](HWND) {
      seen.push_back(OpenIndex(window));
      pressed.push_back(skinner.HotObject() ? static_cast<TMenuBtn*>(skinner.HotObject())->Index
                                            : -1);
      if (moveTo >= 0) MoveMouse(Centre(window, moveTo));
    };
  };
  MenuWatch watch({see(1), see(2), see(3), see(-1)});
  const POINT file = Centre(window, 0);
  SetCursorPos(file.x, file.y);
  PostMessageW(window, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM(file.x, file.y));
  EXPECT_TRUE(PumpUntil([&] { return watch.finished(); }, 3s));
  Pump(150ms);
  // Onto 编辑 switches, the disabled 帮助 does not, 视图 does; the open item stays pressed.
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 3}));
  EXPECT_EQ(pressed, (std::vector<int>{0, 1, 1, 3}));
  EXPECT_FALSE(skinner.MenuTracking());
}

TEST_F(MenuBarTest, ItemsAreDrawnFromTheSkinAndRunTheirClick) {
  const HWND window = FormWithMenu()->Handle();
  const ui::Bitmap& item = data->Records().MenuItem->Bitmap;
  COLORREF selected = 0;
  MenuWatch watch([&](HWND menu) {
    RECT first{};
    GetMenuItemRect(nullptr, Skinner(window)->TrackedMenu(), 0, &first);
    selected = ScreenPixel(first.left + 2, (first.top + first.bottom) / 2);
    PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
  });
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
  Pump(150ms);
  EXPECT_EQ(selected, StripPixel(item, 5, 4, false, 2, 11)) << "the first item is selected";
  // The top-level item's click runs as the menu opens, the chosen item's when it closes.
  EXPECT_EQ(clicked, (std::vector<std::wstring>{L"文件(&F)", L"打开(&O)"}));
}

// With MenuUpdate on, a new menu of the form becomes the bar.
TEST_F(MenuBarTest, ANewMenuOfTheFormIsTakenByTheBar) {
  ui::TForm* form = FormWithMenu();
  auto* other = new ui::TMainMenu(form);
  for (const wchar_t* caption : {L"工具(&T)", L"窗口(&W)"}) {
    auto* item = new ui::TMenuItem(form);
    item->SetCaption(caption);
    other->Items().Add(item);
  }
  form->SetMenu(other);
  const HWND window = form->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  EXPECT_EQ(GetMenu(window), nullptr);
  ASSERT_EQ(skinner.SkinMenu()->Count(), 2);
  EXPECT_EQ(Button(window, 1)->Caption, L"窗口(&W)");
  EXPECT_EQ(Button(window, 1)->FrameworkItem, other->ItemList()[1]);
  EXPECT_GT(Button(window, 1)->BoundsRect.right, 0) << "laid out and drawn";
  // Given back, the window gets the menu it has now.
  data->SetActive(false);
  manager->RunCommand();
  EXPECT_EQ(GetMenu(window), other->Handle());
}

// A form that lets its menu go loses the bar, and the client area takes the strip back; given
// a menu again, it gets the bar again and the system draws none.
TEST_F(MenuBarTest, TheBarGoesAndComesWithTheFormsMenu) {
  ui::TForm* form = FormWithMenu();
  const HWND window = form->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  const int bar = skinner.MenuBarHeight();
  ASSERT_GT(bar, 0);
  RECT withBar{}, frame{};
  GetClientRect(window, &withBar);
  GetWindowRect(window, &frame);
  const LPARAM strip = MAKELPARAM(frame.left + skinner.BorderLeft() + 5,
                                  frame.top + skinner.TitleHeight() + bar / 2);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, strip), HTMENU);

  form->SetMenu(nullptr);
  Pump(50ms);
  EXPECT_EQ(skinner.SkinMenu(), nullptr);
  EXPECT_EQ(GetMenu(window), nullptr);
  RECT without{};
  GetClientRect(window, &without);
  EXPECT_EQ(without.bottom, withBar.bottom + bar);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, strip), HTCLIENT);

  form->SetMenu(menu);
  Pump(50ms);
  ASSERT_NE(skinner.SkinMenu(), nullptr);
  EXPECT_EQ(skinner.SkinMenu()->Count(), 4);
  EXPECT_EQ(GetMenu(window), nullptr) << "the skinned bar draws the menu, not the system";
  RECT back{};
  GetClientRect(window, &back);
  EXPECT_EQ(back.bottom, withBar.bottom);
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, strip), HTMENU);
}

// A bar wider than the window goes on in a second row, as the system's does: the strip and the
// frame grow, the client area gives way, and the items of every row are drawn and hit.
TEST_F(MenuBarTest, ABarTooWideForTheWindowWrapsToMoreRows) {
  const HWND window = FormWithMenu()->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  const int row = GetSystemMetrics(SM_CYMENU);
  RECT r{};
  GetWindowRect(window, &r);
  const int height = r.bottom - r.top;
  struct Row {
    int width;
    bool wraps;
  };
  for (const Row& step : {Row{170, true}, Row{420, false}}) {
    SCOPED_TRACE(step.width);
    SetWindowPos(window, nullptr, 0, 0, step.width, height, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50ms);
    const int bar = skinner.MenuBarHeight();
    EXPECT_EQ(bar > row, step.wraps);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.bottom, height - skinner.TitleHeight() - skinner.BorderBottom() - bar);
    const RECT strip{skinner.BorderLeft(), skinner.TitleHeight(),
                     step.width - skinner.BorderRight(), skinner.TitleHeight() + bar};
    const TMenuBtn* last = Button(window, 3);
    EXPECT_EQ(last->BoundsRect.top > strip.top, step.wraps) << "the last item's row";
    for (int i = 0; i < 4; ++i) {
      SCOPED_TRACE(i);
      const RECT& b = Button(window, i)->BoundsRect;
      EXPECT_GE(b.left, strip.left);
      EXPECT_LE(b.right, strip.right);
      EXPECT_LE(b.bottom, strip.bottom);
    }
    // The last item, on whichever row, is in the menu and shows its caption.
    GetWindowRect(window, &r);
    const POINT centre{r.left + (last->BoundsRect.left + last->BoundsRect.right) / 2,
                       r.top + (last->BoundsRect.top + last->BoundsRect.bottom) / 2};
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(centre.x, centre.y)), HTMENU);
    EXPECT_GT(PixelsOf(window, last->BoundsRect,
                       skin::ResolveColour(data->Records().Colours.MenuBarText)),
              0);
  }
}

std::vector<WPARAM> rawCommands;
std::vector<HMENU> rawInits;
LRESULT CALLBACK RawMenuProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) rawCommands.push_back(wParam);
  // The owner brings its items up to date as the menu opens.
  if (msg == WM_INITMENUPOPUP) {
    rawInits.push_back(reinterpret_cast<HMENU>(wParam));
    CheckMenuItem(reinterpret_cast<HMENU>(wParam), 103, MF_BYCOMMAND | MF_CHECKED);
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

// A raw window's bar menu: the owner gets WM_INITMENUPOPUP to update the items before they
// show, as under the system's own bar, and no WM_COMMAND for opening it.
TEST_F(MenuBarTest, ARawWindowsBarMenuLetsTheOwnerUpdateItsItems) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, 103, L"自动换行");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  const HWND window = PlainWindow({.className = L"VelmoRawMenu2",
                                   .bounds = {100, 100, 500, 400},
                                   .procedure = RawMenuProc,
                                   .show = false});
  SetMenu(window, bar);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  ASSERT_TRUE(WaitSkinned(window));
  rawInits.clear();
  rawCommands.clear();
  UINT shownState = 0;
  MenuWatch watch([&](HWND) { shownState = GetMenuState(file, 103, MF_BYCOMMAND); });
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(watch.finished());
  Pump(100ms);
  EXPECT_NE(std::find(rawInits.begin(), rawInits.end(), file), rawInits.end());
  EXPECT_TRUE(shownState & MF_CHECKED);
  EXPECT_TRUE(rawCommands.empty());
  DestroyWindow(window);
}

// A window no framework form stands behind, right to left, with a menu made by hand: the bar
// runs from the right, the items are drawn mirrored (the check mark at the right), a chosen
// item's command reaches the window, and the menu goes back unchanged when the skin goes.
TEST_F(MenuBarTest, ARawRightToLeftMenu) {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING | MF_CHECKED, 101, L"自动换行\tCtrl+W");
  AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(file, MF_STRING, 102, L"退出");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"文件(&F)");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"编辑(&E)");
  const HWND window = PlainWindow({.className = L"VelmoRawMenu",
                                   .exStyle = WS_EX_LEFTSCROLLBAR,
                                   .bounds = {100, 100, 500, 400},
                                   .procedure = RawMenuProc,
                                   .show = false});
  SetMenu(window, bar);
  ShowWindow(window, SW_SHOW);
  SetForegroundWindow(window);
  ASSERT_TRUE(WaitSkinned(window));
  TWinSkinForm& skinner = *Skinner(window);
  ASSERT_EQ(skinner.SkinMenu()->Count(), 2);
  const RECT& first = Button(window, 0)->BoundsRect;
  EXPECT_GT(first.left, Button(window, 1)->BoundsRect.left);
  RECT r{};
  GetWindowRect(window, &r);
  EXPECT_GT(first.right, (r.right - r.left) * 3 / 4);

  const COLORREF mark = skin::ResolveColour(data->Records().Colours.ButtonText);
  int markLeft = 0, markRight = 0;
  rawCommands.clear();
  // Looked at from the second tick on: the menu shows at once but may paint only after the
  // first message its loop takes.
  MenuWatch watch({[](HWND) {},
                   [&](HWND menu) {
                     RECT item{};
                     GetMenuItemRect(nullptr, file, 0, &item);
                     for (int y = item.top; y < item.bottom; ++y)
                       for (int x = 0; x < 30; ++x) {
                         markLeft += ScreenPixel(item.left + x, y) == mark;
                         markRight += ScreenPixel(item.right - 1 - x, y) == mark;
                       }
                     PostMessageW(menu, WM_KEYDOWN, VK_RETURN, 0);
                   }});
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(watch.finished());
  EXPECT_EQ(markLeft, 0);
  EXPECT_GT(markRight, 0);
  Pump(100ms);
  EXPECT_NE(std::find(rawCommands.begin(), rawCommands.end(), 101u), rawCommands.end());

  data->SetActive(false);
  manager->RunCommand();
  EXPECT_EQ(GetMenu(window), bar);
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoW(file, 0, TRUE, &info);
  EXPECT_EQ(info.fType, static_cast<UINT>(MFT_STRING));
  DestroyWindow(window);
}

// The skin may go while one of the window's menus is open: the menu closes or stays plain,
// and nothing reaches the freed skinner.
TEST_F(MenuBarTest, TheSkinGoesWhileAMenuIsOpen) {
  for (const LPARAM key : {LPARAM{0}, LPARAM{' '}}) {
    SCOPED_TRACE(key ? "system menu" : "bar menu");
    const HWND window = FormWithMenu()->Handle();
    MenuWatch watch({[&](HWND menu) {
                       data->SetActive(false);
                       manager->RunCommand();
                       PostMessageW(menu, WM_KEYDOWN, VK_DOWN, 0);
                     },
                     [](HWND) {}});
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, key);
    Pump(200ms);
    EXPECT_EQ(Skinner(window), nullptr);
    EXPECT_EQ(GetMenu(window), menu->Handle());
    data->SetActive(true);
    manager->RunCommand();
    EXPECT_TRUE(WaitSkinned(window));
  }
}

TEST_F(MenuBarTest, OpeningMenusLeavesNoObjectsBehind) {
  const HWND window = FormWithMenu()->Handle();
  auto round = [&] {
    auto right = [](HWND menu) { PostMessageW(menu, WM_KEYDOWN, VK_RIGHT, 0); };
    MenuWatch watch({right, right, right, [](HWND) {}});
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_TRUE(watch.finished());
    Pump(50ms);
  };
  round();
  const int gdi = gui_objects::GdiObjects(), user = gui_objects::UserObjects();
  for (int i = 0; i < 10; ++i) round();
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
  EXPECT_TRUE(manager->PopupSkinners().empty());
}

TEST_F(MenuBarTest, ActiveCyclesGiveTheMenuBackAndTakeItAgain) {
  ui::TForm* form = FormWithMenu();
  const HWND window = form->Handle();
  auto* popup = new ui::TPopupMenu(form);
  auto* item = new ui::TMenuItem(form);
  item->SetCaption(L"全选");
  popup->Items().Add(item);
  const HMENU bar = menu->Handle();
  RECT client{};
  GetClientRect(window, &client);
  auto cycle = [&] {
    data->SetActive(false);
    manager->RunCommand();
    EXPECT_EQ(GetMenu(window), bar);
    EXPECT_FALSE(popup->OwnerDraw());
    EXPECT_FALSE(item->OnDrawItem);
    data->SetActive(true);
    manager->RunCommand();
    EXPECT_TRUE(WaitSkinned(window));
    EXPECT_EQ(GetMenu(window), nullptr);
    EXPECT_TRUE(popup->OwnerDraw());
  };
  cycle();
  RECT now{};
  GetClientRect(window, &now);
  EXPECT_EQ(now.bottom, client.bottom) << "the client area keeps its size";
  const int gdi = gui_objects::GdiObjects(), user = gui_objects::UserObjects();
  for (int i = 0; i < 100 && !HasFailure(); ++i) cycle();
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
}

}  // namespace
