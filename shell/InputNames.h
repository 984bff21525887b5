#pragma once

#include <string>
#include <string_view>

// Names of input files in code page 936 (GBK) bytes. A byte from 0x81 to 0xFE starts a
// two-byte character whose second byte may look like '\\', '.' or a letter, so every
// search here walks whole characters.
namespace input_names {

// The file-name part (after the last '\\', '/' or ':').
std::string_view FileNamePart(std::string_view path);
// The folder part without a trailing backslash; a drive root ("C:\\") keeps its backslash.
std::string_view DirectoryPart(std::string_view path);
// The extension of the file-name part with its dot (".MP4"), or empty.
std::string_view ExtensionPart(std::string_view path);
// ASCII letters in lower case; two-byte characters unchanged.
std::string LowerAsciiLetters(std::string_view text);
// The name without its last four bytes (the dot and a three-letter extension), never
// ending in half a character.
std::string DropLastFour(std::string_view name);
// "flv", "mp4", "f4v" or "m4v" for the matching lower-case extension, else empty.
std::string_view FormatOfExtension(std::string_view lowerExtension);
// Joins a folder and "转换\\" (given in GBK) without doubling a root's backslash.
std::string OutputFolderFor(std::string_view path, std::string_view subfolder);

}  // namespace input_names
