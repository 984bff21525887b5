#pragma once

#include <windows.h>

#include <initializer_list>
#include <vector>

// Keys and the mouse as the user gives them: input events through SendInput, which the
// system turns into the messages of the window under the pointer or with the focus.
namespace user_input {

inline INPUT Key(WORD key, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = key;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  return input;
}

// A mouse event at a screen point (MOUSEEVENTF_MOVE, _RIGHTDOWN, ...).
inline INPUT Mouse(DWORD flags, POINT at) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dx = MulDiv(at.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  input.mi.dy = MulDiv(at.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
  return input;
}

inline void Send(std::vector<INPUT> inputs) {
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Key presses and releases in order: {virtual key, down}.
inline void Keys(std::initializer_list<std::pair<WORD, bool>> keys) {
  std::vector<INPUT> inputs;
  for (const auto& [key, down] : keys) inputs.push_back(Key(key, down));
  Send(inputs);
}

inline void MoveMouse(POINT to) { Send({Mouse(MOUSEEVENTF_MOVE, to)}); }

}  // namespace user_input
