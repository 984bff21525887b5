// Components, published properties by name, the window property and WindowProc.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <thread>

#include "ui/ComCtrls.h"
#include "ui/ExtCtrls.h"
#include "ui/Form.h"
#include "ui/MessagePump.h"
#include "ui/StdCtrls.h"
#include "ui/Thread.h"
#include "ui/UniqueHandle.h"

using namespace ui;

namespace {

struct Recorder : TComponent {
  using TComponent::TComponent;
  std::vector<std::pair<TComponent*, TOperation>> seen;
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    seen.emplace_back(c, op);
  }
};

// A wait keeps the windows answering: a message sent during it is handled during it.
TEST(MessagePump, WaitingProcessesMessages) {
  UniqueHandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle set(CreateEventW(nullptr, TRUE, TRUE, nullptr));
  UniqueHandle answered(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  TForm form(nullptr);
  HWND window = form.Handle();
  std::thread sender([&] {
    DWORD_PTR result = 0;  // returns once the waiting thread handled it
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 3000, &result))
      SetEvent(answered.get());
  });
  ULONGLONG start = GetTickCount64();
  EXPECT_FALSE(WaitProcessingMessages(never.get(), 500));
  EXPECT_GE(GetTickCount64() - start, 450u);
  EXPECT_EQ(WaitForSingleObject(answered.get(), 1000), WAIT_OBJECT_0);
  sender.join();
  EXPECT_TRUE(WaitProcessingMessages(set.get(), 5000));
}

TEST(Component, OwnerFreesOwnedComponentsAndTellsTheOthers) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* a = new Recorder(owner.get());
  auto* b = new TComponent(owner.get());
  b->SetName(L"Second");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent(L"second"), b);
  delete b;
  ASSERT_EQ(owner->ComponentCount(), 1);
  EXPECT_THAT(a->seen, testing::Contains(std::make_pair(b, TOperation::Remove)));

  // A free notification crosses owners.
  auto other = std::make_unique<TComponent>(nullptr);
  auto* watched = new TComponent(other.get());
  a->FreeNotification(watched);
  other.reset();
  EXPECT_THAT(a->seen, testing::Contains(std::make_pair(watched, TOperation::Remove)));
  owner.reset();  // frees a
}

TEST(Component, DeletingAParentControlDeletesItsChildrenWhoeverOwnsThem) {
  TForm form(nullptr);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  auto* edit = new TEdit(&form);
  edit->SetParent(panel);
  form.Handle();
  HWND editWindow = edit->WindowHandle();
  ASSERT_TRUE(IsWindow(editWindow));
  delete panel;
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_FALSE(IsWindow(editWindow));
}

// Each published property of the list, written by name as text and read back, on a control
// that publishes it; `effect` checks what the window shows.
struct PropertyCase {
  const char* name;
  std::function<TControl*(TForm&)> make;
  const wchar_t* property;
  const wchar_t* written;
  const wchar_t* read;
  std::function<bool(TControl&)> effect;
};

template <typename T>
std::function<TControl*(TForm&)> Make() {
  return [](TForm& form) {
    auto* c = new T(&form);
    c->SetParent(&form);
    return c;
  };
}

HWND Window(TControl& c) { return static_cast<TWinControl&>(c).Handle(); }

std::wstring TextOf(HWND window) {
  wchar_t buffer[256] = {};
  GetWindowTextW(window, buffer, 256);
  return buffer;
}

void PrintTo(const PropertyCase& c, std::ostream* os) { *os << c.name; }

class PublishedProperty : public testing::TestWithParam<PropertyCase> {};

TEST_P(PublishedProperty, IsWrittenAndReadByName) {
  const PropertyCase& c = GetParam();
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  form.Handle();
  TControl* control = c.make(form);
  ASSERT_TRUE(control->HasProperty(c.property)) << c.name;
  ASSERT_TRUE(control->SetPropText(c.property, c.written)) << c.name;
  EXPECT_EQ(control->GetPropText(c.property).value_or(L"<none>"), c.read) << c.name;
  if (c.effect) EXPECT_TRUE(c.effect(*control)) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Framework, PublishedProperty,
    testing::Values(
        PropertyCase{"Caption", Make<TButton>(), L"Caption", L"开始", L"开始",
                     [](TControl& c) { return TextOf(Window(c)) == L"开始"; }},
        PropertyCase{
            "Color", Make<TPanel>(), L"Color", L"clWhite", L"clWhite",
            [](TControl& c) { return c.Color() == clWhite && c.GetPropInt(L"Color") == 0xFFFFFF; }},
        PropertyCase{"ParentBackground", Make<TPanel>(), L"ParentBackground", L"False", L"False",
                     nullptr},
        PropertyCase{"Default", Make<TButton>(), L"Default", L"True", L"True",
                     [](TControl& c) {
                       return (GetWindowLongW(Window(c), GWL_STYLE) & 0xF) == BS_DEFPUSHBUTTON;
                     }},
        PropertyCase{"MultiLine", Make<TPageControl>(), L"MultiLine", L"True", L"True", nullptr},
        PropertyCase{"NumGlyphs", Make<TBitBtn>(), L"NumGlyphs", L"2", L"2", nullptr},
        PropertyCase{"ImageIndex", Make<TBitBtn>(), L"ImageIndex", L"3", L"3", nullptr},
        PropertyCase{"DisabledIndex", Make<TBitBtn>(), L"DisabledIndex", L"4", L"4", nullptr},
        PropertyCase{"Margin", Make<TSpeedButton>(), L"Margin", L"6", L"6", nullptr},
        PropertyCase{"Spacing", Make<TBitBtn>(), L"Spacing", L"2", L"2", nullptr},
        PropertyCase{"Layout", Make<TBitBtn>(), L"Layout", L"blGlyphTop", L"blGlyphTop", nullptr},
        PropertyCase{"Alignment", Make<TLabel>(), L"Alignment", L"taCenter", L"taCenter", nullptr},
        PropertyCase{"BorderStyle", Make<TEdit>(), L"BorderStyle", L"bsNone", L"bsNone", nullptr},
        PropertyCase{"Kind", Make<TBitBtn>(), L"Kind", L"bkOK", L"bkOK", nullptr},
        PropertyCase{"Flat", Make<TSpeedButton>(), L"Flat", L"true", L"True", nullptr},
        PropertyCase{"Style", Make<TComboBox>(), L"Style", L"csDropDownList", L"csDropDownList",
                     nullptr},
        PropertyCase{
            "Checked", Make<TCheckBox>(), L"Checked", L"True", L"True",
            [](TControl& c) { return SendMessageW(Window(c), BM_GETCHECK, 0, 0) == BST_CHECKED; }},
        PropertyCase{"Down", Make<TSpeedButton>(), L"Down", L"True", L"True", nullptr},
        PropertyCase{"Enabled", Make<TEdit>(), L"Enabled", L"False", L"False",
                     [](TControl& c) { return !IsWindowEnabled(Window(c)); }},
        PropertyCase{"Transparent", Make<TLabel>(), L"Transparent", L"True", L"True", nullptr},
        PropertyCase{"Tag", Make<TEdit>(), L"Tag", L"99", L"99",
                     [](TControl& c) { return c.Tag() == 99; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PublishedProperty, ObjectPropertiesAnswerTheirObjects) {
  TForm form(nullptr);
  auto* button = new TBitBtn(&form);
  auto* list = new TImageList(&form);
  EXPECT_EQ(button->GetPropObject(L"Font", L"TFont"), button->Font());
  EXPECT_EQ(button->GetPropObject(L"Glyph", L"TBitmap"), button->Glyph());
  EXPECT_EQ(button->GetPropObject(L"Glyph", L"TFont"), nullptr);
  EXPECT_TRUE(button->SetPropObject(L"Images", list));
  EXPECT_EQ(button->GetPropObject(L"Images"), list);
  EXPECT_FALSE(button->SetPropObject(L"Images", button->Font()));  // not an image list
  delete list;                                                     // the button hears of it
  EXPECT_EQ(button->GetPropObject(L"Images"), nullptr);
  // Font properties through the font object.
  auto* font = button->GetPropObject(L"Font");
  ASSERT_TRUE(font->SetPropText(L"Style", L"[fsBold,fsUnderline]"));
  EXPECT_EQ(font->GetPropText(L"Style"), L"[fsBold,fsUnderline]");
  EXPECT_EQ(button->Font()->Style(), fsBold | fsUnderline);
  EXPECT_TRUE(form.SetPropText(L"AutoScroll", L"False"));
  EXPECT_EQ(form.GetPropText(L"AutoScroll"), L"False");
}

TEST(PublishedProperty, MissingOrMistypedValuesAreRefused) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  EXPECT_FALSE(edit->HasProperty(L"Glyph"));
  EXPECT_EQ(edit->GetPropInt(L"Glyph"), std::nullopt);
  EXPECT_FALSE(edit->SetPropText(L"Glyph", L"x"));
  EXPECT_FALSE(edit->SetPropText(L"Tag", L"12abc"));
  EXPECT_FALSE(edit->SetPropText(L"Enabled", L"maybe"));
  EXPECT_EQ(edit->Tag(), 0);
  EXPECT_TRUE(edit->Enabled());
}

TEST(ControlOfs, TheWindowPropertyNamesTheFrameworkObject) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  HWND window = edit->Handle();
  // The module instance whole, as wide as a pointer, then the thread id.
  wchar_t name[48];
  swprintf(name, 48, L"ControlOfs%0*llX%.8X", static_cast<int>(2 * sizeof(void*)),
           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))),
           static_cast<unsigned>(GetCurrentThreadId()));
  EXPECT_EQ(TWinControl::ControlAtomName(), name);
  EXPECT_EQ(GetPropW(window, name), edit);
  EXPECT_EQ(TWinControl::FromHandle(window), edit);
  EXPECT_EQ(TWinControl::FromHandle(form.Handle()), &form);
  EXPECT_EQ(TWinControl::FromHandle(GetDesktopWindow()), nullptr);
}

TEST(WindowProc, ReplacedAndRestoredWithMessagesFlowingThroughBoth) {
  TForm form(nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  HWND window = edit->Handle();
  std::vector<UINT> seen;
  TWndMethod saved = edit->WindowProc;
  edit->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    saved(m);  // the control's own handling still runs
  };
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"经过两者"));
  EXPECT_THAT(seen, testing::Contains(WM_SETTEXT));
  EXPECT_EQ(edit->GetText(), L"经过两者");
  EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 4);
  EXPECT_THAT(seen, testing::Contains(WM_GETTEXTLENGTH));

  edit->WindowProc = saved;
  seen.clear();
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"还原"));
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(edit->GetText(), L"还原");
}

TEST(WindowProc, AReplacementCanSwallowAMessage) {
  TForm form(nullptr);
  auto* button = new TButton(&form);
  button->SetParent(&form);
  int clicks = 0;
  button->OnClick = [&](TPersistent&) { ++clicks; };
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == CN_COMMAND) return;  // the reflected click never reaches the button
    saved(m);
  };
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 0);
  button->WindowProc = saved;
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

COLORREF PixelAt(HWND window, int x, int y) {
  HDC dc = GetDC(window);
  COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return c;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(GraphicControl, AFlatSpeedButtonRepaintsOnMouseEnterAndLeave) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  form.SetColor(RGB(200, 200, 200));
  auto* button = new TSpeedButton(&form);
  button->SetParent(&form);
  button->SetBounds(20, 20, 80, 30);
  button->SetFlat(true);
  int paints = 0;
  TWndMethod saved = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_PAINT) ++paints;
    saved(m);
  };
  form.Show();
  HWND window = form.Handle();
  UpdateWindow(window);
  Pump();
  COLORREF face = PixelAt(window, 20, 20);
  EXPECT_EQ(face, RGB(200, 200, 200));
  int before = paints;

  SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 30));
  Pump();
  EXPECT_TRUE(button->MouseInControl());
  EXPECT_GT(paints, before);
  EXPECT_EQ(PixelAt(window, 20, 20), GetSysColor(COLOR_BTNHIGHLIGHT));  // the raised edge

  before = paints;
  SendMessageW(window, WM_MOUSELEAVE, 0, 0);
  Pump();
  EXPECT_FALSE(button->MouseInControl());
  EXPECT_GT(paints, before);
  EXPECT_EQ(PixelAt(window, 20, 20), RGB(200, 200, 200));
}

TEST(GraphicControl, AClickOnAWindowlessButtonReachesIt) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* button = new TSpeedButton(&form);
  button->SetParent(&form);
  button->SetBounds(20, 20, 80, 30);
  int clicks = 0;
  button->OnClick = [&](TPersistent&) { ++clicks; };
  HWND window = form.Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  EXPECT_TRUE(button->Pressed());
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
  EXPECT_EQ(clicks, 1);
  // Released outside: no click.
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
  EXPECT_EQ(clicks, 1);
}

TEST(MouseDown, WindowedAndWindowlessControlsRaiseItInTheirOwnCoordinates) {
  TForm form(nullptr);
  form.SetBounds(100, 100, 300, 200);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 100, 21);
  auto* speed = new TSpeedButton(&form);
  speed->SetParent(&form);
  speed->SetBounds(20, 60, 80, 30);
  std::vector<std::tuple<TControl*, TMouseButton, int, int, int>> seen;
  auto record = [&](TControl& c, TMouseButton b, int shift, int x, int y) {
    seen.emplace_back(&c, b, shift, x, y);
  };
  edit->OnMouseDown = record;
  speed->OnMouseDown = record;
  SendMessageW(edit->Handle(), WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(5, 6));
  SendMessageW(edit->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 6));
  SendMessageW(form.Handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(30, 70));
  SendMessageW(form.Handle(), WM_RBUTTONUP, 0, MAKELPARAM(30, 70));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_tuple(static_cast<TControl*>(edit), TMouseButton::mbLeft,
                                     ssLeft | ssShift, 5, 6));
  EXPECT_EQ(seen[1], std::make_tuple(static_cast<TControl*>(speed), TMouseButton::mbRight,
                                     static_cast<int>(ssRight), 10, 10));
}

TEST(Align, TopBottomRightAndClientShareTheParent) {
  TForm form(nullptr);
  form.SetBorderStyle(TFormBorderStyle::bsNone);
  form.SetBounds(0, 0, 400, 300);
  auto make = [&](TAlign align, int size) {
    auto* p = new TPanel(&form);
    p->SetBounds(0, 0, size, size);
    p->SetAlign(align);
    p->SetParent(&form);
    return p;
  };
  auto* top = make(TAlign::alTop, 50);
  auto* bottom = make(TAlign::alBottom, 20);
  auto* right = make(TAlign::alRight, 100);
  auto* client = make(TAlign::alClient, 10);
  form.Handle();
  EXPECT_EQ(top->BoundsRect().bottom, 50);
  EXPECT_EQ(top->Width(), 400);
  EXPECT_EQ(bottom->Top(), 280);
  EXPECT_EQ(right->Left(), 300);
  EXPECT_EQ(right->Height(), 230);
  EXPECT_EQ(client->BoundsRect().right, 300);
  EXPECT_EQ(client->Height(), 230);
  form.SetBounds(0, 0, 500, 300);
  EXPECT_EQ(right->Left(), 400);
  EXPECT_EQ(client->Width(), 400);
}

}  // namespace

namespace {

TEST(Timer, TicksOnTheCreatingThreadUntilDisabled) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(20);
  timer.OnTimer = [&](TPersistent&) {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  DWORD start = GetTickCount();
  while (GetTickCount() - start < 1000) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(5);
  }
  EXPECT_EQ(ticks, 3);
}

class SignallingThread : public TThread {
 public:
  SignallingThread(HANDLE ran, HANDLE freed) : TThread(true), ran_(ran), freed_(freed) {
    SetFreeOnTerminate(true);
  }
  ~SignallingThread() override { SetEvent(freed_); }

 protected:
  void Execute() override { SetEvent(ran_); }

 private:
  HANDLE ran_, freed_;
};

TEST(Thread, ASelfFreeingThreadRunsOnceStartedAndDeletesItself) {
  UniqueHandle ran(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  UniqueHandle freed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  auto* thread = new SignallingThread(ran.get(), freed.get());
  EXPECT_EQ(WaitForSingleObject(ran.get(), 200), static_cast<DWORD>(WAIT_TIMEOUT));  // suspended
  thread->Start();
  EXPECT_EQ(WaitForSingleObject(ran.get(), 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(freed.get(), 5000), WAIT_OBJECT_0);
}

TEST(TabOrder, TabMovesTheFocusInTabOrderAcrossContainers) {
  TForm form(nullptr);
  form.SetBounds(50, 50, 400, 300);
  auto* first = new TEdit(&form);
  first->SetParent(&form);
  auto* panel = new TPanel(&form);
  panel->SetParent(&form);
  panel->SetTop(50);
  auto* inner = new TButton(&form);
  inner->SetParent(panel);
  auto* last = new TEdit(&form);
  last->SetParent(&form);
  last->SetTop(150);
  last->SetTabOrder(0);  // now ahead of the first edit
  form.Show();
  last->SetFocus();
  std::vector<TWinControl*> visited;
  for (int i = 0; i < 3; ++i) {
    form.SelectNext(TWinControl::FromHandle(GetFocus()), true);
    visited.push_back(TWinControl::FromHandle(GetFocus()));
  }
  EXPECT_THAT(visited, testing::ElementsAre(first, inner, last));
  EXPECT_EQ(form.ActiveControl(), last);
}

}  // namespace
