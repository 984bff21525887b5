#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skin/controls/SkinControls.h"
#include "skin/data/SkinImages.h"
#include "skin/forms/ControlWrapper.h"
#include "tests/skin/controls/ControlTestHost.h"
#include "tests/skin/controls/SkinVariant.h"

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
    host->skinner().PurgeEndedControls();
    skins.clear();
  }
  // Our skin with another INI text; it lives until the test's controls are gone.
  TSkinData& Variant(const std::string& ini) {
    skins.push_back(SkinWithIni(ini));
    return *skins.back();
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

  // The form skinner's wrapper of the window, or null.
  template <typename T>
  T* WrapperOf(HWND window) const {
    for (TControlWrapper* wrapper : host->skinner().Controls())
      if (wrapper->WindowHandle() == window) return dynamic_cast<T*>(wrapper);
    return nullptr;
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
  // The whole window (frame included) as it shows.
  static ui::Bitmap GrabWhole(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    ui::Bitmap picture(r.right - r.left, r.bottom - r.top);
    ui::WindowDC dc(window, ui::WindowDC::Area::Whole);
    ui::Bitmap::Canvas canvas(picture);
    BitBlt(canvas.dc(), 0, 0, picture.Width(), picture.Height(), dc.get(), 0, 0, SRCCOPY);
    return picture;
  }
  // A wrapper of the class attached to the control with another skin than the form's.
  TControlWrapper* AttachWith(const wchar_t* wrapperClass, ui::TControl& control, TSkinData& data) {
    TControlWrapper* wrapper = skin::CreateWrapper(wrapperClass, &control);
    wrapper->AttachControl(host->skinner(), data, false, host->skinner().ControlCanvas());
    Pump();
    return wrapper;
  }
  TControlWrapper* AttachWindowWith(const wchar_t* wrapperClass, HWND window, TSkinData& data) {
    TControlWrapper* wrapper = skin::CreateWrapper(wrapperClass, &host->skinner());
    wrapper->AttachWindow(window, data, host->skinner(), host->skinner().ControlCanvas());
    Pump();
    return wrapper;
  }
  // Every pixel the element's frame covers (all but its key colour) shows on the picture at
  // `at`; `mirror` compares with the frame turned left to right.
  static bool ShowsElement(const ui::Bitmap& picture, POINT at, const ui::Bitmap& element,
                           bool mirror = false) {
    const int w = element.Width();
    for (int y = 0; y < element.Height(); ++y) {
      for (int x = 0; x < w; ++x) {
        const COLORREF c = element.Pixel(mirror ? w - 1 - x : x, y);
        if (c != RGB(255, 0, 255) && picture.Pixel(at.x + x, at.y + y) != c) return false;
      }
    }
    return true;
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
  std::vector<std::unique_ptr<TSkinData>> skins;
};

}  // namespace controltest
