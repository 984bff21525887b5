#include "shell/MainWindow.h"

#include <shlobj.h>

#include <cwctype>

#include "shell/AppDataDir.h"
#include "shell/Native.h"
#include "ui/Application.h"
#include "ui/FormReader.h"

namespace {

// Radio button index -> format key.
const char* const kFormatKeys[9] = {"",           "flv", "3gp", "mp4",     "mp4-psp",
                                    "mp4-iphone", "avi", "mp3", "mp4-ipad"};

std::wstring TrimBlanks(const std::wstring& text) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] <= L' ') ++b;
  while (e > b && text[e - 1] <= L' ') --e;
  return text.substr(b, e - b);
}

}  // namespace

const ui::TClassInfo& TTntForm1::StaticClass() {
  static ui::TClassInfo info(L"TTntForm1", &ui::TTntForm::StaticClass());
  return info;
}

template <typename T>
T* TTntForm1::Find(const wchar_t* name) {
  return dynamic_cast<T*>(FindComponent(name));
}

TTntForm1::TTntForm1(ui::TComponent* owner) : ui::TTntForm(owner) {
  ui::ReadComponentResource(*this, L"TTNTFORM1");
  TntListView1 = Find<ui::TTntListView>(L"TntListView1");
  TntComboBox1 = Find<ui::TTntComboBox>(L"TntComboBox1");
  TntEdit1 = Find<ui::TTntEdit>(L"TntEdit1");
  TntCheckBox1 = Find<ui::TTntCheckBox>(L"TntCheckBox1");
  TntBitBtn1 = Find<ui::TTntBitBtn>(L"TntBitBtn1");
  TntLabel2 = Find<ui::TTntLabel>(L"TntLabel2");
  TntSpeedButton2 = Find<ui::TTntSpeedButton>(L"TntSpeedButton2");
  OpenDialog1 = Find<ui::TTntOpenDialog>(L"OpenDialog1");
  TntPopupMenu1 = Find<ui::TTntPopupMenu>(L"TntPopupMenu1");
  ImageList2 = Find<ui::TImageList>(L"ImageList2");
  for (int i = 1; i <= 8; ++i)
    g[i] = Find<ui::TTntRadioButton>((L"g" + std::to_wstring(i)).c_str());
  if (!TntListView1 || !TntComboBox1 || !TntEdit1 || !TntCheckBox1 || !TntBitBtn1 || !TntLabel2 ||
      !TntSpeedButton2 || !OpenDialog1 || !g[1] || !g[8]) {
    throw ui::EReadError("the main window's layout lacks a control the program needs");
  }
  AfterConstruction();
}

TTntForm1::~TTntForm1() {
  if (HandleAllocated()) DragAcceptFiles(WindowHandle(), FALSE);
}

ui::TNotifyEvent TTntForm1::MethodAddress(std::wstring_view name) {
  using Handler = void (TTntForm1::*)();
  static const std::pair<const wchar_t*, Handler> handlers[] = {
      {L"TntFormCreate", &TTntForm1::TntFormCreate},
      {L"TntFormResize", &TTntForm1::TntFormResize},
      {L"TntButton1Click", &TTntForm1::TntButton1Click},
      {L"TntButton2Click", &TTntForm1::TntButton2Click},
      {L"TntSpeedButton2Click", &TTntForm1::TntSpeedButton2Click},
      {L"TntBitBtn1Click", &TTntForm1::TntBitBtn1Click},
      {L"TntBitBtn5Click", &TTntForm1::TntBitBtn5Click},
      {L"TntBitBtn6Click", &TTntForm1::TntBitBtn6Click},
      {L"TntBitBtn7Click", &TTntForm1::TntBitBtn7Click},
      {L"TntBitBtn8Click", &TTntForm1::TntBitBtn8Click},
      {L"TntBitBtn9Click", &TTntForm1::TntBitBtn9Click},
  };
  for (const auto& [handlerName, handler] : handlers) {
    if (ui::SameText(name, handlerName))
      return [this, handler](ui::TPersistent&) { (this->*handler)(); };
  }
  if (name.size() == 7 && name.substr(0, 1) == L"g" && name.substr(2) == L"Click" &&
      name[1] >= L'1' && name[1] <= L'8') {
    int index = name[1] - L'0';
    return [this, index](ui::TPersistent&) { RadioClick(index); };
  }
  return ui::TTntForm::MethodAddress(name);
}

void TTntForm1::WndProc(ui::TMessage& m) {
  if (m.Msg == WM_DROPFILES) {
    WMDropFiles(reinterpret_cast<HDROP>(m.WParam));
    m.Result = 0;
    return;
  }
  if (m.Msg == kStartAfterImport) {
    m.Result = 0;
    if (!pendingStart_ || importing_ > 0) return;
    std::string key = *pendingStart_;
    pendingStart_.reset();
    cover(key);
    return;
  }
  ui::TTntForm::WndProc(m);
}

void TTntForm1::TntFormCreate() {
  DragAcceptFiles(Handle(), TRUE);
  bool resolved = false;
  PIDLIST_ABSOLUTE item = nullptr;
  if (SUCCEEDED(SHGetSpecialFolderLocation(ui::Application().Handle(), CSIDL_APPDATA, &item)) &&
      item) {
    // Wide: a profile folder outside the ANSI code page would come back with "?" in it.
    wchar_t path[MAX_PATH] = {};
    if (SHGetPathFromIDListW(item, path)) {
      AppDataDir = path;
      resolved = !AppDataDir.empty();
    }
    CoTaskMemFree(item);
  }
  if (!resolved) {
    std::wstring text = L"无法访问AppData目录,Velmo无法正在工作,将自动关闭.请发送邮件到";
    text += kSupportAddress;
    text += L"获得帮助";
    ShowMessage(text, L"严重错误", MB_ICONINFORMATION);
    ui::Application().Terminate();
  }
}

void TTntForm1::TntFormResize() {
  // The advertisement and its link stay at the right edge.
  for (ui::TControl* c :
       {static_cast<ui::TControl*>(TntLabel2), static_cast<ui::TControl*>(TntSpeedButton2)}) {
    c->SetLeft(Width() - c->Width() - 30);
  }
}

void TTntForm1::RadioClick(int index) {
  ui::TTntRadioButton* button = g[index];
  switch (index) {
    case 1:
    case 3:
    case 6:
      if (!button->Checked()) return;
      TntComboBox1->SetEnabled(true);
      TntComboBox1->SetItemIndex(0);
      break;
    case 2:
      if (!button->Checked()) return;
      TntComboBox1->SetItemIndex(1);
      TntComboBox1->SetEnabled(false);
      break;
    case 4:
    case 5:
      if (!button->Checked()) return;
      TntComboBox1->SetEnabled(true);
      TntComboBox1->SetItemIndex(5);
      break;
    case 7:
      TntComboBox1->SetEnabled(false);
      break;
    case 8:
      TntComboBox1->SetEnabled(true);
      TntComboBox1->SetItemIndex(0);
      break;
    default:
      break;
  }
}

std::string TTntForm1::CheckedFormatKey() const {
  std::string key;
  for (int index : {1, 2, 3, 6, 4, 5, 7, 8}) {
    if (g[index]->Checked()) key = kFormatKeys[index];
  }
  return key;
}

void TTntForm1::TntBitBtn1Click() {
  if (importing_ > 0) {
    pendingStart_ = CheckedFormatKey();
    return;
  }
  cover(CheckedFormatKey());
}

TTntForm1::ImportScope::ImportScope(TTntForm1& form) : form_(form) { ++form_.importing_; }

TTntForm1::ImportScope::~ImportScope() {
  // Posted, so that the run starts from the message loop once the import's handler returned.
  if (--form_.importing_ == 0 && form_.pendingStart_ && form_.HandleAllocated())
    PostMessageW(form_.WindowHandle(), kStartAfterImport, 0, 0);
}

void TTntForm1::TntButton1Click() {
  std::optional<std::wstring> folder =
      ui::BrowseForFolder(Handle(), L"请选择保存下载转换后保存文件的目录：");
  if (!folder) return;
  std::wstring path = TrimBlanks(*folder);
  // A virtual folder without a file-system path changes nothing.
  if (path.empty()) return;
  if (path.back() != L'\\') path += L'\\';
  TntEdit1->SetText(TrimBlanks(path));
}

void TTntForm1::TntButton2Click() {
  std::wstring folder = TntEdit1->GetText();
  if (TrimBlanks(folder).empty()) {
    ShowMessage(L"还没有设置转换目录", L"提示", MB_ICONINFORMATION);
    return;
  }
  OpenWithShell(folder);
}

void TTntForm1::TntSpeedButton2Click() { OpenWithShell(kMakerSiteAddress); }

int TTntForm1::ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) {
  return ui::MessageBoxText(HandleAllocated() ? WindowHandle() : nullptr, text, caption, flags);
}

std::vector<EntryState> TTntForm1::Entries() const {
  std::vector<EntryState> entries;
  int count = TntListView1->ItemCount();
  entries.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    entries.push_back({static_cast<EntryId>(TntListView1->ItemData(i)), TntListView1->Checked(i)});
  return entries;
}

std::optional<int> TTntForm1::EntryIndex(EntryId id) const {
  int index = TntListView1->IndexOfData(static_cast<LPARAM>(id));
  if (index < 0) return std::nullopt;
  return index;
}

std::optional<std::wstring> TTntForm1::EntryPath(EntryId id) const {
  std::optional<int> index = EntryIndex(id);
  if (!index) return std::nullopt;
  std::wstring path = TntListView1->ItemText(*index, 2);
  if (path.empty()) return std::nullopt;
  return path;
}

void TTntForm1::SetEntryIcon(EntryId id, int icon) {
  if (std::optional<int> index = EntryIndex(id)) TntListView1->SetImageIndex(*index, icon);
}

void TTntForm1::RemoveEntry(EntryId id) {
  if (std::optional<int> index = EntryIndex(id)) TntListView1->Delete(*index);
}

std::wstring TTntForm1::ResolutionText() const { return TntComboBox1->GetText(); }
std::wstring TTntForm1::OutputFolderText() const { return TntEdit1->GetText(); }
bool TTntForm1::DeleteAfterConversion() const { return TntCheckBox1->Checked(); }
void TTntForm1::EnableStartButton(bool enabled) { TntBitBtn1->SetEnabled(enabled); }
std::wstring TTntForm1::ApplicationTitle() const { return ui::Application().Title(); }
void TTntForm1::OpenInShell(const std::wstring& path) { OpenWithShell(path); }

bool TTntForm1::FlashIfInBackground() {
  DWORD process = 0;
  if (HWND foreground = GetForegroundWindow()) GetWindowThreadProcessId(foreground, &process);
  if (process == GetCurrentProcessId() || !HandleAllocated()) return false;
  // The main window carries the taskbar button; it flashes until the program is in front.
  FLASHWINFO flash{sizeof flash, WindowHandle(), FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
  FlashWindowEx(&flash);
  return true;
}
