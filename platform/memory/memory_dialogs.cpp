#include "platform/memory/memory_dialogs.h"

#include <stdexcept>

namespace port {

template <class T>
std::optional<T> MemoryDialogs::Next() {
  if (script_.empty()) return std::nullopt;
  Answer a = script_.front();
  script_.pop_front();
  if (auto* v = std::get_if<T>(&a)) return *v;
  // A script out of step with the program is a test fault: say so loudly.
  throw std::logic_error("memory dialogs: the scripted answer does not fit the dialog shown");
}

MbResult MemoryDialogs::MessageBox(uintptr_t, const std::string& text, const std::string& caption, MbIcon icon,
                                   MbButtons buttons) {
  calls_.push_back({Kind::MessageBox, text, caption, icon, buttons, {}, 0, {}});
  if (auto a = Next<MbResult>()) return *a;
  switch (buttons) {
    case MbButtons::YesNo:
    case MbButtons::YesNoDefaultNo:
    case MbButtons::YesNoCancel: return MbResult::Yes;
    case MbButtons::RetryCancel: return MbResult::Retry;
    case MbButtons::AbortRetryIgnore: return MbResult::Abort;
    default: return MbResult::OK;
  }
}

std::optional<std::string> MemoryDialogs::File(Kind kind, const FileDialogOptions& options) {
  Call c{kind, {}, options.title, MbIcon::None, MbButtons::OK, options, 0, {}};
  calls_.push_back(c);
  if (auto a = Next<std::optional<std::string>>()) return *a;
  return std::nullopt;
}

std::optional<std::string> MemoryDialogs::OpenFile(uintptr_t, const FileDialogOptions& o) { return File(Kind::OpenFile, o); }
std::optional<std::string> MemoryDialogs::SaveFile(uintptr_t, const FileDialogOptions& o) { return File(Kind::SaveFile, o); }
std::optional<std::string> MemoryDialogs::OpenPicture(uintptr_t, const FileDialogOptions& o) {
  return File(Kind::OpenPicture, o);
}

std::optional<uint32_t> MemoryDialogs::ChooseColor(uintptr_t, uint32_t initial) {
  calls_.push_back({Kind::ChooseColor, {}, {}, MbIcon::None, MbButtons::OK, {}, initial, {}});
  if (auto a = Next<std::optional<uint32_t>>()) return *a;
  return std::nullopt;
}

std::optional<std::string> MemoryDialogs::BrowseFolder(uintptr_t, const std::string& title, const std::string& initial) {
  calls_.push_back({Kind::BrowseFolder, {}, title, MbIcon::None, MbButtons::OK, {}, 0, initial});
  if (auto a = Next<std::optional<std::string>>()) return *a;
  return std::nullopt;
}

}  // namespace port
