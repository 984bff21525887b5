#include "ui/Dialogs.h"

#include <commdlg.h>
#include <shlobj.h>

#include "ui/ComApartment.h"
#include "ui/ModalScope.h"

namespace ui {

namespace {

// The open dialog moves the process's current folder to the one the user chose files in; on
// Windows a process holds its current folder open, so that folder could not be deleted or
// renamed and its drive not ejected until the program ends. Windows ignores OFN_NOCHANGEDIR
// for the open dialog, so the folder is put back by hand.
class CurrentFolderKept {
 public:
  CurrentFolderKept() {
    DWORD length = GetCurrentDirectoryW(0, nullptr);
    folder_.resize(length);
    folder_.resize(length ? GetCurrentDirectoryW(length, folder_.data()) : 0);
  }
  ~CurrentFolderKept() {
    if (!folder_.empty()) SetCurrentDirectoryW(folder_.c_str());
  }
  CurrentFolderKept(const CurrentFolderKept&) = delete;
  CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

 private:
  std::wstring folder_;
};

}  // namespace

const TClassInfo& TOpenDialog::StaticClass() {
  static TClassInfo info(L"TOpenDialog", &TComponent::StaticClass());
  static const bool published = [] {
    info.Text<TOpenDialog>(L"Title", &TOpenDialog::Title, &TOpenDialog::SetTitle)
        .Text<TOpenDialog>(L"Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
        .Text<TOpenDialog>(L"InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir);
    TPropInfo options(L"Options", TPropKind::Set, {L"ofReadOnly",
                                                   L"ofOverwritePrompt",
                                                   L"ofHideReadOnly",
                                                   L"ofNoChangeDir",
                                                   L"ofShowHelp",
                                                   L"ofNoValidate",
                                                   L"ofAllowMultiSelect",
                                                   L"ofExtensionDifferent",
                                                   L"ofPathMustExist",
                                                   L"ofFileMustExist",
                                                   L"ofCreatePrompt",
                                                   L"ofShareAware",
                                                   L"ofNoReadOnlyReturn",
                                                   L"ofNoTestFileCreate",
                                                   L"ofNoNetworkButton",
                                                   L"ofNoLongNames",
                                                   L"ofOldStyleDialog",
                                                   L"ofNoDereferenceLinks",
                                                   L"ofEnableIncludeNotify",
                                                   L"ofEnableSizing"});
    options.getOrdinal = [](const TPersistent& o) {
      return static_cast<const TOpenDialog&>(o).Options();
    };
    options.setOrdinal = [](TPersistent& o, int v) { static_cast<TOpenDialog&>(o).SetOptions(v); };
    info.Add(std::move(options));
    return true;
  }();
  (void)published;
  return info;
}

VELMO_NAMED_CLASS_INFO(TTntOpenDialog, TOpenDialog)

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner) {}

bool TOpenDialog::Execute(HWND owner) {
  // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
  std::wstring filter = filter_;
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  filter.append(2, L'\0');
  std::wstring buffer(65536, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
  ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
  ofn.Flags = OFN_EXPLORER;
  if (options_ & ofHideReadOnly) ofn.Flags |= OFN_HIDEREADONLY;
  if (options_ & ofAllowMultiSelect) ofn.Flags |= OFN_ALLOWMULTISELECT;
  if (options_ & ofEnableSizing) ofn.Flags |= OFN_ENABLESIZING;
  if (options_ & ofFileMustExist) ofn.Flags |= OFN_FILEMUSTEXIST;
  if (options_ & ofPathMustExist) ofn.Flags |= OFN_PATHMUSTEXIST;
  if (options_ & ofNoChangeDir) ofn.Flags |= OFN_NOCHANGEDIR;
  files_.clear();
  UseComApartment();
  ModalScope modal;
  CurrentFolderKept keptFolder;
  if (!GetOpenFileNameW(&ofn)) return false;
  // One file: its full path. Several: the folder, then each name, each ended by a null.
  std::wstring first(buffer.c_str());
  const wchar_t* next = buffer.c_str() + first.size() + 1;
  if (*next == L'\0') {
    files_.push_back(first);
    return true;
  }
  std::wstring folder = first;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  while (*next) {
    std::wstring name(next);
    files_.push_back(folder + name);
    next += name.size() + 1;
  }
  return true;
}

int MessageBoxText(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
  ModalScope modal;
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

std::optional<std::wstring> BrowseForFolder(HWND owner, const std::wstring& title) {
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pszDisplayName = displayName;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_NEWDIALOGSTYLE;
  // The browser's new style needs COM on the calling thread.
  UseComApartment();
  PIDLIST_ABSOLUTE item = nullptr;
  {
    ModalScope modal;
    item = SHBrowseForFolderW(&info);
  }
  if (!item) return std::nullopt;
  wchar_t path[MAX_PATH] = {};
  BOOL ok = SHGetPathFromIDListW(item, path);
  CoTaskMemFree(item);
  if (!ok) return std::wstring();
  return std::wstring(path);
}

}  // namespace ui
