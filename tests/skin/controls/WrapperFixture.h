#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "skin/controls/SkinControls.h"
#include "skin/data/SkinImages.h"
#include "tests/skin/controls/ControlTestHost.h"

// A form with our skin for the tests of one wrapper kind: controls made on it are classified
// as the form skinner does it (so the registered wrapper takes them) and freed after each test.
namespace controltest {

class WrapperFixture : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    skin::RegisterSkinControls();
    host = new Host(480, 360);
  }
  static void TearDownTestSuite() {
    delete host;
    host = nullptr;
  }
  void TearDown() override {
    for (auto it = made.rbegin(); it != made.rend(); ++it) delete *it;
    made.clear();
    for (HWND window : windows) DestroyWindow(window);
    windows.clear();
    Pump();
  }

  template <typename T>
  T* Make(RECT bounds, const wchar_t* caption = L"", ui::TWinControl* parent = nullptr) {
    T* control = host->Add<T>(bounds);
    if (parent) control->SetParent(parent);
    control->SetCaption(caption);
    made.push_back(control);
    return control;
  }
  // A bare window of a system class on the form.
  HWND MakeWindow(const wchar_t* className, DWORD style, RECT bounds, const wchar_t* text = L"") {
    HWND window =
        CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top,
                        host->form().Handle(), nullptr, nullptr, nullptr);
    windows.push_back(window);
    return window;
  }
  void Skin(ui::TControl& control) {
    host->skinner().ClassifyControl(control, &host->form());
    Pump();
  }
  void SkinWindow(HWND window) {
    host->skinner().ClassifyWindow(window);
    Pump();
  }

  const SkinRecords& Records() const { return host->data().Records(); }
  COLORREF Face() const { return skin::ResolveColour(Records().Colours.ButtonFace); }
  COLORREF Shadow() const { return skin::ResolveColour(Records().Colours.ButtonShadow); }

  // Frame `frame` of a strip of `count`, at its own size, magenta shown as `ground`.
  static ui::Bitmap FramePicture(const ui::Bitmap& strip, int count, int frame, COLORREF ground) {
    const int width = strip.Width() / count;
    ui::Bitmap picture(width, strip.Height());
    for (int y = 0; y < strip.Height(); ++y) {
      for (int x = 0; x < width; ++x) {
        COLORREF c = strip.Pixel((frame - 1) * width + x, y);
        picture.SetPixel(x, y, c == RGB(255, 0, 255) ? ground : c);
      }
    }
    return picture;
  }
  // The part of the picture at `at` shows `expected` exactly.
  static bool Shows(const ui::Bitmap& picture, POINT at, const ui::Bitmap& expected) {
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x)
        if (picture.Pixel(at.x + x, at.y + y) != expected.Pixel(x, y)) return false;
    return true;
  }

  static inline Host* host = nullptr;
  std::vector<ui::TControl*> made;
  std::vector<HWND> windows;
};

}  // namespace controltest
