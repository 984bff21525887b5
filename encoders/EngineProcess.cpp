#include "encoders/EngineProcess.h"

#include <vector>

#include "ui/ProcessOutsideJob.h"

namespace frontend {

namespace {

std::wstring LastErrorText(const wchar_t* what) {
  DWORD code = GetLastError();
  wchar_t* message = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text = std::wstring(what) + L" (error " + std::to_wstring(code) + L")";
  if (message) {
    text += L": ";
    text += message;
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
  }
  return text;
}

// A pipe whose write end the child inherits and whose read end stays ours alone.
bool ChildPipe(ui::UniqueHandle& ours, ui::UniqueHandle& childs) {
  SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  if (!CreatePipe(ours.receive(), childs.receive(), &inheritable, 0)) return false;
  return SetHandleInformation(ours.get(), HANDLE_FLAG_INHERIT, 0) != FALSE;
}

}  // namespace

bool EngineProcess::Start(const std::wstring& enginePath, const std::wstring& commandLine,
                          std::wstring* error) {
  job_.reset(CreateJobObjectW(nullptr, nullptr));
  if (!job_) {
    *error = LastErrorText(L"cannot create a job object");
    return false;
  }
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job_.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof limits)) {
    *error = LastErrorText(L"cannot set up the job object");
    return false;
  }

  ui::UniqueHandle outputWrite, logWrite;
  if (!ChildPipe(output_, outputWrite) || !ChildPipe(log_, logWrite)) {
    *error = LastErrorText(L"cannot create pipes for the engine");
    return false;
  }

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nullptr;  // the engine is told not to read it
  startup.hStdOutput = outputWrite.get();
  startup.hStdError = logWrite.get();

  // The engine inherits its two pipe ends and nothing else of ours: not the converter's pipe
  // behind our own standard output, which must close when we end.
  HANDLE inherited[] = {outputWrite.get(), logWrite.get()};
  SIZE_T listSize = 0;
  InitializeProcThreadAttributeList(nullptr, 1, 0, &listSize);
  std::vector<char> listBuffer(listSize);
  auto list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(listBuffer.data());
  if (!InitializeProcThreadAttributeList(list, 1, 0, &listSize)) {
    *error = LastErrorText(L"cannot prepare the engine's start");
    return false;
  }
  struct ListOwner {
    LPPROC_THREAD_ATTRIBUTE_LIST list;
    ~ListOwner() { DeleteProcThreadAttributeList(list); }
  } listOwner{list};
  if (!UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                 sizeof inherited, nullptr, nullptr)) {
    *error = LastErrorText(L"cannot prepare the engine's start");
    return false;
  }
  STARTUPINFOEXW extended{};
  extended.StartupInfo = startup;
  extended.StartupInfo.cb = sizeof extended;
  extended.lpAttributeList = list;

  std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
  line.push_back(L'\0');
  PROCESS_INFORMATION info{};
  // Suspended until it is in the job, so that nothing it starts escapes the job either.
  // Detached: no console of its own, hence no window and no console host holding its pipes.
  DWORD flags = CREATE_SUSPENDED | DETACHED_PROCESS | EXTENDED_STARTUPINFO_PRESENT;
  // We run in the converter's job, which allows leaving it: where jobs do not nest (Windows
  // before 8) the engine must leave it to enter ours. It still ends with us, as ours kills it
  // when we end.
  if (!ui::CreateProcessOutsideJob(enginePath.c_str(), line.data(), nullptr, nullptr, TRUE, flags,
                                   nullptr, nullptr, &extended.StartupInfo, &info)) {
    *error = LastErrorText(L"cannot start the engine");
    return false;
  }
  process_.reset(info.hProcess);
  ui::UniqueHandle thread(info.hThread);
  if (!AssignProcessToJobObject(job_.get(), info.hProcess)) {
    *error = LastErrorText(L"cannot put the engine into a job");
    TerminateProcess(info.hProcess, 1);
    return false;
  }
  ResumeThread(thread.get());
  return true;
}

DWORD EngineProcess::ExitCode() const {
  DWORD code = 1;
  GetExitCodeProcess(process_.get(), &code);
  return code;
}

}  // namespace frontend
