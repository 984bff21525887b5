// The skinned caption under each Windows version the system may report to the program (a
// compatibility mode reports an older one; a program that declares Windows 10 is told 10.0):
// the same hit-test map and style as under Windows 7, with no caption button of the system's
// answering beside the skin's own. Wine's per-program version setting makes each case: the
// test runs a renamed copy of itself for each.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "SkinTestFixture.h"

using namespace skintest;
namespace fs = std::filesystem;

namespace {

constexpr wchar_t kReportVariable[] = L"VELMO_CAPTION_REPORT";

std::wstring Variable(const wchar_t* name) {
  wchar_t value[MAX_PATH]{};
  const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH);
  return n > 0 && n < MAX_PATH ? value : L"";
}

// What one copy saw: the version reported to it, the system-menu bit and the hit-test codes.
struct Report {
  std::string version;
  int sysMenuBit = -1;
  std::vector<int> map;
};

// The caption's points: where the system puts its close, maximise, minimise and help buttons
// and its icon (from the right and left edges), and the title's middle, on two rows.
std::vector<POINT> CaptionPoints(int width) {
  std::vector<POINT> points;
  for (int y : {6, 15})
    for (int x : {width - 10, width - 28, width - 46, width - 64, width - 82, 8, 20, width / 2})
      points.push_back({x, y});
  return points;
}

class CaptionVersion : public SkinnedTest {};

// Run by each copy: the caption of a skinned sizable form with every caption button.
TEST_F(CaptionVersion, Report) {
  const std::wstring path = Variable(kReportVariable);
  if (path.empty()) GTEST_SKIP() << "run by CaptionVersion.SameOnEveryReportedVersion";
  const HWND window = MakeForm()->Handle();
  SendMessageW(window, WM_NCPAINT, 1, 0);
  Pump(100ms);
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  ASSERT_TRUE(GetVersionExW(&info));  // the value the program's code reads
#pragma GCC diagnostic pop
  RECT r{};
  GetWindowRect(window, &r);
  std::ofstream out(fs::path(path), std::ios::binary);
  out << info.dwMajorVersion << "." << info.dwMinorVersion << "\n"
      << ((GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU) ? 1 : 0) << "\n";
  for (POINT p : CaptionPoints(r.right - r.left))
    out << SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(r.left + p.x, r.top + p.y)) << " ";
  out << "\n";
}

Report RunCopy(const fs::path& self, const std::string& version) {
  const fs::path copy = self.parent_path() / ("skin_caption_" + version + ".exe");
  const fs::path report = fs::temp_directory_path() / ("velmo_caption_" + version + ".txt");
  fs::remove(report);
  EXPECT_TRUE(CopyFileW(self.c_str(), copy.c_str(), FALSE));
  const std::wstring key = L"Software\\Wine\\AppDefaults\\" + copy.filename().wstring();
  HKEY hkey = nullptr;
  EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &hkey, nullptr),
            ERROR_SUCCESS);
  const std::wstring name(version.begin(), version.end());
  RegSetValueExW(hkey, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                 static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(hkey);

  SetEnvironmentVariableW(kReportVariable, report.c_str());
  std::wstring command = L"\"" + copy.wstring() + L"\" --gtest_filter=CaptionVersion.Report";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  DWORD exitCode = 1;
  if (CreateProcessW(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    // The copy's windows take the display; this process's own messages wait meanwhile.
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 120000), WAIT_OBJECT_0);
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    ADD_FAILURE() << "the copy did not start";
  }
  SetEnvironmentVariableW(kReportVariable, nullptr);
  EXPECT_EQ(exitCode, 0u) << "the copy's own checks";

  Report result;
  std::ifstream in(report, std::ios::binary);
  std::getline(in, result.version);
  in >> result.sysMenuBit;
  for (int code; in >> code;) result.map.push_back(code);
  in.close();
  fs::remove(report);
  RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
  DeleteFileW(copy.c_str());
  return result;
}

TEST_F(CaptionVersion, SameOnEveryReportedVersion) {
  if (!Variable(kReportVariable).empty()) GTEST_SKIP() << "a copy runs only its report";
  wchar_t self[MAX_PATH]{};
  ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
  const struct {
    const char* setting;
    const char* reported;
  } cases[] = {{"win7", "6.1"}, {"vista", "6.0"}, {"win8", "6.2"}, {"win10", "10.0"}};
  Report windows7;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setting);
    const Report report = RunCopy(self, c.setting);
    // The table, for the record.
    std::printf("%-6s reports %-5s WS_SYSMENU %d  hit-test", c.setting, report.version.c_str(),
                report.sysMenuBit);
    for (int code : report.map) std::printf(" %d", code);
    std::printf("\n");
    EXPECT_EQ(report.version, c.reported) << "the version setting took";
    ASSERT_FALSE(report.map.empty());
    EXPECT_EQ(report.sysMenuBit, 0) << "the skinned caption drops the bit";
    for (int code : report.map)
      EXPECT_TRUE(code != HTSYSMENU && code != HTMINBUTTON && code != HTMAXBUTTON &&
                  code != HTCLOSE && code != HTHELP)
          << "a button of the system's answers: " << code;
    if (windows7.map.empty()) {
      windows7 = report;
    } else {
      EXPECT_EQ(report.map, windows7.map);
    }
  }
}

}  // namespace
