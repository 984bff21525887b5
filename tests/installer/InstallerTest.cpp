// The build's setup program and its uninstaller, driven silently as an administrator would,
// and the installed program used as a user would.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "shell/SingleInstance.h"
#include "tests/e2e/AppDriver.h"
#include "tests/installer/WizardPages.h"
#include "ui/CodePage.h"

namespace {

namespace fs = std::filesystem;
using namespace e2e;
using testing::HasSubstr;

std::wstring Wide(const char* utf8) { return ui::AnsiToWide(utf8, CP_UTF8); }

// A build-tree path as Windows names it (Wine maps the root to Z:).
std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = Wide(unixPath);
  if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
  for (wchar_t& c : path) c = c == L'/' ? L'\\' : c;
  return path;
}

fs::path KnownFolder(int csidl) {
  wchar_t path[MAX_PATH]{};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// One product as the setup program of one build installs it.
struct Product {
  std::wstring setup;
  std::wstring title;  // entry name, Start-menu folder and shortcut name
  std::wstring key;    // under the uninstall key, in the product's registry view
  REGSAM view;

  fs::path StartMenu() const { return KnownFolder(CSIDL_COMMON_PROGRAMS) / title; }
  fs::path Desktop() const {
    return KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY) / (title + L".lnk");
  }
};

constexpr wchar_t kUninstallRoot[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

Product ThisBuild() {
  std::wstring name = Wide(VELMO_PRODUCT_NAME);
#ifdef _WIN64
  return {WindowsPath(VELMO_SETUP_EXE), name + L" (64 位)", L"VelmoConvert-x64", KEY_WOW64_64KEY};
#else
  return {WindowsPath(VELMO_SETUP_EXE), name, L"VelmoConvert", KEY_WOW64_32KEY};
#endif
}

// The values of a product's uninstall entry (strings and numbers as text); nothing when the
// entry does not exist.
std::optional<std::map<std::wstring, std::wstring>> Entry(const Product& product) {
  HKEY key = nullptr;
  std::wstring path = std::wstring(kUninstallRoot) + L"\\" + product.key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ | product.view, &key) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::map<std::wstring, std::wstring> values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0;
    BYTE data[4096]{};
    DWORD size = sizeof(data) - sizeof(wchar_t);
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
      break;
    if (type == REG_DWORD)
      values[name] = std::to_wstring(*reinterpret_cast<DWORD*>(data));
    else
      values[name] = reinterpret_cast<wchar_t*>(data);
  }
  RegCloseKey(key);
  return values;
}

// How many entries of the installed programs (in the product's view) carry its name.
int EntriesNamed(const Product& product) {
  HKEY root = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_READ | product.view, &root) !=
      ERROR_SUCCESS)
    return 0;
  int count = 0;
  wchar_t sub[256];
  for (DWORD i = 0; RegEnumKeyW(root, i, sub, 256) == ERROR_SUCCESS; ++i) {
    wchar_t name[512]{};
    DWORD size = sizeof(name);
    if (RegGetValueW(root, sub, L"DisplayName", RRF_RT_REG_SZ, nullptr, name, &size) ==
            ERROR_SUCCESS &&
        product.title == name)
      ++count;
  }
  RegCloseKey(root);
  return count;
}

// Runs a command line and waits for it; its exit code, or -1 when it did not start or end in
// time (it is ended then, not left on the desktop).
int RunAndWait(std::wstring commandLine, DWORD timeoutMs = 120000) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return -1;
  CloseHandle(info.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(info.hProcess, &code);
  else
    TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hProcess);
  return static_cast<int>(code);
}

// Silent install; `folder` empty means the setup's own choice (an earlier install's folder, or
// the default). /D= takes the rest of the line, unquoted, spaces and all.
int Install(const std::wstring& setup, const fs::path& folder = {},
            const std::wstring& options = L"") {
  std::wstring line = L"\"" + setup + L"\" /S " + options;
  if (!folder.empty()) line += L" /D=" + folder.wstring();
  return RunAndWait(line);
}

// The uninstaller's silent run copies itself away and does its work there, in a process named
// Un*.exe; the uninstall has ended when none is left.
bool UninstallerCopiesRunning() {
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    std::wstring name = entry.szExeFile;
    if (name.size() >= 6 && _wcsnicmp(name.c_str(), L"un", 2) == 0 &&
        _wcsicmp(name.c_str() + name.size() - 4, L".exe") == 0 &&
        name.find(L"uninstall") == std::wstring::npos)
      return true;
  }
  return false;
}

// Runs the entry's quiet uninstall command as an administrator's tool would, and waits for the
// copy that does the work.
int Uninstall(const Product& product) {
  auto entry = Entry(product);
  if (!entry) return -1;
  int code = RunAndWait((*entry)[L"QuietUninstallString"]);
  Sleep(500);
  WaitFor([] { return !UninstallerCopiesRunning(); }, 60s);
  return code;
}

// A running process: its id and its parent's, from the system's list.
struct ProcessRow {
  DWORD id = 0;
  DWORD parent = 0;
  std::wstring name;
};
std::vector<ProcessRow> Processes() {
  std::vector<ProcessRow> rows;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    rows.push_back({entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile});
  return rows;
}

// The process running this executable, if one does.
std::optional<ProcessRow> ProcessOf(const fs::path& exe) {
  for (const ProcessRow& row : Processes()) {
    if (_wcsicmp(row.name.c_str(), exe.filename().c_str()) != 0) continue;
    ui::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, row.id));
    wchar_t path[MAX_PATH]{};
    DWORD size = MAX_PATH;
    if (process && QueryFullProcessImageNameW(process.get(), 0, path, &size) &&
        _wcsicmp(path, exe.c_str()) == 0)
      return row;
  }
  return std::nullopt;
}

std::wstring ProcessName(DWORD id) {
  for (const ProcessRow& row : Processes())
    if (row.id == id) return row.name;
  return L"";
}

// Gives the program's single-instance block other security, as a copy of another account or of
// a higher integrity level would have made it.
bool SetBlockSecurity(HANDLE block, const wchar_t* sddl) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                            nullptr))
    return false;
  BOOL set = SetKernelObjectSecurity(block, DACL_SECURITY_INFORMATION, descriptor);
  LocalFree(descriptor);
  return set != FALSE;
}
constexpr wchar_t kReadOnly[] = L"D:(D;;GW;;;WD)(A;;GR;;;WD)";
constexpr wchar_t kNoAccess[] = L"D:";

// Relative path -> size and last write time of every file below a folder.
std::map<fs::path, std::pair<uintmax_t, fs::file_time_type>> Files(const fs::path& folder) {
  std::map<fs::path, std::pair<uintmax_t, fs::file_time_type>> files;
  std::error_code ignored;
  for (const auto& item : fs::recursive_directory_iterator(folder, ignored)) {
    if (item.is_regular_file())
      files[fs::relative(item.path(), folder)] = {item.file_size(), item.last_write_time()};
  }
  return files;
}

std::wstring ShortcutTarget(const fs::path& link) {
  IShellLinkW* shellLink = nullptr;
  std::wstring target;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(&shellLink))))
    return target;
  IPersistFile* file = nullptr;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    wchar_t path[MAX_PATH]{};
    if (SUCCEEDED(file->Load(link.c_str(), STGM_READ)) &&
        SUCCEEDED(shellLink->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
    file->Release();
  }
  shellLink->Release();
  return target;
}

std::wstring VersionString(const fs::path& exe, const wchar_t* name) {
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  if (data.empty() ||
      !GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()))
    return L"";
  wchar_t* value = nullptr;
  UINT length = 0;
  std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
  if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
    return L"";
  return std::wstring(value, length ? length - 1 : 0);
}

// A top-level dialog of the process whose message text contains `part` (a question that the
// setup asks over its own wizard, which is a dialog too).
struct QuestionQuery {
  DWORD processId;
  std::wstring part;
  HWND found = nullptr;
};

BOOL CALLBACK MatchQuestion(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<QuestionQuery*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != query->processId || !IsWindowVisible(window) || ClassName(window) != L"#32770")
    return TRUE;
  if (WindowText(GetDlgItem(window, 0xFFFF)).find(query->part) == std::wstring::npos) return TRUE;
  query->found = window;
  return FALSE;
}

HWND FindQuestion(DWORD processId, const std::wstring& part) {
  QuestionQuery query{processId, part};
  EnumWindows(MatchQuestion, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

// The interactive setup started into a folder, and its wizard once shown (none when it did not
// show in time; the setup is then ended, not left on the desktop).
struct WizardRun {
  ui::UniqueHandle process;
  DWORD id = 0;
  HWND wizard = nullptr;
};

WizardRun StartWizard(const std::wstring& setup, const fs::path& folder) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::wstring line = L"\"" + setup + L"\" /D=" + folder.wstring();
  WizardRun run;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &info))
    return run;
  CloseHandle(info.hThread);
  run.process = ui::UniqueHandle(info.hProcess);
  run.id = info.dwProcessId;
  WaitFor([&] { return (run.wizard = FindProcessWindow(run.id, L"#32770")) != nullptr; }, 30s);
  if (!run.wizard) TerminateProcess(run.process.get(), 1);
  return run;
}

// Uninstalls through the entry and checks that the entry and the shortcuts have gone.
void UninstallCompletely(const Product& product) {
  EXPECT_EQ(Uninstall(product), 0);
  EXPECT_FALSE(Entry(product));
  EXPECT_FALSE(fs::exists(product.StartMenu()));
  EXPECT_FALSE(fs::exists(product.Desktop()));
}

class InstallerTest : public testing::Test {
 protected:
  InstallerTest() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    Clean(product);
  }
  ~InstallerTest() override {
    Clean(product);
    CoUninitialize();
  }

  // No install of the product and none of the test's folders from an earlier run.
  void Clean(const Product& p) {
    if (Entry(p)) Uninstall(p);
    std::error_code ignored;
    for (const fs::path& f : {Folder(L"Velmo转换 测试"), Folder(L"旧版 Velmo"), UserFolder()})
      fs::remove_all(f, ignored);
  }

  static fs::path Folder(const std::wstring& name) {
    return KnownFolder(CSIDL_PROGRAM_FILES) / name;
  }
  static fs::path UserFolder() { return KnownFolder(CSIDL_PERSONAL) / L"我的视频 安装测试"; }

  Product product = ThisBuild();
};

TEST_F(InstallerTest, InstallsRunsConvertsAndUninstallsLeavingTheUsersFiles) {
  const fs::path folder = Folder(L"Velmo转换 测试");
  ASSERT_EQ(Install(product.setup, folder), 0);

  // The whole program folder, and the uninstaller.
  const fs::path dist = ProgramFolder();
  auto shipped = Files(dist);
  ASSERT_FALSE(shipped.empty());
  auto installed = Files(folder);
  for (const auto& [name, file] : shipped) {
    ASSERT_TRUE(installed.count(name)) << name;
    EXPECT_EQ(installed[name].first, file.first) << name;
  }
  EXPECT_TRUE(installed.count(L"uninstall.exe"));
  EXPECT_EQ(installed.size(), shipped.size() + 1);

  // The program and the front-ends tell what they are.
  for (const wchar_t* exe : {L"VelmoConvert.exe", L"ffmpeg.exe", L"ffmpegx.exe", L"mencoder.exe"}) {
    SCOPED_TRACE(fs::path(exe).string());
    EXPECT_EQ(VersionString(folder / exe, L"ProductName"), Wide(VELMO_PRODUCT_NAME));
    EXPECT_EQ(VersionString(folder / exe, L"ProductVersion"), Wide(VELMO_VERSION));
    EXPECT_THAT(VersionString(folder / exe, L"FileDescription"), HasSubstr(L"Velmo"));
  }

  // The entry under the installed programs.
  auto entry = Entry(product);
  ASSERT_TRUE(entry);
  const std::wstring exe = (folder / L"VelmoConvert.exe").wstring();
  const std::wstring uninstaller = L"\"" + (folder / L"uninstall.exe").wstring() + L"\"";
  EXPECT_EQ((*entry)[L"DisplayName"], product.title);
  EXPECT_EQ((*entry)[L"DisplayVersion"], Wide(VELMO_VERSION));
  EXPECT_EQ((*entry)[L"Publisher"], Wide(VELMO_PUBLISHER));
  EXPECT_EQ((*entry)[L"DisplayIcon"], L"\"" + exe + L"\",0");
  EXPECT_EQ((*entry)[L"InstallLocation"], folder.wstring());
  EXPECT_EQ((*entry)[L"UninstallString"], uninstaller);
  EXPECT_EQ((*entry)[L"QuietUninstallString"], uninstaller + L" /S");
  // In KB, about the program folder's size.
  uintmax_t bytes = 0;
  for (const auto& [name, file] : shipped) bytes += file.first;
  EXPECT_NEAR(std::stod((*entry)[L"EstimatedSize"]), bytes / 1024.0, bytes / 1024.0 * 0.1);
  EXPECT_EQ(EntriesNamed(product), 1);

  // The shortcuts lead to the installed program and its uninstaller.
  EXPECT_EQ(ShortcutTarget(product.StartMenu() / (product.title + L".lnk")), exe);
  EXPECT_EQ(ShortcutTarget(product.StartMenu() / (L"卸载 " + product.title + L".lnk")),
            (folder / L"uninstall.exe").wstring());
  EXPECT_EQ(ShortcutTarget(product.Desktop()), exe);

  // The installed program converts, with its own front-ends and engine.
  const fs::path videos = UserFolder();
  fs::create_directories(videos);
  MakeClip(videos / L"片段.flv", 2);
  const fs::path output = videos / L"转换";
  fs::create_directories(output);
  std::ofstream(output / L"我的笔记.txt") << "mine";
  {
    App app(folder);
    ASSERT_TRUE(IsWindowVisible(app.MainWindow()));
    app.Import({videos / L"片段.flv"});
    ASSERT_EQ(app.EntryCount(), 1);
    Click(app.Button(L"开始转换"));
    std::optional<MessageBoxView> done = WaitForMessageBox(app.ProcessId(), 120s);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->caption, L"成功");
    AnswerMessageBox(*done, IDNO);
    std::optional<ProbeResult> probe = Probe(output / L"片段.mp4");
    ASSERT_TRUE(probe);
    EXPECT_THAT(probe->codecs, testing::ElementsAre("mpeg4", "aac"));

    // While it runs, a silent install over it refuses (exit code 3) and changes nothing.
    auto before = Files(folder);
    EXPECT_EQ(Install(product.setup, folder), 3);
    EXPECT_EQ(Files(folder), before);
    EXPECT_EQ(Entry(product), entry);
    EXPECT_TRUE(app.Running());
    // So does a silent uninstall: run in place (_?=), so that its exit code is its own and not
    // the one of the stage that hands over to a copy (always 0).
    EXPECT_EQ(RunAndWait((*entry)[L"QuietUninstallString"] + L" _?=" + folder.wstring()), 3);
    EXPECT_EQ(Uninstall(product), 0);  // the usual way: hands over, and the copy refuses
    EXPECT_EQ(Files(folder), before);
    {
      // However little the block lets them see (made by a copy of another account or of a
      // higher integrity level), a copy that runs is running: "access denied" too.
      ui::UniqueHandle block(
          OpenFileMappingA(READ_CONTROL | WRITE_DAC, FALSE, kInstanceMappingName));
      ASSERT_TRUE(block);
      for (const wchar_t* security : {kReadOnly, kNoAccess}) {
        SCOPED_TRACE(ui::WideToAnsi(security, CP_UTF8));
        ASSERT_TRUE(SetBlockSecurity(block.get(), security));
        EXPECT_EQ(Install(product.setup, folder), 3);
        EXPECT_EQ(RunAndWait((*entry)[L"QuietUninstallString"] + L" _?=" + folder.wstring()), 3);
        EXPECT_EQ(Files(folder), before);
      }
      // A second start finds the first copy through a block it may only read, brings it
      // forward and ends, without a window of its own.
      ASSERT_TRUE(SetBlockSecurity(block.get(), kReadOnly));
      EXPECT_EQ(RunAndWait(L"\"" + exe + L"\"", 30000), 0);
      EXPECT_TRUE(app.Running());
    }

    // Interactively, leaving the folder page asks to close the program; Cancel ends the setup.
    const WizardRun setup = StartWizard(product.setup, folder);
    ASSERT_TRUE(setup.wizard);
    HWND question = nullptr;
    for (int page = 0; page < 2 && !question; ++page) {  // welcome, then the folder
      Sleep(500);
      Click(GetDlgItem(setup.wizard, IDOK));
      WaitFor([&] { return (question = FindQuestion(setup.id, L"正在运行")) != nullptr; }, 3s);
    }
    if (!question) TerminateProcess(setup.process.get(), 1);  // not left on the desktop
    ASSERT_TRUE(question);
    Click(GetDlgItem(question, IDCANCEL));
    ASSERT_EQ(WaitForSingleObject(setup.process.get(), 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(setup.process.get(), &code);
    EXPECT_EQ(code, 3u);
    EXPECT_EQ(Files(folder), before);
    EXPECT_EQ(Entry(product), entry);
  }
  const fs::path userData = KnownFolder(CSIDL_APPDATA) / L"qzmvt";
  ASSERT_TRUE(fs::exists(userData));

  UninstallCompletely(product);
  EXPECT_FALSE(fs::exists(folder));
  // The user's files and the per-user folder stay.
  EXPECT_TRUE(fs::exists(output / L"片段.mp4"));
  EXPECT_TRUE(fs::exists(output / L"我的笔记.txt"));
  EXPECT_TRUE(fs::exists(videos / L"片段.flv"));
  EXPECT_TRUE(fs::exists(userData));
}

// An upgrade removes the older version first, with its own uninstaller: into the older
// version's folder when no folder is given, or into another one (/D=), which the older
// version's program files then leave. One entry stays, naming where the newer version is.
TEST_F(InstallerTest, UpgradeRemovesTheOlderVersionFirstAndKeepsOneEntry) {
  const fs::path older = Folder(L"旧版 Velmo");
  const struct {
    const char* name;
    fs::path folder;  // given with /D=; empty: the setup's choice
  } cases[] = {
      {"into the older version's folder", {}},
      {"into another folder", Folder(L"Velmo转换 测试")},
  };
  const size_t shipped = Files(ProgramFolder()).size();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Clean(product);
    ASSERT_EQ(Install(WindowsPath(VELMO_OLD_SETUP_EXE), older, L"/NODESKTOP"), 0);
    ASSERT_TRUE(Entry(product));
    EXPECT_EQ((*Entry(product))[L"DisplayVersion"], Wide(VELMO_OLD_VERSION));
    EXPECT_EQ(VersionString(older / L"uninstall.exe", L"ProductVersion"), Wide(VELMO_OLD_VERSION));
    EXPECT_FALSE(fs::exists(product.Desktop()));
    // A file of the user's in the program folder.
    std::ofstream(older / L"用户的文件.txt") << "mine";

    ASSERT_EQ(Install(product.setup, c.folder), 0);
    const fs::path folder = c.folder.empty() ? older : c.folder;
    EXPECT_EQ(EntriesNamed(product), 1);
    auto entry = Entry(product);
    ASSERT_TRUE(entry);
    EXPECT_EQ((*entry)[L"DisplayVersion"], Wide(VELMO_VERSION));
    EXPECT_EQ((*entry)[L"InstallLocation"], folder.wstring());
    EXPECT_EQ(ShortcutTarget(product.StartMenu() / (product.title + L".lnk")),
              (folder / L"VelmoConvert.exe").wstring());
    EXPECT_FALSE(fs::exists(product.Desktop())) << "the choice made for the older version";
    // The one file that differs between the versions is the newer one's.
    EXPECT_EQ(VersionString(folder / L"uninstall.exe", L"ProductVersion"), Wide(VELMO_VERSION));
    // The program files and the uninstaller, and the user's file where it was; of the older
    // version nothing but the user's file.
    EXPECT_EQ(Files(folder).size(), shipped + 1 + (folder == older ? 1 : 0));
    EXPECT_EQ(Files(older).size(), folder == older ? shipped + 2 : 1u);
    EXPECT_TRUE(fs::exists(older / L"用户的文件.txt"));

    // Uninstall takes what it put down, file by file: the user's file keeps its folder.
    UninstallCompletely(product);
    EXPECT_FALSE(fs::exists(folder / L"VelmoConvert.exe"));
    ASSERT_TRUE(fs::exists(older));
    EXPECT_EQ(Files(older).size(), 1u);
    EXPECT_TRUE(fs::exists(older / L"用户的文件.txt"));
    EXPECT_FALSE(fs::exists(older / L"engine"));
    if (folder != older) {
      EXPECT_FALSE(fs::exists(folder));
    }
  }
}

// The finish page's run starts the program as the signed-in user: it hands the start to the
// desktop's shell, whose process starts the program, not the setup (which runs as an
// administrator on Windows).
TEST_F(InstallerTest, TheFinishPagesRunStartsTheProgramThroughTheShell) {
  const fs::path folder = Folder(L"Velmo转换 测试");
  const WizardRun setup = StartWizard(product.setup, folder);
  ASSERT_TRUE(setup.wizard);
  const HWND wizard = setup.wizard;
  for (int page = 0; page < 3; ++page) installer::NextPage(wizard);  // welcome, folder, parts
  installer::WaitForWork(wizard);
  installer::NextPage(wizard);
  HWND run = nullptr;
  WaitFor(
      [&] {
        return (run = FindDescendant(wizard, L"运行 " + Wide(VELMO_PRODUCT_NAME))) != nullptr;
      },
      10s);
  if (!run) TerminateProcess(setup.process.get(), 1);  // not left on the desktop
  ASSERT_TRUE(run);
  EXPECT_EQ(SendMessageW(run, BM_GETCHECK, 0, 0), BST_CHECKED);
  installer::NextPage(wizard);  // 完成
  ASSERT_EQ(WaitForSingleObject(setup.process.get(), 30000), WAIT_OBJECT_0);

  std::optional<ProcessRow> program;
  ASSERT_TRUE(WaitFor(
      [&] { return (program = ProcessOf(folder / L"VelmoConvert.exe")).has_value(); }, 30s));
  ui::UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, program->id));
  EXPECT_NE(program->parent, setup.id);
  EXPECT_EQ(_wcsicmp(ProcessName(program->parent).c_str(), L"explorer.exe"), 0)
      << ui::WideToAnsi(ProcessName(program->parent), CP_UTF8);
  HWND main = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] { return (main = FindProcessWindow(program->id, L"TTntForm1")) != nullptr; }, 30s));
  if (main) PostMessageW(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.get(), 15000) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    ADD_FAILURE() << "the program did not close";
  }
}

#ifdef _WIN64
// The 32-bit and the 64-bit program are two products: each in its own Program Files and
// registry view, with its own entry and shortcuts, and removing one leaves the other.
TEST_F(InstallerTest, BothBuildsLiveSideBySide) {
  const char* runnable = std::getenv("VELMO_RUNNABLE");
  if (!runnable || !std::strstr(runnable, "32")) GTEST_SKIP() << "this machine runs no 32-bit code";
  if (!fs::exists(WindowsPath(VELMO_OTHER_SETUP_EXE)))
    GTEST_SKIP() << "no 32-bit setup: scripts/build.sh cross 32";
  const std::wstring name = Wide(VELMO_PRODUCT_NAME);
  const Product other{WindowsPath(VELMO_OTHER_SETUP_EXE), name, L"VelmoConvert", KEY_WOW64_32KEY};
  Clean(other);
  ASSERT_EQ(Install(product.setup), 0);
  ASSERT_EQ(Install(other.setup), 0);
  const fs::path folder64 = KnownFolder(CSIDL_PROGRAM_FILES) / name;
  const fs::path folder32 = KnownFolder(CSIDL_PROGRAM_FILESX86) / name;
  ASSERT_NE(folder64, folder32);
  EXPECT_EQ((*Entry(product))[L"InstallLocation"], folder64.wstring());
  EXPECT_EQ((*Entry(other))[L"InstallLocation"], folder32.wstring());
  EXPECT_EQ(EntriesNamed(product), 1);
  EXPECT_EQ(EntriesNamed(other), 1);

  UninstallCompletely(product);
  EXPECT_FALSE(fs::exists(folder64));
  EXPECT_TRUE(Entry(other));
  EXPECT_TRUE(fs::exists(folder32 / L"VelmoConvert.exe"));
  EXPECT_EQ(ShortcutTarget(other.StartMenu() / (other.title + L".lnk")),
            (folder32 / L"VelmoConvert.exe").wstring());
  EXPECT_EQ(ShortcutTarget(other.Desktop()), (folder32 / L"VelmoConvert.exe").wstring());

  UninstallCompletely(other);
  EXPECT_FALSE(fs::exists(folder32));
}
#endif

}  // namespace
