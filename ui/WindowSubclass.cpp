#include "ui/WindowSubclass.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace ui {

// The thunk's code replaces the window-handle argument by the thunk's own address and jumps
// to Trampoline, which finds the subclass from it. Its data says where messages go once the
// owning object has let go of a window it could not unhook. The code is the only part that
// differs between the 32-bit and the 64-bit build: the first argument lies on the stack in
// one and in rcx in the other.
#pragma pack(push, 1)
struct SubclassThunk {
#if defined(_M_IX86) || defined(__i386__)
  uint8_t movStackArgument[4];  // mov dword ptr [esp+4], imm32
  uint32_t context;
  uint8_t jump;  // jmp rel32
  int32_t jumpOffset;
#elif defined(_M_X64) || defined(__x86_64__)
  uint8_t movRcx[2];  // mov rcx, imm64
  uint64_t context;
  uint8_t movRax[2];  // mov rax, imm64
  uint64_t target;
  uint8_t jumpRax[2];  // jmp rax
#else
#error "the window-procedure thunk is written for x86 and x64"
#endif

  WindowSubclass* owner;
  HWND window;
  WNDPROC previous;
  bool unicode;

  static LRESULT CALLBACK Trampoline(HWND context, UINT msg, WPARAM wParam, LPARAM lParam);
};
#pragma pack(pop)

namespace {

HANDLE ExecutableHeap() {
  static HANDLE heap = HeapCreate(HEAP_CREATE_ENABLE_EXECUTE, 0, 0);
  return heap;
}

void WriteCode(SubclassThunk* thunk) {
#if defined(_M_IX86) || defined(__i386__)
  const uint8_t mov[4] = {0xC7, 0x44, 0x24, 0x04};
  std::memcpy(thunk->movStackArgument, mov, sizeof(mov));
  thunk->context = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(thunk));
  thunk->jump = 0xE9;
  auto target = reinterpret_cast<intptr_t>(&SubclassThunk::Trampoline);
  auto next = reinterpret_cast<intptr_t>(&thunk->jumpOffset) + sizeof(thunk->jumpOffset);
  thunk->jumpOffset = static_cast<int32_t>(target - next);
#else
  // An absolute jump: the heap may lie further than 2 GiB from the code.
  thunk->movRcx[0] = 0x48;
  thunk->movRcx[1] = 0xB9;
  thunk->context = reinterpret_cast<uintptr_t>(thunk);
  thunk->movRax[0] = 0x48;
  thunk->movRax[1] = 0xB8;
  thunk->target = reinterpret_cast<uintptr_t>(&SubclassThunk::Trampoline);
  thunk->jumpRax[0] = 0xFF;
  thunk->jumpRax[1] = 0xE0;
#endif
}

SubclassThunk* NewThunk(WindowSubclass* owner, HWND window, bool unicode) {
  auto* thunk = static_cast<SubclassThunk*>(
      HeapAlloc(ExecutableHeap(), HEAP_ZERO_MEMORY, sizeof(SubclassThunk)));
  if (!thunk) return nullptr;
  WriteCode(thunk);
  thunk->owner = owner;
  thunk->window = window;
  thunk->unicode = unicode;
  FlushInstructionCache(GetCurrentProcess(), thunk, sizeof(SubclassThunk));
  return thunk;
}

void FreeThunk(SubclassThunk* thunk) { HeapFree(ExecutableHeap(), 0, thunk); }

WNDPROC CurrentProcedure(HWND window, bool unicode) {
  LONG_PTR proc =
      unicode ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
  return reinterpret_cast<WNDPROC>(proc);
}

WNDPROC SetProcedure(HWND window, bool unicode, WNDPROC proc) {
  auto value = reinterpret_cast<LONG_PTR>(proc);
  LONG_PTR old = unicode ? SetWindowLongPtrW(window, GWLP_WNDPROC, value)
                         : SetWindowLongPtrA(window, GWLP_WNDPROC, value);
  return reinterpret_cast<WNDPROC>(old);
}

LRESULT CallProcedure(WNDPROC proc, bool unicode, HWND window, UINT msg, WPARAM wParam,
                      LPARAM lParam) {
  if (!proc)
    return unicode ? DefWindowProcW(window, msg, wParam, lParam)
                   : DefWindowProcA(window, msg, wParam, lParam);
  return unicode ? CallWindowProcW(proc, window, msg, wParam, lParam)
                 : CallWindowProcA(proc, window, msg, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK SubclassThunk::Trampoline(HWND context, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* thunk = reinterpret_cast<SubclassThunk*>(context);
  if (WindowSubclass* owner = thunk->owner) return owner->handler_(msg, wParam, lParam);
  // Let go of, but still in the chain: pass everything on, and go with the window.
  HWND window = thunk->window;
  WNDPROC previous = thunk->previous;
  bool unicode = thunk->unicode;
  if (msg == WM_NCDESTROY) FreeThunk(thunk);
  return CallProcedure(previous, unicode, window, msg, wParam, lParam);
}

bool WindowSubclass::Install(HWND window, Handler handler) {
  if (thunk_ || !IsWindow(window) || !handler) return false;
  bool unicode = IsWindowUnicode(window) != FALSE;
  SubclassThunk* thunk = NewThunk(this, window, unicode);
  if (!thunk) return false;
  handler_ = std::move(handler);
  window_ = window;
  unicode_ = unicode;
  // The previous procedure must be known before the first message reaches the thunk.
  previous_ = CurrentProcedure(window, unicode);
  thunk->previous = previous_;
  thunk_ = thunk;
  SetLastError(0);
  WNDPROC old = SetProcedure(window, unicode, reinterpret_cast<WNDPROC>(thunk));
  if (!old && GetLastError() != 0) {
    thunk_ = nullptr;
    FreeThunk(thunk);
    return false;
  }
  previous_ = old;
  thunk->previous = old;
  return true;
}

void WindowSubclass::Remove() {
  SubclassThunk* thunk = std::exchange(thunk_, nullptr);
  if (!thunk) return;
  if (!IsWindow(window_)) {
    FreeThunk(thunk);
  } else if (CurrentProcedure(window_, unicode_) == reinterpret_cast<WNDPROC>(thunk)) {
    SetProcedure(window_, unicode_, previous_);
    FreeThunk(thunk);
  } else {
    thunk->owner = nullptr;  // another subclass sits on top of ours
  }
}

LRESULT WindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return CallProcedure(previous_, unicode_, window_, msg, wParam, lParam);
}

WNDPROC WindowSubclass::Procedure() const { return reinterpret_cast<WNDPROC>(thunk_); }

}  // namespace ui
