#pragma once

#include <string>

// The batch file records the last command line issued, for a user who wants to repeat it by
// hand; nothing in the program reads it, so a conversion never fails over it. Its folder is
// created when missing.
std::wstring BatchFilePath(const std::wstring& appDataDir);

// Replaces the batch file with the command line (ANSI) and CR LF, trying again briefly while
// another program holds it; false when it could not be written.
bool WriteBatchFile(const std::wstring& appDataDir, const std::string& commandLine);
