// The real converter, the real encoder front-ends and the real engine, driven from outside.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>

#include "tests/e2e/AppDriver.h"
#include "ui/CodePage.h"

namespace {

using namespace e2e;
using testing::ElementsAre;
using testing::IsEmpty;

class ConverterTest : public testing::Test {
 protected:
  ConverterTest() {
    wchar_t temp[MAX_PATH]{};
    GetTempPathW(MAX_PATH, temp);
    folder = std::filesystem::path(temp) / (L"velmo-e2e-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  ~ConverterTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  std::filesystem::path Clip(const std::wstring& name, int seconds = 3,
                             const wchar_t* size = L"320x240") {
    std::filesystem::path path = folder / name;
    MakeClip(path, seconds, size);
    return path;
  }

  // Presses the start button and waits for the run's final question.
  MessageBoxView StartAndWaitForTheQuestion(App& app, std::chrono::seconds timeout = 120s) {
    Click(app.Button(L"开始转换"));
    std::optional<MessageBoxView> box = WaitForMessageBox(app.ProcessId(), timeout);
    if (!box) throw std::runtime_error("no final question");
    return *box;
  }

  std::filesystem::path Converted(const std::wstring& name) { return folder / L"转换" / name; }

  std::filesystem::path folder;
};

TEST_F(ConverterTest, ConvertsTheCheckedEntriesIntoTheDefaultFolder) {
  std::filesystem::path a = Clip(L"a.flv"), b = Clip(L"b.flv"), c = Clip(L"c.flv");
  App app(ProgramFolder());
  app.Import({a, b, c});
  ASSERT_EQ(app.EntryCount(), 3);
  EXPECT_EQ(app.OutputFolder(), folder.wstring() + L"\\转换\\");
  app.SetEntryChecked(1, false);

  MessageBoxView question = StartAndWaitForTheQuestion(app);
  EXPECT_EQ(question.caption, L"成功");
  EXPECT_EQ(question.text, L"转换已经全部完成.是否立即打开保存转换文件的目录?");
  EXPECT_EQ(app.ProgressBar(1).position, 2);
  EXPECT_EQ(app.ProgressBar(1).max, 2);
  AnswerMessageBox(question, IDNO);

  for (const wchar_t* name : {L"a.mp4", L"c.mp4"}) {
    std::optional<ProbeResult> probe = Probe(Converted(name));
    ASSERT_TRUE(probe) << Converted(name);
    EXPECT_THAT(probe->format, testing::HasSubstr("mp4"));
    EXPECT_THAT(probe->codecs, ElementsAre("mpeg4", "aac"));
    EXPECT_NEAR(probe->duration, 3.0, 0.5);
  }
  EXPECT_FALSE(std::filesystem::exists(Converted(L"b.mp4")));
  // No explorer window: No leaves the folder closed.
  EXPECT_EQ(FindWindowW(L"ExploreWClass", nullptr), nullptr);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(app.Button(L"开始转换")) != FALSE; }, 10s));
}

TEST_F(ConverterTest, EveryTargetGivesAValidFile) {
  struct Target {
    const wchar_t* radio;
    const wchar_t* output;
    const char* format;
    std::vector<std::string> codecs;
  };
  const Target targets[] = {
      {L"3GP  (手机,便携式设备最常见格式)", L"clip.3gp", "3gp", {"h263", "amr_nb"}},
      {L"MP4  (适合便携式设备播放)", L"clip.mp4", "mp4", {"mpeg4", "aac"}},
      {L"MP4  (索尼PSP)", L"clip.mp4", "mp4", {"mpeg4", "aac"}},
      {L"MP4  (苹果iPhone)", L"clip.mp4", "mp4", {"mpeg4", "aac"}},
      {L"MP4  (苹果ipad)", L"clip.mp4", "mp4", {"mpeg4", "aac"}},
      {L"AVI   (可在带USB接口的DVD机上播放)", L"clip.avi", "avi", {"mpeg4", "mp3"}},
      {L"FLV   (可在电脑和便携式设备播放)", L"clip.flv", "flv", {"flv1", "mp3"}},
      {L"MP3  (纯音乐格式)", L"clip.mp3", "mp3", {"mp3"}},
  };
  std::filesystem::path clip = Clip(L"clip.m4v.flv", 3);
  std::filesystem::rename(clip, folder / L"clip.f4v");
  App app(ProgramFolder());
  app.Import({folder / L"clip.f4v"});
  for (const Target& target : targets) {
    SCOPED_TRACE(ui::WideToAnsi(target.radio, CP_UTF8));
    std::filesystem::remove(Converted(target.output));
    app.ChooseFormat(target.radio);
    AnswerMessageBox(StartAndWaitForTheQuestion(app), IDNO);
    std::optional<ProbeResult> probe = Probe(Converted(target.output));
    ASSERT_TRUE(probe);
    EXPECT_THAT(probe->format, testing::HasSubstr(target.format));
    EXPECT_EQ(probe->codecs, target.codecs);
    WaitFor([&] { return IsWindowEnabled(app.Button(L"开始转换")) != FALSE; }, 10s);
  }
}

TEST_F(ConverterTest, CancelKeepsSourcesAndEntriesAndLeavesNoEncoderBehind) {
  // Long enough that the first entry is still converting when Cancel has waited.
  std::filesystem::path a = Clip(L"a.flv", 60, L"1280x720"), b = Clip(L"b.flv", 3);
  App app(ProgramFolder());
  app.Import({a, b});
  app.SetDeleteAfter(true);
  Click(app.Button(L"开始转换"));
  ASSERT_TRUE(WaitFor([&] { return app.ProgressBar(0).position > 0; }, 60s));
  HWND cancel = FindDescendant(app.ProgressWindow(), L"取消");
  ASSERT_NE(cancel, nullptr);
  Click(cancel);
  // The run ends: the progress window goes and the start button comes back.
  ASSERT_TRUE(WaitFor([&] { return app.ProgressWindow() == nullptr; }, 30s));
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(app.Button(L"开始转换")) != FALSE; }, 30s));
  Sleep(1500);

  EXPECT_EQ(WaitForMessageBox(app.ProcessId(), 1s), std::nullopt);  // no final question
  EXPECT_FALSE(std::filesystem::exists(Converted(L"a.mp4")));       // partial output gone
  EXPECT_FALSE(std::filesystem::exists(Converted(L"b.mp4")));       // never started
  EXPECT_TRUE(std::filesystem::exists(a));
  EXPECT_TRUE(std::filesystem::exists(b));
  EXPECT_EQ(app.EntryCount(), 2);
  EXPECT_THAT(EncoderProcessesLeft(), IsEmpty());
}

// However the converter ends, its encoders end with it: the front-end and the engine below.
TEST_F(ConverterTest, EndingTheConverterEndsItsEncodersAndTheirEngine) {
  std::filesystem::path a = Clip(L"a.flv", 60, L"1280x720");
  App app(ProgramFolder());
  app.Import({a});
  Click(app.Button(L"开始转换"));
  ASSERT_TRUE(WaitFor([&] { return app.ProgressBar(0).position > 0; }, 60s));
  std::vector<DWORD> encoders = encoder_processes::Below(app.ProcessId());
  ASSERT_GE(encoders.size(), 2u);  // the front-end and its engine
  app.Kill();
  EXPECT_TRUE(WaitFor([&] { return !encoder_processes::AnyRunning(encoders); }, 10s));
  EXPECT_TRUE(std::filesystem::exists(a));
  // A start that the import's pumps delivered before the output folder was set once made the
  // encoder write into its working folder, the program's own.
  EXPECT_FALSE(std::filesystem::exists(ProgramFolder() / L"a.mp4"));
}

// Closing the main window during a run (a click on its close box, 关闭 in its system menu,
// Alt+F4) ends the run as 取消 does, without asking anything, and then the program.
TEST_F(ConverterTest, ClosingTheMainWindowDuringARunEndsItAsCancelDoesAndThenTheProgram) {
  struct Way {
    const char* name;
    const char* key;  // of the recorded milliseconds to the program's end
    std::function<bool(App&)> close;
  } ways[] = {
      {"close box", "EndedAfterCloseBoxMs", [](App& app) { return app.ClickCloseBox(); }},
      {"system menu", "EndedAfterSystemMenuMs", [](App& app) { return app.CloseFromSystemMenu(); }},
      {"Alt+F4", "EndedAfterAltF4Ms",
       [](App& app) {
         app.PressAltF4();
         return true;
       }},
  };
  std::filesystem::path a = Clip(L"a.flv", 60, L"1280x720"), b = Clip(L"b.flv", 3);
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    App app(ProgramFolder());
    app.Import({a, b});
    app.SetDeleteAfter(true);
    Click(app.Button(L"开始转换"));
    ASSERT_TRUE(WaitFor([&] { return app.ProgressBar(0).position > 0; }, 60s));
    std::vector<DWORD> encoders = encoder_processes::Below(app.ProcessId());
    ASSERT_FALSE(encoders.empty());
    ULONGLONG closed = GetTickCount64();
    ASSERT_TRUE(way.close(app));
    EXPECT_TRUE(WaitFor([&] { return !app.Running(); }, 10s));
    RecordProperty(way.key, static_cast<int>(GetTickCount64() - closed));
    EXPECT_FALSE(encoder_processes::AnyRunning(encoders));
    EXPECT_FALSE(std::filesystem::exists(Converted(L"a.mp4")));  // the unfinished output
    EXPECT_FALSE(std::filesystem::exists(Converted(L"b.mp4")));  // never started
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
  }
}

// A program folder and a clip folder whose names the ANSI code page cannot write (Korean under
// code page 936): the real program reads its folders wide and hands the encoders short names.
TEST_F(ConverterTest, FoldersOutsideTheAnsiCodePageConvert) {
  std::filesystem::path program = folder / L"程序 한국";
  std::filesystem::copy(ProgramFolder(), program, std::filesystem::copy_options::recursive);
  std::filesystem::path clips = folder / L"영상 Видео";
  std::filesystem::create_directories(clips);
  std::filesystem::path clip = clips / L"클립.flv";
  MakeClip(clip, 2);
  {
    App app(program);
    app.Import({clip});
    EXPECT_EQ(app.OutputFolder(), clips.wstring() + L"\\转换\\");
    app.SetDeleteAfter(true);
    MessageBoxView question = StartAndWaitForTheQuestion(app);
    EXPECT_EQ(question.caption, L"成功");
    AnswerMessageBox(question, IDNO);
    EXPECT_TRUE(WaitFor([&] { return app.EntryCount() == 0; }, 10s));
  }
  // The output's name is written with what the code page has.
  std::vector<std::filesystem::path> outputs;
  for (const auto& entry : std::filesystem::directory_iterator(clips / L"转换"))
    outputs.push_back(entry.path());
  ASSERT_EQ(outputs.size(), 1u);
  EXPECT_TRUE(Probe(outputs[0]));
  EXPECT_FALSE(std::filesystem::exists(clip));
  // Nothing lands in the program folder.
  for (const auto& entry : std::filesystem::directory_iterator(program))
    EXPECT_THAT(entry.path().extension().wstring(), testing::AnyOf(L".exe", L"")) << entry.path();
}

TEST_F(ConverterTest, DeleteAfterDeletesConvertedSourcesOnly) {
  std::filesystem::path good = Clip(L"good.flv");
  std::filesystem::path bad = folder / L"bad.flv";
  std::ofstream(bad, std::ios::binary) << "this is not a video";
  App app(ProgramFolder());
  app.Import({good, bad});
  app.SetDeleteAfter(true);
  Click(app.Button(L"开始转换"));
  std::optional<MessageBoxView> error = WaitForMessageBox(app.ProcessId(), 120s);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->text, L"转换第2个文件时出现错误");
  AnswerMessageBox(*error, IDOK);
  std::optional<MessageBoxView> question = WaitForMessageBox(app.ProcessId(), 60s);
  ASSERT_TRUE(question);
  EXPECT_EQ(question->caption, L"成功");
  AnswerMessageBox(*question, IDNO);
  WaitFor([&] { return app.EntryCount() == 1; }, 10s);

  EXPECT_FALSE(std::filesystem::exists(good));
  EXPECT_TRUE(std::filesystem::exists(bad));
  EXPECT_TRUE(Probe(Converted(L"good.mp4")));
  ASSERT_EQ(app.EntryCount(), 1);
  EXPECT_EQ(app.EntryText(0, 2), bad.wstring());
}

}  // namespace

namespace {

TEST(SingleCopy, SecondStartRestoresTheFirstAndEndsWithoutAWindow) {
  using namespace e2e;
  {
    App first(ProgramFolder());
    PostMessageW(first.MainWindow(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(first.MainWindow()) != FALSE; }, 10s));

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = L"\"" + (ProgramFolder() / L"VelmoConvert.exe").wstring() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               ProgramFolder().wstring().c_str(), &startup, &info));
    ui::UniqueHandle second(info.hProcess), thread(info.hThread);
    bool secondShowedAWindow = false;
    WaitFor(
        [&] {
          if (FindProcessWindow(info.dwProcessId, L"")) secondShowedAWindow = true;
          return WaitForSingleObject(second.get(), 0) == WAIT_OBJECT_0;
        },
        30s);
    EXPECT_EQ(WaitForSingleObject(second.get(), 0), WAIT_OBJECT_0);
    EXPECT_FALSE(secondShowedAWindow);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(first.MainWindow()); }, 10s));
    EXPECT_TRUE(first.Running());
  }
  // The first copy has ended: a new start runs normally.
  App later(ProgramFolder());
  EXPECT_TRUE(IsWindowVisible(later.MainWindow()));
}

}  // namespace
