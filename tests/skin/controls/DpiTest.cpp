// The program's skinned windows at the screen's DPI: 96 in the usual run, 120 and 144 in
// prefixes of their own (run-at-dpi.sh; a program that is not DPI-aware sees them on Windows 7
// at 125 % and 150 %). The skin's parts are drawn as at 96 DPI and fit their places; nothing
// the system draws lies outside its control or the client area.
// With VELMO_DPI_PICTURES=<folder>, DpiTest.Pictures saves the windows as BMP files there.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinImages.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinMetrics.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "skin/forms/WinSysButton.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/SkinnedMainForm.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Dialogs.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;
namespace fs = std::filesystem;

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH]{};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : L"";
}

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
         std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

BOOL CALLBACK CollectChild(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

// What a timer does while a menu or a message box runs its own loop.
std::function<void()> atTimer;
void CALLBACK RunAtTimer(HWND window, UINT, UINT_PTR id, DWORD) {
  KillTimer(window, id);
  if (atTimer) atTimer();
}

class DpiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = MakeSkinnedMainForm();
    data = dynamic_cast<TSkinData*>(form->FindComponent(L"SkinData1"));
    manager = TSkinManage::Instance();
    ASSERT_NE(manager, nullptr);
    const wchar_t* names[] = {L"旅行记录 第一集", L"海边日落", L"家庭聚会 2009", L"新年晚会片段"};
    for (const wchar_t* name : names) {
      const int index = form->TntListView1->AddItem(name);
      form->TntListView1->SetItemText(index, 1, L"FLV");
      form->TntListView1->SetItemText(index, 2, std::wstring(L"D:\\下载\\") + name + L".flv");
    }
    form->TntEdit1->SetText(L"C:\\视频\\输出\\");
    form->Show();
    SetForegroundWindow(form->Handle());
    ASSERT_TRUE(PumpUntil(
        [&] {
          TWinSkinForm* s = Skinner(form->Handle());
          return s && s->SkinState() == TWinSkinForm::kActive && Combo();
        },
        5s));
    PumpFor(200ms);
  }
  void TearDown() override { EndSkinnedMainForm(form); }
  TWinSkinForm* Skinner(HWND window) const { return manager->FindFormSkinner(window); }
  TSkinComBox* Combo() const {
    TWinSkinForm* skinner = Skinner(form->Handle());
    if (!skinner) return nullptr;
    for (TControlWrapper* wrapper : skinner->Controls())
      if (wrapper->WindowHandle() == form->TntComboBox1->Handle())
        return dynamic_cast<TSkinComBox*>(wrapper);
    return nullptr;
  }

  std::unique_ptr<TTntForm1> form;
  TSkinData* data = nullptr;
  TSkinManage* manager = nullptr;
};

TEST_F(DpiTest, TheScreenHasTheDpiOfTheRun) {
  const std::wstring wanted = Variable(L"VELMO_DPI");
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EXPECT_EQ(dpi, wanted.empty() ? 96 : std::stoi(wanted)) << "the prefix's setting took";
  EXPECT_EQ(skin::ScreenDpi(), dpi);
}

// The caption's text on the screen: inside the title bar, clear of its top and bottom edges,
// and not under the caption buttons.
TEST_F(DpiTest, TheCaptionTextLiesInsideTheTitleBar) {
  const HWND window = form->Handle();
  TWinSkinForm& skinner = *Skinner(window);
  RECT outer{};
  GetWindowRect(window, &outer);
  const ui::Bitmap shot = Screen(outer);
  const int title = skinner.TitleHeight();
  const COLORREF ink = skin::ResolveColour(data->Records().Colours.TitleTextActive);
  int buttons = Width(outer);
  for (const auto& b : skinner.SysButtons())
    if (b->Visible && !b->IsIcon() && !b->Image().Empty() && b->BoundsRect.top < title)
      buttons = std::min<int>(buttons, b->BoundsRect.left);
  // The text's ink left of the buttons (whose glyphs may share its colour), a band below the
  // title included: a caption font too tall for the title would reach into it.
  const RECT text = InkBox(shot, {0, 0, buttons, title + 6}, Is(ink));
  ASSERT_GT(Width(text), 20) << "no caption text on the screen";
  EXPECT_GE(text.top, 2) << Text(text);
  EXPECT_LE(text.bottom, title - 2) << Text(text) << " in a title of " << title;
  EXPECT_LT(text.right, buttons - 2) << Text(text);
}

// The window's icon drawn in the icon button is the button's size, as the skin lays it out.
TEST_F(DpiTest, TheIconFitsItsButton) {
  TWinSkinForm& skinner = *Skinner(form->Handle());
  bool seen = false;
  for (const auto& b : skinner.SysButtons()) {
    if (!b->IsIcon() || !b->Visible || b->IconImage.Empty()) continue;
    seen = true;
    EXPECT_LE(b->IconImage.Width(), Width(b->BoundsRect));
    EXPECT_LE(b->IconImage.Height(), Height(b->BoundsRect));
    EXPECT_EQ(b->IconImage.Width(), 16) << "the small icon as at 96 DPI";
  }
  EXPECT_TRUE(seen) << "the skin shows the icon";
}

// The skin's drop-down button lies inside the combo box, and the system's edit inside the
// combo stays clear of it.
TEST_F(DpiTest, TheComboButtonLiesInsideItsControl) {
  const HWND combo = form->TntComboBox1->Handle();
  RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
  PumpFor(100ms);
  const RECT button = Combo()->ButtonRect();
  RECT window{};
  GetWindowRect(combo, &window);
  OffsetRect(&window, -window.left, -window.top);
  ASSERT_GT(Width(button), 0);
  EXPECT_TRUE(Inside(button, window)) << Text(button) << " in " << Text(window);
  EXPECT_EQ(Width(button), skin::SkinMetric(SM_CXHSCROLL) + 4) << "the skin's button as at 96";
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(combo, &info) && info.hwndItem && info.hwndItem != combo) {
    RECT edit{};
    GetWindowRect(info.hwndItem, &edit);
    MapWindowPoints(nullptr, combo, reinterpret_cast<POINT*>(&edit), 2);
    EXPECT_TRUE(Inside(edit, window)) << Text(edit);
  }
}

// Every control of the main window lies inside the client area of its parent: at this DPI
// the system sizes none of them past the layout.
TEST_F(DpiTest, NothingOfTheMainWindowIsClipped) {
  const HWND window = form->Handle();
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, form->ClientWidth());
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  ASSERT_FALSE(children.empty());
  for (HWND child : children) {
    if (!IsWindowVisible(child)) continue;
    const HWND parent = GetParent(child);
    RECT area{}, r{};
    GetClientRect(parent, &area);
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    wchar_t name[64]{};
    GetClassNameW(child, name, 64);
    // A combo box's list is a window of its own, dropped below when open.
    if (std::wstring(name) == L"ComboLBox") continue;
    EXPECT_TRUE(Inside(r, area)) << std::string(name, name + wcslen(name)) << " " << Text(r)
                                 << " in " << Text(area);
  }
}

// Not a check: the windows as the screen shows them, for a person to look at.
TEST_F(DpiTest, Pictures) {
  const std::wstring folder = Variable(L"VELMO_DPI_PICTURES");
  if (folder.empty()) GTEST_SKIP() << "VELMO_DPI_PICTURES names no folder";
  HDC screen = GetDC(nullptr);
  const std::string dpi = std::to_string(GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  auto save = [&](HWND window, const char* what, int margin = 0) {
    RECT r{};
    GetWindowRect(window, &r);
    InflateRect(&r, margin, margin);
    SaveBmp(Screen(r), fs::path(folder) / ("dpi-" + dpi + "-" + what + ".bmp"));
  };
  SetWindowPos(form->Handle(), nullptr, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  PumpFor(300ms);
  save(form->Handle(), "main");

  // The popup menu of the list, opened in the window's corner, with the window behind.
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  atTimer = [&] {
    SaveBmp(Screen({r.left, r.top, r.left + 420, r.top + 320}),
            fs::path(folder) / ("dpi-" + dpi + "-menu.bmp"));
    EndMenu();
  };
  SetTimer(form->Handle(), 77, 600, RunAtTimer);
  form->TntPopupMenu1->Popup(r.left + 60, r.top + 80, form->Handle());
  PumpFor(200ms);

  // A message box over the main window.
  atTimer = [&] {
    const HWND box = GetForegroundWindow();
    RECT b{};
    GetWindowRect(box, &b);
    SaveBmp(Screen(b), fs::path(folder) / ("dpi-" + dpi + "-message-box.bmp"));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  SetTimer(form->Handle(), 78, 600, RunAtTimer);
  ui::MessageBoxText(form->Handle(), L"转换第3个文件时出现错误", L"Velmo转换",
                     MB_OK | MB_ICONWARNING);
  PumpFor(200ms);
  atTimer = nullptr;

  TTntForm2 progress(nullptr, form.get());
  progress.SetStatusText(L"正在转换: 家庭聚会 2009.flv");
  progress.SetCurrentMax(100);
  progress.SetCurrentPosition(62);
  progress.SetTotalMax(8270);
  progress.SetTotalPosition(3123);
  progress.SetDetailText(L"3123/8270");
  progress.Show();
  ASSERT_TRUE(PumpUntil([&] {
    TWinSkinForm* s = Skinner(progress.Handle());
    return s && s->SkinState() == TWinSkinForm::kActive;
  }));
  PumpFor(300ms);
  save(progress.Handle(), "progress");
}

}  // namespace
