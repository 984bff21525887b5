#include "shell/InputNames.h"

namespace input_names {

namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

std::wstring_view FileNamePart(std::wstring_view path) {
  size_t sep = path.find_last_of(L"\\/:");
  return sep == std::wstring_view::npos ? path : path.substr(sep + 1);
}

std::wstring_view DirectoryPart(std::wstring_view path) {
  size_t sep = path.find_last_of(L"\\/:");
  if (sep == std::wstring_view::npos) return {};
  // "C:\\x" keeps "C:\\"; "C:x" keeps "C:".
  if (path[sep] == L':' || (sep == 2 && path[1] == L':')) return path.substr(0, sep + 1);
  return path.substr(0, sep);
}

std::wstring_view ExtensionPart(std::wstring_view path) {
  std::wstring_view name = FileNamePart(path);
  size_t dot = name.find_last_of(L'.');
  return dot == std::wstring_view::npos ? std::wstring_view() : name.substr(dot);
}

std::wstring LowerAsciiLetters(std::wstring_view text) {
  std::wstring result(text);
  for (wchar_t& c : result)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return result;
}

std::wstring DropLastFour(std::wstring_view name) {
  if (name.size() <= 4) return {};
  std::wstring_view kept = name.substr(0, name.size() - 4);
  if (IsHighSurrogate(kept.back())) kept.remove_suffix(1);
  return std::wstring(kept);
}

std::wstring_view FormatOfExtension(std::wstring_view ext) {
  for (std::wstring_view format : {L"flv", L"mp4", L"f4v", L"m4v"})
    if (ext.size() == 4 && ext[0] == L'.' && ext.substr(1) == format) return format;
  return {};
}

std::wstring OutputFolderFor(std::wstring_view path, std::wstring_view subfolder) {
  std::wstring folder(DirectoryPart(path));
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  return folder + std::wstring(subfolder);
}

}  // namespace input_names
