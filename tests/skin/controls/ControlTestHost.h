#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "skin/data/SkinData.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Form.h"

// What the wrapper tests share: our skin loaded into a skin data component, a real form shown
// on the private display with a form skinner hooked to it, and pixels read back from the
// windows' own device contexts.
namespace controltest {

using namespace std::chrono_literals;

std::unique_ptr<TSkinData> OurSkin();

void Pump();
// Pumps messages until `done` or the timeout; true when done.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s);
// Pumps messages for a while (mouse input and timers need time to arrive).
void PumpFor(std::chrono::milliseconds duration);

// A pixel of the window's client area, read from its device context.
COLORREF Pixel(HWND window, int x, int y);
// The window's client area as it shows, read from its device context.
ui::Bitmap Grab(HWND window);
using PixelTest = std::function<bool(COLORREF)>;
// Dark pixels: text on the skin's light faces.
bool Dark(COLORREF c);
PixelTest Is(COLORREF colour);
// Rows of a picture inside the rectangle that hold a matching pixel, as runs of rows
// ({first, last} each): how many lines of text it shows.
std::vector<std::pair<int, int>> InkRows(const ui::Bitmap& picture, const RECT& area,
                                         const PixelTest& ink);
// The bounding box of the matching pixels inside the rectangle (empty when none).
RECT InkBox(const ui::Bitmap& picture, const RECT& area, const PixelTest& ink);

// Every window of this thread repainted now, frames and children.
void RedrawAll();
// The screen's pixels of a rectangle (screen coordinates).
ui::Bitmap Screen(RECT r);
// A picture written as a 24-bit BMP file (for the pictures in docs/).
void SaveBmp(const ui::Bitmap& picture, const std::filesystem::path& path);
// The bottom edge of the window's frame, stretched from the strip (active and inactive frames
// stacked): the middle column shows one of the strip's two middle columns.
bool ShowsFrameBottom(HWND window, const ui::Bitmap& strip);

// Runs a body once from a timer, which also fires inside a modal loop (a message box, a menu).
class InsideModal {
 public:
  explicit InsideModal(std::function<void()> body);
  ~InsideModal();

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD);
  static inline std::function<void()> body_;
  static inline bool running_ = false;
  UINT_PTR timer_;
};

// Real mouse and keyboard input through the system's input queue.
void MouseMove(HWND window, POINT client);
void MouseDown(HWND window, POINT client);
void MouseUp(HWND window, POINT client);
void Key(WORD vk, bool down);

// A shown form at a fixed place, skinned by a form skinner that uses our skin.
class Host {
 public:
  explicit Host(int width = 400, int height = 300);
  ~Host();
  ui::TForm& form() { return *form_; }
  TSkinData& data() { return *data_; }
  TWinSkinForm& skinner() { return *skinner_; }
  // Adds a control of type T to the form at the given bounds.
  template <typename T>
  T* Add(RECT bounds) {
    auto* control = new T(form_.get());
    control->SetParent(form_.get());
    control->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left,
                       bounds.bottom - bounds.top);
    return control;
  }

 private:
  std::unique_ptr<TSkinData> data_;
  std::unique_ptr<ui::TForm> form_;
  std::unique_ptr<TWinSkinForm> skinner_;
};

}  // namespace controltest
