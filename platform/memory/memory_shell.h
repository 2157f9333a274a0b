// Records the programs started, the documents opened and the notifications
// sent. Exec fails as WinExec does for a program that is not there: the test
// names the programs that exist (the first word of the command line, or the
// quoted first part, compared without case). Shell links are files of the
// file-system port the test attaches (a link to a missing folder is not
// saved); the test can play a system without the shell-link object.
#pragma once
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/shell.h"

namespace port {

class MemoryShell : public Shell {
 public:
  uint32_t Exec(const std::string& commandLine, int show) override;
  uintptr_t Open(uintptr_t window, const std::string& verb, const std::string& file,
                 const std::string& parameters, const std::string& directory, int show) override;
  void ChangeNotify(int32_t event, uint32_t flags) override { notifications_.push_back({event, flags}); }

  LinkResult CreateShellLink(const std::string& target, const std::string& workingFolder,
                             const std::string& linkFile) override;
  std::optional<Link> ReadShellLink(const std::string& linkFile) override;

  void AddProgram(const std::string& path);
  void AttachFiles(Files* files) { files_ = files; }
  void SetLinkObjectMissing(bool missing) { linkObjectMissing_ = missing; }

  struct ExecCall {
    std::string commandLine;
    int show;
    bool started;
  };
  struct OpenCall {
    uintptr_t window;
    std::string verb, file, parameters, directory;
    int show;
  };
  struct Notification {
    int32_t event;
    uint32_t flags;
  };
  const std::vector<ExecCall>& Execs() const { return execs_; }
  const std::vector<OpenCall>& Opens() const { return opens_; }
  const std::vector<Notification>& Notifications() const { return notifications_; }

 private:
  std::vector<std::string> programs_;  // upper-cased
  std::vector<ExecCall> execs_;
  std::vector<OpenCall> opens_;
  std::vector<Notification> notifications_;
  Files* files_ = nullptr;
  bool linkObjectMissing_ = false;
};

}  // namespace port
