// Not a test: a board of real controls wrapped by the skin's wrappers, in their states, read
// back from the screen into a BMP to look at.
//   skin_control_gallery <output.bmp>            the board
//   skin_control_gallery main <output.bmp>       the main window with its list filled
//   skin_control_gallery progress <output.bmp>   the progress window during a run
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/BmpImage.h"
#include "skin/data/SkinData.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/TestControls.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr int kWidth = 760, kHeight = 520;

template <typename T>
T* Add(Host& host, RECT bounds, const wchar_t* caption = L"", ui::TWinControl* parent = nullptr) {
  T* control = host.Add<T>(bounds);
  if (parent) control->SetParent(parent);
  control->SetCaption(caption);
  return control;
}

HWND AddWindow(Host& host, const wchar_t* className, DWORD style, RECT b,
               const wchar_t* text = L"") {
  return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, b.left, b.top,
                         b.right - b.left, b.bottom - b.top, host.form().Handle(), nullptr, nullptr,
                         nullptr);
}

void Build(Host& host) {
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
  host.form().Perform(WM_NULL);
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
  (void)upDown;
  (void)horz;
}

void Save(const ui::Bitmap& picture, const char* path) {
  BmpImage image{picture.Width(), picture.Height(), {}};
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      image.pixels.push_back(ui::SwapRedBlue(picture.Pixel(x, y)));
  const std::vector<std::uint8_t> bytes = EncodeBmp24(image);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  std::printf("%s\n", path);
}

// A program window skinned as the form skinner does it, its client area read back.
void ShowSkinned(ui::TCustomForm& form, TSkinData& data, const char* path) {
  form.Show();
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(data);
  skinner.SkinFormControls(form);
  PumpFor(300ms);
  RedrawWindow(form.Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(300ms);
  Save(Grab(form.Handle()), path);
}

int MainWindow(const char* path) {
  TTntForm1 form(nullptr);
  const wchar_t* names[] = {L"旅行记录 第一集", L"海边日落", L"家庭聚会 2009", L"新年晚会片段"};
  for (const wchar_t* name : names) {
    const int index = form.TntListView1->AddItem(name);
    form.TntListView1->SetItemText(index, 1, L"FLV");
    form.TntListView1->SetItemText(index, 2, std::wstring(L"D:\\下载\\") + name + L".flv");
    form.TntListView1->SetChecked(index, index != 3);
    form.TntListView1->SetImageIndex(index, index == 2 ? 2 : 0);
  }
  form.TntEdit1->SetText(L"C:\\视频\\输出\\");
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  if (!data) return 1;
  ShowSkinned(form, *data, path);
  return 0;
}

int ProgressWindow(const char* path) {
  TTntForm1 main(nullptr);
  auto* data = dynamic_cast<TSkinData*>(main.FindComponent(L"SkinData1"));
  TTntForm2 progress(nullptr, &main);
  progress.SetStatusText(L"正在转换: 家庭聚会 2009.flv");
  progress.SetCurrentMax(100);
  progress.SetCurrentPosition(62);
  progress.SetTotalMax(8270);
  progress.SetTotalPosition(3123);
  progress.SetDetailText(L"3123/8270");
  if (!data) return 1;
  ShowSkinned(progress, *data, path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  skin::RegisterSkinControls();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_DATE_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&icc);
  if (argc == 3) {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    if (std::string(argv[1]) == "main") return MainWindow(argv[2]);
    if (std::string(argv[1]) == "progress") return ProgressWindow(argv[2]);
    return 2;
  }
  if (argc != 2) return 2;
  Host host(kWidth, kHeight);
  host.form().SetColor(RGB(227, 238, 253));
  std::vector<std::wstring> lines = host.data().Skin3rd();
  lines.push_back(L"TTrackBar=trackbar");
  lines.push_back(L"TDateTimePicker=datetimepicker");
  host.data().SetSkin3rd(lines);
  Build(host);
  Pump();
  host.skinner().SkinFormControls(host.form());
  host.skinner().SkinChildWindows(host.form().Handle());
  // Up-downs outside an edit are reached by their windows only.
  for (HWND child = GetWindow(host.form().Handle(), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64]{};
    GetClassNameW(child, name, 64);
    if (std::wstring(name) != UPDOWN_CLASSW) continue;
    skin::CreateWrapper(L"TSkinUpDown", &host.skinner())
        ->AttachWindow(child, host.data(), host.skinner(), host.skinner().ControlCanvas());
  }
  PumpFor(300ms);
  RedrawWindow(host.form().Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  PumpFor(300ms);
  Save(Grab(host.form().Handle()), argv[1]);
  return 0;
}
