#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinData.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/WinSkinForm.h"
#include "ui/Form.h"

// What the skinner tests share: our skin (or a variant of it), a registered control manager
// with one sfMainform skin data component as the program has, real forms shown on the
// private display, and pixels read back from the screen.
namespace skintest {

using namespace std::chrono_literals;

// Our skin as the main window stores it, optionally changed: INI lines replaced or added
// ("Section" -> {"Key=Value", ...}; an empty value removes the key) and image files replaced.
struct SkinVariant {
  std::map<std::string, std::vector<std::string>> ini;
  std::map<std::string, ui::Bitmap*> images;  // file name -> 24-bit picture to pack
};
std::vector<std::uint8_t> SkinStream(const SkinVariant& variant = {});

// A plain top-level window of a class of its own (no framework object behind it).
struct PlainWindowArgs {
  const wchar_t* className = L"VelmoPlain";
  DWORD style = WS_OVERLAPPEDWINDOW;
  DWORD exStyle = 0;
  RECT bounds{200, 150, 500, 350};
  HINSTANCE instance = nullptr;  // this module
  HBRUSH background = nullptr;
  WNDPROC procedure = nullptr;  // DefWindowProc
  bool show = true;             // shown and activated
};
HWND PlainWindow(const PlainWindowArgs& args);

void Pump(std::chrono::milliseconds duration = 0ms);
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout = 3s);
COLORREF ScreenPixel(int x, int y);
// Pixels of the window's frame as the screen shows them, in frame coordinates.
COLORREF FramePixel(HWND window, int x, int y);
// The window as the screen shows it, frame included.
ui::Bitmap GrabWindow(HWND window);
// A point of a side-by-side strip's frame where the given frames all differ and none is the
// key colour (so that the screen tells them apart).
POINT DistinctPoint(const ui::Bitmap& strip, int frames, std::vector<int> which);
// A frame of a skin strip as painted at its own size: the pixel at (x, y) inside frame k.
COLORREF StripPixel(const ui::Bitmap& strip, int frames, int k, bool vertical, int x, int y);
// Runs `inside` from a timer while a popup menu of this thread shows, then closes the menu;
// `opened` tells whether one showed. With several steps, each runs at its own tick (what a
// step posted to the menu has been handled by the next), the topmost menu window given.
class MenuWatch {
 public:
  explicit MenuWatch(std::function<void(HWND menu)> inside = {});
  explicit MenuWatch(std::vector<std::function<void(HWND menu)>> steps);
  // All steps ran.
  bool finished() const;
  ~MenuWatch();
  bool opened() const;
  MenuWatch(const MenuWatch&) = delete;
  MenuWatch& operator=(const MenuWatch&) = delete;
  struct State;

 private:
  State* state_;
  State* previous_;
};

// Steps for a MenuWatch that find the open popup menu drawn from the skin: it answers
// WM_SKINQUERY, its frame is MenuBackground's, and the first item, selected with the pointer on
// it, shows MenuItem's frame 4. `then` runs after, at the next tick, with the menu window and its menu.
std::vector<std::function<void(HWND)>> SkinnedMenuSteps(
    const SkinRecords& records, std::function<void(HWND menu, HMENU shown)> then = {});

class SkinnedTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A loaded skin data component, registered with the manager.
  std::unique_ptr<TSkinData> MakeSkinData(const std::vector<std::uint8_t>& stream,
                                          TSkinFormType type = TSkinFormType::sfMainform,
                                          ui::TComponent* owner = nullptr);
  // A form not shown yet, freed with the test.
  ui::TForm* NewForm(const wchar_t* caption, RECT bounds = {60, 60, 480, 360});
  // A form shown and activated, and (unless told otherwise) waited for until skinned.
  ui::TForm* MakeForm(ui::TFormBorderStyle border = ui::TFormBorderStyle::bsSizeable,
                      bool waitSkinned = true);
  TWinSkinForm* Skinner(HWND window) const;
  bool WaitSkinned(HWND window);

  virtual std::vector<std::uint8_t> Stream() { return SkinStream(); }

  TSkinManage* manager = nullptr;
  std::unique_ptr<TSkinData> data;
  std::vector<std::unique_ptr<ui::TForm>> forms;
};

}  // namespace skintest
