// With every GDI handle of the process taken, the skinned windows go on: each paint the skin
// cannot compose (no bitmap to be had) is left plain, nothing the engine raises leaves a window
// procedure, and once handles are free again the skin comes back.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSysButton.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "ui/Application.h"

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
  size_t Held() const { return held_.size(); }
  ~GdiHog() {
    for (HRGN region : held_) DeleteObject(region);
  }

 private:
  std::vector<HRGN> held_;
};

BOOL CALLBACK RedrawOne(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}
void RedrawAll() { EnumThreadWindows(GetCurrentThreadId(), RedrawOne, 0); }

// Runs a body once from a timer, which also fires inside a menu's modal loop.
struct InsideModal {
  static inline std::function<void()> body;
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    if (auto run = std::move(body)) run();
    body = nullptr;
  }
  explicit InsideModal(std::function<void()> b) {
    body = std::move(b);
    SetTimer(nullptr, 0, 100, Tick);
  }
};

TEST(GdiExhaustionTest, SkinnedWindowsPaintPlainlyAndRecover) {
  ui::Application().Initialize();
  TSkinData::RegisterClass();
  TSkinManage::Register();
  skin::RegisterSkinControls();
  auto main = std::make_unique<TTntForm1>(nullptr);
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
  PumpFor(100ms);

  {
    GdiHog hog;
    hog.TakeAll();
    ASSERT_GT(hog.Held(), 0u);
    // Every window painted whole, frames and controls.
    RedrawAll();
    PumpFor(50ms);
    // The caption buttons and the bar's item repainted alone as the mouse passes.
    RECT w{};
    GetWindowRect(window, &w);
    for (const auto& button : skinner->SysButtons()) {
      hog.TakeAll();
      const RECT& b = button->BoundsRect;
      SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION,
                   MAKELPARAM(w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2));
    }
    // A popup menu and the bar's menu, open and painted.
    for (const bool barMenu : {false, true}) {
      SCOPED_TRACE(barMenu ? "bar menu" : "popup menu");
      hog.TakeAll();
      bool ran = false;
      InsideModal inside([&] {
        hog.TakeAll();
        RedrawAll();
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
    PumpFor(50ms);
  }

  // Handles free again: the skin paints as before.
  RedrawAll();
  PumpFor(100ms);
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
  const ui::Bitmap& bottom = data->Records().FrameBottom->Bitmap;
  RECT w{};
  GetWindowRect(window, &w);
  HDC screen = GetDC(nullptr);
  const COLORREF shown = GetPixel(screen, (w.left + w.right) / 2, w.bottom - 1);
  ReleaseDC(nullptr, screen);
  const int h = bottom.Height() / 2;
  EXPECT_TRUE(shown == bottom.Pixel(bottom.Width() / 2, h - 1) ||
              shown == bottom.Pixel(bottom.Width() / 2, 2 * h - 1))
      << "the frame's bottom edge";

  gallery.reset();
  main.reset();
  skin::DestroySkinManager();
  skin::SetSkinManagerFactory(nullptr);
}

}  // namespace
