#include "tests/skin/controls/ControlTestHost.h"

#include <fstream>
#include <iterator>
#include <thread>

#include "skin/data/BmpImage.h"
#include "ui/Application.h"
#include "ui/GdiObject.h"

namespace controltest {

std::unique_ptr<TSkinData> OurSkin() {
  std::ifstream in(VELMO_SKIN_STREAM, std::ios::binary);
  std::vector<std::uint8_t> payload{std::istreambuf_iterator<char>(in), {}};
  auto data = std::make_unique<TSkinData>(nullptr);
  data->ReadSkinStream(payload);
  return data;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  while (true) {
    Pump();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void PumpFor(std::chrono::milliseconds duration) {
  PumpUntil([] { return false; }, duration);
}

COLORREF Pixel(HWND window, int x, int y) {
  ui::WindowDC dc(window);
  return GetPixel(dc.get(), x, y);
}

ui::Bitmap Grab(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  ui::Bitmap picture(r.right, r.bottom);
  ui::WindowDC dc(window);
  ui::Bitmap::Canvas canvas(picture);
  BitBlt(canvas.dc(), 0, 0, r.right, r.bottom, dc.get(), 0, 0, SRCCOPY);
  return picture;
}

bool Dark(COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 110; }

PixelTest Is(COLORREF colour) {
  return [colour](COLORREF c) { return c == colour; };
}

std::vector<std::pair<int, int>> InkRows(const ui::Bitmap& picture, const RECT& area,
                                         const PixelTest& ink) {
  std::vector<std::pair<int, int>> runs;
  for (int y = area.top; y < area.bottom; ++y) {
    bool found = false;
    for (int x = area.left; x < area.right && !found; ++x) found = ink(picture.Pixel(x, y));
    if (!found) continue;
    if (!runs.empty() && runs.back().second == y - 1)
      runs.back().second = y;
    else
      runs.push_back({y, y});
  }
  return runs;
}

RECT InkBox(const ui::Bitmap& picture, const RECT& area, const PixelTest& ink) {
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if (!ink(picture.Pixel(x, y))) continue;
      box.left = std::min<int>(box.left, x);
      box.top = std::min<int>(box.top, y);
      box.right = std::max<int>(box.right, x + 1);
      box.bottom = std::max<int>(box.bottom, y + 1);
    }
  }
  if (box.right <= box.left) return {};
  return box;
}

namespace {

BOOL CALLBACK RedrawOne(HWND window, LPARAM) {
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  return TRUE;
}

}  // namespace

void RedrawAll() { EnumThreadWindows(GetCurrentThreadId(), RedrawOne, 0); }

ui::Bitmap Screen(RECT r) {
  ui::Bitmap picture(r.right - r.left, r.bottom - r.top);
  HDC screen = GetDC(nullptr);
  {
    ui::Bitmap::Canvas canvas(picture);
    BitBlt(canvas.dc(), 0, 0, picture.Width(), picture.Height(), screen, r.left, r.top, SRCCOPY);
  }
  ReleaseDC(nullptr, screen);
  return picture;
}

void SaveBmp(const ui::Bitmap& picture, const std::filesystem::path& path) {
  BmpImage image{picture.Width(), picture.Height(), {}};
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x)
      image.pixels.push_back(ui::SwapRedBlue(picture.Pixel(x, y)));
  const std::vector<std::uint8_t> bytes = EncodeBmp24(image);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

bool ShowsFrameBottom(HWND window, const ui::Bitmap& strip) {
  RECT w{};
  GetWindowRect(window, &w);
  const int h = strip.Height() / 2, mid = strip.Width() / 2, x = (w.left + w.right) / 2;
  const ui::Bitmap shown = Screen({x, w.bottom - h, x + 1, w.bottom});
  for (int f = 0; f < 2; ++f) {
    bool same = true;
    for (int y = 0; y < h && same; ++y) same = shown.Pixel(0, y) == strip.Pixel(mid, f * h + y);
    if (same) return true;
  }
  return false;
}

InsideModal::InsideModal(std::function<void()> body) {
  body_ = std::move(body);
  timer_ = SetTimer(nullptr, 0, 100, Tick);
}

InsideModal::~InsideModal() {
  KillTimer(nullptr, timer_);
  body_ = nullptr;
}

void CALLBACK InsideModal::Tick(HWND, UINT, UINT_PTR timer, DWORD) {
  // The body pumps messages itself: this timer must not run it a second time meanwhile.
  if (running_ || !body_) return;
  running_ = true;
  KillTimer(nullptr, timer);
  auto run = std::move(body_);
  body_ = nullptr;
  run();
  running_ = false;
}

namespace {

void SendMouse(HWND window, POINT client, DWORD buttons) {
  ClientToScreen(window, &client);
  SetCursorPos(client.x, client.y);
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(client.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(client.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &input, sizeof(input));
  SetCursorPos(client.x, client.y);  // exact, whatever the rounding of the move did
  if (!buttons) return;
  input.mi.dx = input.mi.dy = 0;
  input.mi.dwFlags = buttons;
  SendInput(1, &input, sizeof(input));
}

}  // namespace

void MouseMove(HWND window, POINT client) { SendMouse(window, client, 0); }
void MouseDown(HWND window, POINT client) { SendMouse(window, client, MOUSEEVENTF_LEFTDOWN); }
void MouseUp(HWND window, POINT client) { SendMouse(window, client, MOUSEEVENTF_LEFTUP); }

void Key(WORD vk, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

Host::Host(int width, int height) : data_(OurSkin()), form_(std::make_unique<ui::TForm>(nullptr)) {
  ui::Application().Initialize();
  form_->SetBounds(40, 40, width, height);
  form_->SetColor(RGB(255, 255, 255));
  form_->Show();
  // Above anything else on the display: the tests read its pixels and move the mouse on it.
  SetWindowPos(form_->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(form_->Handle());
  skinner_ = std::make_unique<TWinSkinForm>(nullptr);
  skinner_->SetHandle(form_->Handle());
  skinner_->HookWindow(*data_);
  Pump();
}

Host::~Host() {
  skinner_.reset();
  form_.reset();
  Pump();
}

}  // namespace controltest
