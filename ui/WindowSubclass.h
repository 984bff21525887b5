#pragma once

#include <windows.h>

#include <functional>

namespace ui {

struct SubclassThunk;

// Replaces a window's procedure with one bound to an object, keeps the previous one, and
// gives the window back when asked. The new procedure is a small piece of machine code (a
// thunk) that calls the bound handler directly, so any number of objects can subclass any
// number of windows, and windows made by the system (dialogs, message boxes, menus) alike.
//
// Unicode and ANSI windows are both served: the procedure is installed and the previous one
// called with the W or A functions, by IsWindowUnicode at installation.
//
// Giving the window back while another subclass sits on top of ours cannot take our thunk
// out of the chain; it then stays in place as a plain pass-through to the previous
// procedure and frees itself when the window is destroyed.
class WindowSubclass {
 public:
  // Gets every message of the window; calls CallPrevious for what it does not handle.
  using Handler = std::function<LRESULT(UINT msg, WPARAM wParam, LPARAM lParam)>;

  WindowSubclass() = default;
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  ~WindowSubclass() { Remove(); }

  // False when the window does not exist or is subclassed by this object already.
  bool Install(HWND window, Handler handler);
  // Gives the window its previous procedure back (see above). Safe to call from inside the
  // handler, and CallPrevious keeps working afterwards for the message in hand.
  void Remove();

  LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

  bool Installed() const { return thunk_ != nullptr; }
  HWND Window() const { return window_; }
  bool Unicode() const { return unicode_; }
  WNDPROC Previous() const { return previous_; }
  // The procedure installed on the window (the thunk), or null.
  WNDPROC Procedure() const;

 private:
  friend struct SubclassThunk;
  SubclassThunk* thunk_ = nullptr;
  HWND window_ = nullptr;
  WNDPROC previous_ = nullptr;
  bool unicode_ = true;
  Handler handler_;
};

}  // namespace ui
