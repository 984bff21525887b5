// With every GDI handle of the process taken, the skinned windows go on: each paint the skin
// cannot compose (no bitmap to be had) is left plain or as it was (a combo box, whose wrapper
// hands such a paint to the box, shows what an unskinned twin shows), no paint leaves its
// window to be painted again or a device context taken, nothing the engine raises leaves a
// window procedure, and once handles are free again the skin comes back with no object more
// or less than before.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSysButton.h"
#include "tests/shell/GuiObjects.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "tests/skin/controls/SkinnedMainForm.h"
#include "ui/Application.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;
using namespace std::chrono_literals;

// Takes every free GDI handle (again, after painting gave some back).
class GdiHog {
 public:
  void TakeAll() {
    while (held_.size() < 1000000) {
      HRGN region = CreateRectRgn(0, 0, 1, 1);
      if (!region) break;
      held_.push_back(region);
    }
  }
  // Lets a few go, for the system calls a check makes.
  void GiveBack(size_t count) {
    for (; count && !held_.empty(); --count) {
      DeleteObject(held_.back());
      held_.pop_back();
    }
  }
  size_t Held() const { return held_.size(); }
  ~GdiHog() {
    for (HRGN region : held_) DeleteObject(region);
  }

 private:
  std::vector<HRGN> held_;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM found) {
  reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  EnumChildWindows(window, CollectWindow, found);
  return TRUE;
}

// The class names of this thread's windows that still wait to be painted.
std::string LeftToPaint() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
  std::string left;
  for (HWND window : windows) {
    if (!GetUpdateRect(window, nullptr, FALSE)) continue;
    char name[64]{};
    GetClassNameA(window, name, sizeof name);
    left += std::string(left.empty() ? "" : ", ") + name;
  }
  return left;
}

// A window's pixels as the screen shows them, read through a screen DC and a bitmap made
// beforehand: reading takes no handle once the handles are gone.
class ScreenReader {
 public:
  explicit ScreenReader(SIZE size) : picture_(size.cx, size.cy), canvas_(picture_) {
    screen_ = GetDC(nullptr);
  }
  ~ScreenReader() { ReleaseDC(nullptr, screen_); }
  std::vector<COLORREF> Read(HWND window) {
    RECT w{};
    GetWindowRect(window, &w);
    BitBlt(canvas_.dc(), 0, 0, picture_.Width(), picture_.Height(), screen_, w.left, w.top,
           SRCCOPY);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < picture_.Height(); ++y)
      for (int x = 0; x < picture_.Width(); ++x) pixels.push_back(picture_.Pixel(x, y));
    return pixels;
  }

 private:
  ui::Bitmap picture_;
  ui::Bitmap::Canvas canvas_;
  HDC screen_ = nullptr;
};

int Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
  int differ = 0;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) differ += a[i] != b[i];
  return differ;
}

TEST(GdiExhaustionTest, SkinnedWindowsPaintPlainlyAndRecover) {
  auto main = MakeSkinnedMainForm();
  auto* data = dynamic_cast<TSkinData*>(main->FindComponent(L"SkinData1"));
  ASSERT_NE(data, nullptr);
  for (int i = 0; i < 100; ++i) main->TntListView1->AddItem(L"视频 " + std::to_wstring(i));
  main->SetBounds(kGalleryWidth + 60, 0, main->Width(), main->Height());
  main->Show();

  // The board of controls with a bar menu whose items are drawn from the skin.
  auto gallery = std::make_unique<ui::TForm>(nullptr);
  gallery->SetCaption(L"控件");
  gallery->SetBounds(0, 0, kGalleryWidth + 40, kGalleryHeight + 60);
  gallery->Show();
  Pump();
  BuildGallery(*gallery);
  AddGalleryMenu(*gallery);
  // The board's first combo box, and a twin of it that the skin leaves alone.
  ui::TComboBox* combo = nullptr;
  for (ui::TComponent* c : gallery->Components())
    if (!combo) combo = dynamic_cast<ui::TComboBox*>(c);
  ASSERT_NE(combo, nullptr);
  auto* twin = new ui::TComboBox(gallery.get());
  twin->SetParent(gallery.get());
  twin->SetTag(data->DisableTag());
  twin->SetBounds(combo->Left(), 390, combo->Width(), combo->Height());
  twin->SetStyle(combo->Style());
  twin->SetItems(combo->Items());
  twin->SetItemIndex(combo->ItemIndex());
  Pump();  // made again in its style
  for (bool on : {false, true}) {
    data->SetActive(on);
    TSkinManage::Instance()->RunCommand();
    Pump();
  }
  const HWND window = gallery->Handle();
  SetForegroundWindow(window);
  ASSERT_TRUE(PumpUntil([&] { return SendMessageW(window, skin::WM_SKINQUERY, 0, 0) == 1; }, 5s));
  TWinSkinForm* skinner = TSkinManage::Instance()->FindFormSkinner(window);
  ASSERT_NE(skinner, nullptr);
  ASSERT_TRUE(
      PumpUntil([&] { return SendMessageW(combo->Handle(), skin::WM_SKINQUERY, 0, 0) == 1; }, 5s));
  ASSERT_NE(SendMessageW(twin->Handle(), skin::WM_SKINQUERY, 0, 0), 1);
  // The twin in the colour the skin gave the box: the plain paints of the two are then alike.
  twin->SetColor(combo->Color());
  PumpFor(100ms);
  ScreenReader reader({combo->Width(), combo->Height()});
  const std::vector<COLORREF> plain = reader.Read(twin->Handle());
  ASSERT_GT(Differences(reader.Read(combo->Handle()), plain), 0) << "the skinned box looks plain";

  const int before = gui_objects::GdiObjects();
  ASSERT_GT(before, 0) << "the GDI count cannot be read";
  {
    GdiHog hog;
    // What a repaint under exhaustion must leave: nothing waiting to be painted again.
    auto expectPlain = [&](const char* what) {
      SCOPED_TRACE(what);
      PumpFor(50ms);
      hog.GiveBack(8);  // reading an update region takes a region
      EXPECT_EQ(LeftToPaint(), "");
      hog.TakeAll();
    };
    hog.TakeAll();
    ASSERT_GT(hog.Held(), 0u);
    // Every window painted whole, frames and controls.
    RedrawAll();
    expectPlain("every window");
    // A combo box painted black, then repainted with `free` handles free, as it then shows.
    // (Its device context is taken beforehand: the paint then finds it in the cache, its
    // visible region made.)
    auto repaint = [&](HWND box, size_t free) {
      hog.GiveBack(8);
      HDC dc = GetDC(box);
      const RECT all{0, 0, combo->Width(), combo->Height()};
      FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      ReleaseDC(box, dc);
      hog.TakeAll();
      hog.GiveBack(free);
      RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      hog.TakeAll();
      return reader.Read(box);
    };
    // As few handles as the plain twin needs to paint as with handles to spare: too few for
    // the skin to compose in, so the skinned box must paint itself, as the plain one does.
    size_t enough = 0;
    while (enough < 8 && repaint(twin->Handle(), enough) != plain) ++enough;
    ASSERT_LT(enough, 8u) << "the plain box does not paint";
    EXPECT_EQ(Differences(repaint(combo->Handle(), enough), plain), 0)
        << "the skinned combo box, with " << enough
        << " handles free, does not paint as the plain one";
    // The caption buttons and the bar's item repainted alone as the mouse passes.
    RECT w{};
    GetWindowRect(window, &w);
    for (const auto& button : skinner->SysButtons()) {
      hog.TakeAll();
      const RECT& b = button->BoundsRect;
      SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION,
                   MAKELPARAM(w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2));
    }
    expectPlain("caption buttons");
    // A popup menu and the bar's menu, open and painted.
    for (const bool barMenu : {false, true}) {
      SCOPED_TRACE(barMenu ? "bar menu" : "popup menu");
      hog.TakeAll();
      bool ran = false;
      InsideModal inside([&] {
        hog.TakeAll();
        RedrawAll();
        expectPlain("inside the menu");
        ran = true;
        EndMenu();
      });
      if (barMenu) {
        SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, 'f');
      } else {
        main->TntPopupMenu1->Popup(20, kGalleryHeight + 100, main->Handle());
      }
      PumpFor(50ms);
      EXPECT_TRUE(ran);
    }
    hog.TakeAll();
    RedrawAll();
    expectPlain("after the menus");
  }

  // Handles free again: the skin paints as before, and every object made meanwhile is gone.
  RedrawAll();
  PumpFor(100ms);
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
  EXPECT_TRUE(ShowsFrameBottom(window, data->Records().FrameBottom->Bitmap));
  EXPECT_EQ(gui_objects::GdiObjects(), before);

  gallery.reset();
  EndSkinnedMainForm(main);
}

}  // namespace
