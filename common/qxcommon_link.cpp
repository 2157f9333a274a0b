#include <stdexcept>

#include "common/qxcommon.h"
#include "platform/shell.h"

void TQXCommon::CreateShellLink(const std::string& target, const std::string& linkFile) {
  // The link starts the program in its own folder (with the trailing backslash).
  size_t cut = target.find_last_of('\\');
  std::string folder = cut == std::string::npos ? std::string() : target.substr(0, cut + 1);
  switch (ports_.shell->CreateShellLink(target, folder, linkFile)) {
    case port::Shell::LinkResult::Written:
      return;
    case port::Shell::LinkResult::NoObject:
      throw std::runtime_error(japanese_ ? "ショートカットを作成できません（シェルリンクオブジェクトがありません）。"
                                         : "Unable to create shortcuts: the shell link object is missing.");
    case port::Shell::LinkResult::NotSaved:
      break;
  }
  throw std::runtime_error(japanese_ ? "ショートカット " + linkFile + " を作成できません。"
                                     : "Unable to create the shortcut " + linkFile + ".");
}
