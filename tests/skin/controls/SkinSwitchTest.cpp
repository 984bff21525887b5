// Switching the skin file at run time among our skin, the second skin and variants that lack
// an image, a hundred times, with the program's windows in each state a user can leave them
// in: nothing crashes, no GDI or USER object is left behind, and once a swap's refresh has run
// the frame, a push button and a scroll bar show the new skin.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinPackageWriter.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "tests/shell/GuiObjects.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "tests/skin/controls/SkinVariant.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Menus.h"

namespace {

using namespace controltest;
namespace fs = std::filesystem;

constexpr int kSwaps = 100;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// A skin file of our images with this INI text.
void WriteSkinFile(const fs::path& path, const std::string& ini) {
  const std::vector<std::uint8_t> stored = StoredSkinWithIni(ini);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(stored.data()),
             static_cast<std::streamsize>(stored.size()));
}

// The screen's pixels of a rectangle (screen coordinates).
ui::Bitmap Screen(RECT r) {
  ui::Bitmap picture(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  {
    ui::Bitmap::Canvas canvas(picture);
    BitBlt(canvas.dc(), 0, 0, picture.Width(), picture.Height(), screen, r.left, r.top, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  return picture;
}

// The screen at `at` shows frame k of the strip at its own size (key pixels aside), for one
// of the frames given; `size` limits the compared part, less `inset` pixels all round.
bool ShowsOneOf(POINT at, const ui::Bitmap& strip, int frames, std::vector<int> which, SIZE size,
                int inset = 0) {
  const int w = strip.Width() / frames;
  size.cx = std::min<LONG>(size.cx, w);
  size.cy = std::min<LONG>(size.cy, strip.Height());
  const ui::Bitmap shown = Screen({at.x, at.y, at.x + size.cx, at.y + size.cy});
  for (int k : which) {
    bool same = true;
    for (int y = inset; same && y < size.cy - inset; ++y)
      for (int x = inset; same && x < size.cx - inset; ++x) {
        const COLORREF c = strip.Pixel((k - 1) * w + x, y);
        same = c == RGB(255, 0, 255) || shown.Pixel(x, y) == c;
      }
    if (same) return true;
  }
  return false;
}

BOOL CALLBACK RedrawOne(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}
// Everything of this thread painted now: between a swap's new records and its refresh.
void RedrawAll() { EnumThreadWindows(GetCurrentThreadId(), RedrawOne, 0); }

BOOL CALLBACK FindBox(HWND window, LPARAM found) {
  wchar_t name[16]{};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}
HWND MessageBoxWindow() {
  HWND box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

// Runs a body once from a timer, which also fires inside a modal loop (a message box, a menu).
struct InsideModal {
  static inline std::function<void()> body;
  static inline bool running = false;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    if (running || !body) return;
    running = true;
    KillTimer(nullptr, timer);
    auto run = std::move(body);
    body = nullptr;
    run();
    running = false;
  }
  explicit InsideModal(std::function<void()> b) {
    body = std::move(b);
    SetTimer(nullptr, 0, 100, Tick);
  }
};

class SkinSwitchTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = fs::temp_directory_path() / "velmo-skin-switch";
    fs::create_directories(folder);
    const std::vector<std::uint8_t> framed = ReadFile(VELMO_SKIN_STREAM);
    std::ofstream(folder / "ours.skin", std::ios::binary)
        .write(reinterpret_cast<const char*>(framed.data()) + 4,
               static_cast<std::streamsize>(framed.size() - 4));
    WriteSkinFile(folder / "no-title.skin", SetKey(OurIni(), "Personality", "Top", ""));
    WriteSkinFile(folder / "no-menuitem.skin", DropSection(OurIni(), "MenuItem"));
    WriteSkinFile(folder / "no-scrollbar.skin", DropSection(OurIni(), "Scrollbar"));
    // Each swap changes the skin; the second skin comes between each variant and ours.
    for (const char* name :
         {"ember", "ours", "no-title", "ember", "no-menuitem", "ours", "no-scrollbar"})
      order.push_back(std::string(name) == "ember" ? fs::path(VELMO_EMBER_SKIN)
                                                   : folder / (std::string(name) + ".skin"));
  }
  static void TearDownTestSuite() { fs::remove_all(folder); }

  void SetUp() override {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    TSkinManage::Register();
    skin::RegisterSkinControls();
    main = std::make_unique<TTntForm1>(nullptr);
    data = dynamic_cast<TSkinData*>(main->FindComponent(L"SkinData1"));
    ASSERT_NE(data, nullptr);
    std::vector<std::wstring> lines = data->Skin3rd();
    lines.push_back(L"TTrackBar=trackbar");
    lines.push_back(L"TDateTimePicker=datetimepicker");
    data->SetSkin3rd(lines);
    data->OnAfterSkinForm = [this](TSkinData&, HWND, const std::wstring&) { ++refreshed; };
    manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    for (int i = 0; i < 300; ++i) main->TntListView1->AddItem(L"视频 " + std::to_wstring(i));
    main->SetBounds(0, 0, main->Width(), main->Height());
    main->Show();
    SetForegroundWindow(main->Handle());
    ASSERT_TRUE(Skinned(main->TntListView1->Handle()));
  }
  void TearDown() override {
    gallery.reset();
    main.reset();
    skin::DestroySkinManager();
    skin::SetSkinManagerFactory(nullptr);
  }

  static bool Skinned(HWND window) {
    return PumpUntil([&] { return SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1; }, 5s);
  }

  // The board of controls with a menu bar, shown over the main window and skinned.
  void ShowGallery() {
    gallery = std::make_unique<ui::TForm>(nullptr);
    gallery->SetCaption(L"控件");
    gallery->SetBounds(0, 0, kGalleryWidth + 40, kGalleryHeight + 60);
    // The main window out of its way, partly off the screen: the pixels looked at are the
    // gallery's, and a refresh may bring the main window to the front.
    main->SetBounds(kGalleryWidth + 60, kGalleryHeight + 80, main->Width(), main->Height());
    gallery->Show();
    Pump();
    BuildGallery(*gallery);
    AddGalleryMenu(*gallery);
    // The controls came after the first activation: skinning everything again takes them.
    for (bool on : {false, true}) {
      data->SetActive(on);
      manager->RunCommand();
      Pump();
    }
    SetForegroundWindow(gallery->Handle());
    ASSERT_TRUE(Skinned(gallery->Handle()));
    ASSERT_TRUE(Skinned(List(*gallery)));
  }

  static HWND List(ui::TForm& form) {
    for (ui::TComponent* c : form.Components())
      if (auto* list = dynamic_cast<ui::TCustomListView*>(c)) return list->Handle();
    return nullptr;
  }
  static HWND Button(ui::TForm& form) {
    for (ui::TComponent* c : form.Components())
      if (c->ClassName() == L"TButton" || c->ClassName() == L"TTntButton")
        return static_cast<ui::TWinControl*>(c)->Handle();
    return nullptr;
  }

  // The overlay on the list's vertical bar (its parent may hold others: the gallery's).
  HWND VerticalOverlay(HWND list) const {
    TWinSkinForm* skinner = manager->FindFormSkinner(GetAncestor(list, GA_ROOT));
    if (!skinner) return nullptr;
    for (TControlWrapper* wrapper : skinner->Controls())
      if (auto* bars = dynamic_cast<TSkinScrollbar*>(wrapper);
          bars && bars->WindowHandle() == list && bars->VerticalBar())
        return bars->VerticalBar()->Handle();
    return nullptr;
  }

  // Frame, push button and scroll bar (unless no list is given) of the windows given show the
  // skin now loaded.
  void ExpectNewSkin(HWND frame, HWND button, HWND list, const std::string& skin) {
    SCOPED_TRACE(skin);
    const SkinRecords& r = data->Records();
    RECT w{};
    GetWindowRect(frame, &w);
    const ui::Bitmap& bottom = r.FrameBottom->Bitmap;
    if (!r.FrameTop->Bitmap.Empty() && !bottom.Empty()) {
      // The bottom edge, stretched: one column of the active or inactive frame.
      const int h = bottom.Height() / 2, mid = bottom.Width() / 2;
      const ui::Bitmap shown =
          Screen({(w.left + w.right) / 2, w.bottom - h, (w.left + w.right) / 2 + 1, w.bottom});
      bool same[2] = {true, true};
      for (int f = 0; f < 2; ++f)
        for (int y = 0; y < h; ++y)
          same[f] = same[f] && shown.Pixel(0, y) == bottom.Pixel(mid, f * h + y);
      EXPECT_TRUE(same[0] || same[1]) << "frame";
    }
    RECT b{};
    GetWindowRect(button, &b);
    EXPECT_TRUE(ShowsOneOf({b.left, b.top}, r.Buttons->Bitmap, 5, {1, 2, 3, 4, 5}, {5, 5}))
        << "button";
    if (list && r.Scrollbar && !r.Scrollbar->Bitmap.Empty()) {
      const HWND overlay = VerticalOverlay(list);
      ASSERT_NE(overlay, nullptr);
      RECT s{};
      GetWindowRect(overlay, &s);
      // The up arrow at the top of the vertical bar (frames 9 to 12), its first row aside:
      // the list's header, which reaches under the bar, may paint that one.
      EXPECT_TRUE(
          ShowsOneOf({s.right - 17, s.top}, r.Scrollbar->Bitmap, 23, {9, 10, 11, 12}, {17, 17}, 1))
          << "scroll bar";
    }
  }

  // kSwaps swaps; every other one is followed by the next at once with a paint of everything
  // between (between the new records and the refresh), the rest wait for the refresh and look.
  void Swaps(HWND frame, HWND button, HWND list) {
    auto swap = [&](bool look) {
      const fs::path& file = order[next++ % order.size()];
      const int before = refreshed;
      data->SetSkinFile(file.wstring());
      ASSERT_TRUE(data->SkinParsed()) << file;
      if (!look) {
        RedrawAll();
        return;
      }
      ASSERT_TRUE(PumpUntil([&] { return refreshed > before; }, 5s)) << file;
      RedrawAll();
      Pump();
      ExpectNewSkin(frame, button, list, file.filename().string());
    };
    // Two rounds first, swaps of both kinds: what is kept once made (caches, fonts) is made.
    for (size_t i = 0; i < 2 * order.size(); ++i) swap(next % 2 == 1);
    const int gdi = gui_objects::GdiObjects(), user = gui_objects::UserObjects();
    for (int i = 0; i < kSwaps && !HasFatalFailure(); ++i) swap(next % 2 == 1);
    // On to the state the count was taken in: the same skin, reached by the same kind of swap
    // (what a swap keeps depends on the skin before it and on whether the refresh ran).
    while (next % (2 * order.size()) != 0 && !HasFatalFailure()) swap(next % 2 == 1);
    // A leak grows with the swaps. With the gallery shown, one object appears once, some 70
    // swaps in, and stays through every later round (the count is otherwise the same at each
    // point of the round): made once, not per swap, so one is let pass.
    EXPECT_LE(gui_objects::GdiObjects(), gdi + 1);
    EXPECT_EQ(gui_objects::UserObjects(), user);
  }

  static inline fs::path folder;
  static inline std::vector<fs::path> order;
  std::unique_ptr<TTntForm1> main;
  std::unique_ptr<ui::TForm> gallery;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
  int refreshed = 0;
  size_t next = 0;
};

HWND MainButton(TTntForm1& main) {
  return static_cast<ui::TWinControl*>(main.FindComponent(L"TntButton1"))->Handle();
}

TEST_F(SkinSwitchTest, TheControlGalleryShown) {
  ShowGallery();
  Swaps(gallery->Handle(), Button(*gallery), List(*gallery));
}

TEST_F(SkinSwitchTest, TheMainWindowWithALongList) {
  Swaps(main->Handle(), MainButton(*main), main->TntListView1->Handle());
}

TEST_F(SkinSwitchTest, AMessageBoxOpen) {
  bool ran = false;
  InsideModal inside([&] {
    HWND box = MessageBoxWindow();
    ASSERT_NE(box, nullptr);
    ASSERT_TRUE(Skinned(box));
    Swaps(box, GetDlgItem(box, IDOK), main->TntListView1->Handle());
    ran = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(main->Handle(), L"转换完成。", L"Velmo", MB_OK);
  EXPECT_TRUE(ran);
}

TEST_F(SkinSwitchTest, APopupMenuOpen) {
  bool ran = false;
  InsideModal inside([&] {
    Swaps(main->Handle(), MainButton(*main), main->TntListView1->Handle());
    ran = true;
    EndMenu();
  });
  // Below the main window, so that it hides none of the pixels looked at.
  SetForegroundWindow(main->Handle());
  main->TntPopupMenu1->Popup(20, main->Height() + 20, main->Handle());
  EXPECT_TRUE(ran);
}

TEST_F(SkinSwitchTest, ABarMenuOpen) {
  ShowGallery();
  bool ran = false;
  InsideModal inside([&] {
    Swaps(gallery->Handle(), Button(*gallery), nullptr);
    ran = true;
    EndMenu();
  });
  SendMessageW(gallery->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 0);
  EXPECT_TRUE(ran);
}

}  // namespace
