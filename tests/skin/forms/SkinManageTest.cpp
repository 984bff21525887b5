// The control manager: which windows get a form skinner, and the skin commands.
#include <filesystem>
#include <fstream>

#include "SkinTestFixture.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/forms/SkinMessages.h"
#include "ui/Application.h"

using namespace skintest;

namespace {

class SkinManageTest : public SkinnedTest {};

TEST_F(SkinManageTest, FirstActivationMakesOneSkinnerAndPostsTheActivation) {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBounds(100, 100, 400, 300);
  form->Show();  // activates: the hook gives the window its skinner
  ASSERT_EQ(manager->FormSkinners().size(), 1u);
  EXPECT_EQ(manager->FormSkinners()[0]->Handle(), form->Handle());
  MSG msg{};
  ASSERT_TRUE(PeekMessageW(&msg, form->Handle(), skin::WM_SKINACTIVATE, skin::WM_SKINACTIVATE,
                           PM_NOREMOVE));
  EXPECT_EQ(msg.wParam, 0u);
  EXPECT_EQ(msg.lParam, 1000);
  EXPECT_EQ(manager->State(), TSkinManage::kRunning);
  ASSERT_TRUE(WaitSkinned(form->Handle()));

  // Activated again: it answers WM_SKINQUERY, so nothing new is made.
  SetForegroundWindow(ui::Application().Handle());
  SetForegroundWindow(form->Handle());
  Pump(50ms);
  EXPECT_EQ(manager->FormSkinners().size(), 1u);
  EXPECT_FALSE(manager->SkinWindow(form->Handle()));
  EXPECT_EQ(SendMessageW(form->Handle(), skin::WM_SKINQUERY, 0, 0), 1);
}

// Which windows the rules take, one row a window.
TEST_F(SkinManageTest, WindowRules) {
  HINSTANCE other = GetModuleHandleW(L"kernel32.dll");
  struct Row {
    const char* what;
    std::function<HWND()> make;
    bool skinned;
  };
  std::vector<std::unique_ptr<ui::TForm>> keep;
  const Row rows[] = {
      {"a framework form",
       [&] { return MakeForm(ui::TFormBorderStyle::bsSizeable, false)->Handle(); }, true},
      {"a form with Tag 99",
       [&] {
         auto form = std::make_unique<ui::TForm>(nullptr);
         form->SetTag(99);
         form->SetBounds(100, 100, 300, 200);
         form->Show();
         HWND h = form->Handle();
         keep.push_back(std::move(form));
         return h;
       },
       false},
      {"a window of this module", [&] { return PlainWindow({}); }, true},
      {"a zero-sized window",
       [&] {
         return PlainWindow(
             {.className = L"VelmoEmpty", .style = WS_POPUP, .bounds = {200, 150, 200, 150}});
       },
       false},
      {"the application window", [&] { return ui::Application().Handle(); }, false},
      {"another module's window",
       [&] { return PlainWindow({.className = L"ForeignPlain", .instance = other}); }, false},
      {"another module's dialog",
       [&] {
         HWND box = CreateWindowExW(0, L"#32770", L"Dialog", WS_POPUP | WS_CAPTION | WS_SYSMENU,
                                    100, 100, 300, 200, nullptr, nullptr, other, nullptr);
         ShowWindow(box, SW_SHOW);
         SetForegroundWindow(box);
         return box;
       },
       true},
      {"a class with preview (xoPreview set)",
       [&] { return PlainWindow({.className = L"TPrintPreview"}); }, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    HWND window = row.make();
    manager->SkinWindow(window);  // the hook did so already for windows it saw activated
    Pump(30ms);
    EXPECT_EQ(Skinner(window) != nullptr, row.skinned);
  }
  // Without xoPreview a class containing "preview" keeps its own frame.
  data->SetOptions(data->Options() & ~Bit(xoPreview));
  EXPECT_FALSE(manager->SkinWindow(PlainWindow({.className = L"MyPreviewWindow"})));
  EXPECT_FALSE(manager->AcceptWindow(nullptr, L"TPrintPreview"));
}

TEST_F(SkinManageTest, AnMDIChildIsSkinnedAtCreationWhateverItsSize) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  HWND frame =
      PlainWindow({.className = L"VelmoMDIFrame", .bounds = {200, 150, 700, 550}, .show = false});
  CLIENTCREATESTRUCT ccs{};
  HWND client = CreateWindowExW(0, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE,
                                0, 0, 400, 300, frame, nullptr, self, &ccs);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefMDIChildProcW;
  wc.hInstance = self;
  wc.lpszClassName = L"VelmoMDIChild";
  RegisterClassW(&wc);
  ShowWindow(frame, SW_SHOW);
  SetForegroundWindow(frame);
  MDICREATESTRUCTW mcs{L"VelmoMDIChild", L"Child", self, 0, 0, 0, 0, WS_OVERLAPPEDWINDOW, 0};
  HWND child =
      reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
  ASSERT_NE(child, nullptr);
  TWinSkinForm* skinner = Skinner(child);
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->MDIKind(), TWinSkinForm::kMDIChild);
  ASSERT_NE(Skinner(frame), nullptr);
  EXPECT_EQ(Skinner(frame)->MDIKind(), TWinSkinForm::kMDIFrame);
  EXPECT_EQ(manager->MDIClient(), client);
  Pump(50ms);
  DestroyWindow(frame);
  Pump(20ms);
  manager->PurgeFormSkinners();
  EXPECT_EQ(Skinner(child), nullptr);
}

TSkinManage* boxManager = nullptr;
TSkinData* boxSkin = nullptr;

void CALLBACK LookAtBox(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowW(L"#32770", L"Box");
  if (!box) return;
  if (TWinSkinForm* skinner = boxManager->FindFormSkinner(box)) boxSkin = skinner->SkinData();
  if (boxSkin) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Message boxes are "#32770" windows of the system; a dialog component serves them when
// there is one.
TEST_F(SkinManageTest, AMessageBoxUsesTheDialogComponent) {
  auto dialogSkin = MakeSkinData(SkinStream(), TSkinFormType::sfDialog);
  ASSERT_EQ(manager->MainSkinData(), data.get());
  MakeForm();
  // Looked at from inside the box's own message loop, then closed.
  boxManager = manager;
  boxSkin = nullptr;
  const UINT_PTR look = SetTimer(nullptr, 0, 100, LookAtBox);
  MessageBoxW(forms.back()->Handle(), L"Text", L"Box", MB_OK);
  KillTimer(nullptr, look);
  TSkinData* used = boxSkin;
  EXPECT_EQ(used, dialogSkin.get());
  EXPECT_EQ(manager->FindSkinData(forms.back()->Handle()), data.get());
}

TEST_F(SkinManageTest, ActiveFalseGivesEveryWindowBackWithItsClientSize) {
  ui::TForm* a = MakeForm();
  ui::TForm* b = MakeForm(ui::TFormBorderStyle::bsDialog);
  RECT clientA{}, clientB{};
  GetClientRect(a->Handle(), &clientA);
  GetClientRect(b->Handle(), &clientB);
  int changed = 0;
  data->OnSkinChanged = [&](ui::TPersistent&) { ++changed; };

  data->SetActive(false);
  Pump(100ms);
  EXPECT_EQ(manager->FormSkinners().size(), 2u) << "nothing happens before the delay";
  ASSERT_TRUE(PumpUntil([&] { return manager->FormSkinners().empty(); }, 2s));
  Pump(300ms);
  EXPECT_EQ(changed, 1);
  for (ui::TForm* form : {a, b}) {
    RECT client{};
    GetClientRect(form->Handle(), &client);
    const RECT& before = form == a ? clientA : clientB;
    EXPECT_EQ(client.right, before.right);
    EXPECT_EQ(client.bottom, before.bottom);
    EXPECT_EQ(SendMessageW(form->Handle(), skin::WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(GetWindowRgn(form->Handle(), CreateRectRgn(0, 0, 0, 0)), ERROR);
  }
  // Nothing is taken over while skinning is off.
  SetForegroundWindow(a->Handle());
  Pump(50ms);
  EXPECT_TRUE(manager->FormSkinners().empty());

  data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return manager->FormSkinners().size() == 2; }, 2s));
  EXPECT_TRUE(WaitSkinned(a->Handle()));
  EXPECT_EQ(changed, 2);
}

TEST_F(SkinManageTest, OfTwoCommandsWithinTheDelayOnlyTheLaterRuns) {
  ui::TForm* form = MakeForm();
  int changed = 0;
  data->OnSkinChanged = [&](ui::TPersistent&) { ++changed; };
  data->SetActive(false);
  Pump(50ms);
  data->SetActive(true);
  EXPECT_EQ(manager->Command(), ISkinManager::kSkinAll);
  Pump(600ms);
  EXPECT_EQ(changed, 1);
  EXPECT_NE(Skinner(form->Handle()), nullptr) << "the unskin command never ran";
}

TEST_F(SkinManageTest, ASkinFileReskinsOpenWindows) {
  ui::TForm* form = MakeForm();
  RECT before{};
  GetClientRect(form->Handle(), &before);
  int refreshed = 0;
  data->OnAfterSkinForm = [&](TSkinData&, HWND, const std::wstring&) { ++refreshed; };
  // A skin with a lower title bar: the frame changes, the client area stays.
  ui::Bitmap top(40, 2 * 24);
  top.Fill(RGB(10, 120, 40));
  SkinVariant lower;
  lower.images["frametop.bmp"] = &top;
  const auto stream = SkinStream(lower);
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / L"velmo-skin-file-test.skin";
  {
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(stream.data() + 4),
              static_cast<std::streamsize>(stream.size() - 4));
  }
  data->SetSkinFile(file.wstring());
  ASSERT_TRUE(data->SkinParsed());
  ASSERT_TRUE(PumpUntil([&] { return refreshed > 0; }, 2s));
  Pump(50ms);
  TWinSkinForm* skinner = Skinner(form->Handle());
  ASSERT_NE(skinner, nullptr);
  EXPECT_EQ(skinner->TitleHeight(), 24);
  RECT after{};
  GetClientRect(form->Handle(), &after);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.bottom, before.bottom);
  EXPECT_EQ(FramePixel(form->Handle(), 200, 12), RGB(10, 120, 40));
  std::filesystem::remove(file);
}

// The kind the bar or the system menu sets is for the popup that opens next: one refused its
// skin does not leave the kind to a later plain popup.
TEST_F(SkinManageTest, APopupRefusedItsSkinLeavesNoKindBehind) {
  data->SetSkinControls(data->SkinControls() & ~Bit(xcSystemMenu));
  manager->SetPopupKind(TSkinManage::kSystemMenuPopup);
  auto popup = [](const wchar_t* name) {
    return PlainWindow(
        {.className = name, .style = WS_POPUP, .bounds = {100, 100, 200, 200}, .show = false});
  };
  const HWND refused = popup(L"VelmoPopupA"), plain = popup(L"VelmoPopupB");
  EXPECT_FALSE(manager->AddPopupMenu(refused));
  EXPECT_TRUE(manager->AddPopupMenu(plain));
  manager->RemovePopupMenu(plain);
  DestroyWindow(refused);
  DestroyWindow(plain);
}

// A skin data component that goes gives its windows back whole: the default frame around
// the same client area, no region, the system menu.
TEST_F(SkinManageTest, ASkinDataThatGoesGivesItsWindowsBackWhole) {
  ui::TForm* form = MakeForm();
  const HWND window = form->Handle();
  RECT client{};
  GetClientRect(window, &client);
  data.reset();
  Pump();
  EXPECT_EQ(SendMessageW(window, skin::WM_SKINQUERY, 0, 0), 0);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_SYSMENU);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(window, region), ERROR) << "the skin's region is kept";
  DeleteObject(region);
  RECT after{};
  GetClientRect(window, &after);
  EXPECT_EQ(after.right, client.right);
  EXPECT_EQ(after.bottom, client.bottom);
}

TEST_F(SkinManageTest, AfterTheManagerWentWindowsAreLeftAlone) {
  ui::TForm* form = MakeForm();
  skin::DestroySkinManager();
  manager = nullptr;
  EXPECT_TRUE(TSkinManage::HookDisabled());
  EXPECT_EQ(SendMessageW(form->Handle(), skin::WM_SKINQUERY, 0, 0), 0);
  ui::TForm* later = MakeForm(ui::TFormBorderStyle::bsSizeable, false);
  Pump(50ms);
  EXPECT_EQ(SendMessageW(later->Handle(), skin::WM_SKINQUERY, 0, 0), 0);
}

// A form that frees its skinner as an owned component leaves no dangling entry behind.
TEST_F(SkinManageTest, AFormFreedFirstLeavesNoEntry) {
  ui::TForm* form = MakeForm();
  ASSERT_EQ(manager->FormSkinners().size(), 1u);
  forms.clear();
  (void)form;
  EXPECT_TRUE(manager->FormSkinners().empty());
  manager->PurgeFormSkinners();
  MakeForm();
  EXPECT_EQ(manager->FormSkinners().size(), 1u);
}

}  // namespace
