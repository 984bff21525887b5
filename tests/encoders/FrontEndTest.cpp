// The front-end as a process: refusals, failures and being stopped, under Wine.
#include <gtest/gtest.h>
#include <windows.h>
// needs windows.h first
#include <tlhelp32.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "convert/CommandLine.h"
#include "tests/doubles/PipedChild.h"
#include "ui/UniqueHandle.h"

namespace {

namespace fs = std::filesystem;

fs::path DistFolder() {
  std::string dist = VELMO_DIST_DIR;  // a Unix path; Wine shows it on drive Z:
  for (char& c : dist)
    if (c == '/') c = '\\';
  return fs::path("Z:" + dist);
}

struct Finished {
  DWORD exitCode = 0;
  std::string console;  // standard output and error together
};

using Started = PipedChild;

Started Start(const std::string& commandLine) {
  Started started = StartPiped(commandLine);
  EXPECT_TRUE(started) << commandLine;
  return started;
}

Finished RunToEnd(const std::string& commandLine) {
  Started started = Start(commandLine);
  Finished finished;
  finished.console = ReadUntilEnd(started, &finished.exitCode);
  return finished;
}

std::vector<DWORD> ChildrenOf(DWORD parent) {
  std::vector<DWORD> children;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ParentProcessID == parent && _wcsicmp(entry.szExeFile, L"ffmpeg.exe") == 0)
      children.push_back(entry.th32ProcessID);
  return children;
}

bool Running(DWORD id) {
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry))
    if (entry.th32ProcessID == id) return true;
  return false;
}

// A folder that not even root may write into (made immutable by the test's fixture), or empty
// when the machine could not make one.
fs::path UnwritableFolder() {
  std::string folder = VELMO_UNWRITABLE_FOLDER;
  for (char& c : folder)
    if (c == '/') c = '\\';
  fs::path path("Z:" + folder);
  if (!fs::is_directory(path)) return {};
  ui::UniqueHandle probe(CreateFileW((path / "probe").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return probe ? fs::path() : path;
}

fs::path TestFolder() {
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return fs::path(path).parent_path();
}

class FrontEndTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    folder_ = fs::path(temp) / (L"velmo-frontend-" + std::to_wstring(GetCurrentProcessId()));
    fs::create_directories(folder_);
    // Long and large enough that its conversion is still running when the test stops it.
    Finished made = RunToEnd("\"" + (DistFolder() / "engine" / "ffmpeg.exe").string() +
                             "\" -nostdin -y -f lavfi -i testsrc=size=640x360:rate=25:duration=20 "
                             "-f lavfi -i sine=duration=20 -c:v flv1 -c:a libmp3lame \"" +
                             Clip().string() + "\"");
    ASSERT_EQ(made.exitCode, 0u) << made.console;
  }
  static void TearDownTestSuite() {
    std::error_code ignored;
    fs::remove_all(folder_, ignored);
  }

  static fs::path Clip() { return folder_ / "clip.flv"; }

  static std::string Line(const char* key, const fs::path& source, const fs::path& outFolder) {
    return BuildCommandLine({key, kKeepResolution, source.string(), outFolder.string() + "\\",
                             DistFolder().string()})
        .text;
  }

  static fs::path folder_;
};

fs::path FrontEndTest::folder_;

TEST_F(FrontEndTest, StoppingTheFrontEndStopsTheEngineWithinASecond) {
  fs::path out = folder_ / "stopped";
  fs::create_directories(out);
  Started started = Start(Line("avi", Clip(), out));
  // Wait for the first status line: the engine is encoding by then.
  std::string console = ReadUntilMarker(started, "Pos:");
  std::vector<DWORD> engines = ChildrenOf(started.id);
  ASSERT_EQ(engines.size(), 1u) << console;
  ASSERT_TRUE(TerminateProcess(started.process.get(), 0));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
  while (Running(engines[0]) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_FALSE(Running(engines[0]));
}

// Stopping processes by name may reach the engine first, with exit code 0: that is no success.
TEST_F(FrontEndTest, AnEngineStoppedFromOutsideIsAFailureAndLeavesNoOutput) {
  fs::path out = folder_ / "engine-stopped";
  fs::create_directories(out);
  Started started = Start(Line("mp4", Clip(), out));
  std::string console = ReadUntilMarker(started, "time=");
  std::vector<DWORD> engines = ChildrenOf(started.id);
  ASSERT_EQ(engines.size(), 1u) << console;
  ui::UniqueHandle engine(OpenProcess(PROCESS_TERMINATE, FALSE, engines[0]));
  ASSERT_TRUE(TerminateProcess(engine.get(), 0));
  DWORD code = 0;
  console += ReadUntilEnd(started, &code);
  EXPECT_NE(code, 0u);
  EXPECT_NE(console.find("stopped before it finished"), std::string::npos) << console;
  EXPECT_FALSE(fs::exists(out / "clip.mp4"));
}

TEST_F(FrontEndTest, RefusalsAndFailuresSayWhyAndLeaveNoOutput) {
  fs::path out = folder_ / "refused";
  fs::create_directories(out);
  std::string frontEnd = "\"" + (DistFolder() / "ffmpeg.exe").string() + "\"";
  struct Case {
    const char* what;
    std::string line;
    fs::path output;
    DWORD exitCode;  // 0: any non-zero code
    const char* says;
  } cases[] = {
      {"malformed",
       frontEnd + " -i \"" + Clip().string() + "\" \"" + (out / "m.mp4").string() + "\"",
       out / "m.mp4", 2, "unsupported command line"},
      {"missing input", Line("mp4", folder_ / "absent.flv", out), out / "absent.mp4", 1,
       "no such file"},
      {"missing output folder", Line("mp4", Clip(), folder_ / "no such folder"),
       folder_ / "no such folder" / "clip.mp4", 1, "cannot write into the output folder"},
      {"output is the source", Line("flv", Clip(), folder_), Clip(), 1, "is the source"},
      // Relative to the working folder: that would be the converter's program folder.
      {"relative output",
       BuildCommandLine({"mp3", kKeepResolution, Clip().string(), "", DistFolder().string()}).text,
       DistFolder() / "clip.mp3", 2, "not a full path"},
  };
  auto sizeBefore = fs::file_size(Clip());
  std::vector<Case> all(std::begin(cases), std::end(cases));
  // Refused before the engine starts: a 32-bit engine (it has no manifest) would not fail
  // there on Windows but write into the user's VirtualStore.
  if (fs::path locked = UnwritableFolder(); !locked.empty())
    all.push_back({"folder nobody may write into", Line("mp4", Clip(), locked), locked / "clip.mp4",
                   1, "cannot write into the output folder"});
  else
    ADD_FAILURE() << "no folder that cannot be written into: run it through ctest";
  for (const Case& c : all) {
    SCOPED_TRACE(c.what);
    bool existed = fs::exists(c.output);
    Finished finished = RunToEnd(c.line);
    if (c.exitCode)
      EXPECT_EQ(finished.exitCode, c.exitCode);
    else
      EXPECT_NE(finished.exitCode, 0u);
    EXPECT_NE(finished.console.find(c.says), std::string::npos) << finished.console;
    EXPECT_EQ(fs::exists(c.output), existed);
  }
  EXPECT_EQ(fs::file_size(Clip()), sizeBefore);  // the source is never touched
}

// The front-end reads its command line wide: started with the wide call, paths that no ANSI
// code page holds convert too (where a volume keeps no short names, the converter starts it so).
TEST_F(FrontEndTest, PathsOutsideTheAnsiCodePageConvertOnAWideCommandLine) {
  fs::path korean = folder_ / L"한국 Видео";
  fs::create_directories(korean);
  fs::copy_file(Clip(), korean / L"영상.flv", fs::copy_options::overwrite_existing);
  std::wstring line = L"\"" + (DistFolder() / "ffmpegx.exe").wstring() + L"\" -i  \"" +
                      (korean / L"영상.flv").wstring() + L"\"  -y -f mp3 -ac 2   \"" +
                      (korean / L"영상.mp3").wstring() + L"\"  ";
  PipedChild started = StartPiped(line);
  ASSERT_TRUE(started);
  DWORD code = 1;
  std::string console = ReadUntilEnd(started, &code);
  EXPECT_EQ(code, 0u) << console;
  EXPECT_GT(fs::file_size(korean / L"영상.mp3"), 0u);
}

// A converter may itself run inside a job: a launcher's, or on Windows 7 the compatibility job
// Explorer starts programs in, where jobs do not nest and ours could not take the encoders. The
// encoders leave such a job where it allows that, and in any case end when the converter ends.
struct OuterJob {
  const char* name;
  DWORD limits;
  BOOL encoderInOuterJob;
};

class EncodersInAnOuterJob : public FrontEndTest, public testing::WithParamInterface<OuterJob> {};

TEST_P(EncodersInAnOuterJob, LeaveItWhereAllowedAndEndWithTheConverter) {
  ui::UniqueHandle outer(CreateJobObjectW(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  // Closing it at the end takes along whatever stayed in it.
  limits.BasicLimitInformation.LimitFlags = GetParam().limits | JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ASSERT_TRUE(SetInformationJobObject(outer.get(), JobObjectExtendedLimitInformation, &limits,
                                      sizeof limits));
  fs::path out = folder_ / (std::string("job-") + GetParam().name);
  fs::create_directories(out);
  // The converter's own watcher runs the encoder, as the converter does.
  std::wstring line = L"\"" + (TestFolder() / "WatchRunner.exe").wstring() + L"\" \"" +
                      DistFolder().wstring() + L"\" mp4 keep \"" + Clip().wstring() + L"\" \"" +
                      out.wstring() + L"\\\"";
  STARTUPINFOW startup{sizeof startup};
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE,
                             CREATE_SUSPENDED | CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                             &info));
  ui::UniqueHandle converter(info.hProcess), thread(info.hThread);
  ASSERT_TRUE(AssignProcessToJobObject(outer.get(), converter.get()));
  ResumeThread(thread.get());

  std::vector<DWORD> encoders;
  for (int i = 0; i < 400 && encoders.empty(); ++i) {
    Sleep(50);
    encoders = ChildrenOf(info.dwProcessId);
  }
  ASSERT_EQ(encoders.size(), 1u);
  ui::UniqueHandle encoder(
      OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, encoders[0]));
  ASSERT_TRUE(encoder);
  BOOL inOuter = FALSE;
  ASSERT_TRUE(IsProcessInJob(encoder.get(), outer.get(), &inOuter));
  EXPECT_EQ(inOuter, GetParam().encoderInOuterJob);

  // The converter ends the hard way (a crash, Task Manager): its job takes the encoder along.
  TerminateProcess(converter.get(), 1);
  EXPECT_EQ(WaitForSingleObject(encoder.get(), 10000), WAIT_OBJECT_0);
}

INSTANTIATE_TEST_SUITE_P(
    Jobs, EncodersInAnOuterJob,
    testing::Values(OuterJob{"AllowsLeaving", JOB_OBJECT_LIMIT_BREAKAWAY_OK, FALSE},
                    OuterJob{"ForbidsLeaving", 0, TRUE}),
    [](const testing::TestParamInfo<OuterJob>& info) { return info.param.name; });

}  // namespace
