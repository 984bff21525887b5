// The input list: import, drop, remove, clear, checks, shortcuts and the output folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h
#include <dlgs.h>
#include <shlobj.h>

#include <cwctype>
#include <filesystem>
#include <fstream>

#include "MainWindowFixture.h"
#include "convert/ProgressWindow.h"
#include "tests/doubles/FileDrop.h"
#include "ui/MessagePump.h"

using namespace ui;
namespace fs = std::filesystem;

namespace {

// A folder of small files, removed at the end.
class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"VelmoList" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    fs::create_directories(path_);
  }
  ~TempFolder() {
    // Not the current folder any more, so that it can go.
    SetCurrentDirectoryW(fs::path(path_).parent_path().parent_path().c_str());
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  std::wstring File(const std::wstring& name) {
    std::ofstream(fs::path(path_ + name)) << "x";
    return path_ + name;
  }
  std::wstring Folder(const std::wstring& name) {
    fs::create_directories(path_ + name);
    return path_ + name;
  }
  const std::wstring& path() const { return path_; }

 private:
  std::wstring path_;
};

std::wstring Lower(std::wstring s) {
  for (auto& c : s) {
    if (c < 128) c = static_cast<wchar_t>(std::towlower(c));
  }
  return s;
}

struct Entry {
  std::wstring caption, format, path;
  bool checked;
  int icon;
  bool operator==(const Entry&) const = default;
};

void PrintTo(const Entry& e, std::ostream* os) {
  *os << "{" << testing::PrintToString(e.caption) << "," << testing::PrintToString(e.format) << ","
      << testing::PrintToString(e.path) << "," << e.checked << "," << e.icon << "}";
}

std::vector<Entry> Entries(TTntForm1& form) {
  std::vector<Entry> entries;
  auto* list = form.TntListView1;
  for (int i = 0; i < list->ItemCount(); ++i) {
    entries.push_back({list->ItemText(i, 0), list->ItemText(i, 1), list->ItemText(i, 2),
                       list->Checked(i), list->ImageIndex(i)});
  }
  return entries;
}

void Drop(HWND window, const std::vector<std::wstring>& paths) {
  // the handler frees the block
  SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeFileDrop(paths)), 0);
}

// Fills the open dialog's file-name box with `typed` and presses Open, like a user.
std::wstring g_typed;
LRESULT CALLBACK TypeIntoOpenDialog(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE && !g_typed.empty()) {
    HWND dialog = reinterpret_cast<HWND>(wParam);
    wchar_t title[64] = {};
    GetWindowTextW(dialog, title, 64);
    if (std::wstring(title) == L"导入flv或mp4文件") {
      HWND name = GetDlgItem(dialog, cmb13);
      if (!name) name = GetDlgItem(dialog, edt1);
      SetWindowTextW(name, g_typed.c_str());
      g_typed.clear();
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(InputList, ImportKeepsTheCaseAndTheFirstFileSetsTheFolder) {
  TempFolder temp;
  std::wstring clip = temp.File(L"Clip.MP4"), second = temp.File(L"第二.flv"),
               typed = temp.File(L"note.webm");
  MainWindowFixture f;
  SetCurrentDirectoryW(temp.path().c_str());
  f.form().OpenDialog1->SetInitialDir(temp.path());
  HHOOK hook = SetWindowsHookExW(WH_CBT, TypeIntoOpenDialog, nullptr, GetCurrentThreadId());
  g_typed = L"\"Clip.MP4\" \"第二.flv\" \"note.webm\"";
  SendMessageW(f.Control<TWinControl>(L"TntBitBtn5").Handle(), BM_CLICK, 0, 0);
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(f.form().OpenDialog1->Files().size(), 3u);
  // A name typed with another extension has no format, and its path stays in its column.
  EXPECT_THAT(Entries(f.form()),
              testing::UnorderedElementsAre(Entry{L"Clip", L"mp4", clip, true, 0},
                                            Entry{L"第二", L"flv", second, true, 0},
                                            Entry{L"note.", L"", typed, true, 0}));
  std::wstring folder = f.form().TntListView1->ItemText(0, 2);
  folder = folder.substr(0, folder.rfind(L'\\')) + L"\\转换\\";
  EXPECT_EQ(f.form().OutputFolderText(), folder);
  EXPECT_TRUE(fs::is_directory(fs::path(folder)));
}

TEST(InputList, ImportingIntoAFilledListLeavesTheFolder) {
  TempFolder temp;
  MainWindowFixture f;
  f.form().ImportFile(temp.File(L"a.mp4"));
  f.form().SetDefaultOutputFolder();
  f.form().TntEdit1->SetText(L"D:\\mine\\");
  SetCurrentDirectoryW(temp.path().c_str());
  f.form().OpenDialog1->SetInitialDir(temp.path());
  temp.File(L"b.mp4");
  HHOOK hook = SetWindowsHookExW(WH_CBT, TypeIntoOpenDialog, nullptr, GetCurrentThreadId());
  g_typed = L"\"b.mp4\"";
  f.form().TntBitBtn5Click();
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(f.form().TntListView1->ItemCount(), 2);
  EXPECT_EQ(f.form().OutputFolderText(), L"D:\\mine\\");
}

// On Windows a process holds its current folder open: the folder files were imported from
// could not be deleted, nor its USB stick ejected. The open dialog moves the current folder
// there (Windows ignores the flag that asks it not to), so the import puts it back.
TEST(InputList, AnImportLeavesTheCurrentFolderWhereItWas) {
  TempFolder temp;
  temp.File(L"clip.mp4");
  MainWindowFixture f;
  std::wstring before = fs::path(temp.path()).parent_path().parent_path().wstring();
  ASSERT_TRUE(SetCurrentDirectoryW(before.c_str()));
  f.form().OpenDialog1->SetInitialDir(temp.path());
  HHOOK hook = SetWindowsHookExW(WH_CBT, TypeIntoOpenDialog, nullptr, GetCurrentThreadId());
  g_typed = L"\"clip.mp4\"";
  SendMessageW(f.Control<TWinControl>(L"TntBitBtn5").Handle(), BM_CLICK, 0, 0);
  UnhookWindowsHookEx(hook);
  ASSERT_EQ(f.form().TntListView1->ItemCount(), 1);
  wchar_t now[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, now);
  EXPECT_EQ(fs::path(now), fs::path(before));
}

TEST(InputList, DropLowersNamesAndRefusesOtherFilesOneMessageEach) {
  TempFolder temp;
  std::wstring clip = temp.File(L"Clip.MP4");
  std::wstring avi = temp.File(L"movie.avi");
  std::wstring folder = temp.Folder(L"Sub");
  std::wstring flv = temp.File(L"视频A.FLV");
  MainWindowFixture f;
  Drop(f.form().Handle(), {clip, avi, folder, flv, clip});
  EXPECT_THAT(MainWindowFixture::Boxes(),
              testing::ElementsAre(L"提示|不支持该类型的文件", L"提示|不支持该类型的文件"));
  EXPECT_THAT(Entries(f.form()),
              testing::ElementsAre(Entry{L"clip", L"mp4", Lower(clip), true, 0},
                                   Entry{L"视频a", L"flv", Lower(flv), true, 0},
                                   Entry{L"clip", L"mp4", Lower(clip), true, 0}));
  EXPECT_EQ(f.form().OutputFolderText(), Lower(temp.path()) + L"转换\\");
}

TEST(InputList, ALongDroppedPathArrivesWhole) {
  TempFolder temp;
  std::wstring name(258 - temp.path().size() - 4, L'a');
  std::wstring path = temp.File(name + L".mp4");
  ASSERT_GT(path.size(), 254u);
  MainWindowFixture f;
  Drop(f.form().Handle(), {path});
  ASSERT_EQ(f.form().TntListView1->ItemCount(), 1);
  EXPECT_EQ(f.form().TntListView1->ItemText(0, 2), Lower(path));
}

TEST(InputList, RemoveResetsTheFolderAndClearEmptiesIt) {
  TempFolder temp;
  std::wstring inA = temp.Folder(L"A") + L"\\x.mp4", inB = temp.Folder(L"B") + L"\\y.mp4";
  MainWindowFixture f;
  TTntForm1& form = f.form();
  auto* list = form.TntListView1;
  form.ImportFile(inA);
  form.SetDefaultOutputFolder();
  form.ImportFile(inB);
  form.ImportFile(inB);  // duplicates are allowed
  ASSERT_EQ(form.TntListView1->ItemCount(), 3);

  form.TntEdit1->SetText(L"D:\\chosen\\");
  form.TntBitBtn6Click();  // nothing selected: nothing happens
  EXPECT_EQ(form.TntListView1->ItemCount(), 3);
  EXPECT_EQ(form.OutputFolderText(), L"D:\\chosen\\");

  list->SetSelected(0, true);
  form.TntBitBtn6Click();
  EXPECT_EQ(form.TntListView1->ItemCount(), 2);
  EXPECT_EQ(form.OutputFolderText(), temp.path() + L"B\\转换\\");

  list->SetSelected(0, true);
  list->SetSelected(1, true);
  form.TntBitBtn6Click();
  EXPECT_EQ(form.TntListView1->ItemCount(), 0);
  EXPECT_EQ(form.OutputFolderText(), L"");

  form.ImportFile(inA);
  form.SetDefaultOutputFolder();
  form.TntBitBtn7Click();
  EXPECT_EQ(form.TntListView1->ItemCount(), 0);
  EXPECT_EQ(form.OutputFolderText(), L"");
}

TEST(InputList, CheckAllAndInvertLeaveTheSelectionAlone) {
  MainWindowFixture f;
  TTntForm1& form = f.form();
  auto* list = form.TntListView1;
  for (const wchar_t* p : {L"C:\\a.mp4", L"C:\\b.mp4", L"C:\\c.mp4"}) form.ImportFile(p);
  list->SetChecked(1, false);
  list->SetSelected(2, true);
  form.TntBitBtn9Click();
  EXPECT_THAT((std::vector<bool>{list->Checked(0), list->Checked(1), list->Checked(2)}),
              testing::ElementsAre(false, true, false));
  form.TntBitBtn8Click();
  EXPECT_THAT((std::vector<bool>{list->Checked(0), list->Checked(1), list->Checked(2)}),
              testing::ElementsAre(true, true, true));
  EXPECT_TRUE(list->Selected(2));
  EXPECT_EQ(list->SelCount(), 1);
}

TEST(InputList, DelAndCtrlDelInTheListRemoveAndClear) {
  MainWindowFixture f;
  TTntForm1& form = f.form();
  auto* list = form.TntListView1;
  for (const wchar_t* p : {L"C:\\a.mp4", L"C:\\b.mp4", L"C:\\c.mp4"}) form.ImportFile(p);
  list->SetFocus();
  list->SetSelected(1, true);
  PostMessageW(list->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  ProcessMessages();
  EXPECT_EQ(form.TntListView1->ItemCount(), 2);
  EXPECT_EQ(list->ItemText(1, 0), L"c");

  BYTE keys[256];
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(list->Handle(), WM_KEYDOWN, VK_DELETE, 0);
  ProcessMessages();
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ(form.TntListView1->ItemCount(), 0);
}

// Dropped paths keep every character, whatever the ANSI code page (this test also runs under
// 1252 and 1251): the entry, its name and the default folder hold the path as the shell gave
// it, only its ASCII letters lowered.
TEST(InputList, DroppedNamesOfAnyScriptKeepTheirCharacters) {
  TempFolder temp;
  struct Case {
    const wchar_t* folder;
    const wchar_t* file;
    const wchar_t* caption;
  } cases[] = {
      {L"Café", L"Clip.FLV", L"clip"},
      {L"Видео", L"Клип.mp4", L"Клип"},
      {L"한국어", L"영상.F4V", L"영상"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.folder)));
    MainWindowFixture f;
    TTntForm1& form = f.form();
    temp.Folder(c.folder);
    std::wstring path = temp.File(std::wstring(c.folder) + L"\\" + c.file);
    Drop(form.Handle(), {path});
    std::wstring lowered = Lower(path);
    ASSERT_EQ(Entries(form).size(), 1u);
    EXPECT_EQ(Entries(form)[0].caption, c.caption);
    EXPECT_EQ(Entries(form)[0].path, lowered);
    std::wstring folder = Lower(temp.path()) + Lower(c.folder) + L"\\转换\\";
    EXPECT_EQ(form.TntEdit1->GetText(), folder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_THAT(MainWindowFixture::Boxes(), testing::IsEmpty());
  }
}

// A start pressed while a drop is still adding files (its pumps deliver the press) waits for
// the drop to end: the run converts every dropped file and the list repaints while it works.
TCustomListView* g_list = nullptr;
HWND g_start = nullptr;
std::vector<bool> g_listUpdatingAtBoxes;

LRESULT CALLBACK PressStartOnTheFirstEntry(int code, WPARAM wParam, LPARAM lParam) {
  auto* call = reinterpret_cast<CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && g_start && call->message == LVM_INSERTITEMW) {
    PostMessageW(g_start, BM_CLICK, 0, 0);
    g_start = nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK NoteTheListAtBoxes(int code, WPARAM wParam, LPARAM lParam) {
  wchar_t name[32] = {};
  if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(wParam), name, 32) &&
      std::wstring(name) == L"#32770")
    g_listUpdatingAtBoxes.push_back(g_list->Updating());
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(InputList, AStartPressedDuringADropWaitsForItsEnd) {
  TempFolder temp;
  MainWindowFixture f;
  TTntForm1& form = f.form();
  TTntForm2 progress(nullptr, &form);
  TntForm2 = &progress;
  // AVI: the missing encoder fails each entry at once, without a fallback attempt.
  form.g[6]->SetChecked(true);
  g_list = form.TntListView1;
  g_start = form.TntBitBtn1->Handle();
  g_listUpdatingAtBoxes.clear();
  HHOOK press =
      SetWindowsHookExW(WH_CALLWNDPROC, PressStartOnTheFirstEntry, nullptr, GetCurrentThreadId());
  HHOOK note = SetWindowsHookExW(WH_CBT, NoteTheListAtBoxes, nullptr, GetCurrentThreadId());
  Drop(form.Handle(), {temp.File(L"a.flv"), temp.File(L"b.flv")});
  EXPECT_THAT(MainWindowFixture::Boxes(), testing::IsEmpty());  // nothing ran inside the drop
  f.Pump();
  UnhookWindowsHookEx(press);
  UnhookWindowsHookEx(note);
  TntForm2 = nullptr;

  EXPECT_THAT(MainWindowFixture::Boxes(),
              testing::ElementsAre(L"Velmo转换 - 独立版|转换第1个文件时出现错误",
                                   L"Velmo转换 - 独立版|转换第2个文件时出现错误",
                                   L"成功|转换已经全部完成.是否立即打开保存转换文件的目录?"));
  EXPECT_THAT(g_listUpdatingAtBoxes, testing::Each(false));
  EXPECT_EQ(g_listUpdatingAtBoxes.size(), 3u);
}

TEST(InputList, ConversionFindsItsEntriesByIdWhateverIsRemovedAroundThem) {
  MainWindowFixture f;
  TTntForm1& form = f.form();
  for (const wchar_t* p : {L"C:\\clips\\a.flv", L"C:\\clips\\b.flv", L"C:\\clips\\c.flv"})
    form.ImportFile(p);
  ConversionHost& host = form;
  std::vector<EntryState> entries = host.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EntryId a = entries[0].id, b = entries[1].id, c = entries[2].id;
  EXPECT_TRUE(a != b && b != c && a != c);
  EXPECT_TRUE(entries[0].checked);

  host.RemoveEntry(a);
  EXPECT_EQ(host.EntryIndex(a), std::nullopt);
  EXPECT_EQ(host.EntryPath(a), std::nullopt);
  EXPECT_EQ(host.EntryIndex(c), 1);
  EXPECT_EQ(host.EntryPath(c), L"C:\\clips\\c.flv");
  host.SetEntryIcon(c, 4);
  host.SetEntryIcon(a, 1);  // gone: nothing happens
  EXPECT_EQ(form.TntListView1->ImageIndex(1), 4);
  EXPECT_EQ(form.TntListView1->ImageIndex(0), 0);

  // An entry added later gets a new id, never one given before.
  form.ImportFile(L"C:\\clips\\a.flv");
  EXPECT_EQ(host.Entries().back().id != a, true);
  // The ids survive the list window being made again.
  form.TntListView1->RecreateWnd();
  ProcessMessages();
  form.TntListView1->Handle();
  EXPECT_EQ(host.EntryIndex(b), 0);
  EXPECT_EQ(host.EntryIndex(c), 1);

  EXPECT_EQ(host.ResolutionText(), L"原始分辨率");
  host.EnableStartButton(false);
  EXPECT_FALSE(IsWindowEnabled(form.TntBitBtn1->Handle()));
  form.TntCheckBox1->SetChecked(true);
  EXPECT_TRUE(host.DeleteAfterConversion());
}

}  // namespace
