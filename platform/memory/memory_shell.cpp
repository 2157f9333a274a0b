#include "platform/memory/memory_shell.h"

#include <algorithm>

#include "platform/text.h"

namespace port {

namespace {
constexpr uint32_t kFileNotFound = 2;  // what WinExec returns for a missing program

// The program part of a command line: the quoted first part, else up to the
// first blank.
std::string ProgramOf(const std::string& line) {
  if (!line.empty() && line[0] == '"') {
    size_t end = line.find('"', 1);
    return line.substr(1, end == std::string::npos ? std::string::npos : end - 1);
  }
  return line.substr(0, line.find(' '));
}
}  // namespace

void MemoryShell::AddProgram(const std::string& path) { programs_.push_back(UpperNoCase(path)); }

uint32_t MemoryShell::Exec(const std::string& commandLine, int show) {
  std::string program = UpperNoCase(ProgramOf(commandLine));
  bool started = std::find(programs_.begin(), programs_.end(), program) != programs_.end();
  execs_.push_back({commandLine, show, started});
  return started ? 33 : kFileNotFound;
}

uintptr_t MemoryShell::Open(uintptr_t window, const std::string& verb, const std::string& file,
                            const std::string& parameters, const std::string& directory, int show) {
  opens_.push_back({window, verb, file, parameters, directory, show});
  return 42;
}

}  // namespace port
