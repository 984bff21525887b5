#include "convert/EncoderProcesses.h"

#include <tlhelp32.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "ui/MessagePump.h"
#include "ui/UniqueHandle.h"

namespace {

struct ProcessEntry {
  DWORD id;
  DWORD parentId;
  std::string exeName;
};

std::vector<ProcessEntry> TakeSnapshot() {
  std::vector<ProcessEntry> processes;
  ui::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return processes;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot.get(), &entry); more;
       more = Process32Next(snapshot.get(), &entry)) {
    char name[MAX_PATH]{};
    WideCharToMultiByte(CP_ACP, 0, entry.szExeFile, -1, name, MAX_PATH, nullptr, nullptr);
    processes.push_back({entry.th32ProcessID, entry.th32ParentProcessID, name});
  }
  return processes;
}

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  return true;
}

// The snapshot may report a full path; the name is what follows the last separator.
std::string_view FileNamePart(std::string_view exe) {
  size_t slash = exe.find_last_of("\\/");
  return slash == std::string_view::npos ? exe : exe.substr(slash + 1);
}

bool MatchesAny(const std::string& exe, std::initializer_list<std::string_view> names) {
  for (std::string_view name : names)
    if (SameName(FileNamePart(exe), name) || SameName(exe, name)) return true;
  return false;
}

class ProcessTree {
 public:
  explicit ProcessTree(const std::vector<ProcessEntry>& processes) {
    for (const ProcessEntry& p : processes) parentOf_[p.id] = p.parentId;
  }

  bool Descends(DWORD id, DWORD ancestor) const {
    // Parent ids can form loops when ids are reused; the depth limit ends such a walk.
    for (int depth = 0; depth < 64; ++depth) {
      auto parent = parentOf_.find(id);
      if (parent == parentOf_.end() || parent->second == 0 || parent->second == id) return false;
      if (parent->second == ancestor) return true;
      id = parent->second;
    }
    return false;
  }

 private:
  std::unordered_map<DWORD, DWORD> parentOf_;
};

// Terminates the process and keeps a handle to wait for its end.
void Terminate(DWORD id, std::vector<ui::UniqueHandle>& ended) {
  ui::UniqueHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
  if (process && TerminateProcess(process.get(), 0)) ended.push_back(std::move(process));
}

}  // namespace

void StopEncodersBelow(DWORD ancestorProcessId, std::initializer_list<std::string_view> names) {
  std::vector<ProcessEntry> processes = TakeSnapshot();
  ProcessTree tree(processes);
  std::vector<DWORD> encoders;
  for (const ProcessEntry& p : processes)
    if (MatchesAny(p.exeName, names) && tree.Descends(p.id, ancestorProcessId))
      encoders.push_back(p.id);
  // Walk the snapshot from first to last, as the processes were listed; an encoder's own
  // descendants go first so that nothing is left running without its parent.
  std::vector<ui::UniqueHandle> ended;
  for (DWORD encoder : encoders) {
    for (const ProcessEntry& p : processes)
      if (tree.Descends(p.id, encoder)) Terminate(p.id, ended);
    Terminate(encoder, ended);
  }
  // Termination completes a moment later; until then the encoder still holds its output
  // file open, and the run that deletes it next would fail. The windows answer meanwhile.
  for (const ui::UniqueHandle& process : ended) ui::WaitProcessingMessages(process.get(), 2000);
}

void StopOwnEncoders(std::initializer_list<std::string_view> names) {
  StopEncodersBelow(GetCurrentProcessId(), names);
}
