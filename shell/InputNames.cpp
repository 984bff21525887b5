#include "shell/InputNames.h"

namespace input_names {

namespace {

bool IsLeadByte(char c) {
  auto b = static_cast<unsigned char>(c);
  return b >= 0x81 && b <= 0xFE;
}

// Index of the last single-byte character in `chars`, or npos.
size_t FindLastOf(std::string_view text, std::string_view chars) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsLeadByte(text[i]) && i + 1 < text.size()) {
      ++i;
      continue;
    }
    if (chars.find(text[i]) != std::string_view::npos) found = i;
  }
  return found;
}

}  // namespace

std::string_view FileNamePart(std::string_view path) {
  size_t sep = FindLastOf(path, "\\/:");
  return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string_view DirectoryPart(std::string_view path) {
  size_t sep = FindLastOf(path, "\\/:");
  if (sep == std::string_view::npos) return {};
  // "C:\\x" keeps "C:\\"; "C:x" keeps "C:".
  if (path[sep] == ':' || (sep == 2 && path[1] == ':')) return path.substr(0, sep + 1);
  return path.substr(0, sep);
}

std::string_view ExtensionPart(std::string_view path) {
  std::string_view name = FileNamePart(path);
  size_t dot = FindLastOf(name, ".");
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string LowerAsciiLetters(std::string_view text) {
  std::string result(text);
  for (size_t i = 0; i < result.size(); ++i) {
    if (IsLeadByte(result[i]) && i + 1 < result.size()) {
      ++i;
      continue;
    }
    if (result[i] >= 'A' && result[i] <= 'Z') result[i] = static_cast<char>(result[i] - 'A' + 'a');
  }
  return result;
}

std::string DropLastFour(std::string_view name) {
  if (name.size() <= 4) return {};
  std::string_view kept = name.substr(0, name.size() - 4);
  // Walk the kept bytes by character; a lead byte at the very end lost its partner.
  size_t i = 0;
  while (i < kept.size()) {
    if (IsLeadByte(kept[i])) {
      if (i + 1 >= kept.size()) return std::string(kept.substr(0, i));
      i += 2;
    } else {
      ++i;
    }
  }
  return std::string(kept);
}

std::string_view FormatOfExtension(std::string_view ext) {
  if (ext == ".flv") return "flv";
  if (ext == ".mp4") return "mp4";
  if (ext == ".f4v") return "f4v";
  if (ext == ".m4v") return "m4v";
  return {};
}

std::string OutputFolderFor(std::string_view path, std::string_view subfolder) {
  std::string folder(DirectoryPart(path));
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder + std::string(subfolder);
}

}  // namespace input_names
