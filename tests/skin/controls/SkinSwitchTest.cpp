// Switching the skin file at run time among our skin, the second skin and variants that lack
// an image, a hundred times, with the program's windows in each state a user can leave them
// in: nothing crashes, no GDI or USER object is left behind or freed, and once a swap's
// refresh has run the frame, a push button, a scroll bar and the open menus show the new skin.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinPackageWriter.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "tests/shell/GuiObjects.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "tests/skin/controls/SkinVariant.h"
#include "tests/skin/controls/SkinnedMainForm.h"
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

BOOL CALLBACK CollectClass(HWND window, LPARAM found) {
  auto& [name, windows] = *reinterpret_cast<std::pair<std::wstring, std::vector<HWND>>*>(found);
  wchar_t own[16]{};
  GetClassNameW(window, own, 16);
  if (own == name && IsWindowVisible(window)) windows.push_back(window);
  return TRUE;
}
// The visible top-level windows of this thread of a class: message boxes, open menus.
std::vector<HWND> ShownWindows(const wchar_t* className) {
  std::pair<std::wstring, std::vector<HWND>> found{className, {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectClass, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

// Live USER objects. Wine answers 0 to the system's count; there it is the windows of this
// thread and the menus of the process (every user handle that is a menu).
int UserObjects() {
  if (GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return gui_objects::UserObjects();
  int menus = 0;
  for (UINT_PTR handle = 0x20; handle < 0x10000; handle += 2)
    menus += IsMenu(reinterpret_cast<HMENU>(handle)) != 0;
  return gui_objects::UserObjects() + menus;
}

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
    // Each swap changes the skin, and each can be told from the one before it where the
    // looks sample: the second skin comes between ours and each variant, and ours follows the
    // variant without scroll bar images. The order has an odd length, so that the looks (every
    // other swap) come to each file in turn.
    for (const char* name :
         {"ember", "no-title", "ember", "no-menuitem", "ember", "no-scrollbar", "ours"})
      files.push_back(std::string(name) == "ember" ? fs::path(VELMO_EMBER_SKIN)
                                                   : folder / (std::string(name) + ".skin"));
    // What each file should show, read by the test rather than taken from the engine after
    // the swap.
    for (const fs::path& file : files) {
      if (expected.count(file)) continue;
      auto data = std::make_unique<TSkinData>(nullptr);
      data->ReadSkinStream(FrameStoredSkin(ReadFile(file)));
      ASSERT_TRUE(data->SkinParsed()) << file;
      expected[file] = std::move(data);
    }
  }
  static void TearDownTestSuite() {
    expected.clear();
    files.clear();
    fs::remove_all(folder);
  }

  void SetUp() override {
    ASSERT_EQ(expected.size(), 5u);
    order = files;
    main = MakeSkinnedMainForm();
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
    EndSkinnedMainForm(main);
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

  // The windows a look samples.
  struct Looked {
    HWND frame = nullptr, button = nullptr, list = nullptr;
    bool menus = false;  // the open menus too
  };

  // The sampled windows show the skin file's images: the frame, a push button, the scroll bar
  // (unless no list is given) and the open menus' background and items.
  void ExpectSkin(const Looked& looked, const fs::path& file) {
    SCOPED_TRACE(file.filename().string());
    const SkinRecords& r = expected.at(file)->Records();
    if (!r.FrameTop->Bitmap.Empty() && !r.FrameBottom->Bitmap.Empty()) {
      EXPECT_TRUE(ShowsFrameBottom(looked.frame, r.FrameBottom->Bitmap)) << "frame";
    }
    RECT b{};
    GetWindowRect(looked.button, &b);
    EXPECT_TRUE(ShowsOneOf({b.left, b.top}, r.Buttons->Bitmap, 5, {1, 2, 3, 4, 5}, {5, 5}))
        << "button";
    if (looked.list && r.Scrollbar && !r.Scrollbar->Bitmap.Empty()) {
      const HWND overlay = VerticalOverlay(looked.list);
      ASSERT_NE(overlay, nullptr);
      RECT s{};
      GetWindowRect(overlay, &s);
      // The up arrow at the top of the vertical bar (frames 9 to 12), its first row aside:
      // the list's header, which reaches under the bar, may paint that one.
      EXPECT_TRUE(
          ShowsOneOf({s.right - 17, s.top}, r.Scrollbar->Bitmap, 23, {9, 10, 11, 12}, {17, 17}, 1))
          << "scroll bar";
    }
    if (!looked.menus) return;
    const std::vector<HWND> menus = ShownWindows(L"#32768");
    ASSERT_FALSE(menus.empty()) << "no menu open";
    const COLORREF text = skin::ResolveColour(r.Colours.MenuText);
    for (HWND menu : menus) {
      RECT m{};
      GetWindowRect(menu, &m);
      // The background's corner, as the image has it (its margins are not stretched).
      EXPECT_TRUE(ShowsOneOf({m.left, m.top}, r.MenuBackground->Bitmap, 1, {1}, {3, 3}))
          << "menu background";
      // The items' captions in the skin's menu text colour (the other skin's and the system's
      // differ in each pixel; the bar's menu has one unselected item of two characters, whose
      // strokes show the colour itself in a few pixels only).
      const ui::Bitmap shown = Screen(m);
      int inked = 0;
      for (int y = 0; y < shown.Height(); ++y)
        for (int x = 0; x < shown.Width(); ++x) inked += shown.Pixel(x, y) == text;
      EXPECT_GT(inked, 0) << "menu items";
    }
  }

  // kSwaps swaps; every other one is followed by the next at once with a paint of everything
  // between (between the new records and the refresh), the rest wait for the refresh and look.
  void Swaps(const Looked& looked) {
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
      ExpectSkin(looked, file);
    };
    // Two rounds first, swaps of both kinds: what is kept once made (caches, fonts) is made.
    for (size_t i = 0; i < 2 * order.size(); ++i) swap(next % 2 == 1);
    const int gdi = gui_objects::GdiObjects(), user = UserObjects();
    ASSERT_GT(gdi, 0) << "the GDI count cannot be read";
    ASSERT_GT(user, 0) << "the USER count cannot be read";
    for (int i = 0; i < kSwaps && !HasFatalFailure(); ++i) swap(next % 2 == 1);
    // On to the state the count was taken in: the same skin, reached by the same kind of swap
    // (what a swap keeps depends on the skin before it and on whether the refresh ran).
    while (next % (2 * order.size()) != 0 && !HasFatalFailure()) swap(next % 2 == 1);
    // A leak grows with the swaps; a fall means the engine freed what it does not own.
    EXPECT_EQ(gui_objects::GdiObjects(), gdi);
    EXPECT_EQ(UserObjects(), user);
  }

  static inline fs::path folder;
  static inline std::vector<fs::path> files;
  static inline std::map<fs::path, std::unique_ptr<TSkinData>> expected;
  std::unique_ptr<TTntForm1> main;
  std::unique_ptr<ui::TForm> gallery;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
  std::vector<fs::path> order;  // the files in the order this test swaps them
  int refreshed = 0;
  size_t next = 0;
};

HWND MainButton(TTntForm1& main) {
  return static_cast<ui::TWinControl*>(main.FindComponent(L"TntButton1"))->Handle();
}

TEST_F(SkinSwitchTest, TheControlGalleryShown) {
  ShowGallery();
  Swaps({gallery->Handle(), Button(*gallery), List(*gallery)});
}

TEST_F(SkinSwitchTest, TheMainWindowWithALongList) {
  Swaps({main->Handle(), MainButton(*main), main->TntListView1->Handle()});
}

// The states a modal loop holds: the swaps run inside it, and it is ended whatever they found.
struct ModalState {
  const char* name;
  enum Kind { kMessageBox, kPopupMenu, kBarMenu } kind;
};
void PrintTo(const ModalState& state, std::ostream* out) { *out << state.name; }

class SkinSwitchInsideModalTest : public SkinSwitchTest,
                                  public ::testing::WithParamInterface<ModalState> {};

TEST_P(SkinSwitchInsideModalTest, SwapsInside) {
  const ModalState::Kind kind = GetParam().kind;
  if (kind == ModalState::kBarMenu) {
    ShowGallery();
    // A skin without a title image takes the skinned bar away, and the bar's menu is ended
    // with it; the menu's loop would close it, but the swaps here run inside that loop and
    // keep it open, given back to the system. This state swaps among the skins that keep the
    // bar: the variant without a title goes, with the second skin before it (the order
    // stays odd, and each swap still changes the skin).
    const auto noTitle = std::find(order.begin(), order.end(), folder / "no-title.skin");
    ASSERT_NE(noTitle, order.begin());
    order.erase(noTitle - 1, noTitle + 1);
  }
  ASSERT_FALSE(HasFatalFailure());
  bool ran = false;
  InsideModal inside([&] {
    ran = true;
    [&] {
      if (kind == ModalState::kMessageBox) {
        const std::vector<HWND> boxes = ShownWindows(L"#32770");
        ASSERT_EQ(boxes.size(), 1u);
        ASSERT_TRUE(Skinned(boxes[0]));
        Swaps({boxes[0], GetDlgItem(boxes[0], IDOK), main->TntListView1->Handle()});
      } else if (kind == ModalState::kPopupMenu) {
        Swaps({main->Handle(), MainButton(*main), main->TntListView1->Handle(), true});
      } else {
        Swaps({gallery->Handle(), Button(*gallery), List(*gallery), true});
      }
    }();
    // Ended even when a check above gave up, so that a failure does not wait for the time-out.
    for (HWND box : ShownWindows(L"#32770")) PostMessageW(box, WM_COMMAND, IDOK, 0);
    EndMenu();
  });
  if (kind == ModalState::kMessageBox) {
    MessageBoxW(main->Handle(), L"转换完成。", L"Velmo", MB_OK);
  } else if (kind == ModalState::kPopupMenu) {
    // Below the main window, so that it hides none of the pixels looked at.
    SetForegroundWindow(main->Handle());
    main->TntPopupMenu1->Popup(20, main->Height() + 20, main->Handle());
  } else {
    // The bar's first menu dropped.
    SendMessageW(gallery->Handle(), WM_SYSCOMMAND, SC_KEYMENU, 'f');
  }
  EXPECT_TRUE(ran);
}

INSTANTIATE_TEST_SUITE_P(States, SkinSwitchInsideModalTest,
                         ::testing::Values(ModalState{"AMessageBoxOpen", ModalState::kMessageBox},
                                           ModalState{"APopupMenuOpen", ModalState::kPopupMenu},
                                           ModalState{"ABarMenuOpen", ModalState::kBarMenu}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
