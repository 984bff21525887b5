#pragma once

#include <optional>
#include <string>
#include <string_view>

// The encoders take their paths on an ANSI command line. Paths with characters the ANSI code
// page lacks (Korean, emoji, "bär" under code page 936) would reach them as "?".

// The text in the ANSI code page when every character has its own form there; else nothing.
std::optional<std::string> ExactAnsi(std::wstring_view text);

// A path of an existing file or folder as the encoders get it: as it is when the ANSI code page
// can write it, else its short (8.3) form, which the file system writes in ASCII. When there
// is no short form either, the lossy text: the encoder then fails and nothing is lost.
std::string EncoderPathText(const std::wstring& path);

// The output's base name for a source whose name the ANSI code page cannot write: the file
// name without its last four characters, every character the code page lacks written as its
// code point in hex between underscores ("bär" gives "b_E4_r"), so that different names stay
// different.
std::string RepresentableBaseName(std::wstring_view sourcePath);
