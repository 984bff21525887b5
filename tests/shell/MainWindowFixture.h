#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "shell/MainWindow.h"
#include "ui/Application.h"

// One main window per test, made and freed by RAII; message boxes it shows are read and
// closed by a thread hook, so that tests see their texts.
class MainWindowFixture {
 public:
  MainWindowFixture();
  ~MainWindowFixture();
  TTntForm1& form() { return *form_; }
  template <typename T>
  T& Control(const wchar_t* name) {
    return *dynamic_cast<T*>(form_->FindComponent(name));
  }
  // Texts of the message boxes shown so far (caption "|" text).
  static std::vector<std::wstring>& Boxes();
  static void Pump();

 private:
  HHOOK hook_ = nullptr;
  std::unique_ptr<TTntForm1> form_;
};
