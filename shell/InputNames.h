#pragma once

#include <string>
#include <string_view>

// Names of input files, worked on as the wide text the shell gives: whatever the system's code
// page, every character of a path keeps its form.
namespace input_names {

// The file-name part (after the last '\\', '/' or ':').
std::wstring_view FileNamePart(std::wstring_view path);
// The folder part without a trailing backslash; a drive root ("C:\\") keeps its backslash.
std::wstring_view DirectoryPart(std::wstring_view path);
// The extension of the file-name part with its dot (".MP4"), or empty.
std::wstring_view ExtensionPart(std::wstring_view path);
// ASCII letters in lower case; every other character unchanged.
std::wstring LowerAsciiLetters(std::wstring_view text);
// The name without its last four characters (the dot and a three-letter extension), never
// ending in half a surrogate pair.
std::wstring DropLastFour(std::wstring_view name);
// "flv", "mp4", "f4v" or "m4v" for the matching lower-case extension, else empty.
std::wstring_view FormatOfExtension(std::wstring_view lowerExtension);
// Joins a path's folder and `subfolder` without doubling a root's backslash.
std::wstring OutputFolderFor(std::wstring_view path, std::wstring_view subfolder);

}  // namespace input_names
