// Wrappers painting between a new skin's records and their refresh: a new skin file replaces
// the records at once, the wrappers hear of it later (the refresh command's delay), and a
// paint may come in between.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>

#include "tests/skin/controls/TestControls.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

class GapTest : public WrapperFixture {};

// The control printed onto a picture filled with a colour no painter uses: what it drew.
ui::Bitmap Printed(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  ui::Bitmap picture(r.right, r.bottom);
  picture.Fill(RGB(1, 2, 3));
  ui::Bitmap::Canvas canvas(picture);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
               PRF_CLIENT | PRF_ERASEBKGND);
  return picture;
}

bool DrewSomething(const ui::Bitmap& picture) {
  int drawn = 0;
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) drawn += picture.Pixel(x, y) != RGB(1, 2, 3);
  return drawn > picture.Width() * picture.Height() / 2;
}

TEST_F(GapTest, AControlPaintedBeforeTheRefreshIsDrawnWhateverTheNewSkinLacks) {
  struct Case {
    const char* what;
    const char* section;  // what the new skin lacks
    const char* key;      // the whole section when null
    std::function<HWND(TSkinData&)> make;
  };
  const Case cases[] = {
      {"a tab control", "Tabs", nullptr,
       [&](TSkinData& data) {
         HWND window = MakeWindow(WC_TABCONTROLW, 0, {10, 10, 300, 150});
         TCITEMW item{};
         item.mask = TCIF_TEXT;
         item.pszText = const_cast<wchar_t*>(L"常规");
         SendMessageW(window, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
         AttachWindowWith(L"TSkinTab", window, data);
         return window;
       }},
      {"a tab set", "Tabs", nullptr,
       [&](TSkinData& data) {
         auto* tabs = Make<testcontrols::TTabSet>({20, 20, 300, 44});
         AttachWith(L"TSkinTab31", *tabs, data);
         return tabs->Handle();
       }},
      {"a check box", "Buttons", "CheckButton",
       [&](TSkinData& data) {
         auto* box = Make<ui::TCheckBox>({20, 60, 200, 77}, L"转换完删除文件");
         AttachWith(L"TSkinCheckBox", *box, data);
         return box->Handle();
       }},
      {"a radio button", "Buttons", "RadioButton",
       [&](TSkinData& data) {
         auto* radio = Make<ui::TRadioButton>({20, 90, 200, 107}, L"MP4");
         AttachWith(L"TSkinRadioButton", *radio, data);
         return radio->Handle();
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TSkinData& data = Variant(OurIni());
    HWND window = c.make(data);
    ASSERT_TRUE(DrewSomething(Printed(window)));
    LoadIni(data,
            c.key ? SetKey(OurIni(), c.section, c.key, "") : DropSection(OurIni(), c.section));
    ASSERT_TRUE(data.SkinParsed());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(DrewSomething(Printed(window)));
  }
}

}  // namespace
