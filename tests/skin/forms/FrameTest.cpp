// The skinned frame as the screen shows it: title states, caption text, the window region,
// the minimized title bar, hit testing, and skins without frame images.
#include <filesystem>
#include <fstream>
#include <functional>

#include "SkinTestFixture.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/SkinMessages.h"
#include "ui/Menus.h"

using namespace skintest;

namespace {

class FrameTest : public SkinnedTest {
 protected:
  const SkinRecords& Records() const { return data->Records(); }
  COLORREF TitleRow15(int frame) const {
    return StripPixel(Records().FrameTop->Bitmap, 2, frame, true, 20, 15);
  }
  // The plain title bar between the caption and the buttons.
  COLORREF TitleAt15(HWND window) const {
    RECT r{};
    GetWindowRect(window, &r);
    return FramePixel(window, r.right - r.left - 130, 15);
  }
  int CountColour(const ui::Bitmap& shot, const RECT& area, COLORREF colour) const {
    int n = 0;
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, shot.Height()); ++y)
      for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, shot.Width()); ++x)
        n += shot.Pixel(x, y) == colour;
    return n;
  }
};

TEST_F(FrameTest, TheTitleShowsItsActiveAndInactiveFrame) {
  ui::TForm* first = MakeForm();
  ASSERT_NE(TitleRow15(1), TitleRow15(2));
  EXPECT_EQ(TitleAt15(first->Handle()), TitleRow15(1));
  ui::TForm* second = MakeForm();
  Pump(50ms);
  EXPECT_EQ(TitleAt15(first->Handle()), TitleRow15(2));
  EXPECT_EQ(TitleAt15(second->Handle()), TitleRow15(1));
}

TEST_F(FrameTest, TheCaptionTextColourFollowsActivity) {
  ui::TForm* form = MakeForm();
  const COLORREF active = skin::ResolveColour(Records().Colours.TitleTextActive);
  const COLORREF inactive = skin::ResolveColour(Records().Colours.TitleTextNoActive);
  ASSERT_NE(active, inactive);
  const RECT text = Skinner(form->Handle())->TextRect();
  ASSERT_GT(text.right, text.left);
  ui::Bitmap shot = GrabWindow(form->Handle());
  EXPECT_GT(CountColour(shot, text, active), 5);
  EXPECT_EQ(CountColour(shot, text, inactive), 0);
  MakeForm();
  shot = GrabWindow(form->Handle());
  EXPECT_GT(CountColour(shot, text, inactive), 5);
  EXPECT_EQ(CountColour(shot, text, active), 0);
}

TEST_F(FrameTest, TheKeyColouredCornerLiesOutsideTheRegion) {
  // An unskinned green window beneath.
  ui::GdiObject<HBRUSH> green(CreateSolidBrush(RGB(0, 200, 0)));
  manager->SetEnabled(false);
  HWND below = PlainWindow({.className = L"VelmoGreen",
                            .style = WS_POPUP | WS_VISIBLE,
                            .bounds = {0, 0, 900, 700},
                            .background = green.get(),
                            .show = false});
  UpdateWindow(below);
  manager->SetEnabled(true);
  ui::TForm* form = MakeForm();
  const HWND window = form->Handle();
  ASSERT_EQ(Records().FrameLeft->Bitmap.Pixel(0, 0), RGB(255, 0, 255));
  ui::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window, region.get()), ERROR);
  EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.get(), 10, 10));
  EXPECT_EQ(FramePixel(window, 0, 0), RGB(0, 200, 0)) << "the window beneath shows";
  EXPECT_EQ(FramePixel(window, 4, 0), Records().FrameLeft->Bitmap.Pixel(4, 0));
  DestroyWindow(below);
}

// The region follows the window's size: the right-hand corners are cut where the window now
// ends, and the new right edge is inside.
TEST_F(FrameTest, TheRegionIsRebuiltWhenTheWindowIsResized) {
  const HWND window = MakeForm()->Handle();
  ASSERT_EQ(Records().FrameRight->Bitmap.Pixel(Records().FrameRight->Bitmap.Width() / 2 - 1, 0),
            RGB(255, 0, 255));
  for (const int width : {520, 360}) {
    SCOPED_TRACE(width);
    SetWindowPos(window, nullptr, 0, 0, width, 300, SWP_NOMOVE | SWP_NOZORDER);
    Pump(50ms);
    ui::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, region.get()), ERROR);
    RECT box{};
    GetRgnBox(region.get(), &box);
    EXPECT_EQ(box.right, width);
    EXPECT_FALSE(PtInRegion(region.get(), width - 1, 0)) << "the corner's key pixels";
    EXPECT_TRUE(PtInRegion(region.get(), width - 1, 150));
  }
}

// A double click on the caption maximizes, and another one restores.
TEST_F(FrameTest, ADoubleClickOnTheCaptionMaximizesAndRestores) {
  const HWND window = MakeForm()->Handle();
  RECT normal{};
  GetWindowRect(window, &normal);
  const POINT caption{normal.left + (normal.right - normal.left) / 2, normal.top + 8};
  for (const bool zoomed : {true, false}) {
    SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, MAKELPARAM(caption.x, caption.y));
    Pump(100ms);
    EXPECT_EQ(IsZoomed(window) != FALSE, zoomed);
  }
  RECT back{};
  GetWindowRect(window, &back);
  EXPECT_EQ(back.right - back.left, normal.right - normal.left);
}

TEST_F(FrameTest, AMinimizedWindowIsATitleBarOnTheFaceColour) {
  // Minimized windows arranged on the screen rather than hidden, so that they can be seen.
  MINIMIZEDMETRICS metrics{sizeof metrics};
  SystemParametersInfoW(SPI_GETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0);
  const MINIMIZEDMETRICS saved = metrics;
  metrics.iArrange = ARW_BOTTOMLEFT | ARW_RIGHT;
  SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof metrics, &metrics, 0);
  ui::TForm* form = MakeForm();
  const HWND window = form->Handle();
  ShowWindow(window, SW_MINIMIZE);
  Pump(200ms);
  ASSERT_TRUE(IsIconic(window));
  TWinSkinForm* skinner = Skinner(window);
  ASSERT_EQ(skinner->WindowState(), TWinSkinForm::kMinimized);
  SendMessageW(window, WM_NCPAINT, 1, 0);
  RECT r{};
  GetWindowRect(window, &r);
  const ui::Bitmap shot = GrabWindow(window);
  const int frame = skinner->Active() ? 1 : 2;
  EXPECT_EQ(shot.Pixel(1, 15), TitleRow15(frame)) << "the title runs to the very edge";
  const COLORREF face = skin::ResolveColour(Records().Colours.ButtonFace);
  if (r.bottom - r.top > skinner->TitleHeight()) {
    EXPECT_EQ(shot.Pixel(2, r.bottom - r.top - 1), face);
  }
  SystemParametersInfoW(SPI_SETMINIMIZEDMETRICS, sizeof saved,
                        const_cast<MINIMIZEDMETRICS*>(&saved), 0);
}

TEST_F(FrameTest, HitTesting) {
  ui::TForm* sizable = MakeForm();
  ui::TForm* single = MakeForm(ui::TFormBorderStyle::bsSingle);
  struct Row {
    const char* where;
    ui::TForm* form;
    int x, y;      // frame coordinates; negative counts from the right or bottom edge
    int expected;  // -1: whatever the default frame code says
  };
  const Row rows[] = {
      {"top rows of a sizable window", sizable, 200, 1, -1},
      {"fourth row", sizable, 200, 3, -1},
      {"fifth row", sizable, 200, 4, HTCAPTION},
      {"title", sizable, 200, 15, HTCAPTION},
      {"last title row", sizable, 200, 29, HTCAPTION},
      {"client", sizable, 200, 60, HTCLIENT},
      {"left border", sizable, 1, 100, HTLEFT},
      {"title of a fixed window", single, 200, 15, HTCAPTION},
      {"top rows of a fixed window", single, 200, 2, -1},
      {"below the title without a menu bar", single, 200, 31, HTCLIENT},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.where);
    RECT r{};
    GetWindowRect(row.form->Handle(), &r);
    const LPARAM at = MAKELPARAM(r.left + row.x, r.top + row.y);
    const LRESULT hit = SendMessageW(row.form->Handle(), WM_NCHITTEST, 0, at);
    const LRESULT standard = DefWindowProcW(row.form->Handle(), WM_NCHITTEST, 0, at);
    EXPECT_EQ(hit, row.expected == -1 ? standard : row.expected);
    EXPECT_NE(hit, HTMENU);
  }
  // With a menu strip below the title, the strip is HTMENU.
  TWinSkinForm* skinner = Skinner(single->Handle());
  skinner->SetMenuBarHeight(20);
  skinner->FitWindow(true);
  RECT r{};
  GetWindowRect(single->Handle(), &r);
  EXPECT_EQ(SendMessageW(single->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 200, r.top + 35)),
            HTMENU);
  EXPECT_EQ(SendMessageW(single->Handle(), WM_NCHITTEST, 0, MAKELPARAM(r.left + 200, r.top + 15)),
            HTCAPTION);
}

TEST_F(FrameTest, EverySkinnedWindowAnswersTheQuery) {
  ui::TForm* form = MakeForm();
  ui::TForm* dialog = MakeForm(ui::TFormBorderStyle::bsDialog);
  ui::TForm* bare = MakeForm(ui::TFormBorderStyle::bsNone);
  for (ui::TForm* f : {form, dialog, bare}) {
    EXPECT_EQ(SendMessageW(f->Handle(), skin::WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(f->Perform(skin::WM_SKINPROBE, 0, skin::SkinCookie), skin::SkinCookie);
  }
  EXPECT_EQ(Skinner(dialog->Handle())->BorderKind(), TWinSkinForm::kDialogFrame);
}

// A new caption text or icon shows at once, painted by the skin: the title is what a full
// repaint of the frame gives, and not what it was.
TEST_F(FrameTest, TheTitleFollowsANewTextOrIcon) {
  ui::TForm* form = MakeForm();
  const HWND plain =
      PlainWindow({.className = L"VelmoCaptionChange", .bounds = {500, 400, 900, 650}});
  ASSERT_TRUE(WaitSkinned(plain));
  const HICON icon = LoadIconW(nullptr, IDI_ERROR);
  struct Row {
    const char* change;
    std::function<void(HWND)> make;
  };
  const Row rows[] = {
      {"text", [](HWND w) { SetWindowTextW(w, L"转换完成：三个文件"); }},
      {"icon",
       [&](HWND w) { SendMessageW(w, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon)); }},
  };
  for (const HWND window : {form->Handle(), plain}) {
    SCOPED_TRACE(window == plain ? "plain window" : "form");
    SetForegroundWindow(window);
    Pump(50ms);
    const int title = Skinner(window)->TitleHeight();
    auto titleBand = [&] {
      const ui::Bitmap shot = GrabWindow(window);
      ui::Bitmap band(shot.Width(), title);
      for (int y = 0; y < title; ++y)
        for (int x = 0; x < shot.Width(); ++x) band.SetPixel(x, y, shot.Pixel(x, y));
      return band;
    };
    auto same = [](const ui::Bitmap& a, const ui::Bitmap& b) {
      for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
          if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
      return true;
    };
    for (const Row& row : rows) {
      SCOPED_TRACE(row.change);
      const ui::Bitmap before = titleBand();
      row.make(window);
      Pump(50ms);
      const ui::Bitmap after = titleBand();
      RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      Pump(50ms);
      EXPECT_TRUE(same(after, titleBand())) << "as a full repaint draws it";
      EXPECT_FALSE(same(after, before));
    }
  }
  DestroyWindow(plain);
}

// A standard dialog wears the dialog frame, and one whose caption would not fit is widened
// with its controls moved to the middle.
TEST_F(FrameTest, ADialogIsWidenedToItsCaption) {
  const std::wstring caption(40, L'W');
  HWND dialog = CreateWindowExW(0, L"#32770", caption.c_str(), WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                200, 200, 160, 120, nullptr, nullptr, nullptr, nullptr);
  HWND button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 20, 20, 60, 24, dialog,
                                nullptr, nullptr, nullptr);
  ShowWindow(dialog, SW_SHOW);
  SetForegroundWindow(dialog);
  ASSERT_TRUE(WaitSkinned(dialog));
  TWinSkinForm& skinner = *Skinner(dialog);
  EXPECT_TRUE(skinner.IsDialogClass());
  EXPECT_EQ(skinner.BorderKind(), TWinSkinForm::kDialogFrame);
  RECT window{}, moved{};
  GetWindowRect(dialog, &window);
  const int grown =
      window.right - window.left -
      (160 - 2 * GetSystemMetrics(SM_CXFIXEDFRAME) + skinner.BorderLeft() + skinner.BorderRight());
  EXPECT_GT(grown, 100);
  GetWindowRect(button, &moved);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&moved), 2);
  EXPECT_NEAR(moved.left, 20 + grown / 2, 2);
  DestroyWindow(dialog);
}

// A window without a caption is hooked but keeps its size and its own frame.
TEST_F(FrameTest, AWindowWithoutCaptionIsNeverResized) {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBorderStyle(ui::TFormBorderStyle::bsNone);
  form->SetBounds(150, 150, 300, 120);
  RECT before{};
  GetWindowRect(form->Handle(), &before);
  form->Show();
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  RECT after{};
  GetWindowRect(form->Handle(), &after);
  EXPECT_EQ(after.right - after.left, 300);
  EXPECT_EQ(after.bottom - after.top, 120);
  EXPECT_EQ(Skinner(form->Handle())->BorderKind(), TWinSkinForm::kNoCaption);
  ui::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(form->Handle(), region.get()), ERROR);
}

// Skins whose frame records lack their images: the standard frame, nothing clipped.
class NoFrameImagesTest : public FrameTest, public ::testing::WithParamInterface<int> {
 protected:
  std::vector<std::uint8_t> Stream() override {
    SkinVariant variant;
    switch (GetParam()) {
      case 0:  // no frame keys at all
        variant.ini["Personality"] = {"Left=", "Right=", "Top=", "Bottom="};
        break;
      case 1:  // only the title missing
        variant.ini["Personality"] = {"Top="};
        break;
      default:  // frames naming files the skin does not hold
        variant.ini["Personality"] = {"Left=none.bmp", "Right=none.bmp", "Top=none.bmp",
                                      "Bottom=none.bmp"};
        break;
    }
    return SkinStream(variant);
  }
};

TEST_P(NoFrameImagesTest, GiveTheStandardFrame) {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBounds(150, 150, 400, 300);
  form->SetCaption(L"Standard");
  RECT windowBefore{}, clientBefore{};
  GetWindowRect(form->Handle(), &windowBefore);
  GetClientRect(form->Handle(), &clientBefore);
  form->Show();
  ASSERT_TRUE(WaitSkinned(form->Handle()));
  TWinSkinForm* skinner = Skinner(form->Handle());
  EXPECT_FALSE(skinner->SkinnedFrame());
  Pump(100ms);
  RECT windowAfter{}, clientAfter{};
  GetWindowRect(form->Handle(), &windowAfter);
  GetClientRect(form->Handle(), &clientAfter);
  EXPECT_EQ(windowAfter.right - windowAfter.left, windowBefore.right - windowBefore.left);
  EXPECT_EQ(windowAfter.bottom - windowAfter.top, windowBefore.bottom - windowBefore.top);
  EXPECT_EQ(clientAfter.bottom, clientBefore.bottom);
  EXPECT_EQ(SendMessageW(form->Handle(), skin::WM_SKINQUERY, 0, 0), 1);
  // Painted, activated and deactivated, resized: the standard frame throughout.
  MakeForm(ui::TFormBorderStyle::bsSizeable, false);
  SetForegroundWindow(form->Handle());
  form->SetBounds(160, 160, 420, 320);
  Pump(100ms);
  RECT client{};
  GetClientRect(form->Handle(), &client);
  EXPECT_GT(client.bottom, 0);
  forms.push_back(std::move(form));
}

INSTANTIATE_TEST_SUITE_P(Skins, NoFrameImagesTest, ::testing::Values(0, 1, 2));

// What reaches a plain window's own procedure: the messages a skinner must pass on.
struct Seen {
  HWND window;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
std::vector<Seen> seen;
// Themed Windows's own redraws of the caption and the frame.
constexpr UINT kThemedCaptionRedraw = 0x00AE, kThemedFrameRedraw = 0x00AF;
int ThemedRedrawsSeen(HWND window) {
  seen.clear();
  SendMessageW(window, kThemedCaptionRedraw, 0, 0);
  SendMessageW(window, kThemedFrameRedraw, 0, 0);
  return static_cast<int>(std::count_if(seen.begin(), seen.end(), [&](const Seen& s) {
    return s.window == window && (s.msg == kThemedCaptionRedraw || s.msg == kThemedFrameRedraw);
  }));
}
LRESULT CALLBACK RecordingProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCACTIVATE || msg == WM_SYSCOMMAND || msg == kThemedCaptionRedraw ||
      msg == kThemedFrameRedraw)
    seen.push_back({window, msg, wParam, lParam});
  // The keys' menu loops are not run: that the keys arrive is what counts.
  if (msg == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_KEYMENU) return 0;
  return DefWindowProcW(window, msg, wParam, lParam);
}

// A skin without a title image: the window keeps the system's frame, caption buttons, icon and
// menu bar, looks like an unskinned twin active and inactive, and its keys reach the system.
class StandardFrameTest : public FrameTest {
 protected:
  std::vector<std::uint8_t> Stream() override {
    SkinVariant variant;
    variant.ini["Personality"] = {"Top="};
    return SkinStream(variant);
  }
  HWND Window(const wchar_t* className, int left) {
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"文件(&F)");
    AppendMenuW(bar, MF_STRING, 201, L"帮助(&H)");
    const HWND window = PlainWindow({.className = className,
                                     .bounds = {left, 100, left + 360, 300},
                                     .procedure = RecordingProc,
                                     .show = false});
    SetMenu(window, bar);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    return window;
  }
  // The frame's pixels, the client area blanked.
  static ui::Bitmap Frame(HWND window) {
    ui::Bitmap shot = GrabWindow(window);
    RECT client{}, outer{};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    GetWindowRect(window, &outer);
    OffsetRect(&client, -outer.left, -outer.top);
    ui::Bitmap::Canvas canvas(shot);
    FillRect(canvas.dc(), &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return shot;
  }
  static int Differences(const ui::Bitmap& a, const ui::Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) return -1;
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
      for (int x = 0; x < a.Width(); ++x) n += a.Pixel(x, y) != b.Pixel(x, y);
    return n;
  }
};

TEST_F(StandardFrameTest, TheWindowLooksAndWorksLikeAnUnskinnedOne) {
  manager->SetEnabled(false);
  const HWND twin = Window(L"VelmoUnskinnedTwin", 420);
  manager->SetEnabled(true);
  const HWND window = Window(L"VelmoStandardFrame", 20);
  ASSERT_TRUE(WaitSkinned(window));
  ASSERT_FALSE(Skinner(twin));
  EXPECT_FALSE(Skinner(window)->SkinnedFrame());
  Pump(100ms);
  EXPECT_NE(GetMenu(window), nullptr) << "the system draws the menu bar";
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU);

  // The twin is made to look active, then inactive, as the skinned window really is.
  seen.clear();
  SendMessageW(twin, WM_NCACTIVATE, TRUE, 0);
  const ui::Bitmap active = Frame(window);
  EXPECT_EQ(Differences(active, Frame(twin)), 0) << "active";
  manager->SetEnabled(false);
  SetForegroundWindow(twin);
  manager->SetEnabled(true);
  Pump(100ms);
  SendMessageW(twin, WM_NCACTIVATE, FALSE, 0);
  const ui::Bitmap inactive = Frame(window);
  EXPECT_EQ(Differences(inactive, Frame(twin)), 0) << "inactive";
  EXPECT_GT(Differences(active, inactive), 100) << "the title shows the change";
  EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [&](const Seen& s) {
    return s.window == window && s.msg == WM_NCACTIVATE && s.wParam == FALSE;
  })) << "the deactivation reached the window's procedure";

  // Alt or F10, Alt+Space and Alt with a letter are the system's to handle.
  for (const LPARAM key : {LPARAM{0}, LPARAM{' '}, LPARAM{'f'}}) {
    SCOPED_TRACE(key);
    seen.clear();
    SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, key);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].lParam, key);
  }
  EXPECT_EQ(ThemedRedrawsSeen(window), 2) << "the standard frame redraws itself";
  DestroyWindow(window);
  DestroyWindow(twin);
}

// A skinned frame keeps them from the system, which would draw its caption over ours.
TEST_F(FrameTest, ThemedRedrawsAreKeptFromASkinnedFrame) {
  const HWND window = PlainWindow({.className = L"VelmoThemedRedraw",
                                   .bounds = {100, 100, 460, 300},
                                   .procedure = RecordingProc});
  ASSERT_TRUE(WaitSkinned(window));
  EXPECT_EQ(ThemedRedrawsSeen(window), 0);
  DestroyWindow(window);
}

// Swapping between a skin with a title image and one without, back and forth: the menu bar
// moves between the frame and the system, the window keeps its client area, and the region
// and the system-menu bit follow the frame.
TEST_F(StandardFrameTest, SwapsBetweenFrameKindsKeepTheClientAreaAndTheMenu) {
  int refreshed = 0;
  data->OnAfterSkinForm = [&](TSkinData&, HWND, const std::wstring&) { ++refreshed; };
  const std::filesystem::path folder = std::filesystem::temp_directory_path();
  auto swapTo = [&](const std::vector<std::uint8_t>& stream, const char* name) {
    const std::filesystem::path file = folder / name;
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(stream.data() + 4),
               static_cast<std::streamsize>(stream.size() - 4));
    const int before = refreshed;
    data->SetSkinFile(file.wstring());
    EXPECT_TRUE(PumpUntil([&] { return refreshed > before; }, 2s));
    Pump(50ms);
    std::filesystem::remove(file);
  };
  ui::TForm* form = NewForm(L"Form");
  auto* mainMenu = new ui::TMainMenu(form);
  auto* item = new ui::TMenuItem(form);
  item->SetCaption(L"文件(&F)");
  mainMenu->Items().Add(item);
  form->SetMenu(mainMenu);
  form->Show();
  const HWND windows[] = {Window(L"VelmoSwappedFrame", 20), form->Handle()};
  for (const HWND window : windows) {
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitSkinned(window));
  }
  const HMENU menus[] = {GetMenu(windows[0]), GetMenu(windows[1])};
  RECT clients[2]{};
  for (int i = 0; i < 2; ++i) {
    GetClientRect(windows[i], &clients[i]);
    ASSERT_NE(menus[i], nullptr);
  }
  for (const bool titled : {true, false, true, false}) {
    SCOPED_TRACE(titled ? "our skin" : "no title image");
    swapTo(titled ? SkinStream() : Stream(), titled ? "velmo-titled.skin" : "velmo-untitled.skin");
    for (int i = 0; i < 2; ++i) {
      SCOPED_TRACE(i == 0 ? "plain window" : "form");
      const HWND window = windows[i];
      TWinSkinForm& skinner = *Skinner(window);
      ASSERT_EQ(skinner.SkinnedFrame(), titled);
      EXPECT_EQ(GetMenu(window), titled ? nullptr : menus[i]);
      EXPECT_EQ(skinner.SkinMenu() != nullptr, titled);
      RECT client{};
      GetClientRect(window, &client);
      EXPECT_EQ(client.right, clients[i].right);
      EXPECT_EQ(client.bottom, clients[i].bottom);
      ui::GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
      EXPECT_EQ(GetWindowRgn(window, region.get()) != ERROR, titled);
      if (!titled) EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU);
    }
  }
  DestroyWindow(windows[0]);
}

}  // namespace
