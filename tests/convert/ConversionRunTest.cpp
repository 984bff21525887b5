#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "convert/BatchFile.h"
#include "convert/CancelRequest.h"
#include "convert/CommandLine.h"
#include "convert/ConversionHost.h"
#include "convert/ConversionRun.h"
#include "convert/ProgressView.h"
#include "tests/doubles/BarModel.h"
#include "tests/doubles/EncoderProcessTree.h"
#include "tests/doubles/FakeEncoderFolder.h"
#include "ui/CodePage.h"
#include "ui/MessagePump.h"
#include "ui/UniqueHandle.h"

namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::IsEmpty;

struct Entry {
  EntryId id;
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
  std::vector<EntryState> Entries() const override {
    std::vector<EntryState> states;
    for (const Entry& e : entries) states.push_back({e.id, e.checked});
    return states;
  }
  std::optional<int> EntryIndex(EntryId id) const override {
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].id == id) return static_cast<int>(i);
    return std::nullopt;
  }
  std::optional<std::wstring> EntryPath(EntryId id) const override {
    const Entry* e = Find(id);
    return e ? e->path : std::nullopt;
  }
  void SetEntryIcon(EntryId id, int icon) override {
    if (Entry* e = Find(id)) e->icon = icon;
  }
  void RemoveEntry(EntryId id) override {
    std::erase_if(entries, [&](const Entry& e) { return e.id == id; });
  }
  std::wstring ResolutionText() const override { return resolution; }
  std::wstring OutputFolderText() const override { return outputFolder; }
  bool DeleteAfterConversion() const override { return deleteAfter; }
  void EnableStartButton(bool enabled) override { startEnabled.push_back(enabled); }
  int ShowMessage(const std::wstring& text, const std::wstring& caption, unsigned flags) override {
    messages.push_back({text, caption, flags});
    if (onMessage) onMessage(text);  // while the box is open
    return answer;
  }
  std::wstring ApplicationTitle() const override { return L"Velmo转换 - 独立版"; }
  void OpenInShell(const std::wstring& path) override { opened.push_back(path); }

  EntryId Add(std::optional<std::wstring> path, bool checked = true) {
    entries.push_back({nextId, checked, std::move(path)});
    return nextId++;
  }
  Entry* Find(EntryId id) {
    auto it =
        std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.id == id; });
    return it == entries.end() ? nullptr : &*it;
  }
  const Entry* Find(EntryId id) const { return const_cast<FakeHost*>(this)->Find(id); }
  std::vector<std::wstring> MessageTexts() const {
    std::vector<std::wstring> texts;
    for (const Message& m : messages) texts.push_back(m.text);
    return texts;
  }

  std::vector<Entry> entries;
  EntryId nextId = 1;
  std::wstring resolution = L"原始分辨率";
  std::wstring outputFolder;
  bool deleteAfter = false;
  int answer = IDNO;
  std::vector<bool> startEnabled;
  std::vector<Message> messages;
  std::vector<std::wstring> opened;
  std::function<void(const std::wstring&)> onMessage;
};

class FakeProgress : public BarModel<ProgressView> {
 public:
  void SetStatusText(const std::wstring& text) override {
    statuses.push_back(text);
    if (onStatus) onStatus(text);
  }
  int TotalMax() const override { return totalMax_; }
  void SetTotalMax(int max) override { totalMax_ = max; }
  int TotalPosition() const override { return total_; }
  void SetTotalPosition(int position) override {
    total_ = std::clamp(position, 0, totalMax_);
    if (total_ > 0 && onTotal) onTotal();
  }
  void ShowProgress() override { ++shown; }
  void CloseProgress() override { ++closed; }

  std::vector<std::wstring> statuses;
  int shown = 0;
  int closed = 0;
  std::function<void()> onProgress;  // a position above 0 was set
  std::function<void()> onTotal;     // the total bar advanced
  std::function<void(const std::wstring&)> onStatus;

 protected:
  void PositionSet() override {
    if (CurrentPosition() > 0 && onProgress) onProgress();
  }

 private:
  int totalMax_ = 100, total_ = 0;
};

// A successful conversion: duration, progress, the output, the end-of-run report.
constexpr char kConverts[] =
    "out   Duration: 00:00:02.00, start: 0.000000\\r\\n\nsleep 30\n"
    "out frame= 5 time=1.00 bitrate=\\r\nsleep 30\noutput converted\n"
    "out frame= 9 time=2.00 bitrate=\\r\nsleep 30\nreport\n";

const std::wstring kErrorOne = L"转换第1个文件时出现错误";
const std::wstring kQuestion = L"转换已经全部完成.是否立即打开保存转换文件的目录?";

class ConversionRunTest : public testing::Test {
 protected:
  ConversionRunTest()
      : run(host, progress,
            {folder.path.wstring(),
             folder.path.wstring() + L"\\AppData",
             [this](unsigned ms) {
               waits.push_back(ms);
               if (onWait) onWait(ms);
             },
             {}}) {
    fs::create_directories(folder.path / "AppData");
    host.outputFolder = (folder.path / L"转换").wstring() + L"\\";
  }
  ~ConversionRunTest() override { CancelRequested = 0; }

  fs::path Source(const std::wstring& name) {
    fs::path path = folder.path / name;
    std::ofstream(path, std::ios::binary) << "source video";
    return path;
  }
  EntryId Add(const std::wstring& name, bool checked = true) {
    return host.Add(Source(name).wstring(), checked);
  }
  fs::path Output(const std::wstring& name) { return folder.path / L"转换" / name; }

  // The names among `names` whose file exists in `where`, joined by blanks.
  static std::wstring Existing(const fs::path& where, std::initializer_list<const wchar_t*> names) {
    std::wstring found;
    for (const wchar_t* name : names)
      if (fs::exists(where / name)) found += (found.empty() ? L"" : L" ") + std::wstring(name);
    return found;
  }
  // The list as "name:icon" (the file name of the path), in list order.
  std::wstring ListShown() const {
    std::wstring shown;
    for (const Entry& e : host.entries)
      shown += (shown.empty() ? L"" : L" ") + fs::path(e.path.value_or(L"?")).stem().wstring() +
               L":" + std::to_wstring(e.icon);
    return shown;
  }

  FakeEncoderFolder folder;
  FakeHost host;
  FakeProgress progress;
  std::vector<unsigned> waits;
  std::function<void(unsigned)> onWait;
  ConversionRun run;
};

TEST_F(ConversionRunTest, ConvertsTheCheckedEntriesInListOrder) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  Add(L"b.flv", false);
  Add(L"c.flv");
  host.answer = IDYES;
  run.Convert("mp4");

  EXPECT_THAT(progress.statuses,
              ElementsAre(L"正在转换第1个文件为mp4......", L"正在转换第3个文件为mp4......"));
  EXPECT_EQ(progress.TotalMax(), 2);
  EXPECT_EQ(progress.TotalPosition(), 2);
  EXPECT_EQ(Existing(Output(L""), {L"a.mp4", L"b.mp4", L"c.mp4"}), L"a.mp4 c.mp4");
  EXPECT_EQ(ListShown(), L"a:1 b:0 c:1");  // without delete-after the list stays
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, L"转换已经全部完成.是否立即打开保存转换文件的目录?");
  EXPECT_EQ(host.messages[0].caption, L"成功");
  EXPECT_EQ(host.messages[0].flags, unsigned(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
  EXPECT_EQ(host.opened.size(), 1u);  // Yes opens the folder
  EXPECT_EQ(progress.shown, 1);
  EXPECT_EQ(progress.closed, 1);
  EXPECT_THAT(host.startEnabled, ElementsAre(false, true));
  EXPECT_THAT(waits, IsEmpty());
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
  EXPECT_EQ(ListShown(), L"a:1");
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

// The first entry fails after it showed progress; the second shows none in its first attempt,
// so it needs the fallback: it starts from an empty bar and gets it.
TEST_F(ConversionRunTest, AFailedEntryDoesNotKeepTheNextFromItsFallback) {
  folder.Script("ffmpeg.exe",
                "exitif b.flv 1\n"
                "out   Duration: 00:00:02.00, start: 0.000000\\r\\n\nsleep 30\n"
                "out frame= 5 time=1.00 bitrate=\\r\nsleep 30\nexit 1\n");
  folder.Script("ffmpegx.exe", kConverts);
  Add(L"bad.flv");
  Add(L"b.flv");
  progress.onStatus = [&](const std::wstring&) {
    EXPECT_EQ(progress.CurrentPosition(), 0);
    EXPECT_EQ(progress.detail, L"");
  };
  run.Convert("mp4");

  std::vector<std::string> fallbacks = folder.LoggedCommandLines("ffmpegx.exe");
  ASSERT_EQ(fallbacks.size(), 1u);
  EXPECT_THAT(fallbacks[0], testing::HasSubstr("b.flv"));
  EXPECT_EQ(ListShown(), L"bad:4 b:1");
  EXPECT_EQ(Existing(Output(L""), {L"bad.mp4", L"b.mp4"}), L"b.mp4");
  EXPECT_THAT(
      host.MessageTexts(),
      ElementsAre(L"转换第1个文件时出现错误", L"转换已经全部完成.是否立即打开保存转换文件的目录?"));
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
  host.Add(std::nullopt);                        // no path column
  host.Add((folder.path / L"x.mp4").wstring());  // would write over itself
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

// Two sources of one name in different folders would write one output: the second must not
// destroy the first's, whose source delete-after has already removed.
TEST_F(ConversionRunTest, AnEntryNeverWritesOverAnotherEntrysFinishedOutput) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  fs::create_directories(folder.path / L"other");
  Add(L"other\\a.flv");
  host.deleteAfter = true;
  run.Convert("mp4");

  EXPECT_EQ(folder.LoggedCommandLines("ffmpeg.exe").size(), 1u);
  EXPECT_FALSE(fs::exists(folder.path / L"a.flv"));
  EXPECT_TRUE(fs::exists(folder.path / L"other" / L"a.flv"));
  EXPECT_TRUE(fs::exists(Output(L"a.mp4")));
  EXPECT_EQ(ListShown(), L"a:4");
}

TEST_F(ConversionRunTest, DeleteAfterRemovesOnlyCompletedConversions) {
  // The first source converts; the second's encoder fails in both attempts.
  folder.Script("ffmpeg.exe", std::string("exitif bad.flv 1\n") + kConverts);
  folder.Script("ffmpegx.exe", std::string("exitif bad.flv 1\n") + kConverts);
  Add(L"good.flv");
  Add(L"bad.flv");
  host.deleteAfter = true;
  run.Convert("mp4");

  EXPECT_EQ(Existing(folder.path, {L"good.flv", L"bad.flv"}), L"bad.flv");
  EXPECT_EQ(ListShown(), L"bad:4");
  EXPECT_THAT(
      host.MessageTexts(),
      ElementsAre(L"转换第2个文件时出现错误", L"转换已经全部完成.是否立即打开保存转换文件的目录?"));
}

TEST_F(ConversionRunTest, MissingEncoderIsAnEntryErrorAndKeepsTheSource) {
  Add(L"a.flv");
  host.deleteAfter = true;
  run.Convert("avi");
  EXPECT_TRUE(fs::exists(folder.path / L"a.flv"));
  EXPECT_EQ(host.entries.size(), 1u);
  EXPECT_EQ(host.MessageTexts().front(), L"转换第1个文件时出现错误");
}

// The run makes the output folder (with its parents) and the batch file's folder.
TEST_F(ConversionRunTest, MissingFoldersAreCreatedWhenTheRunStarts) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  host.outputFolder = (folder.path / L"新的" / L"转换").wstring() + L"\\";
  ASSERT_FALSE(fs::exists(folder.path / "AppData" / "qzmvt"));
  run.Convert("mp4");
  EXPECT_TRUE(fs::exists(folder.path / "AppData" / "qzmvt" / "qzmvt_z.bat"));
  EXPECT_TRUE(fs::exists(folder.path / L"新的" / L"转换" / L"a.mp4"));
  EXPECT_EQ(ListShown(), L"a:1");
}

// A failed entry's output is removed when its encoder made it; a file that lay there before
// the entry started is the user's and stays.
TEST_F(ConversionRunTest, AFailedEntryRemovesOnlyTheOutputItsEncoderMade) {
  folder.Script("ffmpeg.exe", "output partial\nexit 1\n");
  folder.Script("ffmpegx.exe", "output partial\nexit 1\n");
  Add(L"new.flv");
  Add(L"old.flv");
  fs::create_directories(Output(L""));
  std::ofstream(Output(L"old.mp4"), std::ios::binary) << "an earlier conversion";
  run.Convert("mp4");
  EXPECT_EQ(Existing(Output(L""), {L"new.mp4", L"old.mp4"}), L"old.mp4");
  EXPECT_EQ(ListShown(), L"new:4 old:4");
}

// The resolution item is recognised by its text, whatever the ANSI code page; its
// command-line text stays the code-page-936 bytes. (Also run under another code page.)
TEST_F(ConversionRunTest, KeepResolutionIsRecognisedUnderAnyCodePage) {
  folder.Script("ffmpeg.exe", kConverts);
  host.outputFolder = folder.path.wstring() + L"\\out\\";
  Add(L"a.flv");
  run.Convert("mp4");
  std::vector<std::string> lines = folder.LoggedCommandLines("ffmpeg.exe");
  ASSERT_EQ(lines.size(), 1u);
  const std::string f = folder.AnsiPath();
  EXPECT_EQ(lines[0], "\"" + f + "\\ffmpeg.exe\" -y -i  \"" + f +
                          "\\a.flv\"  -f mp4 -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  "
                          "-ar 48000  \"" +
                          f + "\\out\\a.mp4\"  ");
  EXPECT_EQ(ListShown(), L"a:1");
  RecordProperty("AnsiCodePage", static_cast<int>(GetACP()));
}

// Names the ANSI code page cannot write reach the encoder by their short names; the output
// gets a name the code page can write. Delete-after removes the right sources.
TEST_F(ConversionRunTest, NamesOutsideTheAnsiCodePageConvert) {
  folder.Script("ffmpeg.exe", std::string("checksource 7\n") + kConverts);
  struct Name {
    const wchar_t* source;
    const wchar_t* output;
  } names[] = {{L"b\u00e4r.flv", L"b_E4_r.mp4"},
               {L"\ud55c\uad6d.flv", L"_D55C__AD6D_.mp4"},
               {L"\U0001F600.flv", L"_1F600_.mp4"},
               {L"中文.flv", L"中文.mp4"}};
  for (const Name& name : names) Add(name.source);
  host.deleteAfter = true;
  run.Convert("mp4");

  EXPECT_THAT(host.MessageTexts(),
              ElementsAre(L"转换已经全部完成.是否立即打开保存转换文件的目录?"));
  for (const Name& name : names) {
    EXPECT_TRUE(fs::exists(Output(name.output))) << ui::WideToAnsi(name.output, CP_UTF8);
    EXPECT_FALSE(fs::exists(folder.path / name.source));
  }
  EXPECT_THAT(host.entries, IsEmpty());
}

// The folder and the resolution are read for each entry: a folder chosen during the run gets
// the next entries (created then), and Yes opens the one the last entry wrote to.
TEST_F(ConversionRunTest, SettingsChangedDuringARunApplyToTheNextEntries) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  Add(L"b.flv");
  fs::path later = folder.path / L"后来" / L"\ud55c\uad6d";  // outside code page 936 too
  progress.onTotal = [&] {
    host.outputFolder = later.wstring() + L"\\";
    host.resolution = L"320x240";
  };
  host.answer = IDYES;
  host.onMessage = [&](const std::wstring&) { host.outputFolder = folder.path.wstring(); };
  run.Convert("mp4");

  EXPECT_TRUE(fs::exists(Output(L"a.mp4")));
  EXPECT_TRUE(fs::exists(later / L"b.mp4"));
  std::vector<std::string> lines = folder.LoggedCommandLines("ffmpeg.exe");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], testing::Not(testing::HasSubstr("320x240")));
  EXPECT_THAT(lines[1], testing::HasSubstr("320x240"));
  ASSERT_EQ(host.opened.size(), 1u);
  EXPECT_EQ(host.opened[0], later.wstring() + L"\\");
}

// Without a full output folder the encoder would write into or below its working folder (the
// program's): such an entry is an entry error and nothing is written anywhere.
TEST_F(ConversionRunTest, AnOutputFolderThatIsNotAFullPathIsAnEntryError) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  for (const wchar_t* text : {L"", L"  ", L"out\\", L"C:out\\"}) {
    host.outputFolder = text;
    host.messages.clear();
    run.Convert("mp4");
    EXPECT_THAT(host.MessageTexts(), ElementsAre(L"转换第1个文件时出现错误", kQuestion));
  }
  EXPECT_THAT(folder.LoggedCommandLines("ffmpeg.exe"), IsEmpty());
  EXPECT_FALSE(fs::exists(folder.path / L"a.mp4"));
  EXPECT_FALSE(fs::exists(folder.path / L"out"));
}

// Closing the main window during a run posts the quit: the run ends as after a cancel (the
// encoder stopped, its unfinished output removed, no source deleted, nothing further started)
// without asking anything, and the quit stays for the main loop.
TEST_F(ConversionRunTest, AQuitDuringARunEndsItAsACancelWould) {
  folder.Script("ffmpeg.exe", std::string(kConverts) + "sleep 5000\n");
  Add(L"a.flv");
  Add(L"b.flv");
  host.deleteAfter = true;
  std::vector<DWORD> encoders;
  progress.onProgress = [&] {
    if (ui::QuitRequested()) return;
    encoders = encoder_processes::Below(GetCurrentProcessId());
    PostQuitMessage(0);
  };
  ULONGLONG start = GetTickCount64();
  run.Convert("mp4");
  EXPECT_LT(GetTickCount64() - start, 4000u);
  EXPECT_TRUE(ui::QuitRequested());
  ui::ClearQuit();
  ASSERT_EQ(encoders.size(), 1u);
  EXPECT_FALSE(encoder_processes::Running(encoders[0]));  // stopped, not left running

  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_EQ(folder.LoggedCommandLines("ffmpeg.exe").size(), 1u);
  EXPECT_EQ(Existing(folder.path, {L"a.flv", L"b.flv"}), L"a.flv b.flv");
  EXPECT_EQ(Existing(Output(L""), {L"a.mp4", L"b.mp4"}), L"");
  EXPECT_EQ(progress.closed, 1);
}

// A run whose every entry left the list before it completed or failed ends like a cancelled
// one: no question, no folder opened.
TEST_F(ConversionRunTest, ARunWhoseEntriesWereAllRemovedEndsWithoutTheQuestion) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  Add(L"b.flv");
  host.answer = IDYES;
  progress.onProgress = [&] { host.entries.clear(); };
  run.Convert("mp4");
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_THAT(host.opened, IsEmpty());
  EXPECT_EQ(progress.closed, 1);
  EXPECT_THAT(host.startEnabled, ElementsAre(false, true));
  EXPECT_FALSE(fs::exists(Output(L"a.mp4")));
}

// ---- Other code pages: folders of any script, with or without short names ---------------

struct ScriptCase {
  const char* name;
  const wchar_t* programTag;    // in the program folder's name
  const wchar_t* sourceFolder;  // the source's folder (and its output folder's parent)
  bool shortNames;              // the volume keeps short (8.3) names
};

void PrintTo(const ScriptCase& c, std::ostream* os) { *os << c.name; }

class ScriptTest : public ConversionRunTest, public testing::WithParamInterface<ScriptCase> {};

// Whatever the ANSI code page (this test also runs under 1252 and 1251), the encoder finds the
// source and writes the output where the user expects it, and delete-after finds the source.
// The batch file's folder (here in the program folder) has the program folder's name.
TEST_P(ScriptTest, FoldersOfAnyScriptConvert) {
  const ScriptCase& c = GetParam();
  FakeEncoderFolder program(c.programTag);
  // Without short names a source outside the code page reaches the encoder by its wide line only.
  program.Script("ffmpeg.exe",
                 std::string(c.shortNames ? "checksource 7\n" : "checkwidesource 7\n") + kConverts);
  fs::create_directories(program.path / L"AppData");
  fs::path sources = folder.path / c.sourceFolder;
  fs::create_directories(sources);
  fs::path source = sources / L"clip.flv";
  std::ofstream(source, std::ios::binary) << "source video";
  host.Add(source.wstring());
  host.outputFolder = (sources / L"转换").wstring() + L"\\";
  host.deleteAfter = true;
  std::function<std::wstring(const std::wstring&)> noShortNames = [](const std::wstring&) {
    return std::wstring();
  };
  ConversionRun scripted(host, progress,
                         {program.path.wstring(), program.path.wstring() + L"\\AppData",
                          [](unsigned) {}, c.shortNames ? nullptr : noShortNames});
  scripted.Convert("mp4");

  EXPECT_THAT(host.MessageTexts(), ElementsAre(kQuestion));
  EXPECT_TRUE(fs::exists(sources / L"转换" / L"clip.mp4"));
  EXPECT_FALSE(fs::exists(source));
  EXPECT_THAT(host.entries, IsEmpty());
  RecordProperty("AnsiCodePage", static_cast<int>(GetACP()));
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ScriptTest,
    testing::Values(ScriptCase{"AccentedFolder", L"", L"Café", true},
                    ScriptCase{"CyrillicFolder", L"", L"Видео", true},
                    ScriptCase{"KoreanFolderWithoutShortNames", L"", L"한국", false},
                    ScriptCase{"AccentedProgramFolder", L"Café", L"", true},
                    ScriptCase{"CyrillicProgramFolderWithoutShortNames", L"Видео", L"Видео", false},
                    ScriptCase{"KoreanProgramFolder", L"한국", L"", true}),
    [](const testing::TestParamInfo<ScriptCase>& info) { return std::string(info.param.name); });

// ---- Cancel: whatever the moment, no source and no finished output is lost ----------------

enum class Moment {
  DuringAnEncode,         // a's encoder is working
  AsTheEncoderFinishes,   // a's output is written, its end-of-run report not yet read
  AfterAnEntryCompleted,  // a completed (the total bar moved)
  DuringTheDeleteWait,    // the wait before a's source is deleted (delete-after only)
  AsTheNextEntryStarts,   // after a's source was deleted, as the second entry begins
  InAnErrorBox,           // the second entry failed; its message is open
  InTheFinalQuestion,     // everything is done; the question is open
};

struct CancelCase {
  const char* name;
  Moment moment;
  bool deleteAfter;
  const wchar_t* sources;  // sources that exist afterwards
  const wchar_t* outputs;  // outputs that exist afterwards
  const wchar_t* list;     // the list: name:icon
  bool errorShown;
};

void PrintTo(const CancelCase& c, std::ostream* os) { *os << c.name; }

class CancelTest : public ConversionRunTest, public testing::WithParamInterface<CancelCase> {};

TEST_P(CancelTest, KeepsEverySourceAndFinishedOutput) {
  const CancelCase& c = GetParam();
  // a converts, bad fails in both attempts, c converts.
  folder.Script("ffmpeg.exe", std::string("exitif bad.flv 1\n") + kConverts);
  folder.Script("ffmpegx.exe", std::string("exitif bad.flv 1\n") + kConverts);
  Add(L"a.flv");
  Add(L"bad.flv");
  Add(L"c.flv");
  host.deleteAfter = c.deleteAfter;
  auto cancel = [] { CancelRequested = -1; };
  switch (c.moment) {
    case Moment::DuringAnEncode:
      progress.onProgress = cancel;
      break;
    case Moment::AsTheEncoderFinishes:
      progress.onProgress = [&] {
        if (progress.CurrentPosition() == progress.CurrentMax()) cancel();
      };
      break;
    case Moment::AfterAnEntryCompleted:
      progress.onTotal = cancel;
      break;
    case Moment::DuringTheDeleteWait:
      onWait = [&](unsigned ms) {
        if (ms == 1000) cancel();
      };
      break;
    case Moment::AsTheNextEntryStarts:
      progress.onStatus = [&](const std::wstring& status) {
        if (status.find(L"第2个") != std::wstring::npos) cancel();
      };
      break;
    case Moment::InAnErrorBox:
      host.onMessage = [&](const std::wstring& text) {
        if (text.starts_with(L"转换第")) cancel();
      };
      break;
    case Moment::InTheFinalQuestion:
      host.onMessage = [&](const std::wstring& text) {
        if (text.starts_with(L"转换已经全部完成")) cancel();
      };
      break;
  }
  run.Convert("mp4");

  EXPECT_EQ(Existing(folder.path, {L"a.flv", L"bad.flv", L"c.flv"}), c.sources);
  EXPECT_EQ(Existing(Output(L""), {L"a.mp4", L"bad.mp4", L"c.mp4"}), c.outputs);
  EXPECT_EQ(ListShown(), c.list);
  EXPECT_EQ(!host.messages.empty() && host.messages[0].text == L"转换第2个文件时出现错误",
            c.errorShown);
  EXPECT_EQ(CancelRequested, -1);
  EXPECT_EQ(progress.closed, 1);
  EXPECT_EQ(host.startEnabled.back(), true);
}

INSTANTIATE_TEST_SUITE_P(
    Moments, CancelTest,
    testing::Values(CancelCase{"DuringAnEncode", Moment::DuringAnEncode, false,
                               L"a.flv bad.flv c.flv", L"", L"a:0 bad:0 c:0", false},
                    CancelCase{"DuringAnEncodeDeleteAfter", Moment::DuringAnEncode, true,
                               L"a.flv bad.flv c.flv", L"", L"a:0 bad:0 c:0", false},
                    CancelCase{"AsTheEncoderFinishes", Moment::AsTheEncoderFinishes, false,
                               L"a.flv bad.flv c.flv", L"", L"a:0 bad:0 c:0", false},
                    CancelCase{"AsTheEncoderFinishesDeleteAfter", Moment::AsTheEncoderFinishes,
                               true, L"a.flv bad.flv c.flv", L"", L"a:0 bad:0 c:0", false},
                    CancelCase{"AfterAnEntryCompleted", Moment::AfterAnEntryCompleted, false,
                               L"a.flv bad.flv c.flv", L"a.mp4", L"a:1 bad:0 c:0", false},
                    CancelCase{"AfterAnEntryCompletedDeleteAfter", Moment::AfterAnEntryCompleted,
                               true, L"a.flv bad.flv c.flv", L"a.mp4", L"a:1 bad:0 c:0", false},
                    CancelCase{"DuringTheDeleteWaitDeleteAfter", Moment::DuringTheDeleteWait, true,
                               L"a.flv bad.flv c.flv", L"a.mp4", L"a:1 bad:0 c:0", false},
                    CancelCase{"AsTheNextEntryStarts", Moment::AsTheNextEntryStarts, false,
                               L"a.flv bad.flv c.flv", L"a.mp4", L"a:1 bad:0 c:0", false},
                    CancelCase{"AsTheNextEntryStartsDeleteAfter", Moment::AsTheNextEntryStarts,
                               true, L"bad.flv c.flv", L"a.mp4", L"bad:0 c:0", false},
                    CancelCase{"InAnErrorBox", Moment::InAnErrorBox, false, L"a.flv bad.flv c.flv",
                               L"a.mp4", L"a:1 bad:4 c:0", true},
                    CancelCase{"InAnErrorBoxDeleteAfter", Moment::InAnErrorBox, true,
                               L"bad.flv c.flv", L"a.mp4", L"bad:4 c:0", true},
                    CancelCase{"InTheFinalQuestion", Moment::InTheFinalQuestion, false,
                               L"a.flv bad.flv c.flv", L"a.mp4 c.mp4", L"a:1 bad:4 c:1", true},
                    CancelCase{"InTheFinalQuestionDeleteAfter", Moment::InTheFinalQuestion, true,
                               L"bad.flv", L"a.mp4 c.mp4", L"bad:4", true}),
    [](const testing::TestParamInfo<CancelCase>& info) { return std::string(info.param.name); });

// ---- Faulty encoders: the user is told, nothing is lost, the next run works ----------------

struct FaultCase {
  const char* name;
  std::string script;  // mencoder.exe's (avi has no fallback attempt)
  bool cancelFromTimer;
  std::vector<std::wstring> messages;
  const wchar_t* outputs;  // outputs that exist afterwards
  const wchar_t* list;
};

constexpr char kMencoderStatus[] =
    "out Pos:   1.0s     25f ( 50%)  25.00fps Trem:   0min   0mb  A-V:0.000 [0:0]\\r\nsleep 30\n";

void CALLBACK CancelFromTimer(HWND, UINT, UINT_PTR, DWORD) { CancelRequested = -1; }

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.name; }

class EncoderFaultTest : public ConversionRunTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(EncoderFaultTest, IsToldAndLosesNothing) {
  const FaultCase& c = GetParam();
  folder.Script("mencoder.exe", c.script);
  Add(L"a.flv");
  host.deleteAfter = true;
  UINT_PTR timer = c.cancelFromTimer ? SetTimer(nullptr, 0, 300, CancelFromTimer) : 0;
  run.Convert("avi");
  if (timer) KillTimer(nullptr, timer);

  EXPECT_EQ(host.MessageTexts(), c.messages);
  EXPECT_EQ(Existing(Output(L""), {L"a.avi"}), c.outputs);
  EXPECT_EQ(ListShown(), c.list);
  // The source stays unless its conversion completed.
  EXPECT_EQ(fs::exists(folder.path / L"a.flv"), std::wstring(c.outputs).empty());
  EXPECT_EQ(progress.closed, 1);

  // No encoder of the run is left behind, and the next run converts.
  folder.Script("mencoder.exe", std::string(kMencoderStatus) + "output converted\nreport\n");
  host.entries.clear();
  host.messages.clear();
  Add(L"b.flv");
  run.Convert("avi");
  EXPECT_EQ(ListShown(), L"");
  EXPECT_TRUE(fs::exists(Output(L"b.avi")));
  EXPECT_THAT(host.MessageTexts(), ElementsAre(kQuestion));
}

INSTANTIATE_TEST_SUITE_P(
    Faults, EncoderFaultTest,
    testing::Values(
        FaultCase{"CrashWithACode",
                  std::string(kMencoderStatus) + "output partial\nexit 3\n",
                  false,
                  {kErrorOne, kQuestion},
                  L"",
                  L"a:4"},
        // An encoder ended from outside may exit with 0: without its report it did not finish.
        FaultCase{"CrashWithZeroAfterAPartialOutput",
                  std::string(kMencoderStatus) + "output partial\nexit 0\n",
                  false,
                  {kErrorOne, kQuestion},
                  L"",
                  L"a:4"},
        FaultCase{"SilentForeverThenCancel", "sleep 600000\n", true, {}, L"", L"a:0"},
        FaultCase{"AFloodWithoutLineBreaksAndWithZeroBytes",
                  "bytes 300000 x\nbytes 300000 \\x00\n" + std::string(kMencoderStatus) +
                      "output converted\nreport\n",
                  false,
                  {kQuestion},
                  L"a.avi",
                  L""},
        FaultCase{"ExitZeroWithoutAnOutput",
                  std::string(kMencoderStatus) + "report\n",
                  false,
                  {kErrorOne, kQuestion},
                  L"",
                  L"a:4"},
        FaultCase{"ExitZeroWithAnEmptyOutput",
                  std::string(kMencoderStatus) + "output\nreport\n",
                  false,
                  {kErrorOne, kQuestion},
                  L"",
                  L"a:4"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });

// ---- The list edited while the run converts ------------------------------------------------

TEST_F(ConversionRunTest, EditsOfTheListDuringARunAreFollowed) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  EntryId b = Add(L"b.flv");
  EntryId c = Add(L"c.flv");
  EntryId d = Add(L"d.flv", false);
  host.deleteAfter = true;
  bool edited = false, removedCurrent = false;
  progress.onProgress = [&] {
    if (!edited) {
      // While a converts: b is unchecked, c removed, d checked, e added.
      edited = true;
      host.Find(b)->checked = false;
      host.RemoveEntry(c);
      host.Find(d)->checked = true;
      Add(L"e.flv");
    } else if (!removedCurrent && progress.statuses.size() == 2) {
      // While d converts, d itself is removed.
      removedCurrent = true;
      host.RemoveEntry(d);
    }
  };
  run.Convert("mp4");

  std::vector<std::string> converted;
  for (const std::string& line : folder.LoggedCommandLines("ffmpeg.exe")) {
    // The source is the second quoted argument.
    size_t open = line.find('"', line.find('"', line.find('"') + 1) + 1);
    converted.push_back(
        fs::path(line.substr(open + 1, line.find('"', open + 1) - open - 1)).filename().string());
  }
  EXPECT_THAT(converted, ElementsAre("a.flv", "d.flv", "e.flv"));
  EXPECT_THAT(progress.statuses,
              ElementsAre(L"正在转换第1个文件为mp4......", L"正在转换第3个文件为mp4......",
                          L"正在转换第3个文件为mp4......"));
  // Only a and e were converted: only their sources went, only they left the list.
  EXPECT_EQ(Existing(folder.path, {L"a.flv", L"b.flv", L"c.flv", L"d.flv", L"e.flv"}),
            L"b.flv c.flv d.flv");
  EXPECT_EQ(Existing(Output(L""), {L"a.mp4", L"b.mp4", L"c.mp4", L"d.mp4", L"e.mp4"}),
            L"a.mp4 e.mp4");
  EXPECT_EQ(ListShown(), L"b:0");
  EXPECT_EQ(progress.TotalMax(), 3);  // a, d and e were taken
  EXPECT_THAT(host.MessageTexts(), ElementsAre(kQuestion));
}

// ---- The batch file is only a record ------------------------------------------------------

// A scanner opens a fresh .bat file without sharing; nothing runs that file, so a conversion
// never fails over it.
TEST_F(ConversionRunTest, ABatchFileHeldByAnotherProgramFailsNoEntry) {
  folder.Script("ffmpeg.exe", kConverts);
  Add(L"a.flv");
  fs::create_directories(folder.path / "AppData" / "qzmvt");
  ui::UniqueHandle held(CreateFileW(BatchFilePath(folder.path.wstring() + L"\\AppData").c_str(),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held);
  run.Convert("mp4");
  EXPECT_THAT(host.MessageTexts(), ElementsAre(kQuestion));
  EXPECT_EQ(ListShown(), L"a:1");
  EXPECT_TRUE(fs::exists(Output(L"a.mp4")));
}

}  // namespace
