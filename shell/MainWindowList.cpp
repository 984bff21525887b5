// The input list: import, drop, remove, clear, check all, invert, default output folder.
#include <shlobj.h>

#include "shell/InputNames.h"
#include "shell/MainWindow.h"
#include "ui/MessagePump.h"

namespace {

constexpr wchar_t kConvertedFolderName[] = L"转换\\";

// While many entries are added the list redraws about ten times a second instead of after
// every entry (2,000 repaints of a growing list take many seconds); messages are still
// processed after every entry.
class BatchedRedraw {
 public:
  explicit BatchedRedraw(ui::TCustomListView& list) : list_(list) { list_.BeginUpdate(); }
  ~BatchedRedraw() { list_.EndUpdate(); }
  BatchedRedraw(const BatchedRedraw&) = delete;
  BatchedRedraw& operator=(const BatchedRedraw&) = delete;

  void Added() {
    if (GetTickCount64() - shown_ < 100) return;
    Pause();
    UpdateWindow(list_.Handle());
    Resume();
  }
  // Around a message box: the list must paint itself while the box is open.
  void Pause() { list_.EndUpdate(); }
  void Resume() {
    list_.BeginUpdate();
    shown_ = GetTickCount64();
  }

 private:
  ui::TCustomListView& list_;
  ULONGLONG shown_ = GetTickCount64();
};

}  // namespace

void TTntForm1::AddEntry(const std::wstring& caption, const std::wstring& format,
                         const std::wstring& path) {
  TntListView1->AddItem({caption, format, path}, kIconWaiting, true,
                        static_cast<LPARAM>(nextEntryId_++));
}

// Paths stay the wide text the dialog or the shell gave: a round trip through a code page
// would turn every character it lacks into "?".
void TTntForm1::ImportFile(const std::wstring& path) {
  std::wstring caption = input_names::DropLastFour(input_names::FileNamePart(path));
  std::wstring extension = input_names::LowerAsciiLetters(input_names::ExtensionPart(path));
  // A name typed with another extension has no format; its path still goes in its column.
  AddEntry(caption, std::wstring(input_names::FormatOfExtension(extension)), path);
}

void TTntForm1::TntBitBtn5Click() {
  if (!OpenDialog1->Execute(Handle())) return;
  ImportScope importing(*this);
  try {
    BatchedRedraw redraw(*TntListView1);
    for (const std::wstring& path : OpenDialog1->Files()) {
      ImportFile(path);
      // The folder is set before anything else can run: a start pressed now must find it.
      if (TntListView1->ItemCount() == 1) SetDefaultOutputFolder();
      redraw.Added();
      ui::ProcessMessages();
    }
  } catch (const std::exception&) {
    // An import that fails ends quietly; the entries added so far stay.
  }
}

void TTntForm1::WMDropFiles(HDROP drop) {
  ImportScope importing(*this);
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  ui::ProcessMessages();
  {
    BatchedRedraw redraw(*TntListView1);
    for (UINT i = 0; i < count; ++i) {
      // The whole path, however long: a cut path would name another file.
      UINT length = DragQueryFileW(drop, i, nullptr, 0);
      std::wstring dropped(length + 1, L'\0');
      dropped.resize(DragQueryFileW(drop, i, dropped.data(), length + 1));
      std::wstring path = input_names::LowerAsciiLetters(dropped);
      std::wstring_view format = input_names::FormatOfExtension(input_names::ExtensionPart(path));
      DWORD attributes = GetFileAttributesW(dropped.c_str());
      bool folder =
          attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
      if (format.empty() || folder) {
        redraw.Pause();
        ShowMessage(L"不支持该类型的文件", L"提示", MB_ICONERROR);
        redraw.Resume();
        continue;
      }
      AddEntry(input_names::DropLastFour(input_names::FileNamePart(path)), std::wstring(format),
               path);
      if (TntListView1->ItemCount() == 1) SetDefaultOutputFolder();
      redraw.Added();
      ui::ProcessMessages();
    }
  }
  DragFinish(drop);
  ui::ProcessMessages();
}

void TTntForm1::SetDefaultOutputFolder() {
  if (TntListView1->ItemCount() == 0) {
    TntEdit1->SetText(L"");
    return;
  }
  std::wstring folder =
      input_names::OutputFolderFor(TntListView1->ItemText(0, 2), kConvertedFolderName);
  TntEdit1->SetText(folder);
  std::wstring create = folder;
  while (create.size() > 3 && create.back() == L'\\') create.pop_back();
  SHCreateDirectoryExW(nullptr, create.c_str(), nullptr);
}

void TTntForm1::TntBitBtn6Click() {
  if (TntListView1->SelCount() == 0) return;
  TntListView1->DeleteSelected();
  SetDefaultOutputFolder();
}

void TTntForm1::TntBitBtn7Click() {
  TntListView1->Clear();
  TntEdit1->SetText(L"");
}

void TTntForm1::TntBitBtn8Click() {
  for (int i = 0; i < TntListView1->ItemCount(); ++i) TntListView1->SetChecked(i, true);
}

void TTntForm1::TntBitBtn9Click() {
  for (int i = 0; i < TntListView1->ItemCount(); ++i)
    TntListView1->SetChecked(i, !TntListView1->Checked(i));
}
