#pragma once

#include <windows.h>

namespace ui {

// CreateProcessW for a child that must go into a job of ours. Where this process already runs
// inside a job (a launcher's; on Windows 7 the compatibility job Explorer starts programs in),
// the child is started outside it when that job allows leaving: before Windows 8 jobs do not
// nest, and a child still in the outer job could not enter ours. A job that forbids leaving
// refuses such a start; the child then starts inside it, as any child would.
BOOL CreateProcessOutsideJob(const wchar_t* application, wchar_t* commandLine,
                             SECURITY_ATTRIBUTES* processAttributes,
                             SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles,
                             DWORD flags, void* environment, const wchar_t* folder,
                             STARTUPINFOW* startup, PROCESS_INFORMATION* info);

}  // namespace ui
