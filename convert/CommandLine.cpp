#include "convert/CommandLine.h"

#include "convert/EncoderNames.h"
#include "convert/FormatTable.h"

namespace {

// Option texts as the encoders of each target expect them; the blanks are part of the texts.
struct KeptOptions {
  std::string_view key;
  std::string_view options;
};

constexpr KeptOptions kKeptResolution[] = {
    {"avi",
     " -mc 0   -oac mp3lame -lameopts aq=7:vbr=2:q=6 -srate 32000 -vf scale=-8:-8,harddup -ovc "
     "xvid -xvidencopts fixed_quant=8 -o  "},
    {"3gp", " -f 3gp -vcodec h263  -b 200k -r 14.985 -acodec libamr_nb -ac 1 -ar 8000 -ab 7.95k "},
    {"mp4", " -f mp4 -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000 "},
    {"mp4-psp", " -f mp4 -s 320x240  -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000   "},
    {"mp4-iphone", " -f mp4 -s 320x240 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000  "},
    {"mp4-ipad", " -f mp4 -s 320x240 -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000  "},
    {"flv", " -y -f flv "},
    {"mp3", " -y -f mp3 -ac 2 "},
};

struct ChosenOptions {
  std::string_view key;
  std::string_view before;
  std::string_view after;
};

constexpr ChosenOptions kChosenResolution[] = {
    {"avi", " -mc 0  -oac mp3lame -lameopts aq=7:vbr=2:q=6 -srate 32000 -vf scale=",
     ",harddup -ovc xvid -xvidencopts fixed_quant=8 -o "},
    {"3gp", " -f 3gp -vcodec h263  -b 200k -r 14.985 -s ",
     " -acodec libamr_nb -ac 1 -ar 8000 -ab 7.95k "},
    {"mp4", " -f mp4 -s ", " -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000 "},
    {"mp4-psp", " -f mp4 -s ", "  -vcodec mpeg4   -acodec libfaac -ac 2 -ab 64K  -ar 48000   "},
    {"mp4-iphone", " -f mp4 -s ", " -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000  "},
    {"mp4-ipad", " -f mp4 -s ", " -vcodec mpeg4 -acodec libfaac  -ac 2 -ab 64K  -ar 48000  "},
    {"flv", " -y -f flv -s ", " "},
};

std::string EncoderHead(std::string_view encoder, std::string_view programFolder) {
  std::string head = "\"";
  head += programFolder;
  if (encoder == encoders::kMencoder)
    head += "\\mencoder.exe\"  ";
  else if (encoder == encoders::kFfmpeg)
    head += "\\ffmpeg.exe\" -y -i ";
  else
    head += "\\ffmpegx.exe\" -i ";
  return head;
}

std::string OptionText(std::string_view key, std::string_view resolution) {
  if (resolution != kKeepResolution) {
    for (const ChosenOptions& chosen : kChosenResolution) {
      if (chosen.key != key) continue;
      std::string size(resolution);
      if (key == "avi")  // mencoder's scale filter takes W:H
        for (char& c : size)
          if (c == 'x') c = ':';
      return std::string(chosen.before) + size + std::string(chosen.after);
    }
  }
  // Kept resolution, and mp3 whatever the resolution.
  for (const KeptOptions& kept : kKeptResolution)
    if (kept.key == key) return std::string(kept.options);
  return {};
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

bool IsLeadByte936(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

std::string BaseName(std::string_view sourcePath) {
  size_t nameStart = 0;
  for (size_t i = 0; i < sourcePath.size(); ++i) {
    auto c = static_cast<unsigned char>(sourcePath[i]);
    if (IsLeadByte936(c) && i + 1 < sourcePath.size()) {
      ++i;  // the trail byte is never a separator
      continue;
    }
    if (c == '\\' || c == ':') nameStart = i + 1;
  }
  std::string_view name = sourcePath.substr(nameStart);
  return std::string(name.substr(0, name.size() >= 4 ? name.size() - 4 : 0));
}

std::string OutputPath(std::string_view key, std::string_view sourcePath,
                       std::string_view outputFolder) {
  std::string path(outputFolder);
  path += BaseName(sourcePath);
  path += '.';
  path += OutputExtension(key);
  return path;
}

CommandLine BuildCommandLine(const CommandLineArgs& args) {
  CommandLine result;
  auto format = FindFormat(args.key);
  if (!format) return result;
  if (args.baseName) {
    result.outputPath = std::string(args.outputFolder) + std::string(*args.baseName) + "." +
                        std::string(format->extension);
  } else {
    result.outputPath = OutputPath(args.key, args.sourcePath, args.outputFolder);
  }
  result.quotedOutput = " \"" + result.outputPath + "\"  ";
  result.text = EncoderHead(format->encoder, args.programFolder);
  result.text += " \"";
  result.text += args.sourcePath;
  result.text += "\" ";
  result.text += OptionText(args.key, args.resolution);
  result.text += result.quotedOutput;
  return result;
}

std::string RewriteForFallback(std::string_view commandLine) {
  std::string text(commandLine);
  ReplaceAll(text, "ffmpeg.exe", "ffmpegx.exe");
  ReplaceAll(text, "libfaac", "faac");
  ReplaceAll(text, "libxvid", "xvid");
  return text;
}
