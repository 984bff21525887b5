#include "convert/ProgressWindow.h"

#include "convert/CancelRequest.h"
#include "convert/ConversionHost.h"
#include "ui/Application.h"
#include "ui/FormReader.h"
#include "ui/MessagePump.h"

TTntForm2* TntForm2 = nullptr;

const ui::TClassInfo& TTntForm2::StaticClass() {
  static ui::TClassInfo info(L"TTntForm2", &ui::TTntForm::StaticClass());
  return info;
}

TTntForm2::TTntForm2(ui::TComponent* owner, ConversionHost* host)
    : ui::TTntForm(owner), host_(host) {
  ui::ReadComponentResource(*this, L"TTNTFORM2");
  TntLabel1 = dynamic_cast<ui::TTntLabel*>(FindComponent(L"TntLabel1"));
  TntLabel4 = dynamic_cast<ui::TTntLabel*>(FindComponent(L"TntLabel4"));
  TntProgressBar1 = dynamic_cast<ui::TTntProgressBar*>(FindComponent(L"TntProgressBar1"));
  TntProgressBar2 = dynamic_cast<ui::TTntProgressBar*>(FindComponent(L"TntProgressBar2"));
  TntButton1 = dynamic_cast<ui::TTntButton*>(FindComponent(L"TntButton1"));
  if (!TntLabel1 || !TntLabel4 || !TntProgressBar1 || !TntProgressBar2 || !TntButton1)
    throw ui::EReadError("the progress window's layout lacks a control the program needs");
  AfterConstruction();
}

ui::TNotifyEvent TTntForm2::MethodAddress(std::wstring_view name) {
  if (ui::SameText(name, L"TntButton1Click"))
    return [this](ui::TPersistent&) { TntButton1Click(); };
  return ui::TTntForm::MethodAddress(name);
}

void TTntForm2::TntButton1Click() {
  CancelRequested = -1;
  TntLabel1->SetCaption(L"正在取消转换......");
  ui::ProcessMessages();
  // The encoder is stopped by the run once this returns; the wait lets it see the request
  // between two chunks of output.
  wait(5000);
  ui::ProcessMessages();
  if (host_) host_->EnableStartButton(true);
  TntButton1->SetEnabled(true);
  Close();
}

void TTntForm2::WndProc(ui::TMessage& message) {
  // Closing the window by the keyboard (Alt+F4) would only hide it while the run goes on: it
  // cancels, as the button does; a cancel under way is not asked for again.
  if (message.Msg == WM_SYSCOMMAND && (message.WParam & 0xFFF0) == SC_CLOSE) {
    if (!CancelRequested) TntButton1Click();
    message.Result = 0;
    return;
  }
  ui::TTntForm::WndProc(message);
}

int TTntForm2::CurrentMax() const { return TntProgressBar1->Max(); }
int TTntForm2::CurrentPosition() const { return TntProgressBar1->Position(); }
void TTntForm2::SetCurrentMax(int max) { TntProgressBar1->SetMax(max); }
void TTntForm2::SetCurrentPosition(int position) { TntProgressBar1->SetPosition(position); }
void TTntForm2::SetDetailText(const std::wstring& text) { TntLabel4->SetCaption(text); }
void TTntForm2::SetStatusText(const std::wstring& text) { TntLabel1->SetCaption(text); }
int TTntForm2::TotalMax() const { return TntProgressBar2->Max(); }
void TTntForm2::SetTotalMax(int max) { TntProgressBar2->SetMax(max); }
int TTntForm2::TotalPosition() const { return TntProgressBar2->Position(); }
void TTntForm2::SetTotalPosition(int position) { TntProgressBar2->SetPosition(position); }

void TTntForm2::ShowProgress() {
  CentreOverMainForm();
  Show();
}

void TTntForm2::CloseProgress() { Close(); }

void TTntForm2::CentreOverMainForm() {
  ui::TCustomForm* main = ui::Application().MainForm();
  if (!main || main == this || !main->HandleAllocated()) return;
  // The window is made first: making it would centre it on the screen instead.
  Handle();
  RECT bounds{};
  GetWindowRect(main->WindowHandle(), &bounds);
  SetBounds(bounds.left + (bounds.right - bounds.left - Width()) / 2,
            bounds.top + (bounds.bottom - bounds.top - Height()) / 2, Width(), Height());
}
