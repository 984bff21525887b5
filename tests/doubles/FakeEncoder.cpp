// A scripted stand-in for an encoder. It reads "<its own exe path>.script" and carries out one
// command per line; copy it under any encoder name. Commands:
//   out TEXT      write TEXT to standard output as one flushed write (escapes: \r \n \t \\ \xHH)
//   err TEXT      the same on standard error
//   bytes N C     write N bytes of the character C (escapes as above) in one write
//   sleep MS      wait
//   output TEXT   write TEXT into the output file (the command line's last quoted argument)
//   report        write the end-of-run report of the encoder it is named as, on a line of its
//                 own: "video:... muxing overhead ..." for the ffmpeg names, "Video stream: ..."
//                 for mencoder.exe; a successful encoder prints it after its output is written
//   exit CODE     end with CODE (default 0 at the end of the script)
//   exitif TEXT CODE  end with CODE when the command line contains TEXT
//   checksource CODE  end with CODE when the source (the second quoted argument) cannot be read,
//                 through the wide command line or through the ANSI one as an ANSI program
//                 reads it (the source in the ANSI code page's form, or its short name)
//   checkwidesource CODE  the same through the wide command line only: for a source that
//                 the test left without any ANSI form (no short names)
// Every start appends its command line, as the ANSI code page writes it, to "<exe path>.log".
// Files are otherwise reached by the wide command line, so that paths without an ANSI form
// work too.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    char c = text[++i];
    if (c == 'r')
      out += '\r';
    else if (c == 'n')
      out += '\n';
    else if (c == 't')
      out += '\t';
    else if (c == 'x' && i + 2 < text.size()) {
      out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
      i += 2;
    } else
      out += c;
  }
  return out;
}

void WriteAll(HANDLE handle, const std::string& text) {
  DWORD written = 0;
  WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  FlushFileBuffers(handle);
}

// The last double-quoted argument of the command line: where the real encoders write.
std::wstring OutputPathOf(const std::wstring& commandLine) {
  size_t close = commandLine.rfind(L'"');
  if (close == std::wstring::npos || close == 0) return {};
  size_t open = commandLine.rfind(L'"', close - 1);
  if (open == std::wstring::npos) return {};
  return commandLine.substr(open + 1, close - open - 1);
}

// The second double-quoted argument: the source, after the program's own path.
template <typename String>
String SourcePathOf(const String& commandLine) {
  size_t open = commandLine.find('"');
  for (int argument = 0; open != String::npos; ++argument) {
    size_t close = commandLine.find('"', open + 1);
    if (close == String::npos) break;
    if (argument == 1) return commandLine.substr(open + 1, close - open - 1);
    open = commandLine.find('"', close + 1);
  }
  return {};
}

}  // namespace

int main() {
  wchar_t exePath[MAX_PATH]{};
  GetModuleFileNameW(nullptr, exePath, MAX_PATH);
  std::wstring self = exePath;
  std::string commandLine = GetCommandLineA();
  std::wstring wideCommandLine = GetCommandLineW();
  {
    std::ofstream log(std::filesystem::path(self + L".log"), std::ios::app | std::ios::binary);
    log << commandLine << "\n";
  }
  std::ifstream script(std::filesystem::path(self + L".script"), std::ios::binary);
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  std::string line;
  while (std::getline(script, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string command = line.substr(0, line.find(' '));
    std::string argument = line.size() > command.size() ? line.substr(command.size() + 1) : "";
    if (command == "out") {
      WriteAll(out, Unescape(argument));
    } else if (command == "err") {
      WriteAll(err, Unescape(argument));
    } else if (command == "bytes") {
      size_t blank = argument.find(' ');
      std::string c = blank == std::string::npos ? "x" : Unescape(argument.substr(blank + 1));
      WriteAll(out,
               std::string(std::strtoul(argument.c_str(), nullptr, 10), c.empty() ? 'x' : c[0]));
    } else if (command == "sleep") {
      Sleep(static_cast<DWORD>(std::atoi(argument.c_str())));
    } else if (command == "output") {
      std::ofstream file(std::filesystem::path(OutputPathOf(wideCommandLine)), std::ios::binary);
      file << Unescape(argument);
    } else if (command == "report") {
      std::wstring name = self.substr(self.find_last_of(L'\\') + 1);
      bool mencoder = _wcsicmp(name.c_str(), L"mencoder.exe") == 0;
      WriteAll(out, mencoder
                        ? "\r\nVideo stream:  456.789 kbit/s  (57098 B/s)  size: 1234567 bytes  "
                          "21.622 secs  541 frames\r\n"
                        : "\r\nvideo:1234kB audio:567kB subtitle:0kB other streams:0kB global "
                          "headers:0kB muxing overhead: 1.234567%\r\n");
    } else if (command == "checksource" || command == "checkwidesource") {
      if (GetFileAttributesW(SourcePathOf(wideCommandLine).c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::atoi(argument.c_str());
      // A line made in another code page than the one Wine converts it with still has the
      // right wide form, but an ANSI program gets a name that is not the file's.
      if (command == "checksource" &&
          GetFileAttributesA(SourcePathOf(commandLine).c_str()) == INVALID_FILE_ATTRIBUTES)
        return std::atoi(argument.c_str());
    } else if (command == "exitif") {
      size_t blank = argument.rfind(' ');
      if (blank != std::string::npos &&
          commandLine.find(argument.substr(0, blank)) != std::string::npos)
        return std::atoi(argument.c_str() + blank + 1);
    } else if (command == "exit") {
      return std::atoi(argument.c_str());
    }
  }
  return 0;
}
