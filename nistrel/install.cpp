// The install and uninstall steps of the installer's window.
#include <stdexcept>

#include "nistrel/main_form.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kSuiteKey[] = "Software\\Tazet\\Tolvane";
// The components in the order the steps copy and link them, with the box of each.
const char* const kComponents[] = {"Tolvane", "pavrel", "Mortavel", "Quenlish"};
// The keys of earlier versions that an install removes, in this order.
const char* const kOldKeys[][2] = {
    {"HKCU", "Software\\Tazet"},
    {"HKLM", "SOFTWARE\\tazet\\トルヴァネ ver4.1 for Windows95"},
    {"HKLM", "SOFTWARE\\tazet\\トルヴァネ ver4.2 for Windows98"},
};
const char* const kOldEntries[] = {"TOLVANE411", "TOLVANE412", "TOLVANE413", "TOLVANE43", "TOLVANE431"};

// A folder's path as the file system resolves it, for telling whether two
// texts name one folder: one separator, no "." or "..", no trailing
// backslash, letters without case.
std::string FolderKey(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  std::vector<std::string> parts;
  size_t at = 0;
  std::string head;
  if (p.size() >= 2 && p[1] == ':') {
    head = p.substr(0, 2);
    at = 2;
  }
  while (at <= p.size()) {
    size_t end = p.find('\\', at);
    if (end == std::string::npos) end = p.size();
    std::string part = p.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  for (const std::string& part : parts) head += "\\" + part;
  return port::UpperNoCase(head);
}

}  // namespace

// Reads the list file whole and refuses a missing one, a file that holds
// none of the installer's sections, or a value that would lead outside its
// folder: the installer runs with administrator rights.
void TfoMain::OpenList() {
  port::Files& files = *App().Ports().files;
  if (!files.FileExists(ListFile))
    throw std::runtime_error(Say("インストールリスト " + ListFile + " が見つかりません。",
                                 "The list file " + ListFile + " is missing."));
  list_.Read(*App().Ports().profile, ListFile);
  if (!list_.HoldsAnySection())
    throw std::runtime_error(Say("インストールリスト " + ListFile + " にはインストーラのセクションがひとつもありません。",
                                 "The list file " + ListFile + " holds none of the installer's sections."));
  if (auto bad = list_.FirstUnsafeEntry())
    throw std::runtime_error(Say(ListFile + " の " + *bad + " はフォルダの外を指すため使えません。",
                                 "The entry " + *bad + " of " + ListFile + " leads outside its folder."));
}

// A list the install can finish with: every section it copies is there, and
// the installer and the list itself are copied, for the uninstall entry
// starts the installed installer, which reads the list beside it.
void TfoMain::CheckList(const std::vector<std::string>& sections) {
  std::string missing;
  for (const std::string& section : sections)
    if (!list_.Section(section).present) missing += (missing.empty() ? "[" : Say("]、[", "], [")) + section;
  if (!missing.empty())
    throw std::runtime_error(Say("インストールリスト " + ListFile + " に必要なセクションがありません: " + missing + "]。",
                                 "The list file " + ListFile + " lacks the sections it needs: " + missing + "]."));
  std::string unlisted;
  for (const char* own : {"nistrel.exe", "nistrel.ini"})
    if (!list_.Lists(sections, own)) unlisted += (unlisted.empty() ? "" : Say("、", " and ")) + std::string(own);
  if (!unlisted.empty())
    throw std::runtime_error(
        Say("インストールリスト " + ListFile + " は " + unlisted + " をインストールしません（アンインストールに必要です）。",
            "The list file " + ListFile + " does not install " + unlisted + ", which the uninstall needs."));
}

// Every file that the install will copy must be there before anything changes.
void TfoMain::CheckSources(const std::vector<std::string>& sections) {
  port::Files& files = *App().Ports().files;
  for (const std::string& section : sections) {
    for (const std::string& file : list_.Section(section).files) {
      std::string source = SourceDir + "\\" + file;
      if (!files.FileExists(source))
        throw std::runtime_error(Say("ファイル " + source + " が見つかりません。", "The file " + source + " is missing."));
    }
  }
}

// The installation folder with any missing parents.
void TfoMain::MakeInstallDir() {
  port::Files& files = *App().Ports().files;
  auto refuse = [&](const std::string& folder) {
    return std::runtime_error(Say("フォルダ " + folder + " を作成できません。", "Unable to create directory " + folder + "."));
  };
  if (InstallDir.empty())
    throw std::runtime_error(Say("インストール先のフォルダを作成できません（フォルダ名が空です）。",
                                 "Unable to create the installation folder: its name is empty."));
  if (files.FolderExists(InstallDir)) return;
  std::string path = InstallDir;
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
  std::vector<std::string> missing;
  for (std::string p = path; !p.empty() && !files.FolderExists(p);) {
    missing.push_back(p);
    size_t cut = p.find_last_of("\\/");
    if (cut == std::string::npos || cut < 2 || (cut == 2 && p[1] == ':')) break;
    p = p.substr(0, cut);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it)
    if (!files.FolderExists(*it) && !files.MakeFolder(*it)) throw refuse(*it);
}

std::string TfoMain::ShortcutName(const std::string& section) const {
  const nistrel::ListSection& s = list_.Section(section);
  return QX.Japanese() ? s.ja : s.en;
}

void TfoMain::SubDeleteShortcut(const std::string& folder, const std::string& section) {
  std::string name = ShortcutName(section);
  if (name.empty()) return;  // no shortcut of that section was ever made
  App().Ports().files->RemoveFile(folder + "\\" + name + ".LNK");
}

void TfoMain::SubDeleteFile(const std::string& folder, const std::string& section) {
  for (const std::string& file : list_.Section(section).files) App().Ports().files->RemoveFile(folder + "\\" + file);
}

void TfoMain::SubCopyFile(const std::string& fromFolder, const std::string& section) {
  port::Files& files = *App().Ports().files;
  // Installing from the installation folder itself: every file is in place.
  if (FolderKey(fromFolder) == FolderKey(InstallDir)) return;
  for (const std::string& file : list_.Section(section).files) {
    std::string source = fromFolder + "\\" + file, target = InstallDir + "\\" + file;
    files.SetAttributes(target, port::kAttrArchive);  // a read-only copy of an earlier install is replaced
    if (!files.CopyFile(source, target, true))
      throw std::runtime_error(Say(source + " を " + target + " にコピーできません。",
                                   "Unable to copy " + source + " to " + target + "."));
  }
}

void TfoMain::SubCreateShortcut(const std::string& folder, const std::string& section) {
  std::string name = ShortcutName(section);
  const std::vector<std::string>& files = list_.Section(section).files;
  if (name.empty() || files.empty()) return;  // nothing to start, or no name to show
  QX.CreateShellLink(edFolder->Text() + "\\" + files.front(), folder + "\\" + name + ".LNK");
}

void TfoMain::SubInstall() {
  port::Files& files = *App().Ports().files;
  OpenList();
  std::vector<std::string> copied = {CommonSection()};
  const bool ticked[] = {Chosen.tolvane, Chosen.pavrel, Chosen.mortavel, Chosen.quenlish};
  for (int i = 0; i < 4; ++i)
    if (ticked[i]) copied.push_back(kComponents[i]);
  CheckList(copied);
  CheckSources(copied);

  MakeInstallDir();
  SubDeleteFile(InstallDir, "DeleteFile");
  for (const std::string& section : copied) SubCopyFile(SourceDir, section);

  if (files.FolderExists(MenuDir)) {
    for (const char* section : {"Tolvane", "Brisken", "pavrel", "Mortavel", "Quenlish", "Common"})
      SubDeleteShortcut(MenuDir, section);
    SubDeleteShortcut(MenuDir, CommonSection());
    files.RemoveFolder(MenuDir);  // only when nothing else is left in it
  }
  SubDeleteShortcut(QX.DesktopDir(), "Tolvane");

  if (Chosen.startMenu) {
    if (!files.FolderExists(MenuDir) && !files.MakeFolder(MenuDir))
      throw std::runtime_error(
          Say("フォルダ " + MenuDir + " を作成できません。", "Unable to create directory " + MenuDir + "."));
    for (int i = 0; i < 4; ++i)
      if (ticked[i]) SubCreateShortcut(MenuDir, kComponents[i]);
    SubCreateShortcut(MenuDir, CommonSection());
  }
  if (Chosen.desktop && Chosen.tolvane) SubCreateShortcut(QX.DesktopDir(), "Tolvane");

  // The uninstall entry starts the installed installer: without it in place
  // the entry would start nothing, so no registry step runs.
  std::string uninstaller = InstallDir + "\\NISTREL.EXE";
  if (!files.FileExists(uninstaller))
    throw std::runtime_error(Say("アンインストーラ " + uninstaller + " がないため、アンインストール情報を登録できません。",
                                 "The uninstaller " + uninstaller + " is not in place: no uninstall entry is written."));

  for (const auto& key : kOldKeys) QX.DeleteRegKey(key[0], key[1]);
  for (const char* entry : kOldEntries) QX.DeleteRegKey("HKLM", std::string(kUninstallKey) + "\\" + entry);

  std::string entry = std::string(kUninstallKey) + "\\TOLVANE";
  QX.WriteRegString("HKLM", entry, "DisplayName", App().Title());
  // Quoted, so that a folder with blanks cannot start another program.
  QX.WriteRegString("HKLM", entry, "UninstallString", "\"" + InstallDir + "\\NISTREL.EXE\" /U");
  QX.WriteRegString("HKLM", entry, "InstallLocation", InstallDir);
  QX.WriteRegString("HKLM", entry, "Publisher", "Tazet");
  QX.WriteRegString("HKLM", kSuiteKey, "InstalledDir", InstallDir);
  QX.WriteRegInteger("HKLM", kSuiteKey, "RestorePointCreated", 0);
}

// Removes what the list names from the folder the uninstaller runs from,
// whatever was chosen at install; the folder, the suite key and every file
// not listed stay.
void TfoMain::SubUninstall() {
  port::Files& files = *App().Ports().files;
  OpenList();
  const char* const sections[] = {"Tolvane", "Brisken", "pavrel", "Mortavel", "Quenlish", "Common", CommonSection()};
  for (const char* section : sections) SubDeleteShortcut(MenuDir, section);
  files.RemoveFolder(MenuDir);
  SubDeleteShortcut(QX.DesktopDir(), "Tolvane");
  for (const char* section : sections) SubDeleteFile(SourceDir, section);
  QX.DeleteRegKey("HKLM", std::string("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TOLVANE"));
}
