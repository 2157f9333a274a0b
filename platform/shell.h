// The shell services the settings tool calls: starting a program from a
// command line, opening a document or an address, and telling the shell that
// associations changed; and the installer's shell links.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace port {

constexpr int kShowNormal = 1;                 // SW_SHOWNORMAL
constexpr int32_t kShcneAssocChanged = 0x08000000;  // SHCNE_ASSOCCHANGED
constexpr uint32_t kShcnfFlush = 0x1000;            // SHCNF_FLUSH

class Shell {
 public:
  virtual ~Shell() = default;
  // WinExec(commandLine, show): starts the program without waiting. Returns
  // a value above 31 when it started, else the error code.
  virtual uint32_t Exec(const std::string& commandLine, int show) = 0;
  // ShellExecute(window, verb, file, parameters, directory, show); an empty
  // verb, parameters or directory is passed as none. Returns a value above
  // 32 when it succeeded.
  virtual uintptr_t Open(uintptr_t window, const std::string& verb, const std::string& file,
                         const std::string& parameters, const std::string& directory, int show) = 0;
  // SHChangeNotify(event, flags, no items).
  virtual void ChangeNotify(int32_t event, uint32_t flags) = 0;

  // The shell-link object and its file persistence: writes linkFile as a
  // link that starts target in workingFolder, with no description,
  // arguments, icon, hot key or show command; an existing file of that name
  // is replaced. The program initialises COM on its thread first.
  enum class LinkResult { Written, NoObject, NotSaved };
  virtual LinkResult CreateShellLink(const std::string& target, const std::string& workingFolder,
                                     const std::string& linkFile) = 0;
  struct Link {
    std::string target, workingFolder;
  };
  // What a link file names; nullopt when the file is missing or no link.
  virtual std::optional<Link> ReadShellLink(const std::string& linkFile) = 0;
};

}  // namespace port
