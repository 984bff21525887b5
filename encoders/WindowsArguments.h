#pragma once

#include <string>
#include <string_view>
#include <vector>

// Command lines split and joined by the rules of the Windows C runtime, so that a path in
// double quotes is one argument and an argument we pass on arrives unchanged.
namespace frontend {

// The arguments of a whole command line; the first (the program) ends at the next blank or,
// when quoted, at the next quote, without backslash escapes.
std::vector<std::string> SplitWindowsCommandLine(std::string_view commandLine);

// One argument quoted so that SplitWindowsCommandLine gives it back.
std::string QuoteWindowsArgument(std::string_view argument);

// The arguments quoted and joined by single blanks.
std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments);

}  // namespace frontend
