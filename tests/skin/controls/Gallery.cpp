// The board of controls the gallery shows (Gallery.h).
#include "tests/skin/controls/Gallery.h"

#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <string>

#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/TestControls.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Menus.h"
#include "ui/StdCtrls.h"

namespace controltest {

namespace {

constexpr int kWidth = kGalleryWidth, kHeight = kGalleryHeight;

template <typename T>
T* Add(ui::TForm& form, RECT bounds, const wchar_t* caption = L"",
       ui::TWinControl* parent = nullptr) {
  auto* control = new T(&form);
  control->SetParent(parent ? parent : &form);
  control->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
                     bounds.bottom - bounds.top);
  control->SetCaption(caption);
  return control;
}

HWND AddWindow(ui::TForm& form, const wchar_t* className, DWORD style, RECT b,
               const wchar_t* text = L"") {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, b.left, b.top,
                         b.right - b.left, b.bottom - b.top, form.Handle(), nullptr, nullptr,
                         nullptr);
}

}  // namespace

void BuildGallery(ui::TForm& host) {
  // Check boxes and radio buttons in their states.
  const wchar_t* states[] = {L"未选", L"选中", L"不定"};
  for (int i = 0; i < 3; ++i) {
    for (int enabled = 0; enabled < 2; ++enabled) {
      auto* box = Add<ui::TCheckBox>(
          host, {12 + i * 80, 12 + enabled * 22, 88 + i * 80, 29 + enabled * 22}, states[i]);
      box->SetState(static_cast<ui::TCheckBoxState>(i));
      box->SetEnabled(enabled == 0);
    }
  }
  for (int i = 0; i < 2; ++i) {
    for (int enabled = 0; enabled < 2; ++enabled) {
      auto* radio = Add<ui::TRadioButton>(
          host, {260 + i * 80, 12 + enabled * 22, 336 + i * 80, 29 + enabled * 22}, states[i]);
      radio->SetChecked(i == 1);
      radio->SetEnabled(enabled == 0);
    }
  }
  // Group boxes: caption at the left, and at the right.
  auto* group = Add<ui::TGroupBox>(host, {12, 64, 232, 164}, L"转换格式为");
  Add<ui::TRadioButton>(host, {10, 22, 200, 39}, L"3GP  (手机,便携式设备)", group);
  Add<ui::TRadioButton>(host, {10, 44, 200, 61}, L"MP4  (适合便携式设备播放)", group)
      ->SetChecked(true);
  Add<ui::TLabel>(host, {12, 70, 200, 84}, L"分辨率:", group);
  auto* right = Add<ui::TGroupBox>(host, {244, 64, 464, 164}, L"视频画质");
  SetWindowLongW(right->Handle(), GWL_EXSTYLE,
                 GetWindowLongW(right->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
  // Progress bars: horizontal, and vertical.
  auto* progress = Add<ui::TProgressBar>(host, {12, 180, 232, 198});
  progress->SetPosition(60);
  auto* empty = Add<ui::TProgressBar>(host, {12, 206, 232, 224});
  empty->SetPosition(0);
  auto* vertical = Add<ui::TProgressBar>(host, {244, 180, 262, 290});
  HWND bar = vertical->Handle();
  SetWindowLongW(bar, GWL_STYLE, GetWindowLongW(bar, GWL_STYLE) | PBS_VERTICAL);
  vertical->SetPosition(40);
  // A panel and a status bar with panels.
  auto* panel = Add<ui::TPanel>(host, {280, 180, 464, 230}, L"面板");
  panel->SetBevelOuter(ui::TBevelCut::bvNone);
  auto* status = Add<ui::TStatusBar>(host, {0, kHeight - 60, kWidth - 8, kHeight - 40});
  status->SetSizeGrip(true);
  host.Perform(WM_NULL);
  Pump();
  bar = status->Handle();
  SendMessageW(bar, SB_SIMPLE, FALSE, 0);
  int parts[] = {160, 400, -1};
  SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
  SendMessageW(bar, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"就绪"));
  SendMessageW(bar, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L"共 6 个文件"));
  // Edits, a spin edit, up-downs and combo boxes.
  auto* edit = Add<ui::TEdit>(host, {480, 12, 660, 34});
  edit->SetText(L"C:\\视频\\输出");
  auto* spinEdit = Add<ui::TEdit>(host, {480, 44, 560, 66});
  spinEdit->SetText(L"25");
  RECT client;
  GetClientRect(spinEdit->Handle(), &client);
  CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0, 16,
                  client.bottom, spinEdit->Handle(), nullptr, nullptr, nullptr);
  HWND upDown = AddWindow(host, UPDOWN_CLASSW, 0, {570, 44, 586, 66});
  HWND horz = AddWindow(host, UPDOWN_CLASSW, UDS_HORZ, {596, 48, 628, 64});
  const wchar_t* sizes[] = {L"原始分辨率", L"176x144"};
  for (int i = 0; i < 3; ++i) {
    auto* combo = Add<ui::TComboBox>(host, {480, 80 + i * 30, 640, 101 + i * 30});
    combo->SetStyle(i == 2 ? ui::TComboBoxStyle::csDropDown : ui::TComboBoxStyle::csDropDownList);
    combo->SetItems({sizes[0], sizes[1]});
    combo->SetItemIndex(i == 0 ? 0 : 1);
    Pump();  // made again in its style
    if (i == 1) {
      HWND h = combo->Handle();
      SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    }
  }
  // Tab controls on their four sides.
  const DWORD sides[] = {0, TCS_BOTTOM, TCS_VERTICAL | TCS_MULTILINE,
                         TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE};
  for (int i = 0; i < 4; ++i) {
    HWND tabs = AddWindow(host, WC_TABCONTROLW, sides[i], {12 + i * 116, 300, 120 + i * 116, 420});
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    for (int t = 0; t < 3; ++t) {
      std::wstring text = L"页" + std::to_wstring(t + 1);
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = text.data();
      SendMessageW(tabs, TCM_INSERTITEMW, t, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
  }
  // A track bar, a date-time picker, a media player, a tab set and button tabs.
  auto* track = Add<testcontrols::TTrackBar>(host, {480, 180, 740, 220});
  SendMessageW(track->Handle(), TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
  SendMessageW(track->Handle(), TBM_SETPOS, TRUE, 4);
  Add<testcontrols::TDateTimePicker>(host, {480, 230, 640, 252});
  Add<testcontrols::TMediaPlayer>(host, {480, 262, 740, 292});
  Add<testcontrols::TTabSet>(host, {480, 300, 740, 324});
  auto* buttons = Add<ui::TPageControl>(host, {480, 334, 740, 380});
  buttons->SetStyle(ui::TTabStyle::tsButtons);
  for (const wchar_t* name : {L"常规", L"输出"}) Add<ui::TTabSheet>(host, {}, name, buttons);
  // A push button, and a list long enough for its scroll bar.
  Add<ui::TButton>(host, {660, 390, 740, 414}, L"转换");
  auto* list = Add<ui::TListView>(host, {664, 12, 744, 170});
  list->SetViewStyle(ui::TViewStyle::vsReport);
  list->SetColumns({L"文件=60"});
  for (int i = 0; i < 40; ++i) list->AddItem(L"文件 " + std::to_wstring(i + 1));
  (void)upDown;
  (void)horz;
}

void AddGalleryMenu(ui::TForm& form) {
  auto* bar = new ui::TMainMenu(&form);
  for (const wchar_t* caption : {L"文件(&F)", L"帮助(&H)"}) {
    auto* top = new ui::TMenuItem(&form);
    top->SetCaption(caption);
    for (const wchar_t* name : {L"打开", L"-", L"退出"}) {
      auto* item = new ui::TMenuItem(&form);
      item->SetCaption(name);
      top->Add(item);
    }
    bar->Items().Add(top);
  }
  form.SetMenu(bar);
}

}  // namespace controltest
