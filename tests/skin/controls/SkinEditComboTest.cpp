// Edits, up-down buttons and combo boxes: borders, buttons and their states read back from
// the screen, the spin button of a spin edit, and the combo's three button layouts.
#include <windows.h>
// after windows.h
#include <commctrl.h>
#include <gtest/gtest.h>

#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinUpDown.h"
#include "skin/data/ElementDrawing.h"
#include "skin/forms/SkinMessages.h"
#include "tests/skin/controls/WrapperFixture.h"
#include "ui/StdCtrls.h"

namespace {

using namespace controltest;

constexpr COLORREF kWhite = RGB(255, 255, 255);

class EditComboTest : public WrapperFixture {
 protected:
  // One frame of a record in nine parts at that size, key colour kept.
  static ui::Bitmap Render(const TDataSkinObject& record, SIZE size, int frame) {
    return skin::RenderElement({0, 0, size.cx, size.cy}, {&record.Bitmap,
                                                          record.Margins,
                                                          {record.FrameCount, frame, false},
                                                          record.Tile != 0,
                                                          false});
  }
  // A button of an up-down: its frame and its arrow, on the face.
  ui::Bitmap UpDownButton(const TDataSkinBorder& record, SIZE size, int frame,
                          COLORREF ground = 0) const {
    ui::Bitmap picture(size.cx, size.cy);
    picture.Fill(ground ? ground : Face());
    ui::Bitmap::Canvas canvas(picture);
    skin::DrawElement(canvas.dc(), {0, 0, size.cx, size.cy},
                      {&record.Bitmap, record.Margins, {8, frame, false}, record.Tile != 0, true});
    const int w = record.Bitmap2.Width() / 8, h = record.Bitmap2.Height();
    const RECT at{(size.cx - w) / 2, (size.cy - h) / 2, (size.cx - w) / 2 + w,
                  (size.cy - h) / 2 + h};
    skin::DrawFrameAtSize(canvas.dc(), at, record.Bitmap2, true, w, frame);
    return picture;
  }
  ui::TComboBox* Combo(RECT bounds, bool left = false) {
    auto* combo = Make<ui::TComboBox>(bounds);
    combo->SetStyle(ui::TComboBoxStyle::csDropDownList);
    combo->SetItems({L"原始分辨率", L"176x144"});
    combo->SetItemIndex(0);
    Pump();  // made again in its style
    HWND h = combo->Handle();
    if (left) SetWindowLongW(h, GWL_EXSTYLE, GetWindowLongW(h, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    Pump();
    return combo;
  }
};

TEST_F(EditComboTest, AnEditsBorderIsAShadowLineWithTwoWhiteLinesInsideAndStaysSo) {
  auto* edit = Make<ui::TEdit>({20, 20, 220, 42});
  edit->SetText(L"C:\\视频\\输出");
  Skin(*edit);
  HWND window = edit->Handle();
  auto border = [&] {
    ui::Bitmap picture = GrabWhole(window);
    const int w = picture.Width(), h = picture.Height();
    return picture.Pixel(0, 0) == Shadow() && picture.Pixel(w - 1, h / 2) == Shadow() &&
           picture.Pixel(w / 2, h - 1) == Shadow() && picture.Pixel(1, 1) == kWhite &&
           picture.Pixel(2, h / 2) == kWhite && picture.Pixel(w - 3, h - 3) == kWhite;
  };
  EXPECT_TRUE(PumpUntil(border));
  // The system draws its own border again on these.
  edit->SetFocus();
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_TRUE(PumpUntil(border));
}

TEST_F(EditComboTest, AnEditPaintsIntoTheFormSkinnersContextOnlyWithTheCookie) {
  auto* edit = Make<ui::TEdit>({20, 20, 220, 42});
  edit->Font()->SetHeight(-14);
  edit->SetText(L"文本");
  Skin(*edit);
  HWND window = edit->Handle();
  RECT client;
  GetClientRect(window, &client);
  ui::Bitmap target(client.right, client.bottom);
  target.Fill(RGB(0, 200, 0));
  {
    ui::Bitmap::Canvas canvas(target);
    EXPECT_EQ(SendMessageW(window, skin::WM_SKINPAINTEDIT, reinterpret_cast<WPARAM>(canvas.dc()),
                           skin::SkinCookie),
              skin::SkinCookie);
  }
  EXPECT_NE(InkBox(target, client, Dark).right, 0) << "the text";
  EXPECT_EQ(target.Pixel(client.right - 4, client.bottom / 2), kWhite) << "the edit's ground";
  ui::Bitmap untouched(client.right, client.bottom);
  untouched.Fill(RGB(0, 200, 0));
  {
    ui::Bitmap::Canvas canvas(untouched);
    EXPECT_NE(
        SendMessageW(window, skin::WM_SKINPAINTEDIT, reinterpret_cast<WPARAM>(canvas.dc()), 0),
        skin::SkinCookie);
  }
  EXPECT_EQ(untouched.Pixel(client.right - 4, client.bottom / 2), RGB(0, 200, 0));
}

TEST_F(EditComboTest, AnUpDownShowsEachButtonsStateFromTheSkin) {
  struct Case {
    DWORD style;
    SIZE size;
  };
  for (Case c : {Case{0, {16, 22}}, Case{UDS_HORZ, {32, 16}}}) {
    SCOPED_TRACE(c.style);
    HWND window = MakeWindow(UPDOWN_CLASSW, c.style, {300, 20, 300 + c.size.cx, 20 + c.size.cy});
    SendMessageW(window, UDM_SETRANGE32, 0, 100);
    SendMessageW(window, UDM_SETPOS32, 0, 50);
    AttachWindowWith(L"TSkinUpDown", window, host->data());
    const TDataSkinBorder& record = c.style ? *Records().UpDownHorz : *Records().UpDownVert;
    const bool horz = c.style != 0;
    const SIZE half = horz ? SIZE{c.size.cx / 2, c.size.cy} : SIZE{c.size.cx, c.size.cy / 2};
    const POINT second = horz ? POINT{half.cx, 0} : POINT{0, half.cy};
    auto shows = [&](int first, int other) {
      return PumpUntil(
          [&] {
            ui::Bitmap picture = Grab(window);
            return Shows(picture, {0, 0}, UpDownButton(record, half, first)) &&
                   Shows(picture, second, UpDownButton(record, half, other));
          },
          2s);
    };
    MouseMove(host->form().Handle(), {460, 340});
    EXPECT_TRUE(shows(1, 5)) << "normal; the second button's frames follow the first's four";
    MouseMove(window, {3, 3});
    EXPECT_TRUE(shows(4, 5)) << "hot";
    MouseDown(window, {3, 3});
    EXPECT_TRUE(shows(2, 5)) << "pressed";
    MouseUp(window, {3, 3});
    EXPECT_NE(SendMessageW(window, UDM_GETPOS32, 0, 0), 50) << "the press still counts";
    MouseMove(host->form().Handle(), {460, 340});
    EnableWindow(window, FALSE);
    EXPECT_TRUE(shows(3, 7)) << "disabled";
  }
}

TEST_F(EditComboTest, ASpinEditsButtonIsSkinnedAndKeepsInsideTheEditsFrame) {
  auto* edit = Make<ui::TEdit>({20, 20, 140, 44});
  HWND window = edit->Handle();
  RECT client;
  GetClientRect(window, &client);
  HWND spin = CreateWindowExW(0, UPDOWN_CLASSW, L"", WS_CHILD | WS_VISIBLE, client.right - 16, 0,
                              16, client.bottom, window, nullptr, nullptr, nullptr);
  Skin(*edit);
  auto* wrapper = WrapperOf<TSkinEdit>(window);
  ASSERT_TRUE(wrapper);
  ASSERT_TRUE(wrapper->UpDown());
  EXPECT_TRUE(wrapper->UpDown()->BuddyMode());
  EXPECT_EQ(SendMessageW(spin, skin::WM_SKINQUERY, 0, 0), 1);
  // The edit's border is 2 pixels wide: the buttons keep a third clear, white like the edit.
  RedrawWindow(spin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ui::Bitmap picture = Grab(spin);
  const int h = picture.Height();
  EXPECT_EQ(picture.Pixel(15, h / 4), kWhite);
  EXPECT_EQ(picture.Pixel(8, 0), kWhite);
  EXPECT_EQ(picture.Pixel(8, h - 1), kWhite);
  const ui::Bitmap top = UpDownButton(*Records().UpDownVert, {15, (h - 2) / 2}, 1, kWhite);
  EXPECT_TRUE(Shows(picture, {0, 1}, top));
}

TEST_F(EditComboTest, AComboShowsTheComposedFrameByItsButtonsState) {
  auto* combo = Combo({20, 20, 165, 41});
  auto* other = Make<ui::TEdit>({20, 60, 120, 80});
  Skin(*combo);
  HWND window = combo->Handle();
  const TDataSkinBorder& strip = *Records().ComboButton;
  ASSERT_EQ(strip.Style, 2) << "our skin's combo images are composed";
  RECT r;
  GetClientRect(window, &r);
  auto shows = [&](int frame) {
    return PumpUntil(
        [&] {
          return ShowsElement(Grab(window), {0, 0}, Render(strip, {r.right, r.bottom}, frame));
        },
        2s);
  };
  other->SetFocus();
  EXPECT_TRUE(shows(1)) << "normal";
  const RECT button = WrapperOf<TSkinComBox>(window)->ButtonRect();
  MouseMove(window, {(button.left + button.right) / 2, (button.top + button.bottom) / 2});
  EXPECT_TRUE(shows(4)) << "hot";
  MouseMove(host->form().Handle(), {460, 340});
  EXPECT_TRUE(shows(1)) << "the mouse gone";
  combo->SetFocus();
  EXPECT_TRUE(shows(4)) << "focused";
  SendMessageW(window, CB_SHOWDROPDOWN, TRUE, 0);
  EXPECT_TRUE(shows(2)) << "dropped down";
  SendMessageW(window, CB_SHOWDROPDOWN, FALSE, 0);
  other->SetFocus();
  combo->SetEnabled(false);
  EXPECT_TRUE(shows(3)) << "disabled";
  auto* wrapper = WrapperOf<TSkinComBox>(window);
  ASSERT_TRUE(wrapper);
  EXPECT_EQ(wrapper->ButtonRect().left, r.right - (GetSystemMetrics(SM_CXHSCROLL) + 4));
}

TEST_F(EditComboTest, AComboWithItsButtonAtTheLeftShowsTheButtonMirrored) {
  auto* right = Combo({20, 20, 165, 41});
  auto* left = Combo({20, 60, 165, 81}, true);
  auto* other = Make<ui::TEdit>({20, 100, 120, 120});
  Skin(*right);
  Skin(*left);
  other->SetFocus();
  PumpFor(100ms);
  const int button = GetSystemMetrics(SM_CXHSCROLL) + 4;
  ui::Bitmap a = Grab(right->Handle()), b = Grab(left->Handle());
  ASSERT_EQ(a.Width(), b.Width());
  int differ = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < button; ++x) differ += b.Pixel(x, y) != a.Pixel(a.Width() - 1 - x, y);
  EXPECT_EQ(differ, 0);
  EXPECT_NE(b.Pixel(button / 2, a.Height() / 2), a.Pixel(button / 2, a.Height() / 2));
}

TEST_F(EditComboTest, TheButtonLayoutsOfSkinsWithoutTheComposedStrip) {
  // Style 1: the whole control one face of the strip. Style 0: the button strip at the
  // right (mirrored at the left) with the arrow on it.
  for (int style : {1, 0}) {
    SCOPED_TRACE(style);
    TSkinData& data = Variant(
        SetKey(DropSection(OurIni(), "SunkEdge"), "ComboButton", "Style", std::to_string(style)));
    const TDataSkinBorder& strip = *data.Records().ComboButton;
    ASSERT_EQ(strip.Style, style);
    const int x = style == 1 ? 20 : 240;
    auto* other = Make<ui::TEdit>({x, 100, x + 100, 120});
    auto* combo = Combo({x, 20, x + 145, 41});
    auto* left = Combo({x, 60, x + 145, 81}, true);
    AttachWith(L"TSkinComBox", *combo, data);
    AttachWith(L"TSkinComBox", *left, data);
    other->SetFocus();
    PumpFor(100ms);
    ui::Bitmap picture = Grab(combo->Handle());
    const int w = picture.Width(), h = picture.Height();
    if (style == 1) {
      EXPECT_TRUE(ShowsElement(picture, {0, 0}, Render(strip, {w, h}, 1)));
      continue;
    }
    const int bw = GetSystemMetrics(SM_CXHSCROLL) + 2;
    ui::Bitmap frame = skin::RenderElement(
        {0, 0, bw, h}, {&strip.Bitmap, {}, {strip.FrameCount, 1, false}, false, false});
    // The arrow covers the middle of the button; its edges are the strip's.
    for (int y : {0, h - 1})
      for (int x = 0; x < bw; ++x) {
        if (frame.Pixel(x, y) == RGB(255, 0, 255)) continue;
        EXPECT_EQ(picture.Pixel(w - bw + x, y), frame.Pixel(x, y));
        EXPECT_EQ(Grab(left->Handle()).Pixel(bw - 1 - x, y), frame.Pixel(x, y)) << "mirrored";
      }
  }
}

TEST_F(EditComboTest, TheListOfAComboGetsTheScrollBarWrapperOfItsKind) {
  struct Case {
    ui::TComboBoxStyle style;
    const wchar_t* wrapper;
  };
  int x = 20;
  for (Case c : {Case{ui::TComboBoxStyle::csDropDownList, L"TComboxScrollBar"},
                 Case{ui::TComboBoxStyle::csSimple, L"TSkinScrollbarH"}}) {
    auto* combo = Make<ui::TComboBox>({x, 20, x + 145, 120});
    x += 160;
    combo->SetStyle(c.style);
    Pump();
    Skin(*combo);
    auto* wrapper = WrapperOf<TSkinComBox>(combo->Handle());
    ASSERT_TRUE(wrapper);
    ASSERT_TRUE(wrapper->ListWrapper());
    EXPECT_EQ(wrapper->ListWrapper()->ClassName(), c.wrapper);
    COMBOBOXINFO info{sizeof(info)};
    GetComboBoxInfo(combo->Handle(), &info);
    EXPECT_EQ(wrapper->ListWrapper()->WindowHandle(), info.hwndList);
  }
}

TEST_F(EditComboTest, APressInTheEditPartOfAnAnsiComboShowsTheComboPressed) {
  HWND window = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 20, 20,
                                145, 200, host->form().Handle(), nullptr, nullptr, nullptr);
  windows.push_back(window);
  ASSERT_FALSE(IsWindowUnicode(window));
  SkinWindow(window);
  ASSERT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 1);
  COMBOBOXINFO info{sizeof(info)};
  GetComboBoxInfo(window, &info);
  const TDataSkinBorder& strip = *Records().ComboButton;
  RECT r;
  GetClientRect(window, &r);
  auto shows = [&](int frame) {
    return PumpUntil(
        [&] {
          return ShowsElement(Grab(window), {0, 0}, Render(strip, {r.right, r.bottom}, frame));
        },
        2s);
  };
  MouseMove(info.hwndItem, {10, 5});
  MouseDown(info.hwndItem, {10, 5});
  EXPECT_TRUE(shows(2));
  MouseUp(info.hwndItem, {10, 5});
  MouseMove(host->form().Handle(), {460, 340});
  EXPECT_TRUE(shows(4)) << "focused in its edit part";
}

}  // namespace
