// The main window as its layout and handlers make it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <objbase.h>

#include "GuiObjects.h"
#include "MainWindowFixture.h"
#include "convert/ProgressWindow.h"
#include "shell/AppDataDir.h"
#include "ui/MessagePump.h"
#include "ui/UniqueHandle.h"

using namespace ui;

namespace {

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  wchar_t buffer[512] = {};
  wchar_t cls[32] = {};
  GetClassNameW(child, cls, 32);
  GetWindowTextW(child, buffer, 512);
  if (_wcsicmp(cls, L"Static") == 0 && buffer[0]) *reinterpret_cast<std::wstring*>(text) += buffer;
  return TRUE;
}

// Where a box opened: whether a shown topmost window of ours lies above it.
struct BoxPlace {
  bool covered;
};
std::vector<BoxPlace>& BoxPlaces() {
  static std::vector<BoxPlace> places;
  return places;
}
BoxPlace PlaceOf(HWND box) {
  auto topmost = [](HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  BoxPlace place{false};
  for (HWND above = GetWindow(box, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
    DWORD process = 0;
    GetWindowThreadProcessId(above, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(above) && topmost(above))
      place.covered = true;
  }
  return place;
}

// The button that closes the boxes and dialogs the hook sees.
int& CloseCommand() {
  static int command = IDOK;
  return command;
}

void CALLBACK PlaceAndClose(HWND box, UINT, UINT_PTR timer, DWORD) {
  KillTimer(box, timer);
  BoxPlaces().push_back(PlaceOf(box));
  PostMessageW(box, WM_COMMAND, CloseCommand(), 0);
}

LRESULT CALLBACK CaptureBoxes(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (std::wstring(name) == L"#32770") {
      wchar_t caption[256] = {};
      GetWindowTextW(window, caption, 256);
      std::wstring entry = std::wstring(caption) + L"|";
      EnumChildWindows(window, CollectStaticText, reinterpret_cast<LPARAM>(&entry));
      MainWindowFixture::Boxes().push_back(entry);
      // Its place is final once the box runs its own loop.
      SetTimer(window, 1, 10, PlaceAndClose);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

std::vector<std::wstring>& MainWindowFixture::Boxes() {
  static std::vector<std::wstring> boxes;
  return boxes;
}

void MainWindowFixture::Pump() { ProcessMessages(); }

MainWindowFixture::MainWindowFixture() {
  Application().Initialize();
  Application().SetTitle(L"Velmo转换 - 独立版");
  hook_ = SetWindowsHookExW(WH_CBT, CaptureBoxes, nullptr, GetCurrentThreadId());
  Boxes().clear();
  form_ = std::make_unique<TTntForm1>(nullptr);
  form_->Show();
  Pump();
}

MainWindowFixture::~MainWindowFixture() {
  form_.reset();
  UnhookWindowsHookEx(hook_);
}

namespace {

struct Placement {
  const wchar_t* name;
  int left, top, width, height;
  const wchar_t* caption;
};

TEST(MainWindow, ControlsSitWhereTheLayoutPutsThem) {
  MainWindowFixture f;
  const Placement table[] = {
      {L"TntImage3", 8, 4, 253, 117, L""},
      {L"TntLabel3", 184, 100, -1, -1, L"0.4.7  正式版"},
      {L"TntLabel1", 16, 8, -1, -1, L"转换后文件保存位置:"},
      {L"TntEdit1", 132, 5, 377, 21, L""},
      {L"TntButton1", 524, 4, 93, 25, L"浏览"},
      {L"TntButton2", 624, 4, 93, 25, L"访问目录"},
      {L"TntBitBtn5", 16, 32, 93, 29, L"导入文件"},
      {L"TntBitBtn6", 116, 32, 93, 29, L"移除文件"},
      {L"TntBitBtn7", 216, 32, 93, 29, L"全部清空"},
      {L"TntBitBtn8", 316, 32, 93, 29, L"全部选择"},
      {L"TntBitBtn9", 416, 32, 93, 29, L"反向选择"},
      {L"TntGroupBox1", 8, 4, 285, 217, L"转换格式为"},
      {L"g2", 8, 20, 249, 17, L"3GP  (手机,便携式设备最常见格式)"},
      {L"g3", 8, 44, 249, 17, L"MP4  (适合便携式设备播放)"},
      {L"g4", 8, 68, 249, 17, L"MP4  (索尼PSP)"},
      {L"g5", 8, 92, 249, 17, L"MP4  (苹果iPhone)"},
      {L"g8", 8, 116, 249, 17, L"MP4  (苹果ipad)"},
      {L"g6", 8, 140, 249, 17, L"AVI   (可在带USB接口的DVD机上播放)"},
      {L"g1", 8, 164, 249, 17, L"FLV   (可在电脑和便携式设备播放)"},
      {L"g7", 8, 190, 249, 17, L"MP3  (纯音乐格式)"},
      {L"TntGroupBox2", 12, 232, 285, 73, L"视频画质"},
      {L"TntLabel4", 32, 36, -1, -1, L"分辨率:"},
      {L"TntComboBox1", 84, 32, 145, -1, L"原始分辨率"},
      {L"TntBitBtn1", 12, 312, 133, 45, L"开始转换"},
      {L"TntCheckBox1", 154, 336, 109, 17, L"转换完删除文件"},
      {L"TntLabel2", -1, 8, 273, 17, L"Velmo专业提供超过70个视频网站在线解析服务"},
      {L"TntSpeedButton2", -1, 28, 141, 29, L"立即访问Velmo"},
  };
  for (const Placement& p : table) {
    auto* c = dynamic_cast<TControl*>(f.form().FindComponent(p.name));
    ASSERT_NE(c, nullptr) << p.name;
    if (p.left >= 0) EXPECT_EQ(c->Left(), p.left) << p.name;
    EXPECT_EQ(c->Top(), p.top) << p.name;
    if (p.width >= 0) EXPECT_EQ(c->Width(), p.width) << p.name;
    if (p.height >= 0) EXPECT_EQ(c->Height(), p.height) << p.name;
    auto* windowed = dynamic_cast<TWinControl*>(c);
    std::wstring caption = windowed ? windowed->GetText() : c->Caption();
    EXPECT_EQ(caption, p.caption) << p.name;
  }
  TTntForm1& form = f.form();
  EXPECT_EQ(form.Caption(), L"Velmo转换 - 独立版");
  EXPECT_EQ(form.Width(), 945);
  EXPECT_EQ(form.Height(), 643);
  EXPECT_EQ(form.Font()->Name(), L"Tahoma");
  EXPECT_EQ(form.Font()->Height(), -11);
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(form.Left(), work.left + (work.right - work.left - 945) / 2);  // centred
  // Aligned areas: banner on top, the status bar at the bottom, the option column right.
  auto& banner = f.Control<TControl>(L"TntImage2");
  EXPECT_EQ(banner.Top(), 0);
  EXPECT_EQ(banner.Height(), 137);
  EXPECT_EQ(banner.Width(), f.Control<TControl>(L"TntTabSheet1").Width());
  EXPECT_EQ(f.Control<TControl>(L"TntPanel1").Top(), 137);
  EXPECT_EQ(f.Control<TControl>(L"TntPanel1").Height(), 68);
  EXPECT_EQ(f.Control<TControl>(L"TntStatusBar1").Height(), 19);
  EXPECT_EQ(f.Control<TControl>(L"TntPanel3").Width(), 299);
  EXPECT_EQ(f.Control<TControl>(L"TntListView1").BoundsRect().right,
            f.Control<TControl>(L"TntPanel3").Left());
  // Fonts and colours of the table.
  auto& ad = f.Control<TControl>(L"TntLabel2");
  EXPECT_EQ(ad.Font()->Name(), L"微软雅黑");
  EXPECT_EQ(ad.Font()->Height(), -12);
  EXPECT_EQ(ad.Font()->Color(), clWhite);
  EXPECT_TRUE(ad.Transparent());
  auto& link = f.Control<TSpeedButton>(L"TntSpeedButton2");
  EXPECT_EQ(link.Font()->Height(), -14);
  EXPECT_EQ(link.Font()->Style(), fsUnderline);
  EXPECT_TRUE(link.Flat());
  EXPECT_EQ(f.Control<TControl>(L"TntBitBtn5").Font()->Color(), clGray);
  EXPECT_TRUE(f.Control<TEdit>(L"TntEdit1").ReadOnly());
  EXPECT_FALSE(f.Control<TCheckBox>(L"TntCheckBox1").Checked());
  EXPECT_FALSE(f.Control<TTabSheet>(L"TntTabSheet1").TabVisible());
}

TEST(MainWindow, ComboItemsRadioStateAndTabOrder) {
  MainWindowFixture f;
  auto& combo = f.Control<TComboBox>(L"TntComboBox1");
  std::vector<std::wstring> expected = {
      L"原始分辨率", L"176x144",   L"320x240",   L"352x240", L"352x288", L"480x272",
      L"480x320",    L"480x480",   L"480x576",   L"512x384", L"640x480", L"720x480",
      L"1280x720",   L"1440x1080", L"1920x1080", L"",        L"",        L"",
      L"",           L"",          L"",          L""};
  EXPECT_EQ(combo.Items(), expected);
  EXPECT_EQ(SendMessageW(combo.Handle(), CB_GETCOUNT, 0, 0), 22);
  EXPECT_EQ(combo.ItemIndex(), 0);
  EXPECT_TRUE(combo.Enabled());
  EXPECT_EQ(combo.Style(), TComboBoxStyle::csDropDownList);
  EXPECT_TRUE(f.form().g[3]->Checked());
  EXPECT_EQ(f.form().CheckedFormatKey(), "mp4");
  std::vector<std::wstring> order;
  for (TWinControl* c : f.Control<TWinControl>(L"TntGroupBox1").TabList())
    order.push_back(c->Name());
  EXPECT_THAT(order, testing::ElementsAre(L"g2", L"g3", L"g4", L"g5", L"g6", L"g1", L"g7", L"g8"));
  std::vector<std::wstring> panel;
  for (TWinControl* c : f.Control<TWinControl>(L"TntPanel1").TabList()) panel.push_back(c->Name());
  EXPECT_THAT(panel,
              testing::ElementsAre(L"TntEdit1", L"TntButton1", L"TntButton2", L"TntBitBtn5",
                                   L"TntBitBtn6", L"TntBitBtn7", L"TntBitBtn8", L"TntBitBtn9"));
  auto& popup = f.Control<TPopupMenu>(L"TntPopupMenu1");
  ASSERT_EQ(popup.ItemList().size(), 4u);
  EXPECT_EQ(popup.ItemList()[0]->Caption(), L"移除文件");
  EXPECT_EQ(popup.ItemList()[0]->ShortCut(), 46);
  EXPECT_EQ(popup.ItemList()[1]->ShortCut(), 16430);
  EXPECT_EQ(popup.ItemList()[2]->Caption(), L"全选");
  EXPECT_EQ(popup.ItemList()[3]->Caption(), L"反选");
  EXPECT_EQ(f.Control<TImageList>(L"ImageList2").Count(), 5);
  // Until the skin component is registered, SkinData1 holds its settings inertly.
  auto* skin = f.form().FindComponent(L"SkinData1");
  ASSERT_NE(skin, nullptr);
  EXPECT_EQ(skin->ClassName(), L"TSkinData");
}

struct RadioCase {
  const char* name;
  int button;
  int selectedBefore;
  int expectedIndex;
  bool expectedEnabled;
};

void PrintTo(const RadioCase& c, std::ostream* os) { *os << c.name; }

class RadioHandlers : public testing::TestWithParam<RadioCase> {};

TEST_P(RadioHandlers, AdaptTheResolutionBox) {
  const RadioCase& c = GetParam();
  MainWindowFixture f;
  auto& combo = f.Control<TComboBox>(L"TntComboBox1");
  if (c.button == 3) SendMessageW(f.form().g[1]->Handle(), BM_CLICK, 0, 0);  // MP4 starts checked
  combo.SetItemIndex(c.selectedBefore);
  SendMessageW(f.form().g[c.button]->Handle(), BM_CLICK, 0, 0);  // a real click on the button
  EXPECT_TRUE(f.form().g[c.button]->Checked());
  EXPECT_EQ(combo.ItemIndex(), c.expectedIndex);
  EXPECT_EQ(combo.Enabled(), c.expectedEnabled);
  EXPECT_EQ(IsWindowEnabled(combo.Handle()) != FALSE, c.expectedEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    MainWindow, RadioHandlers,
    testing::Values(RadioCase{"FLV", 1, 7, 0, true}, RadioCase{"ThreeGP", 2, 0, 1, false},
                    RadioCase{"MP4", 3, 7, 0, true}, RadioCase{"PSP", 4, 0, 5, true},
                    RadioCase{"IPhone", 5, 0, 5, true}, RadioCase{"AVI", 6, 7, 0, true},
                    RadioCase{"MP3KeepsTheSelection", 7, 9, 9, false},
                    RadioCase{"IPad", 8, 9, 0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MainWindow, ThreeGpThenMp4EnablesTheBoxAgain) {
  MainWindowFixture f;
  auto& combo = f.Control<TComboBox>(L"TntComboBox1");
  SendMessageW(f.form().g[2]->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(combo.Enabled());
  SendMessageW(f.form().g[3]->Handle(), BM_CLICK, 0, 0);
  EXPECT_TRUE(combo.Enabled());
  EXPECT_EQ(combo.GetText(), L"原始分辨率");
  EXPECT_EQ(f.form().CheckedFormatKey(), "mp4");
  SendMessageW(f.form().g[8]->Handle(), BM_CLICK, 0, 0);
  EXPECT_FALSE(f.form().g[3]->Checked());
  EXPECT_EQ(f.form().CheckedFormatKey(), "mp4-ipad");
}

TEST(MainWindow, ResizeKeepsTheAdvertAndLinkAtTheRightEdge) {
  MainWindowFixture f;
  auto& label = f.Control<TControl>(L"TntLabel2");
  auto& link = f.Control<TControl>(L"TntSpeedButton2");
  for (int width : {945, 1100, 800}) {
    f.form().SetBounds(f.form().Left(), f.form().Top(), width, 643);
    EXPECT_EQ(label.Left(), width - 273 - 30) << width;
    EXPECT_EQ(link.Left(), width - 141 - 30) << width;
  }
}

TEST(MainWindow, OpeningTheOutputFolderWithoutOneSaysSo) {
  MainWindowFixture f;
  SendMessageW(f.Control<TWinControl>(L"TntButton2").Handle(), BM_CLICK, 0, 0);
  EXPECT_THAT(MainWindowFixture::Boxes(), testing::ElementsAre(L"提示|还没有设置转换目录"));
}

// The progress window stays on top during a run. Every modal window the user or the run opens
// meanwhile must open above it (on Windows a topmost window covers any other), and the progress
// window is on top again once it closed.
struct ModalKind {
  const char* name;
  void (*open)(TTntForm1&);
  int closeWith;
};

class ModalWindowsDuringARun : public testing::TestWithParam<ModalKind> {};

TEST_P(ModalWindowsDuringARun, OpenAboveTheProgressWindowWhichIsOnTopAgainAfter) {
  MainWindowFixture f;
  TTntForm2 progress(nullptr, &f.form());
  progress.ShowProgress();
  f.Pump();
  BoxPlaces().clear();
  CloseCommand() = GetParam().closeWith;
  GetParam().open(f.form());
  CloseCommand() = IDOK;
  ASSERT_EQ(BoxPlaces().size(), 1u);
  EXPECT_FALSE(BoxPlaces()[0].covered);
  EXPECT_TRUE(IsWindowVisible(progress.Handle()));
  EXPECT_TRUE(GetWindowLongPtrW(progress.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ModalWindowsDuringARun,
    testing::Values(
        ModalKind{"MessageBox",
                  [](TTntForm1& form) {
                    form.ShowMessage(L"转换第1个文件时出现错误", L"Velmo转换", MB_OK);
                  },
                  IDOK},
        ModalKind{"OpenDialog", [](TTntForm1& form) { form.TntBitBtn5Click(); }, IDCANCEL},
        ModalKind{"FolderBrowser", [](TTntForm1& form) { form.TntButton1Click(); }, IDCANCEL}),
    [](const testing::TestParamInfo<ModalKind>& info) { return info.param.name; });

// Shell extensions that the folder browser loads outlive it: the thread keeps its COM
// apartment after the browser closed.
TEST(MainWindow, TheFolderBrowserLeavesTheThreadInItsComApartment) {
  MainWindowFixture f;
  CloseCommand() = IDCANCEL;
  f.form().TntButton1Click();
  CloseCommand() = IDOK;
  HRESULT entered = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  EXPECT_EQ(entered, S_FALSE);  // already in one
  if (SUCCEEDED(entered)) CoUninitialize();
}

// At the end of a run the taskbar button flashes when the user works in another program, so
// that the final question is found; not while the program is in front.
TEST(MainWindow, FlashesOnlyWhileAnotherProgramIsInTheForeground) {
  MainWindowFixture f;
  SetForegroundWindow(f.form().Handle());
  f.Pump();
  ASSERT_EQ(GetForegroundWindow(), f.form().Handle());
  EXPECT_FALSE(f.form().FlashIfInBackground());

  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  std::wstring line = L"\"" + std::wstring(system) + L"\\notepad.exe\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info));
  ui::UniqueHandle process(info.hProcess), thread(info.hThread);
  WaitForInputIdle(process.get(), 10000);
  // Its window takes the foreground when it appears.
  HWND other = nullptr;
  for (int i = 0; i < 200 && !other; ++i) {
    f.Pump();
    Sleep(50);
    DWORD owner = 0;
    HWND foreground = GetForegroundWindow();
    GetWindowThreadProcessId(foreground, &owner);
    if (owner == info.dwProcessId) other = foreground;
  }
  EXPECT_NE(other, nullptr);
  EXPECT_TRUE(f.form().FlashIfInBackground());
  TerminateProcess(process.get(), 0);
  WaitForSingleObject(process.get(), 10000);
}

TEST(MainWindow, CreationAcceptsDropsAndKnowsTheAppDataFolder) {
  MainWindowFixture f;
  EXPECT_TRUE(GetWindowLongW(f.form().Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  ASSERT_FALSE(AppDataDir.empty());
  EXPECT_NE(AppDataDir.back(), L'\\');
  EXPECT_THAT(AppDataDir, testing::HasSubstr(L"AppData\\Roaming"));
  EXPECT_TRUE(MainWindowFixture::Boxes().empty());
}

struct Ancestry {
  const wchar_t* name;
  const wchar_t* className;
  std::vector<const wchar_t*> ancestors;
};

TEST(MainWindow, EveryControlAnswersItsClassAndAncestry) {
  MainWindowFixture f;
  const Ancestry table[] = {
      {L"TntForm1", L"TTntForm1", {L"TTntForm", L"TForm", L"TCustomForm", L"TWinControl"}},
      {L"TntPageControl1",
       L"TTntPageControl",
       {L"TPageControl", L"TCustomTabControl", L"TWinControl"}},
      {L"TntTabSheet1", L"TTntTabSheet", {L"TTabSheet", L"TWinControl"}},
      {L"TntImage2", L"TTntImage", {L"TImage", L"TGraphicControl", L"TControl"}},
      {L"TntImage3", L"TTntImage", {L"TImage", L"TGraphicControl"}},
      {L"TntLabel2", L"TTntLabel", {L"TLabel", L"TCustomLabel", L"TGraphicControl"}},
      {L"TntLabel3", L"TTntLabel", {L"TCustomLabel"}},
      {L"TntSpeedButton2", L"TTntSpeedButton", {L"TSpeedButton", L"TGraphicControl"}},
      {L"TntStatusBar1", L"TTntStatusBar", {L"TStatusBar", L"TCustomStatusBar", L"TWinControl"}},
      {L"TntPanel1", L"TTntPanel", {L"TPanel", L"TCustomPanel", L"TCustomControl"}},
      {L"TntPanel2", L"TTntPanel", {L"TCustomPanel"}},
      {L"TntPanel3", L"TTntPanel", {L"TCustomPanel"}},
      {L"TntLabel1", L"TTntLabel", {L"TCustomLabel"}},
      {L"TntEdit1", L"TTntEdit", {L"TEdit", L"TCustomEdit", L"TWinControl"}},
      {L"TntButton1", L"TTntButton", {L"TButton", L"TButtonControl"}},
      {L"TntButton2", L"TTntButton", {L"TButton"}},
      {L"TntBitBtn5", L"TTntBitBtn", {L"TBitBtn", L"TButton"}},
      {L"TntBitBtn9", L"TTntBitBtn", {L"TBitBtn"}},
      {L"TntListView1", L"TTntListView", {L"TListView", L"TCustomListView", L"TWinControl"}},
      {L"TntGroupBox1", L"TTntGroupBox", {L"TGroupBox", L"TCustomGroupBox"}},
      {L"TntGroupBox2", L"TTntGroupBox", {L"TCustomGroupBox"}},
      {L"g1", L"TTntRadioButton", {L"TRadioButton", L"TButtonControl"}},
      {L"g8", L"TTntRadioButton", {L"TRadioButton"}},
      {L"TntLabel4", L"TTntLabel", {L"TCustomLabel"}},
      {L"TntComboBox1", L"TTntComboBox", {L"TComboBox", L"TCustomComboBox", L"TWinControl"}},
      {L"TntBitBtn1", L"TTntBitBtn", {L"TBitBtn", L"TButton"}},
      {L"TntCheckBox1", L"TTntCheckBox", {L"TCheckBox", L"TCustomCheckBox", L"TButtonControl"}},
  };
  for (const Ancestry& a : table) {
    TComponent* c =
        a.name == std::wstring(L"TntForm1") ? &f.form() : f.form().FindComponent(a.name);
    ASSERT_NE(c, nullptr) << a.name;
    EXPECT_EQ(c->ClassName(), a.className) << a.name;
    for (const wchar_t* ancestor : a.ancestors)
      EXPECT_TRUE(c->InheritsFrom(ancestor)) << a.name << " " << ancestor;
    EXPECT_TRUE(c->InheritsFrom(L"TComponent"));
    // Rows the skin engine must never take: no control is both kinds.
    EXPECT_FALSE(c->InheritsFrom(L"TCustomEdit") && c->InheritsFrom(L"TButton")) << a.name;
  }
  EXPECT_FALSE(f.form().FindComponent(L"TntBitBtn1")->InheritsFrom(L"TSpeedButton"));
  EXPECT_FALSE(f.form().FindComponent(L"g1")->InheritsFrom(L"TCustomCheckBox"));
  EXPECT_FALSE(f.form().FindComponent(L"TntLabel1")->InheritsFrom(L"TWinControl"));
  // The window of each windowed control leads back to it.
  for (TComponent* c : f.form().Components()) {
    if (auto* w = dynamic_cast<TWinControl*>(c))
      EXPECT_EQ(TWinControl::FromHandle(w->Handle()), w) << w->Name();
  }
}

TEST(MainWindow, OpeningAndClosingFiftyTimesLeavesTheObjectCountsFlat) {
  Application().Initialize();
  auto cycle = [](bool shown) {
    auto form = std::make_unique<TTntForm1>(nullptr);
    form->TntListView1->AddItem(L"x");
    if (shown) {
      form->Show();
      MainWindowFixture::Pump();
    } else {
      // Every control paints into a memory bitmap: the painting paths run without the
      // two seconds Wine spends on each visible window that goes.
      HDC screen = GetDC(nullptr);
      HDC dc = CreateCompatibleDC(screen);
      HBITMAP bitmap = CreateCompatibleBitmap(screen, 945, 643);
      HGDIOBJ old = SelectObject(dc, bitmap);
      SendMessageW(form->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_CHILDREN | PRF_ERASEBKGND | PRF_NONCLIENT);
      SelectObject(dc, old);
      DeleteObject(bitmap);
      DeleteDC(dc);
      ReleaseDC(nullptr, screen);
    }
  };
  cycle(true);  // classes, cached fonts and system bitmaps are made once
  cycle(false);
  int gdi = gui_objects::GdiObjects();
  int user = gui_objects::UserObjects();
  ASSERT_GT(gdi, 0);
  for (int i = 0; i < 50; ++i) cycle(false);
  for (int i = 0; i < 3; ++i) cycle(true);
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
}

}  // namespace
