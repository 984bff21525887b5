#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

// The writing side of the skin format, used by the skin packer and by tests that need
// packages of their own.
struct SkinPackageEntry {
  std::string name;  // ANSI text, no line breaks
  std::vector<std::uint8_t> body;
};

// Header (format code, name-list length, two reserved words), a zero-filled extra block of
// the code's size, the names each ended by CR LF, the sizes, then the bodies.
std::vector<std::uint8_t> BuildSkinPackage(std::span<const SkinPackageEntry> entries,
                                           std::uint32_t formatCode = 50000);

// A stored skin stream: the package size, then the package LZHUF-compressed.
std::vector<std::uint8_t> StoreSkinPackage(std::span<const std::uint8_t> package);

// A stored stream as the form carries it: its own length in front.
std::vector<std::uint8_t> FrameStoredSkin(std::span<const std::uint8_t> stored);
