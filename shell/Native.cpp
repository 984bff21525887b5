#include "shell/Native.h"

#include <windows.h>
// after windows.h
#include <objbase.h>
#include <shellapi.h>

TNative::TNative(std::wstring target) : ui::TThread(true), target_(std::move(target)) {
  SetFreeOnTerminate(true);
}

void TNative::Execute() {
  // The shell may need COM on this thread; its answer is not reported anywhere.
  HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  // The thread ends right after the call: a shell handler that would finish its work
  // asynchronously must finish it before the call returns.
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = target_.c_str();
  info.nShow = SW_SHOWNORMAL;
  ShellExecuteExW(&info);
  if (SUCCEEDED(com)) CoUninitialize();
}

void OpenWithShell(const std::wstring& target) { (new TNative(target))->Start(); }
