#include "SkinTestFixture.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "skin/data/BmpImage.h"
#include "skin/data/SkinManagerLink.h"
#include "skin/data/SkinPackageWriter.h"
#include "skin/forms/SkinMessages.h"
#include "tests/doubles/UserInput.h"
#include "ui/Application.h"
#include "ui/MessagePump.h"

namespace skintest {

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

std::string EditIni(const std::string& text,
                    const std::map<std::string, std::vector<std::string>>& edits) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  for (const auto& [section, entries] : edits) {
    const std::string header = "[" + section + "]";
    auto start = std::find(lines.begin(), lines.end(), header);
    if (start == lines.end()) {
      lines.push_back(header);
      start = lines.end() - 1;
    }
    for (const std::string& entry : entries) {
      const std::string key = entry.substr(0, entry.find('=') + 1);
      const bool remove = entry.size() == key.size();
      auto end = std::find_if(start + 1, lines.end(),
                              [](const std::string& l) { return !l.empty() && l[0] == '['; });
      auto found =
          std::find_if(start + 1, end, [&](const std::string& l) { return l.rfind(key, 0) == 0; });
      if (found != end) {
        if (remove) {
          lines.erase(found);
        } else {
          *found = entry;
        }
      } else if (!remove) {
        lines.insert(start + 1, entry);
      }
      start = std::find(lines.begin(), lines.end(), header);
    }
  }
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

}  // namespace

std::vector<std::uint8_t> SkinStream(const SkinVariant& variant) {
  const fs::path folder = fs::path(VELMO_SOURCE_DIR) / "resources" / "skin";
  std::vector<SkinPackageEntry> entries;
  std::vector<fs::path> bitmaps;
  for (const auto& item : fs::directory_iterator(folder)) {
    const std::string ext = item.path().extension().string();
    if (ext == ".ini") {
      const std::vector<std::uint8_t> bytes = ReadFile(item.path());
      const std::string text = EditIni(std::string(bytes.begin(), bytes.end()), variant.ini);
      entries.insert(entries.begin(),
                     {item.path().filename().string(), {text.begin(), text.end()}});
    } else if (ext == ".bmp") {
      bitmaps.push_back(item.path());
    }
  }
  std::sort(bitmaps.begin(), bitmaps.end());
  for (const fs::path& bmp : bitmaps) {
    const std::string name = bmp.filename().string();
    if (variant.images.count(name)) continue;
    entries.push_back({name, ReadFile(bmp)});
  }
  for (const auto& [name, picture] : variant.images) {
    BmpImage image{picture->Width(), picture->Height(), {}};
    for (int y = 0; y < image.height; ++y)
      image.pixels.insert(image.pixels.end(), picture->Row(y), picture->Row(y) + image.width);
    entries.push_back({name, EncodeBmp24(image)});
  }
  return FrameStoredSkin(StoreSkinPackage(BuildSkinPackage(entries)));
}

HWND PlainWindow(const PlainWindowArgs& args) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = args.procedure ? args.procedure : DefWindowProcW;
  wc.hInstance = args.instance ? args.instance : GetModuleHandleW(nullptr);
  wc.lpszClassName = args.className;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = args.background;
  RegisterClassW(&wc);
  const RECT& r = args.bounds;
  HWND window =
      CreateWindowExW(args.exStyle, args.className, L"Plain", args.style, r.left, r.top,
                      r.right - r.left, r.bottom - r.top, nullptr, nullptr, wc.hInstance, nullptr);
  if (args.show) {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
  }
  return window;
}

void Pump(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    ui::ProcessMessages();
    if (duration > 0ms) Sleep(5);
  } while (std::chrono::steady_clock::now() < end);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
  const auto end = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    ui::ProcessMessages();
    Sleep(5);
  }
  return true;
}

// Wine keeps what is drawn on a window in a surface of its own that reaches the screen when
// the thread looks at its queue; a look that takes no message is enough.
void FlushToScreen() {
  MSG msg;
  PeekMessageW(&msg, reinterpret_cast<HWND>(-1), WM_APP + 0x3FFF, WM_APP + 0x3FFF, PM_NOREMOVE);
  GdiFlush();
}

COLORREF ScreenPixel(int x, int y) {
  FlushToScreen();
  ui::WindowDC screen(nullptr);
  ui::Bitmap one(1, 1);
  {
    ui::Bitmap::Canvas canvas(one);
    BitBlt(canvas.dc(), 0, 0, 1, 1, screen.get(), x, y, SRCCOPY);
  }
  return one.Pixel(0, 0);
}

COLORREF FramePixel(HWND window, int x, int y) {
  RECT r{};
  GetWindowRect(window, &r);
  return ScreenPixel(r.left + x, r.top + y);
}

ui::Bitmap GrabWindow(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  ui::Bitmap shot(r.right - r.left, r.bottom - r.top);
  FlushToScreen();
  ui::WindowDC screen(nullptr);
  ui::Bitmap::Canvas canvas(shot);
  BitBlt(canvas.dc(), 0, 0, shot.Width(), shot.Height(), screen.get(), r.left, r.top, SRCCOPY);
  return shot;
}

POINT DistinctPoint(const ui::Bitmap& strip, int frames, std::vector<int> which) {
  const int w = strip.Width() / frames;
  for (int y = 0; y < strip.Height(); ++y) {
    for (int x = 0; x < w; ++x) {
      std::vector<COLORREF> seen;
      bool ok = true;
      for (int k : which) {
        const COLORREF c = StripPixel(strip, frames, k, false, x, y);
        if (c == RGB(255, 0, 255) || std::find(seen.begin(), seen.end(), c) != seen.end())
          ok = false;
        seen.push_back(c);
      }
      if (ok) return {x, y};
    }
  }
  return {-1, -1};
}

COLORREF StripPixel(const ui::Bitmap& strip, int frames, int k, bool vertical, int x, int y) {
  if (vertical) return strip.Pixel(x, (k - 1) * (strip.Height() / frames) + y);
  return strip.Pixel((k - 1) * (strip.Width() / frames) + x, y);
}

namespace {}  // namespace

struct MenuWatch::State {
  std::vector<std::function<void(HWND)>> steps;
  size_t next = 0;
  bool opened = false;
  UINT_PTR timer = 0;
};

namespace {

MenuWatch::State* watch = nullptr;  // the innermost watch

BOOL CALLBACK FindMenu(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring(name) == L"#32768" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK OnWatchTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (!watch) return;
  HWND menu = nullptr;
  EnumWindows(FindMenu, reinterpret_cast<LPARAM>(&menu));
  if (!menu) return;
  watch->opened = true;
  if (watch->next < watch->steps.size()) {
    watch->steps[watch->next++](menu);
    return;  // closed at a later tick, after what the step posted was handled
  }
  EndMenu();
}

}  // namespace

MenuWatch::MenuWatch(std::function<void(HWND)> inside)
    : MenuWatch(inside ? std::vector<std::function<void(HWND)>>{std::move(inside)}
                       : std::vector<std::function<void(HWND)>>{}) {}

MenuWatch::MenuWatch(std::vector<std::function<void(HWND)>> steps)
    : state_(new State{std::move(steps)}), previous_(watch) {
  watch = state_;
  state_->timer = SetTimer(nullptr, 0, 60, OnWatchTimer);
}

bool MenuWatch::finished() const { return state_->next == state_->steps.size(); }

MenuWatch::~MenuWatch() {
  KillTimer(nullptr, state_->timer);
  watch = previous_;
  delete state_;
}

bool MenuWatch::opened() const { return state_->opened; }

std::vector<std::function<void(HWND)>> SkinnedMenuSteps(
    const SkinRecords& records, std::function<void(HWND menu, HMENU shown)> then) {
  auto shown = std::make_shared<HMENU>();
  return {
      [&records, shown](HWND menu) {
        *shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
        EXPECT_EQ(SendMessageW(menu, skin::WM_SKINQUERY, 0, 0), 1);
        // The outer pixels of MenuBackground, at the frame's left edge.
        const ui::Bitmap& background = records.MenuBackground->Bitmap;
        RECT r{};
        GetWindowRect(menu, &r);
        const int middle = (r.bottom - r.top) / 2;
        EXPECT_EQ(FramePixel(menu, 0, middle), background.Pixel(0, 8));
        EXPECT_EQ(FramePixel(menu, 1, middle), background.Pixel(1, 8));
        // The pointer onto the first item, rather than Down: the menu may have opened under
        // the pointer, and a move the display reports late would take a key's selection
        // away again, where it selects the same item as this move.
        RECT first{};
        GetMenuItemRect(nullptr, *shown, 0, &first);
        user_input::Send({user_input::Mouse(
            MOUSEEVENTF_MOVE, {(first.left + first.right) / 2, (first.top + first.bottom) / 2})});
      },
      [&records, shown, then](HWND menu) {
        RECT first{};
        GetMenuItemRect(nullptr, *shown, 0, &first);
        EXPECT_EQ(ScreenPixel(first.left + 2, (first.top + first.bottom) / 2),
                  StripPixel(records.MenuItem->Bitmap, 5, 4, false, 2, 11));
        if (then) then(menu, *shown);
      }};
}

// --- Fixture -------------------------------------------------------------------------------

namespace {

BOOL CALLBACK DestroyShownWindow(HWND window, LPARAM) {
  if (IsWindowVisible(window) && window != ui::Application().Handle()) DestroyWindow(window);
  return TRUE;
}

}  // namespace

void SkinnedTest::SetUp() {
  ui::Application().Initialize();
  TSkinManage::Register();
  data = MakeSkinData(Stream());
  manager = TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);
  ASSERT_TRUE(data->SkinParsed());
}

void SkinnedTest::TearDown() {
  forms.clear();
  // A test that closed the application's main form left its WM_QUIT: the next test's message
  // boxes and pumps would end at once on it.
  MSG quit;
  while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
  // Plain windows a test showed would take the activation (and a skinner) in the next test.
  EnumThreadWindows(GetCurrentThreadId(), DestroyShownWindow, 0);
  skin::DestroySkinManager();
  data.reset();
  skin::SetSkinManagerFactory(nullptr);
}

std::unique_ptr<TSkinData> SkinnedTest::MakeSkinData(const std::vector<std::uint8_t>& stream,
                                                     TSkinFormType type, ui::TComponent* owner) {
  auto skin = std::make_unique<TSkinData>(owner);
  skin->BeginLoading();
  skin->SetSkinFormtype(type);
  skin->SetPropText(L"Active", L"True");
  skin->SetPropBinary(L"SkinStream", stream);
  skin->Loaded();
  return skin;
}

ui::TForm* SkinnedTest::NewForm(const wchar_t* caption, RECT bounds) {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  form->SetCaption(caption);
  forms.push_back(std::move(form));
  return forms.back().get();
}

ui::TForm* SkinnedTest::MakeForm(ui::TFormBorderStyle border, bool waitSkinned) {
  auto form = std::make_unique<ui::TForm>(nullptr);
  form->SetBorderStyle(border);
  // Side by side, so that each one's frame shows on the screen.
  const int n = static_cast<int>(forms.size());
  form->SetBounds(40 + 450 * (n % 2), 40 + 330 * ((n / 2) % 3), 420, 300);
  form->SetCaption(L"Skinned");
  form->Show();
  ui::TForm* shown = form.get();
  forms.push_back(std::move(form));
  if (waitSkinned) {
    EXPECT_TRUE(WaitSkinned(shown->Handle()));
  }
  Pump(50ms);
  return shown;
}

TWinSkinForm* SkinnedTest::Skinner(HWND window) const { return manager->FindFormSkinner(window); }

bool SkinnedTest::WaitSkinned(HWND window) {
  return PumpUntil([&] {
    TWinSkinForm* skinner = Skinner(window);
    return skinner && skinner->SkinState() == TWinSkinForm::kActive;
  });
}

}  // namespace skintest
