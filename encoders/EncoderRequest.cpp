#include "encoders/EncoderRequest.h"

#include <algorithm>
#include <charconv>

#include "convert/CommandLine.h"
#include "encoders/WindowsArguments.h"

namespace frontend {

namespace {

constexpr std::string_view kKeys[] = {"flv",        "3gp", "mp4", "mp4-psp",
                                      "mp4-iphone", "avi", "mp3", "mp4-ipad"};
// Stand-ins that cannot occur in a real command line, so the converter's own builder gives
// each form with recognisable holes for the paths and the size.
constexpr std::string_view kProgramFolder = "\x01program";
constexpr std::string_view kSource = "\x01source.flv";
constexpr std::string_view kOutputFolder = "\x01output\\";
constexpr char kSizeHole = '\x02';
constexpr int kMinSide = 16;
constexpr int kMaxSide = 4096;

// One accepted command line with holes: program, head, source, options, output.
struct Form {
  std::string key;
  std::string program;  // file name the form starts
  bool fallback = false;
  SizeChoice size = SizeChoice::Kept;
  std::vector<std::string> head;     // between program and source
  std::vector<std::string> options;  // between source and output; may hold the size hole
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lower;
}

std::optional<Form> FormOf(std::string_view key, const std::string& line, bool fallback,
                           SizeChoice size) {
  std::vector<std::string> words = SplitWindowsCommandLine(line);
  auto source = std::find(words.begin(), words.end(), kSource);
  if (words.size() < 3 || source == words.end()) return std::nullopt;
  Form form;
  form.key = key;
  form.fallback = fallback;
  form.size = size;
  const std::string& program = words.front();
  form.program = Lower(program.substr(program.find_last_of('\\') + 1));
  form.head.assign(words.begin() + 1, source);
  form.options.assign(source + 1, words.end() - 1);
  return form;
}

const std::vector<Form>& AllForms() {
  static const std::vector<Form> forms = [] {
    std::vector<Form> all;
    const std::string hole(1, kSizeHole);
    struct Size {
      std::string_view text;
      SizeChoice choice;
    };
    const Size sizes[] = {
        {kKeepResolution, SizeChoice::Kept}, {"", SizeChoice::Empty}, {hole, SizeChoice::Chosen}};
    // Kept forms first: a line that also reads as a chosen size then keeps its own key.
    for (const Size& size : sizes) {
      for (std::string_view key : kKeys) {
        std::string line =
            BuildCommandLine({key, size.text, kSource, kOutputFolder, kProgramFolder}).text;
        // Targets that ignore the size give the kept form again.
        if (size.choice == SizeChoice::Chosen && line.find(kSizeHole) == std::string::npos)
          continue;
        if (size.choice == SizeChoice::Empty &&
            line == BuildCommandLine({key, kKeepResolution, kSource, kOutputFolder, kProgramFolder})
                        .text)
          continue;
        if (auto form = FormOf(key, line, false, size.choice)) all.push_back(*form);
        if (key == "avi") continue;  // never retried
        std::string retry = RewriteForFallback(line);
        if (retry == line) continue;
        if (auto form = FormOf(key, retry, true, size.choice)) all.push_back(*form);
      }
    }
    return all;
  }();
  return forms;
}

bool ParseSide(std::string_view text, int& side) {
  if (text.empty() || text.size() > 5) return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  return error == std::errc() && end == text.data() + text.size() && side >= kMinSide &&
         side <= kMaxSide;
}

// "WxH" ("W:H" for the mencoder line) within the sides we encode.
bool ParseSize(std::string_view text, char separator, int& width, int& height) {
  size_t at = text.find(separator);
  if (at == std::string_view::npos) return false;
  return ParseSide(text.substr(0, at), width) && ParseSide(text.substr(at + 1), height);
}

// Matches the option words; a word with the size hole takes any non-empty text there.
bool MatchOptions(const Form& form, const std::vector<std::string>& words, std::string& size) {
  if (words.size() != form.options.size()) return false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& want = form.options[i];
    size_t hole = want.find(kSizeHole);
    if (hole == std::string::npos) {
      if (words[i] != want) return false;
      continue;
    }
    std::string_view prefix(want.data(), hole);
    std::string_view suffix(want.data() + hole + 1, want.size() - hole - 1);
    const std::string& got = words[i];
    if (got.size() <= prefix.size() + suffix.size() || !got.starts_with(prefix) ||
        !got.ends_with(suffix))
      return false;
    size = got.substr(prefix.size(), got.size() - prefix.size() - suffix.size());
  }
  return true;
}

}  // namespace

std::optional<FrontEndName> FrontEndFromFileName(std::string_view fileName) {
  std::string lower = Lower(fileName);
  if (lower == "ffmpeg.exe") return FrontEndName::Ffmpeg;
  if (lower == "ffmpegx.exe") return FrontEndName::FfmpegX;
  if (lower == "mencoder.exe") return FrontEndName::Mencoder;
  return std::nullopt;
}

std::string_view FileNameOf(FrontEndName name) {
  switch (name) {
    case FrontEndName::Ffmpeg:
      return "ffmpeg.exe";
    case FrontEndName::FfmpegX:
      return "ffmpegx.exe";
    case FrontEndName::Mencoder:
      return "mencoder.exe";
  }
  return {};
}

ParsedRequest ParseRequest(FrontEndName name, const std::vector<std::string>& arguments) {
  ParsedRequest result;
  std::string_view program = FileNameOf(name);
  for (const Form& form : AllForms()) {
    if (form.program != program) continue;
    // program, head, source, options, output
    size_t count = 1 + form.head.size() + 1 + form.options.size() + 1;
    if (arguments.size() != count) continue;
    if (!std::equal(form.head.begin(), form.head.end(), arguments.begin() + 1)) continue;
    size_t sourceAt = 1 + form.head.size();
    std::vector<std::string> options(arguments.begin() + sourceAt + 1, arguments.end() - 1);
    std::string size;
    if (!MatchOptions(form, options, size)) continue;
    EncoderRequest request;
    request.key = form.key;
    request.fallback = form.fallback;
    request.size = form.size;
    request.source = arguments[sourceAt];
    request.output = arguments.back();
    if (request.source.empty() || request.output.empty()) {
      result.error = "the source and the output path must not be empty";
      return result;
    }
    if (form.size == SizeChoice::Chosen &&
        !ParseSize(size, form.key == "avi" ? ':' : 'x', request.width, request.height)) {
      result.error = "unsupported picture size \"" + size + "\" (expected WIDTHxHEIGHT, each " +
                     std::to_string(kMinSide) + " to " + std::to_string(kMaxSide) + ")";
      return result;
    }
    result.request = std::move(request);
    return result;
  }
  result.error = std::string("unsupported command line: ") + std::string(program) +
                 " accepts only the command lines that Velmo转换 builds for its targets";
  return result;
}

}  // namespace frontend
