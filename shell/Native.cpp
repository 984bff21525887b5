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
  ShellExecuteW(nullptr, L"open", target_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  if (SUCCEEDED(com)) CoUninitialize();
}

void OpenWithShell(const std::wstring& target) { (new TNative(target))->Start(); }
