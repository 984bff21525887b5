// The floor for the start-up benchmark: a program that only opens a window, at the place, of
// the size and with the title given on its command line ("left top width height title"), and
// waits until it is closed. Built with the same compiler and options as the converter.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int show) {
  int left = CW_USEDEFAULT, top = CW_USEDEFAULT, width = 945, height = 643, used = 0;
  const wchar_t* title = L"";
  if (swscanf(commandLine, L"%d %d %d %d %n", &left, &top, &width, &height, &used) == 4)
    title = commandLine + used;
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = L"MinimalWindow";
  RegisterClassW(&windowClass);
  HWND window = CreateWindowExW(0, L"MinimalWindow", title, WS_OVERLAPPEDWINDOW, left, top, width,
                                height, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
