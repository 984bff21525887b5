#pragma once

#include <string>

// The batch file records the last command line issued, for a user who wants to repeat it by
// hand; nothing in the program reads it. Its folder is created when missing.
std::string BatchFilePath(const std::string& appDataDir);

// Replaces the batch file with the command line and CR LF; false when it cannot be written.
bool WriteBatchFile(const std::string& appDataDir, const std::string& commandLine);
