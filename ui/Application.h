#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "ui/Component.h"

namespace ui {

class TCustomForm;

// The application object: its hidden window (class "TApplication"), the title, the forms
// and the message loop with the framework's keyboard handling (dialog keys, menu shortcuts).
class TApplication : public TComponent {
  VELMO_DECLARE_CLASS
 public:
  TApplication();
  ~TApplication() override;

  // Creates the hidden application window; forms made afterwards are owned by it.
  void Initialize();
  HWND Handle() const { return handle_; }
  std::wstring Title() const { return title_; }
  void SetTitle(const std::wstring& title);

  // The first form created after Initialize; closing it ends Run.
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form) { mainForm_ = form; }
  const std::vector<TCustomForm*>& Forms() const { return forms_; }
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

  // Shows the main form and runs the message loop until Terminate (at once when it was
  // called before).
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void ProcessMessages();
  // The framework's treatment of one message before it is dispatched; true: consumed.
  bool PreTranslate(MSG& msg);

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

  HWND handle_ = nullptr;
  std::wstring title_;
  TCustomForm* mainForm_ = nullptr;
  std::vector<TCustomForm*> forms_;
  bool terminated_ = false;
};

// The one application object of the process.
TApplication& Application();

}  // namespace ui
