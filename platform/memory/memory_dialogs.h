// Message boxes and common dialogs that record every call and answer from
// a script the test sets. An empty script answers a message box with its
// first button (OK, Yes, Retry or Abort) and cancels every dialog.
#pragma once
#include <deque>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/dialogs.h"

namespace port {

class MemoryDialogs : public Dialogs {
 public:
  MbResult MessageBox(uintptr_t owner, const std::string& text, const std::string& caption, MbIcon icon,
                      MbButtons buttons) override;
  std::optional<std::string> OpenFile(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<std::string> SaveFile(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<std::string> OpenPicture(uintptr_t owner, const FileDialogOptions& options) override;
  std::optional<uint32_t> ChooseColor(uintptr_t owner, uint32_t initial) override;
  std::optional<std::string> BrowseFolder(uintptr_t owner, const std::string& title,
                                          const std::string& initial) override;

  enum class Kind { MessageBox, OpenFile, SaveFile, OpenPicture, ChooseColor, BrowseFolder };
  struct Call {
    Kind kind;
    std::string text, caption;  // message box; title of a dialog in caption
    MbIcon icon = MbIcon::None;
    MbButtons buttons = MbButtons::OK;
    FileDialogOptions file;     // file dialogs
    uint32_t color = 0;         // colour dialog preset
    std::string initial;        // folder browser preselection
  };
  const std::vector<Call>& Calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // Answers, taken in order. A message box takes an MbResult; a file dialog
  // or the folder browser a path (nullopt: cancel); the colour dialog a colour.
  using Answer = std::variant<MbResult, std::optional<std::string>, std::optional<uint32_t>>;
  void Script(Answer answer) { script_.push_back(std::move(answer)); }
  void Cancel() { script_.push_back(std::optional<std::string>{}); }
  size_t Unanswered() const { return script_.size(); }

 private:
  template <class T>
  std::optional<T> Next();
  std::optional<std::string> File(Kind kind, const FileDialogOptions& options);
  std::vector<Call> calls_;
  std::deque<Answer> script_;
};

}  // namespace port
