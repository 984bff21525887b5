// Lets an exception leave a window procedure on purpose, for the check that must catch it:
// "throw" a C++ exception, "fault" an access violation. Says so when it goes on afterwards
// (64-bit Wine drops such an exception and returns from UpdateWindow).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

bool fault = false;

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    if (fault) {
      volatile int* nowhere = nullptr;
      return *nowhere;
    }
    throw std::runtime_error("thrown on purpose from a window procedure");
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  fault = argc > 1 && std::strcmp(argv[1], "fault") == 0;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"VelmoThrowingWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowW(L"VelmoThrowingWindow", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              windowClass.hInstance, nullptr);
  // A paint that the system asks for: Wine calls the procedure through its user-callback
  // dispatcher here (a SendMessage within one thread calls it directly).
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);
  std::printf("went on after the exception\n");
  return 0;
}
