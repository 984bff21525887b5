#include "ui/ProcessOutsideJob.h"

namespace ui {

BOOL CreateProcessOutsideJob(const wchar_t* application, wchar_t* commandLine,
                             SECURITY_ATTRIBUTES* processAttributes,
                             SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles,
                             DWORD flags, void* environment, const wchar_t* folder,
                             STARTUPINFOW* startup, PROCESS_INFORMATION* info) {
  BOOL inJob = FALSE;
  if (IsProcessInJob(GetCurrentProcess(), nullptr, &inJob) && inJob &&
      CreateProcessW(application, commandLine, processAttributes, threadAttributes, inheritHandles,
                     flags | CREATE_BREAKAWAY_FROM_JOB, environment, folder, startup, info))
    return TRUE;
  return CreateProcessW(application, commandLine, processAttributes, threadAttributes,
                        inheritHandles, flags, environment, folder, startup, info);
}

}  // namespace ui
