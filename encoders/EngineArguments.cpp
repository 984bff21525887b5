#include "encoders/EngineArguments.h"

namespace frontend {

namespace {

// The only sizes the H.263 encoder accepts (its H.263+ variant is refused by the 3gp muxer).
constexpr FrameSize kH263Frames[] = {{1408, 1152}, {704, 576}, {352, 288}, {176, 144}, {128, 96}};
constexpr FrameSize kH263Kept = {176, 144};
constexpr FrameSize kDeviceKept = {320, 240};

// YUV 4:2:0 needs even sides.
int Even(int side) { return side + (side & 1); }

std::string SizeText(FrameSize size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

// Scaled to fit, centred on black: the picture keeps its proportions.
std::string Letterbox(FrameSize frame) {
  std::string w = std::to_string(frame.width), h = std::to_string(frame.height);
  return "scale=" + w + ":" + h + ":force_original_aspect_ratio=decrease,pad=" + w + ":" + h +
         ":(ow-iw)/2:(oh-ih)/2,setsar=1";
}

bool IsDeviceKey(const std::string& key) {
  return key == "mp4-psp" || key == "mp4-iphone" || key == "mp4-ipad";
}

void Append(std::vector<std::string>& to, std::initializer_list<const char*> words) {
  to.insert(to.end(), words.begin(), words.end());
}

}  // namespace

FrameSize H263FrameFor(FrameSize chosen) {
  for (FrameSize frame : kH263Frames)
    if (frame.width <= chosen.width && frame.height <= chosen.height) return frame;
  return kH263Frames[std::size(kH263Frames) - 1];
}

std::vector<std::string> EngineArguments(const EncoderRequest& request) {
  std::vector<std::string> args = {"-hide_banner", "-nostdin", "-loglevel", "level+info", "-y"};
  // "file:" keeps a name with a colon or a leading dash from being read as anything but a file.
  args.push_back("-i");
  args.push_back("file:" + request.source);

  bool chosen = request.size == SizeChoice::Chosen;
  FrameSize size{Even(request.width), Even(request.height)};
  const std::string& key = request.key;
  if (key == "3gp") {
    FrameSize frame = chosen ? H263FrameFor(size) : kH263Kept;
    Append(args, {"-f", "3gp", "-vf"});
    args.push_back(Letterbox(frame));
    Append(args, {"-c:v", "h263", "-b:v", "200k", "-r", "14.985", "-c:a", "libopencore_amrnb",
                  "-ar", "8000", "-ac", "1", "-b:a", "7.95k"});
  } else if (key == "avi") {
    Append(args, {"-f", "avi", "-vf"});
    // mencoder's scale=-8:-8 rounded the kept size to the nearest multiple of 16.
    args.push_back(chosen
                       ? "scale=" + std::to_string(size.width) + ":" + std::to_string(size.height)
                       : "scale='round(iw/16)*16':'round(ih/16)*16'");
    Append(args, {"-c:v", "libxvid", "-qscale:v", "8", "-g", "250", "-bf", "2", "-vtag", "XVID",
                  "-c:a", "libmp3lame", "-q:a", "6", "-ar", "32000", "-ac", "2"});
  } else if (key == "flv") {
    Append(args, {"-f", "flv"});
    if (chosen) {
      args.push_back("-s");
      args.push_back(SizeText(size));
    } else {
      Append(args, {"-vf", "scale=trunc(iw/2)*2:trunc(ih/2)*2"});
    }
    // FLV stores only 44.1, 22.05 and 11.025 kHz.
    Append(args, {"-c:v", "flv1", "-c:a", "libmp3lame", "-ar", "44100"});
  } else if (key == "mp3") {
    Append(args, {"-f", "mp3", "-vn", "-c:a", "libmp3lame", "-ac", "2"});
  } else {  // mp4 and the device keys
    args.push_back("-f");
    args.push_back("mp4");
    // An empty size carries none, for the device keys too: their empty-size lines read
    // exactly as the plain mp4 one.
    if (chosen || (IsDeviceKey(key) && request.size == SizeChoice::Kept)) {
      args.push_back("-s");
      args.push_back(SizeText(chosen ? size : kDeviceKept));
    } else {
      Append(args, {"-vf", "scale=trunc(iw/2)*2:trunc(ih/2)*2"});
    }
    Append(args, {"-c:v", "mpeg4", "-c:a", "aac", "-ar", "48000", "-ac", "2", "-b:a", "64k"});
  }
  Append(args, {"-progress", "pipe:1", "-nostats"});
  args.push_back("file:" + request.output);
  return args;
}

}  // namespace frontend
