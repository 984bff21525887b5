#include "convert/ConversionRun.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "convert/BatchFile.h"
#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "convert/ConversionHost.h"
#include "convert/ProgressView.h"
#include "tests/doubles/BarModel.h"
#include "tests/doubles/FakeEncoderFolder.h"

namespace {

using testing::ElementsAre;
using testing::IsEmpty;

struct Entry {
  bool checked = true;
  std::optional<std::wstring> path;
  int icon = kIconWaiting;
};

struct Message {
  std::wstring text;
  std::wstring caption;
  unsigned flags;
};

class FakeHost : public ConversionHost {
 public:
  int EntryCount() const override { return static_cast<int>(entries.size()); }
  bool EntryChecked(int i) const override { return entries.at(i).checked; }
  std::optional<std::wstring> EntryPath(int i) const override { return entries.at(i).path; }
  void SetEntryIcon(int i, int icon) override { entries.at(i).icon = icon; }
  void RemoveEntry(int i) override { entries.erase(entries.begin() + i); }
  std::wstring ResolutionText() const override { return L"原始分辨率"; }
  std::wstring OutputFolderText() const override { return outputFolder; }
  bool DeleteAfterConversion() const override { return deleteAfter; }
  void EnableStartButton(bool enabled) override { startEnabled.push_back(enabled); }
  int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    messages.push_back({text, caption, flags});
    return answer;
  }
  std::wstring ApplicationTitle() const override { return L"Velmo转换 - 独立版"; }
  void OpenInShell(const std::string& path) override { opened.push_back(path); }

  std::vector<std::wstring> MessageTexts() const {
    std::vector<std::wstring> texts;
    for (const Message& m : messages) texts.push_back(m.text);
    return texts;
  }

  std::vector<Entry> entries;
  std::wstring outputFolder;
  bool deleteAfter = false;
  int answer = IDNO;
  std::vector<bool> startEnabled;
  std::vector<Message> messages;
  std::vector<std::string> opened;
};

class FakeProgress : public BarModel<ProgressView> {
 public:
  void SetStatusText(const std::wstring& text) override { statuses.push_back(text); }
  int TotalMax() const override { return totalMax_; }
  void SetTotalMax(int max) override { totalMax_ = max; }
  int TotalPosition() const override { return total_; }
  void SetTotalPosition(int position) override { total_ = std::clamp(position, 0, totalMax_); }
  void ShowProgress() override { ++shown; }
  void CloseProgress() override { ++closed; }

  std::vector<std::wstring> statuses;
  int shown = 0;
  int closed = 0;
  std::function<void()> onProgress;

 protected:
  void PositionSet() override {
    if (CurrentPosition() > 0 && onProgress) onProgress();
  }

 private:
  int totalMax_ = 100, total_ = 0;
};

constexpr char kConverts[] =
    "out   Duration: 00:00:02.00, start: 0.000000\\r\\n\nsleep 30\n"
    "out frame= 5 time=1.00 bitrate=\\r\nsleep 30\noutput converted\n";

class ConversionRunTest : public testing::Test {
 protected:
  ConversionRunTest()
      : run(host, progress,
            {folder.AnsiPath(), folder.AnsiPath() + "\\AppData",
             [this](unsigned ms) { waits.push_back(ms); }}) {
    std::filesystem::create_directories(folder.path / "AppData");
    std::filesystem::create_directories(folder.path / L"转换");
    host.outputFolder = (folder.path / L"转换").wstring() + L"\\";
  }
  ~ConversionRunTest() override { CancelRequested = 0; }

  std::filesystem::path Source(const std::wstring& name) {
    std::filesystem::path path = folder.path / name;
    std::ofstream(path, std::ios::binary) << "source video";
    return path;
  }
  void Add(const std::wstring& name, bool checked = true) {
    host.entries.push_back({checked, Source(name).wstring()});
  }
  std::filesystem::path Output(const std::wstring& name) { return folder.path / L"转换" / name; }

  FakeEncoderFolder folder;
  FakeHost host;
  FakeProgress progress;
  std::vector<unsigned> waits;
  ConversionRun run;
};

TEST_F(ConversionRunTest, ConvertsTheCheckedEntriesInListOrder) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  Add(L"b.flv", false);
  Add(L"c.flv");
  host.answer = IDYES;
  run.Convert("mp4");

  EXPECT_THAT(progress.statuses, ElementsAre(L"正在转换第1个文件为mp4......",
                                             L"正在转换第3个文件为mp4......"));
  EXPECT_EQ(progress.TotalMax(), 2);
  EXPECT_EQ(progress.TotalPosition(), 2);
  EXPECT_TRUE(std::filesystem::exists(Output(L"a.mp4")));
  EXPECT_FALSE(std::filesystem::exists(Output(L"b.mp4")));
  EXPECT_TRUE(std::filesystem::exists(Output(L"c.mp4")));
  EXPECT_EQ(host.entries[0].icon, kIconDone);
  EXPECT_EQ(host.entries[1].icon, kIconWaiting);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, L"转换已经全部完成.是否立即打开保存转换文件的目录?");
  EXPECT_EQ(host.messages[0].caption, L"成功");
  EXPECT_EQ(host.messages[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  EXPECT_EQ(host.opened.size(), 1u);  // Yes opens the folder
  EXPECT_EQ(progress.shown, 1);
  EXPECT_EQ(progress.closed, 1);
  EXPECT_THAT(host.startEnabled, ElementsAre(false, true));
  EXPECT_THAT(waits, IsEmpty());
  EXPECT_EQ(host.entries.size(), 3u);  // without delete-after the list stays
}

TEST_F(ConversionRunTest, FallbackRunsTheRewrittenLineOnlyAfterAnAttemptWithoutProgress) {
  folder.Script("ffmpeg.exe", "out Unknown encoder 'libfaac'\\r\\n\nexit 1\n");
  folder.Script("ffmpegx.exe", kConverts);
  Add(L"a.flv");
  run.Convert("mp4");

  std::vector<std::string> first = folder.LoggedCommandLines("ffmpeg.exe");
  std::vector<std::string> second = folder.LoggedCommandLines("ffmpegx.exe");
  ASSERT_EQ(first.size(), 1u);
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0], RewriteForFallback(first[0]));
  EXPECT_THAT(waits, ElementsAre(3000));
  // The batch file holds the last command line issued.
  std::ifstream batch(folder.path / "AppData" / "qzmvt" / "qzmvt_z.bat", std::ios::binary);
  std::string content((std::istreambuf_iterator<char>(batch)), {});
  EXPECT_EQ(content, second[0] + "\r\n");
  EXPECT_EQ(host.entries[0].icon, kIconDone);
}

TEST_F(ConversionRunTest, NoFallbackAfterProgressOrForAvi) {
  folder.Script("ffmpeg.exe", kConverts);
  folder.Script("mencoder.exe", "out nothing useful\\r\\n\nexit 0\n");
  Add(L"a.flv");
  run.Convert("mp4");
  run.Convert("avi");
  EXPECT_THAT(folder.LoggedCommandLines("ffmpegx.exe"), IsEmpty());
  EXPECT_EQ(folder.LoggedCommandLines("mencoder.exe").size(), 1u);
  EXPECT_THAT(waits, IsEmpty());
}

TEST_F(ConversionRunTest, EmptyListGivesItsMessageAndNeverShowsTheProgressWindow) {
  run.Convert("mp4");
  Add(L"a.flv", false);
  run.Convert("mp4");
  ASSERT_EQ(host.messages.size(), 2u);
  for (const Message& m : host.messages) {
    EXPECT_EQ(m.text, L"没有找到可以转换的文件");
    EXPECT_EQ(m.caption, L"转换");
    EXPECT_EQ(m.flags, unsigned(MB_OK | MB_ICONINFORMATION));
  }
  EXPECT_EQ(progress.shown, 0);
  EXPECT_THAT(host.startEnabled, ElementsAre(false, true, false, true));
}

TEST_F(ConversionRunTest, EntryErrorsAreReportedAndTheOtherEntriesConvert) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  host.entries.push_back({true, std::nullopt});                    // no path column
  host.entries.push_back({true, (folder.path / L"x.mp4").wstring()});  // would write over itself
  std::ofstream(folder.path / L"x.mp4") << "keep me";
  host.outputFolder = folder.path.wstring() + L"\\";
  run.Convert("mp4");

  EXPECT_THAT(host.MessageTexts(),
              ElementsAre(L"转换第2个文件时出现错误", L"转换第3个文件时出现错误",
                          L"转换已经全部完成.是否立即打开保存转换文件的目录?"));
  EXPECT_EQ(host.messages[0].caption, L"Velmo转换 - 独立版");
  EXPECT_EQ(host.entries[1].icon, kIconFailed);
  EXPECT_EQ(host.entries[2].icon, kIconFailed);
  EXPECT_EQ(folder.LoggedCommandLines("ffmpeg.exe").size(), 1u);  // only for a.flv
  std::ifstream kept(folder.path / L"x.mp4");
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(kept)), {}), "keep me");
}

TEST_F(ConversionRunTest, DeleteAfterRemovesOnlyCompletedConversions) {
  // The first source converts; the second's encoder fails in both attempts.
  folder.Script("ffmpeg.exe", std::string("exitif bad.flv 1\n") + kConverts);
  folder.Script("ffmpegx.exe", std::string("exitif bad.flv 1\n") + kConverts);
  Add(L"good.flv");
  Add(L"bad.flv");
  host.deleteAfter = true;
  run.Convert("mp4");

  EXPECT_FALSE(std::filesystem::exists(folder.path / L"good.flv"));
  EXPECT_TRUE(std::filesystem::exists(folder.path / L"bad.flv"));
  ASSERT_EQ(host.entries.size(), 1u);
  EXPECT_EQ(*host.entries[0].path, (folder.path / L"bad.flv").wstring());
  EXPECT_EQ(host.entries[0].icon, kIconFailed);
  EXPECT_THAT(host.MessageTexts(),
              ElementsAre(L"转换第2个文件时出现错误",
                          L"转换已经全部完成.是否立即打开保存转换文件的目录?"));
}

TEST_F(ConversionRunTest, MissingEncoderIsAnEntryErrorAndKeepsTheSource) {
  Add(L"a.flv");
  host.deleteAfter = true;
  run.Convert("avi");
  EXPECT_TRUE(std::filesystem::exists(folder.path / L"a.flv"));
  EXPECT_EQ(host.entries.size(), 1u);
  EXPECT_EQ(host.MessageTexts().front(), L"转换第1个文件时出现错误");
}

TEST_F(ConversionRunTest, BatchFolderIsCreatedWhenMissing) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  ASSERT_FALSE(std::filesystem::exists(folder.path / "AppData" / "qzmvt"));
  run.Convert("mp4");
  EXPECT_TRUE(std::filesystem::exists(folder.path / "AppData" / "qzmvt" / "qzmvt_z.bat"));
  EXPECT_EQ(host.entries[0].icon, kIconDone);
}

TEST_F(ConversionRunTest, CancelEndsTheRunAndRemovesThePartialOutput) {
  folder.Script("ffmpeg.exe",
                "out   Duration: 00:00:09.00, start: 0.0\\r\\n\noutput partial\n"
                "sleep 30\nout  time=1.00 \\r\nsleep 30\nout  time=2.00 \\r\nsleep 3000\n");
  Add(L"a.flv");
  Add(L"b.flv");
  host.deleteAfter = true;
  progress.onProgress = [this] {
    CancelRequested = -1;
    // A press of the start button delivered by the run's pumps is ignored.
    run.Convert("mp4");
  };
  run.Convert("mp4");

  EXPECT_EQ(CancelRequested, -1);
  EXPECT_EQ(folder.LoggedCommandLines("ffmpeg.exe").size(), 1u);  // b.flv never started
  EXPECT_THAT(folder.LoggedCommandLines("ffmpegx.exe"), IsEmpty());
  EXPECT_FALSE(std::filesystem::exists(Output(L"a.mp4")));
  EXPECT_TRUE(std::filesystem::exists(folder.path / L"a.flv"));
  EXPECT_EQ(host.entries.size(), 2u);
  EXPECT_THAT(host.messages, IsEmpty());  // no final question
  EXPECT_THAT(waits, ElementsAre(1000));
  EXPECT_EQ(progress.closed, 1);
  EXPECT_THAT(host.startEnabled, ElementsAre(false, true));
}

}  // namespace
