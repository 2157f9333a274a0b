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

// A memory link file: this first line, then the target and the working folder.
constexpr char kLinkHeader[] = "memory shell link\n";
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

Shell::LinkResult MemoryShell::CreateShellLink(const std::string& target, const std::string& workingFolder,
                                              const std::string& linkFile) {
  if (linkObjectMissing_) return LinkResult::NoObject;
  if (!files_ || !files_->WriteAll(linkFile, kLinkHeader + target + "\n" + workingFolder + "\n"))
    return LinkResult::NotSaved;
  return LinkResult::Written;
}

std::optional<Shell::Link> MemoryShell::ReadShellLink(const std::string& linkFile) {
  std::optional<std::string> bytes = files_ ? files_->ReadAll(linkFile) : std::nullopt;
  std::string header = kLinkHeader;
  if (!bytes || bytes->rfind(header, 0) != 0) return std::nullopt;
  std::string rest = bytes->substr(header.size());
  size_t cut = rest.find('\n');
  if (cut == std::string::npos) return std::nullopt;
  std::string folder = rest.substr(cut + 1);
  if (!folder.empty() && folder.back() == '\n') folder.pop_back();
  return Link{rest.substr(0, cut), folder};
}

}  // namespace port
