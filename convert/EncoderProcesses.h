#pragma once

#include <windows.h>

#include <initializer_list>
#include <string_view>

// Stops the encoders that this program started: every process whose executable name equals one
// of `names` (ASCII letters compared without case) and that descends from this process, together
// with everything that descends from it (the engine under a front-end). Another program's
// process of the same name is never touched. Failures are ignored: this is clean-up.
void StopOwnEncoders(std::initializer_list<std::string_view> names);

// The same below an arbitrary ancestor process; StopOwnEncoders uses this process's id.
void StopEncodersBelow(DWORD ancestorProcessId, std::initializer_list<std::string_view> names);
