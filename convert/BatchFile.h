#pragma once

#include <string>

// The batch file records the last command line issued, for a user who wants to repeat it by
// hand; nothing in the program reads it. Its folder is created when missing.
std::wstring BatchFilePath(const std::wstring& appDataDir);

// Replaces the batch file with the command line (ANSI) and CR LF; false when it cannot be
// written.
bool WriteBatchFile(const std::wstring& appDataDir, const std::string& commandLine);
