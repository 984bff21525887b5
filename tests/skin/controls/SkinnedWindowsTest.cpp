// The program's own windows with every control wrapped: each control answers as skinned,
// and taking the skin off and on again gives each control back and takes it again without
// leaving GDI or USER objects behind.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "convert/ProgressWindow.h"
#include "shell/MainWindow.h"
#include "skin/controls/SkinControls.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/ControlWrapper.h"
#include "skin/forms/SkinManage.h"
#include "skin/forms/SkinMessages.h"
#include "skin/forms/WinSkinForm.h"
#include "tests/shell/GuiObjects.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"

namespace {

using namespace controltest;

// The wrapper class each control of a form has, by the control's name.
std::map<std::wstring, std::wstring> Wrappers(TWinSkinForm& skinner) {
  std::map<std::wstring, std::wstring> wrappers;
  for (TControlWrapper* wrapper : skinner.Controls()) {
    if (auto* control = dynamic_cast<ui::TControl*>(wrapper->Owner()))
      wrappers[control->Name()] = wrapper->ClassName();
  }
  return wrappers;
}

// The windowed controls of a form that answer the skin query.
int Skinned(ui::TCustomForm& form) {
  int skinned = 0;
  for (ui::TWinControl* control : form.TabOrderList())
    skinned += SendMessageW(control->Handle(), skin::WM_SKINQUERY, 0, 0) == 1;
  return skinned;
}

class SkinnedWindowsTest : public WrapperFixture {
 protected:
  static void SetUpTestSuite() {
    WrapperFixture::SetUpTestSuite();
    TSkinData::RegisterClass();
  }
};

TEST_F(SkinnedWindowsTest, EveryKindOfControlOfTheProgramsWindowsGetsItsWrapper) {
  TTntForm1 form(nullptr);
  form.Show();
  Pump();
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(*data);
  skinner.SkinFormControls(form);
  const std::map<std::wstring, std::wstring> wrappers = Wrappers(skinner);
  const std::pair<const wchar_t*, const wchar_t*> expected[] = {
      {L"TntPageControl1", L"TSkinTab"},     {L"TntTabSheet1", L"TSkinTabSheet"},
      {L"TntPanel1", L"TSkinBox"},           {L"TntEdit1", L"TSkinEdit"},
      {L"TntStatusBar1", L"TSkinStatusBar"}, {L"TntGroupBox1", L"TSkinGroupBox"},
      {L"g2", L"TSkinRadioButton"},          {L"TntComboBox1", L"TSkinComBox"},
      {L"TntCheckBox1", L"TSkinCheckBox"},   {L"TntListView1", L"TSkinListView"},
      {L"TntBitBtn1", L"TSkinBitButton"},    {L"TntButton1", L"TSkinButton"},
  };
  for (auto [name, wrapper] : expected) {
    auto it = wrappers.find(name);
    ASSERT_NE(it, wrappers.end()) << std::string(name, name + wcslen(name));
    EXPECT_EQ(it->second, wrapper);
  }

  TTntForm2 progress(nullptr, &form);
  progress.Show();
  Pump();
  TWinSkinForm progressSkinner(nullptr);
  progressSkinner.SetHandle(progress.Handle());
  progressSkinner.HookWindow(*data);
  progressSkinner.SkinFormControls(progress);
  const std::map<std::wstring, std::wstring> bars = Wrappers(progressSkinner);
  for (const wchar_t* name : {L"TntProgressBar1", L"TntProgressBar2"}) {
    auto it = bars.find(name);
    ASSERT_NE(it, bars.end());
    EXPECT_EQ(it->second, L"TSkinProgress");
  }
}

// The program runs with the common controls of its manifest (as this test does): its own
// controls show the skin there too.
TEST_F(SkinnedWindowsTest, TheMainWindowsControlsShowTheSkin) {
  TTntForm1 form(nullptr);
  form.Show();
  SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  Pump();
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(*data);
  skinner.SkinFormControls(form);
  form.TntEdit1->SetFocus();
  PumpFor(200ms);
  const SkinRecords& records = data->Records();
  const COLORREF face = skin::ResolveColour(records.Colours.ButtonFace);
  const COLORREF shadow = skin::ResolveColour(records.Colours.ButtonShadow);
  auto boxShows = [&](HWND window, const ui::Bitmap& strip, int count, int frame) {
    ui::Bitmap expected = FramePicture(strip, count, frame, face);
    ui::Bitmap picture = Grab(window);
    return Shows(picture, {0, (picture.Height() - expected.Height()) / 2}, expected);
  };
  const TDataSkinButton& buttons = *records.Buttons;
  EXPECT_TRUE(boxShows(form.TntCheckBox1->Handle(), buttons.CheckBitmap, 12, 1));
  EXPECT_TRUE(boxShows(form.g[3]->Handle(), buttons.RadioBitmap, 8, 5)) << "MP4 is checked";
  EXPECT_TRUE(boxShows(form.g[1]->Handle(), buttons.RadioBitmap, 8, 1));
  EXPECT_EQ(GrabWhole(form.TntEdit1->Handle()).Pixel(0, 0), shadow);
  HWND combo = form.TntComboBox1->Handle();
  RECT r;
  GetClientRect(combo, &r);
  const TDataSkinBorder& strip = *records.ComboButton;
  EXPECT_TRUE(ShowsElement(
      Grab(combo), {0, 0},
      skin::RenderElement(
          {0, 0, r.right, r.bottom},
          {&strip.Bitmap, strip.Margins, {strip.FrameCount, 1, false}, false, false})));
}

TEST_F(SkinnedWindowsTest, TakingTheSkinOffAndOnGivesEveryControlBackWithoutLeaking) {
  TTntForm1 form(nullptr);
  for (int i = 0; i < 6; ++i) form.TntListView1->AddItem(L"视频 " + std::to_wstring(i));
  form.Show();
  Pump();
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  auto* panel = dynamic_cast<ui::TWinControl*>(form.FindComponent(L"TntPanel1"));
  ASSERT_TRUE(panel);
  const ui::TColor panelColour = panel->Color();
  TWinSkinForm skinner(nullptr);
  skinner.SetHandle(form.Handle());
  skinner.HookWindow(*data);
  const int controls = static_cast<int>(form.TabOrderList().size());

  int gdi = 0, user = 0;
  for (int cycle = 1; cycle <= 100; ++cycle) {
    skinner.SkinFormControls(form);
    RedrawWindow(form.Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    if (cycle == 1 || cycle == 100) {
      // Panels are only recoloured; everything else answers as skinned.
      EXPECT_GE(Skinned(form), controls - 3);
      EXPECT_NE(panel->Color(), panelColour);
    }
    skinner.Unhook();
    Pump();
    if (cycle == 1 || cycle == 100) {
      EXPECT_EQ(Skinned(form), 0);
      EXPECT_EQ(panel->Color(), panelColour);
    }
    if (cycle == 1) {
      gdi = gui_objects::GdiObjects();
      user = gui_objects::UserObjects();
    }
  }
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
}

// As the program runs: the layout's skin component and the control manager skin the window;
// switching the component off and on gives every control back and takes it again.
TEST_F(SkinnedWindowsTest, ActiveFalseAndTrueGiveEveryControlBackAndTakeItAgain) {
  TSkinManage::Register();
  TTntForm1 form(nullptr);
  for (int i = 0; i < 6; ++i) form.TntListView1->AddItem(L"视频 " + std::to_wstring(i));
  form.Show();
  TSkinManage* manager = TSkinManage::Instance();
  ASSERT_TRUE(manager);
  auto* data = dynamic_cast<TSkinData*>(form.FindComponent(L"SkinData1"));
  ASSERT_TRUE(data);
  const int controls = static_cast<int>(form.TabOrderList().size());
  auto all = [&] { return Skinned(form) >= controls - 3; };
  ASSERT_TRUE(PumpUntil(all, 5s)) << "the program's start skins every control";

  int gdi = 0, user = 0;
  for (int cycle = 1; cycle <= 100; ++cycle) {
    data->SetActive(false);
    manager->RunCommand();
    ASSERT_TRUE(PumpUntil([&] { return Skinned(form) == 0; }, 2s)) << cycle;
    data->SetActive(true);
    manager->RunCommand();
    ASSERT_TRUE(PumpUntil(all, 2s)) << cycle;
    Pump();
    if (cycle == 1) {
      gdi = gui_objects::GdiObjects();
      user = gui_objects::UserObjects();
    }
  }
  EXPECT_EQ(gui_objects::GdiObjects(), gdi);
  EXPECT_EQ(gui_objects::UserObjects(), user);
}

}  // namespace
