#include "tests/e2e/AppDriver.h"

#include <commctrl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "tests/doubles/PipedChild.h"
#include "tests/doubles/UserInput.h"
#include "ui/CodePage.h"

namespace e2e {

namespace {

struct FindState {
  std::wstring text;
  std::wstring classPart;
  std::vector<HWND> found;
  bool all = false;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* state = reinterpret_cast<FindState*>(param);
  std::wstring cls = ClassName(window);
  bool classOk = state->classPart.empty() || cls.find(state->classPart) != std::wstring::npos;
  if (classOk && (state->all || WindowText(window) == state->text)) {
    state->found.push_back(window);
    if (!state->all) return FALSE;
  }
  return TRUE;
}

struct ProcessWindowQuery {
  DWORD processId;
  std::wstring className;
  std::wstring title;
  HWND found = nullptr;
};

BOOL CALLBACK MatchTopLevel(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<ProcessWindowQuery*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != query->processId || !IsWindowVisible(window)) return TRUE;
  if (!query->className.empty() && ClassName(window) != query->className) return TRUE;
  if (!query->title.empty() && WindowText(window) != query->title) return TRUE;
  query->found = window;
  return FALSE;
}

void PumpOnce() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

std::wstring Quote(const std::filesystem::path& path) { return L"\"" + path.wstring() + L"\""; }

// Runs a command line without a console and returns its standard output and error.
std::string Capture(const std::wstring& commandLine, DWORD* exitCode = nullptr) {
  // No console at all: under Wine a console host of the child can keep the pipe open.
  PipedChild child = StartPiped(commandLine, DETACHED_PROCESS);
  if (!child) return {};
  return ReadUntilEnd(child, exitCode);
}

}  // namespace

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > end) return false;
    PumpOnce();
    Sleep(20);
  }
  return true;
}

std::wstring WindowText(HWND window) {
  wchar_t text[1024]{};
  // WM_GETTEXT crosses processes; a hung window must not hang the driver.
  DWORD_PTR length = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      2000, &length);
  return text;
}

std::wstring ClassName(HWND window) {
  wchar_t name[256]{};
  GetClassNameW(window, name, 256);
  return name;
}

HWND FindDescendant(HWND parent, const std::wstring& text, const std::wstring& classPart) {
  FindState state{text, classPart};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&state));
  return state.found.empty() ? nullptr : state.found.front();
}

std::vector<HWND> FindDescendants(HWND parent, const std::wstring& classPart) {
  FindState state{L"", classPart, {}, true};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND FindProcessWindow(DWORD processId, const std::wstring& className, const std::wstring& title) {
  ProcessWindowQuery query{processId, className, title};
  EnumWindows(MatchTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

void Click(HWND button) { PostMessageW(button, BM_CLICK, 0, 0); }

std::optional<MessageBoxView> WaitForMessageBox(DWORD processId,
                                                std::chrono::milliseconds timeout) {
  HWND box = nullptr;
  if (!WaitFor([&] { return (box = FindProcessWindow(processId, L"#32770")) != nullptr; }, timeout))
    return std::nullopt;
  MessageBoxView view{box, WindowText(box), WindowText(GetDlgItem(box, 0xFFFF))};
  return view;
}

void AnswerMessageBox(const MessageBoxView& box, int buttonId) {
  HWND button = GetDlgItem(box.window, buttonId);
  if (button) Click(button);
  WaitFor([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); }, 10s);
}

App::App(const std::filesystem::path& programFolder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring line = Quote(programFolder / L"VelmoConvert.exe");
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      programFolder.wstring().c_str(), &startup, &info))
    throw std::runtime_error("VelmoConvert.exe did not start");
  CloseHandle(info.hThread);
  process_.reset(info.hProcess);
  processId_ = info.dwProcessId;
  WaitFor([&] { return (main_ = FindProcessWindow(processId_, L"TTntForm1")) != nullptr; }, 30s);
  if (!main_) throw std::runtime_error("no main window");
}

App::~App() { Quit(); }

bool App::Running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

void App::Quit() {
  if (!process_) return;
  if (Running() && IsWindow(main_)) PostMessageW(main_, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process_.get(), 15000) != WAIT_OBJECT_0)
    TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), 5000);
  process_.reset();
}

void App::Kill() {
  if (!process_) return;
  TerminateProcess(process_.get(), 1);
  WaitForSingleObject(process_.get(), 5000);
  process_.reset();
}

HWND App::Button(const std::wstring& caption) const { return FindDescendant(main_, caption); }

namespace {

// Real input goes to the foreground window: the main window first, with the pointer off it.
void BringToFront(HWND window) {
  SetForegroundWindow(window);
  WaitFor([&] { return GetForegroundWindow() == window; }, 5s);
}

// A click lands on whatever window lies under the point: wait until that is the main window
// (a window of another program on the display would take it), bringing it up meanwhile.
bool OnTopAt(HWND window, POINT at) {
  return WaitFor(
      [&] {
        if (GetAncestor(WindowFromPoint(at), GA_ROOT) == window) return true;
        SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(window);
        return false;
      },
      10s);
}

}  // namespace

bool App::ClickCloseBox() {
  BringToFront(main_);
  // The skin draws the caption buttons and hit-tests them as caption: the close box lies where
  // the program's skin puts it, XCoord from the right edge and YCoord down, as large as one of
  // the frames of its image.
  const std::filesystem::path skin = std::filesystem::path(VELMO_SOURCE_DIR) / "resources" / "skin";
  const std::wstring ini = (skin / "skin.ini").wstring();
  const int fromRight = GetPrivateProfileIntW(L"Button0", L"XCoord", 0, ini.c_str());
  const int down = GetPrivateProfileIntW(L"Button0", L"YCoord", 0, ini.c_str());
  const int frames = GetPrivateProfileIntW(L"Button0", L"frame", 1, ini.c_str());
  std::ifstream image(skin / "caption-close.bmp", std::ios::binary);
  char header[26]{};
  image.read(header, sizeof header);
  int32_t width = 0, height = 0;
  std::memcpy(&width, header + 18, 4);
  std::memcpy(&height, header + 22, 4);
  if (!image || fromRight <= 0 || frames <= 0 || width <= 0) return false;
  RECT frame{};
  GetWindowRect(main_, &frame);
  POINT at{frame.right - fromRight + width / frames / 2, frame.top + down + std::abs(height) / 2};
  if (!OnTopAt(main_, at)) return false;
  using user_input::Mouse;
  user_input::MoveMouse(at);
  user_input::Send({Mouse(MOUSEEVENTF_LEFTDOWN, at)});
  Sleep(50);  // a press and a release, not one event: the button tracks its press
  user_input::Send({Mouse(MOUSEEVENTF_LEFTUP, at)});
  return true;
}

bool App::CloseFromSystemMenu() {
  BringToFront(main_);
  user_input::Keys({{VK_MENU, true}, {VK_SPACE, true}, {VK_SPACE, false}, {VK_MENU, false}});
  HWND menu = nullptr;
  if (!WaitFor([&] { return (menu = FindProcessWindow(processId_, L"#32768")) != nullptr; }, 10s))
    return false;
  // 关闭 is the menu's last item: Up from no selection goes round to it.
  user_input::Keys({{VK_UP, true}, {VK_UP, false}, {VK_RETURN, true}, {VK_RETURN, false}});
  return true;
}

void App::PressAltF4() {
  BringToFront(main_);
  user_input::Keys({{VK_MENU, true}, {VK_F4, true}, {VK_F4, false}, {VK_MENU, false}});
}

void App::Import(const std::vector<std::filesystem::path>& files) {
  Click(Button(L"导入文件"));
  HWND dialog = nullptr;
  WaitFor(
      [&] {
        return (dialog = FindProcessWindow(processId_, L"#32770", L"导入flv或mp4文件")) != nullptr;
      },
      20s);
  if (!dialog) throw std::runtime_error("no open dialog");
  // The file name box: a combo box with an edit (id 0x47C) or a plain edit (id 0x480).
  HWND name = GetDlgItem(dialog, 0x47C);
  if (!name) name = GetDlgItem(dialog, 0x480);
  if (name && ClassName(name) == L"ComboBox") name = FindWindowExW(name, nullptr, L"Edit", nullptr);
  if (!name) throw std::runtime_error("no file name box");
  std::wstring text;
  if (files.size() == 1) {
    text = files.front().wstring();
  } else {
    // Go to the folder first, then name the files in it.
    SendMessageW(name, WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(files.front().parent_path().wstring().c_str()));
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    Sleep(300);
    for (const auto& file : files) text += Quote(file.filename()) + L" ";
  }
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  if (!WaitFor([&] { return !IsWindow(dialog); }, 20s)) throw std::runtime_error("dialog stayed");
  WaitFor([&] { return EntryCount() >= static_cast<int>(files.size()); }, 10s);
}

HWND App::ListView() const {
  std::vector<HWND> lists = FindDescendants(main_, L"ListView");
  return lists.empty() ? nullptr : lists.front();
}

int App::EntryCount() const {
  return static_cast<int>(SendMessageW(ListView(), LVM_GETITEMCOUNT, 0, 0));
}

bool App::EntryChecked(int index) const {
  auto state = SendMessageW(ListView(), LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

void App::SetEntryChecked(int index, bool checked) {
  // LVM_SETITEMSTATE takes a pointer: the item lives in the program's memory.
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
  void* remote = VirtualAllocEx(process_.get(), nullptr, sizeof(item), MEM_COMMIT, PAGE_READWRITE);
  WriteProcessMemory(process_.get(), remote, &item, sizeof(item), nullptr);
  SendMessageW(ListView(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(remote));
  VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
}

std::wstring App::EntryText(int index, int column) const {
  // The item is laid out as the program reads it: the driver and the program come from one
  // build tree, so they share a bitness and LVITEMW's layout.
  struct Remote {
    LVITEMW item;
    wchar_t text[512];
  };
  Remote local{};
  char* remote = static_cast<char*>(
      VirtualAllocEx(process_.get(), nullptr, sizeof(Remote), MEM_COMMIT, PAGE_READWRITE));
  local.item.iSubItem = column;
  local.item.cchTextMax = 512;
  local.item.pszText = reinterpret_cast<wchar_t*>(remote + offsetof(Remote, text));
  WriteProcessMemory(process_.get(), remote, &local, sizeof(local), nullptr);
  SendMessageW(ListView(), LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(remote));
  std::vector<char> back = ReadRemote(remote, sizeof(Remote));
  VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
  const Remote* result = reinterpret_cast<const Remote*>(back.data());
  return std::wstring(result->text, wcsnlen(result->text, 512));
}

std::vector<char> App::ReadRemote(const void* address, size_t size) const {
  std::vector<char> bytes(size);
  ReadProcessMemory(process_.get(), address, bytes.data(), size, nullptr);
  return bytes;
}

void App::ChooseFormat(const std::wstring& radioCaption) {
  HWND radio = FindDescendant(main_, radioCaption);
  if (!radio) throw std::runtime_error("no such format button");
  SendMessageW(radio, BM_CLICK, 0, 0);
}

void App::SetDeleteAfter(bool on) {
  HWND box = FindDescendant(main_, L"转换完删除文件");
  if ((SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED) != on)
    SendMessageW(box, BM_CLICK, 0, 0);
}

std::wstring App::OutputFolder() const {
  std::vector<HWND> edits = FindDescendants(main_, L"Edit");
  return edits.empty() ? std::wstring() : WindowText(edits.front());
}

HWND App::ProgressWindow() const { return FindProcessWindow(processId_, L"TTntForm2"); }

App::Bar App::ProgressBar(int index) const {
  HWND window = ProgressWindow();
  if (!window) window = FindWindowW(L"TTntForm2", nullptr);
  std::vector<HWND> bars = FindDescendants(window, L"Progress");
  // Bars in layout order: the current bar lies above the total bar.
  std::sort(bars.begin(), bars.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.top < rb.top;
  });
  if (index >= static_cast<int>(bars.size())) return {};
  HWND bar = bars[static_cast<size_t>(index)];
  return {static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)),
          static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0))};
}

std::filesystem::path TestFolder() {
  wchar_t self[MAX_PATH]{};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return std::filesystem::path(self).parent_path();
}

std::filesystem::path ProgramFolder() {
  return std::filesystem::path(ui::AnsiToWide(VELMO_DIST_DIR, CP_UTF8));
}

void MakeClip(const std::filesystem::path& path, int seconds, const wchar_t* size) {
  std::wstring s = std::to_wstring(seconds);
  DWORD code = 1;
  Capture(Quote(ProgramFolder() / L"engine" / L"ffmpeg.exe") +
              L" -nostdin -y -loglevel error -f lavfi -i testsrc=size=" + std::wstring(size) +
              L":rate=25:duration=" + s + L" -f lavfi -i sine=frequency=440:duration=" + s +
              L" -c:v flv1 -c:a libmp3lame -ar 44100 -shortest " + Quote(path),
          &code);
  if (code != 0) throw std::runtime_error("the engine could not make a clip");
}

std::optional<ProbeResult> Probe(const std::filesystem::path& file) {
  if (!std::filesystem::exists(file) || std::filesystem::file_size(file) == 0) return std::nullopt;
  // The engine's own reading of the file: "Input #0, <format>, from", then the streams.
  std::string out = Capture(Quote(ProgramFolder() / L"engine" / L"ffmpeg.exe") +
                            L" -nostdin -hide_banner -i " + Quote(file));
  ProbeResult result;
  size_t input = out.find("Input #0, ");
  if (input == std::string::npos) return std::nullopt;
  size_t formatEnd = out.find(", from", input);
  result.format = out.substr(input + 10, formatEnd - input - 10);
  for (const char* kind : {": Video: ", ": Audio: "}) {
    for (size_t at = out.find(kind); at != std::string::npos; at = out.find(kind, at + 1)) {
      size_t begin = at + std::strlen(kind);
      size_t end = out.find_first_of(" ,\r\n", begin);
      result.codecs.push_back(out.substr(begin, end - begin));
    }
  }
  size_t duration = out.find("Duration: ");
  if (duration != std::string::npos) {
    int h = 0, m = 0;
    double s = 0;
    if (std::sscanf(out.c_str() + duration + 10, "%d:%d:%lf", &h, &m, &s) == 3)
      result.duration = h * 3600 + m * 60 + s;
  }
  return result;
}

std::vector<std::wstring> EncoderProcessesLeft() {
  std::vector<std::wstring> left;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    for (const wchar_t* name : {L"ffmpeg.exe", L"ffmpegx.exe", L"mencoder.exe"})
      if (_wcsicmp(entry.szExeFile, name) == 0) left.push_back(entry.szExeFile);
  }
  return left;
}

}  // namespace e2e
