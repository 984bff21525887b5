// Not a test: a board of real controls wrapped by the skin's wrappers, in their states, read
// back from the screen into a BMP to look at.
//   skin_control_gallery <output.bmp>            the board
//   skin_control_gallery <output.bmp> <skin file> the board wearing another skin
//   skin_control_gallery main <output.bmp>       the main window with its list filled
//   skin_control_gallery progress <output.bmp>   the progress window during a run
#include <windows.h>
// after windows.h
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/Gallery.h"
#include "tests/skin/controls/TestControls.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr int kWidth = kGalleryWidth, kHeight = kGalleryHeight;

void Save(const ui::Bitmap& picture, const char* path) {
  SaveBmp(picture, path);
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
  if (argc == 3 && (std::string(argv[1]) == "main" || std::string(argv[1]) == "progress")) {
    ui::Application().Initialize();
    TSkinData::RegisterClass();
    if (std::string(argv[1]) == "main") return MainWindow(argv[2]);
    if (std::string(argv[1]) == "progress") return ProgressWindow(argv[2]);
    return 2;
  }
  if (argc != 2 && argc != 3) return 2;
  Host host(kWidth, kHeight);
  if (argc == 3) {
    const std::string file = argv[2];
    host.data().SetSkinFile(std::wstring(file.begin(), file.end()));
    if (!host.data().SkinParsed()) return 3;
    // As the control manager refreshes a skinner after a new skin.
    host.skinner().BuildSysButtons();
    SendMessageW(host.form().Handle(), skin::WM_SKINREFRESH, 0, 0);
  }
  host.form().SetColor(
      static_cast<COLORREF>(skin::ResolveColour(host.data().Records().Colours.ButtonFace)));
  std::vector<std::wstring> lines = host.data().Skin3rd();
  lines.push_back(L"TTrackBar=trackbar");
  lines.push_back(L"TDateTimePicker=datetimepicker");
  host.data().SetSkin3rd(lines);
  BuildGallery(host.form());
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
