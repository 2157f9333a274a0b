// The unneeded-file search: the folders of the chosen drives gathered level
// by level, then each folder's files tested against the enabled rules.
#include <algorithm>
#include <chrono>
#include <unordered_map>
#include <utility>

#include "pavrel/main_form.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"

namespace {

const char kCr[] = "\r";

// Characters (code points) of a UTF-8 text, for the step text.
size_t Characters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// The names of one folder that address the same file as another name there
// (the file system compares names without case, and names it could not
// decode come out alike): such a name can reach either file.
class Twins {
 public:
  void Add(const std::string& name) { ++seen_[port::UpperNoCase(name)]; }
  bool Of(const std::string& name) const {
    auto it = seen_.find(port::UpperNoCase(name));
    return it != seen_.end() && it->second > 1;
  }

 private:
  std::unordered_map<std::string, int> seen_;
};

}  // namespace

std::string ExactPath(const std::string& path) { return "\\\\?\\" + path; }

std::string ExclusionKey(std::string folder) {
  for (char& c : folder)
    if (c == '/') c = '\\';
  std::string key;
  for (char c : folder)
    if (c != '\\' || key.empty() || key.back() != '\\') key += c;
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return port::UpperNoCase(key);
}

std::string AsciiUpper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

bool IsUnneeded(const FileRules& rules, const std::string& name, uint32_t attributes) {
  std::string upper = AsciiUpper(name);
  size_t dot = upper.rfind('.');
  std::string ext = dot == std::string::npos ? std::string() : upper.substr(dot);
  bool match = rules.wholeFolder;
  if (rules.backup) match = match || ext == ".BAK" || ext == ".OLD" || (ext.size() > 1 && ext[1] == '$');
  if (rules.temp) match = match || (!upper.empty() && upper[0] == '~') || ext == ".TMP";
  if (rules.gid) match = match || ext == ".GID";
  if (rules.windowsText) match = match || ext == ".TXT";
  if (rules.cluster) match = match || ext == ".CHK";
  if (rules.mscreate) match = match || upper == "MSCREATE.DIR";
  if (!ext.empty())
    for (const std::string& e : rules.extensions) match = match || ext == e;
  if (!match) return false;
  if (upper == "DATA.BAK" || upper == "DESKTOP.INI" || upper == "EDB.CHK") return false;
  return (attributes & port::kAttrSystem) == 0;
}

void TfoMain::sbSearchClick() {
  bool japanese = QX.Japanese();
  CurrentStep = "Search Button Click";
  progressShown_ = 0;
  progress_ = &App().CreateForm<TfoProgress>();
  TfoProgress& progress = *progress_;
  // A click that waits in the queue must not start a second search or a
  // deletion of the rows being replaced.
  sbDeleteFile->SetEnabled(false);
  sbSearch->SetEnabled(false);
  if (!japanese) {
    progress.SwitchToEnglish();
    progress.laProgress->SetCaption(progress.laProgress->Hint());
  }
  progress.Show();
  App().ProcessMessages();
  CurrentStep = "Progress Bar Shown";
  ui::Host* host = App().GetHost();
  if (host) host->Busy(true);

  uint64_t total = 0;
  int count = 0;
  lbDir.clear();
  lbQuestion.clear();

  // The roots. An index that names no entry (a drive gone since it was
  // stored) searches all fixed drives.
  int index = cbDrive->ItemIndex();
  if (index < 0 || index >= cbDrive->Items.Count()) index = 0;
  // A drive the user protects as a whole (D:\ from the folder browser) is
  // not searched.
  std::vector<std::string> excluded;
  for (ui::Edit* e : edFolder) excluded.push_back(ExclusionKey(e->Text()));
  auto addRoot = [&](const std::string& entry) {
    progress.SetCaption(japanese ? "検索準備中" : "Preparing for Search");
    progress.laProgress->SetCaption(entry);
    std::string root = entry.substr(0, 2);
    if (std::find(excluded.begin(), excluded.end(), port::UpperNoCase(root)) != excluded.end()) return;
    lbQuestion.push_back(root);
    lbDir.push_back(root);
  };
  if (index != 0) {
    CurrentStep = "Preparetion of Search for specify drive";
    addRoot(cbDrive->Items[index]);
  } else {
    for (int i = 1; i < cbDrive->Items.Count(); ++i) {
      CurrentStep = "Preparetion of Search for all local drive";
      addRoot(cbDrive->Items[i]);
    }
  }

  // The walk, breadth-first: every folder of one depth before the next.
  CurrentStep = "EnumSubDir Start";
  auto walk = [&] {
    EnumSubDir(edFolder[0]->Text(), edFolder[1]->Text(), edFolder[2]->Text(), edFolder[3]->Text(), edFolder[4]->Text());
  };
  walk();
  while (!lbAnswer.empty()) {
    lbDir.insert(lbDir.end(), lbAnswer.begin(), lbAnswer.end());
    lbQuestion = lbAnswer;
    walk();
  }

  CurrentStep = "EnumSubDir End";
  port::System& system = *App().Ports().system;
  std::stable_sort(lbDir.begin(), lbDir.end(),
                   [&](const std::string& a, const std::string& b) { return system.CompareListText(a, b) < 0; });
  progress.ProgressBar->SetRange(0, static_cast<int>(lbDir.size()));
  lvFile->Clear();

  // The file pass.
  FileRules rules;
  rules.backup = cbBackupFile->Checked();
  rules.temp = cbTempFile->Checked();
  rules.gid = cbGidFile->Checked();
  rules.cluster = cbClusterFile->Checked();
  rules.mscreate = cbMscreateDir->Checked();
  for (ui::Edit* e : edExt) rules.extensions.push_back("." + AsciiUpper(e->Text()));
  std::string recentDir = AsciiUpper(QX.RecentDir()), winDir = AsciiUpper(QX.WinDir());
  std::string tempDir = AsciiUpper(WindowsTempDir);
  bool recently = cbRecentlyFile->Checked(), windowsText = cbWindowsTextFile->Checked();
  bool windowsTemp = cbWindowsTempFile->Checked();
  port::Files& files = *App().Ports().files;
  int passed = 0;  // the bar's steps, one a folder
  std::vector<std::string> names;           // every name of the folder
  std::vector<port::FolderEntry> matches;  // its files that the rules take
  for (const std::string& folder : lbDir) {
    CurrentStep = "Search loop";
    progress.SetCaption(japanese ? "検索中" : "Now Searching ...");
    ++passed;
    if (ProgressDue()) {
      progress.laProgress->SetCaption(folder);
      if (host) host->Repaint(*progress.laProgress);
      progress.ProgressBar->SetPosition(passed);
    }
    CurrentStep = "Search loop Dir=" + folder;
    std::string upper = AsciiUpper(folder);
    rules.wholeFolder = (recently && upper == recentDir) || (windowsTemp && upper == tempDir);
    rules.windowsText = windowsText && upper == winDir;
    std::string shown = folder.back() == '\\' ? folder : folder + "\\";
    names.clear();
    matches.clear();
    // The folder as written, so that D:\dd. is never listed as D:\dd.
    files.ForEachEntry(ExactPath(shown), [&](const port::FolderEntry& entry) {
      CurrentStep = "Search repeat";
      names.push_back(entry.name);
      if (entry.attributes & port::kAttrDirectory) return true;
      // A name that no path can address exactly is never offered for deletion.
      if (entry.exact && IsUnneeded(rules, entry.name, entry.attributes)) matches.push_back(entry);
      return true;
    });
    if (matches.empty()) continue;
    Twins twins;
    for (const std::string& name : names) twins.Add(name);
    for (const port::FolderEntry& entry : matches) {
      if (twins.Of(entry.name)) continue;
      int row = lvFile->AddItem(entry.name, -1, {shown, std::to_string(entry.size)});
      lvFile->SetItemChecked(row, true);
      total += entry.size;
      ++count;
    }
  }

  CurrentStep = "Search End";
  std::string kb = std::to_string(total / 1024);
  laResult->SetCaption(japanese ? "合計：" + std::to_string(count) + "ファイル，" + kb + "キロバイト"
                                : "Total:" + std::to_string(count) + " files, " + kb + "(KB)");
  if (host) host->Busy(false);
  CurrentStep = "Progress Bar Free";
  if (count > 0) sbDeleteFile->SetEnabled(true);
  sbSearch->SetEnabled(true);
  progress.Hide();
  progress.Release();
  progress_ = nullptr;
}

// The progress window shows the folder under way some twenty times a
// second: painting it for each of many thousand folders would cost the
// search many times what its enumerations cost.
bool TfoMain::ProgressDue() {
  auto now = std::chrono::steady_clock::now().time_since_epoch();
  int64_t ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
  if (progressShown_ != 0 && ms - progressShown_ < 50) return false;
  progressShown_ = ms;
  return true;
}

void TfoMain::EnumSubDir(const std::string& folder1, const std::string& folder2, const std::string& folder3,
                         const std::string& folder4, const std::string& folder5) {
  CurrentStep = "Before loop step in EnumSubDir";
  lbAnswer.clear();
  // The folders as Windows compares them: a trailing backslash or another
  // letter case names the same folder.
  const std::string excluded[] = {ExclusionKey(folder1), ExclusionKey(folder2), ExclusionKey(folder3),
                                  ExclusionKey(folder4), ExclusionKey(folder5), ExclusionKey(PchealthDir),
                                  ExclusionKey(DownloadedDir)};
  port::Files& files = *App().Ports().files;
  bool japanese = QX.Japanese();
  std::string path;
  std::vector<std::string> names, folders;
  for (std::string& entry : lbQuestion) {
    CurrentStep = "Loop step in EnumSubDir - " + entry + kCr + "Length=" + std::to_string(Characters(entry));
    if (entry.empty() || entry.back() != '\\') entry += '\\';
    CurrentStep += kCr;
    CurrentStep += "FindFirst Start" + entry;
    names.clear();
    folders.clear();
    // The folder as written: D:\dd.\ must not list D:\dd.
    files.ForEachEntry(ExactPath(entry), [&](const port::FolderEntry& found) {
      path.assign(entry).append(found.name);
      CurrentStep.assign("repeat step in EnumSubDir").append(entry).append(kCr).append(path);
      if (found.name == "." || found.name == "..") return true;
      names.push_back(found.name);
      if (!(found.attributes & port::kAttrDirectory)) return true;
      // A junction or mounted folder is never entered: it could lead back up
      // the tree, into an excluded folder or onto another drive. Nor is a
      // folder whose name no path gives back.
      if ((found.attributes & port::kAttrReparsePoint) || !found.exact) return true;
      folders.push_back(found.name);
      return true;
    });
    if (folders.empty()) continue;
    Twins twins;
    for (const std::string& name : names) twins.Add(name);
    for (const std::string& name : folders) {
      if (twins.Of(name)) continue;
      path.assign(entry).append(name);
      std::string key = port::UpperNoCase(path);
      if (std::find(std::begin(excluded), std::end(excluded), key) != std::end(excluded)) continue;
      lbAnswer.push_back(path);
      if (progress_ && ProgressDue()) {
        progress_->SetCaption(japanese ? "フォルダ構造取得中" : "Getting structure of folder");
        progress_->laProgress->SetCaption(path);
        if (ui::Host* host = App().GetHost()) host->Repaint(*progress_->laProgress);
      }
    }
  }
}
