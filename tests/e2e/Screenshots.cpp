// Takes the pictures of the README: the skinned main window active and inactive, a message
// box, the open dialog, the folder browser, the main window with a filled list and with the
// list's popup menu open, and the progress window during a conversion. Usage: velmo_screenshots.exe
// <folder>; writes BMP files there.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tests/doubles/UserInput.h"
#include "tests/e2e/AppDriver.h"
#include "ui/GdiObject.h"

namespace {

// Copies a window's screen area (frame included) into a 24-bit BMP file.
bool SaveWindow(HWND window, const std::filesystem::path& file) {
  RECT r{};
  GetWindowRect(window, &r);
  int width = r.right - r.left, height = r.bottom - r.top;
  ui::WindowDC screen(nullptr);
  ui::MemoryDC memory(screen.get());
  ui::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get(), width, height));
  {
    ui::SelectObjectGuard select(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), r.left, r.top, SRCCOPY);
  }
  BITMAPINFOHEADER header{sizeof(header), width, height, 1, 24, BI_RGB};
  int stride = (width * 3 + 3) & ~3;
  std::vector<char> pixels(static_cast<size_t>(stride) * height);
  GetDIBits(memory.get(), bitmap.get(), 0, height, pixels.data(),
            reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  BITMAPFILEHEADER fileHeader{
      0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(header) + pixels.size()), 0, 0,
      sizeof(BITMAPFILEHEADER) + sizeof(header)};
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&fileHeader), sizeof(fileHeader));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
  return static_cast<bool>(out);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace e2e;
  if (argc < 2) return 2;
  std::filesystem::path out = argv[1];
  wchar_t temp[MAX_PATH]{};
  GetTempPathW(MAX_PATH, temp);
  std::filesystem::path clips = std::filesystem::path(temp) / L"velmo-screenshots" / L"我的视频";
  std::filesystem::remove_all(clips.parent_path());
  std::filesystem::create_directories(clips);
  MakeClip(clips / L"旅行记录 第一集.flv", 60, L"1280x720");
  MakeClip(clips / L"海边日落.flv", 2);
  MakeClip(clips / L"家庭聚会 2009.flv", 2);

  App app(ProgramFolder());
  Sleep(800);  // the skin takes over a moment after the window shows
  SaveWindow(app.MainWindow(), out / L"main-window.bmp");

  // 访问目录 without a folder: a message box, and the main window inactive behind it.
  Click(app.Button(L"访问目录"));
  if (auto box = WaitForMessageBox(app.ProcessId(), 10s)) {
    SetForegroundWindow(box->window);
    Sleep(800);
    SaveWindow(box->window, out / L"message-box.bmp");
    SaveWindow(app.MainWindow(), out / L"main-window-inactive.bmp");
    AnswerMessageBox(*box, IDOK);
  }
  Sleep(300);

  // The dialogs of the system, skinned as well.
  auto shootDialog = [&](const wchar_t* button, const wchar_t* file) {
    Click(app.Button(button));
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = FindProcessWindow(app.ProcessId(), L"#32770")) != nullptr; },
            20s);
    if (!dialog) return;
    SetForegroundWindow(dialog);
    Sleep(1000);
    SaveWindow(dialog, out / file);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    WaitFor([&] { return !IsWindow(dialog); }, 10s);
    Sleep(300);
  };
  shootDialog(L"导入文件", L"open-dialog.bmp");
  shootDialog(L"浏览", L"folder-browser.bmp");

  app.Import(
      {clips / L"旅行记录 第一集.flv", clips / L"海边日落.flv", clips / L"家庭聚会 2009.flv"});
  app.SetEntryChecked(2, false);
  SetForegroundWindow(app.MainWindow());
  Sleep(500);
  SaveWindow(app.MainWindow(), out / L"main-window-list.bmp");

  // The list's popup menu, as a right click on an entry opens it, the pointer on its second
  // item.
  if (HWND list = app.ListView()) {
    RECT r{};
    GetWindowRect(list, &r);
    const POINT entry{r.left + 70, r.top + 33};
    using user_input::Mouse;
    user_input::Send({Mouse(MOUSEEVENTF_MOVE, entry), Mouse(MOUSEEVENTF_RIGHTDOWN, entry),
                      Mouse(MOUSEEVENTF_RIGHTUP, entry)});
    HWND menu = nullptr;
    WaitFor([&] { return (menu = FindProcessWindow(app.ProcessId(), L"#32768")) != nullptr; }, 10s);
    if (menu) {
      RECT m{};
      GetWindowRect(menu, &m);
      user_input::MoveMouse({m.left + 40, m.top + 3 + 22 + 11});
      Sleep(800);
      SaveWindow(app.MainWindow(), out / L"main-window-menu.bmp");
      PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
      WaitFor([&] { return !IsWindow(menu) || !IsWindowVisible(menu); }, 10s);
      Sleep(300);
    }
  }

  Click(app.Button(L"开始转换"));
  WaitFor([&] { return app.ProgressWindow() && app.ProgressBar(0).position > 0; }, 60s);
  Sleep(1200);
  SaveWindow(app.ProgressWindow(), out / L"progress-window.bmp");
  SaveWindow(app.MainWindow(), out / L"main-window-converting.bmp");
  HWND cancel = FindDescendant(app.ProgressWindow(), L"取消");
  Click(cancel);
  WaitFor([&] { return app.ProgressWindow() == nullptr; }, 30s);

  // A longer list: the skinned buttons, list frame, header and scroll bar together. The list
  // takes any file of the right name.
  std::vector<std::filesystem::path> more;
  for (int i = 1; i <= 24; ++i) {
    more.push_back(clips / (L"片段 " + std::to_wstring(i) + L".flv"));
    std::ofstream(more.back()) << '\0';
  }
  app.Import(more);
  SetForegroundWindow(app.MainWindow());
  Sleep(800);
  SaveWindow(app.MainWindow(), out / L"main-window-controls.bmp");
  app.Quit();
  std::filesystem::remove_all(clips.parent_path());
  return 0;
}
