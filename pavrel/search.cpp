// The unneeded-file search: the folders of the chosen drives gathered level
// by level, then each folder's files tested against the enabled rules.
#include <algorithm>
#include <chrono>
#include <utility>

#include "pavrel/main_form.h"
#include "platform/files.h"

namespace {

const char kCr[] = "\r";

// Characters (code points) of a UTF-8 text, for the step text.
size_t Characters(const std::string& s) {
  size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

// The list's sorted order: letters without case, and a folder right before
// the folders below it.
std::string SortKey(const std::string& folder) {
  std::string key = AsciiUpper(folder);
  for (char& c : key)
    if (c == '\\') c = '\x01';
  return key;
}

}  // namespace

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
  sbDeleteFile->SetEnabled(false);
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
  auto addRoot = [&](const std::string& entry) {
    progress.SetCaption(japanese ? "検索準備中" : "Preparing for Search");
    progress.laProgress->SetCaption(entry);
    lbQuestion.push_back(entry.substr(0, 2));
    lbDir.push_back(entry.substr(0, 2));
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
  std::vector<std::pair<std::string, std::string>> keyed;
  keyed.reserve(lbDir.size());
  for (std::string& d : lbDir) keyed.emplace_back(SortKey(d), std::move(d));
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < keyed.size(); ++i) lbDir[i] = std::move(keyed[i].second);
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
    files.ForEachEntry(folder, [&](const port::FolderEntry& entry) {
      CurrentStep = "Search repeat";
      if (entry.attributes & port::kAttrDirectory) return true;
      // A name that no path can address exactly is never offered for deletion.
      if (!entry.exact || !IsUnneeded(rules, entry.name, entry.attributes)) return true;
      int row = lvFile->AddItem(entry.name, -1, {shown, std::to_string(entry.size)});
      lvFile->SetItemChecked(row, true);
      total += entry.size;
      ++count;
      return true;
    });
  }

  CurrentStep = "Search End";
  std::string kb = std::to_string(total / 1024);
  laResult->SetCaption(japanese ? "合計：" + std::to_string(count) + "ファイル，" + kb + "キロバイト"
                                : "Total:" + std::to_string(count) + " files, " + kb + "(KB)");
  if (host) host->Busy(false);
  CurrentStep = "Progress Bar Free";
  if (count > 0) sbDeleteFile->SetEnabled(true);
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
  const std::string excluded[] = {AsciiUpper(folder1), AsciiUpper(folder2), AsciiUpper(folder3), AsciiUpper(folder4),
                                  AsciiUpper(folder5), AsciiUpper(PchealthDir), AsciiUpper(DownloadedDir)};
  port::Files& files = *App().Ports().files;
  bool japanese = QX.Japanese();
  std::string path;
  for (std::string& entry : lbQuestion) {
    CurrentStep = "Loop step in EnumSubDir - " + entry + kCr + "Length=" + std::to_string(Characters(entry));
    if (entry.empty() || entry.back() != '\\') entry += '\\';
    CurrentStep += kCr;
    CurrentStep += "FindFirst Start" + entry;
    files.ForEachEntry(entry, [&](const port::FolderEntry& found) {
      path.assign(entry).append(found.name);
      CurrentStep.assign("repeat step in EnumSubDir").append(entry).append(kCr).append(path);
      if (!(found.attributes & port::kAttrDirectory) || found.name == "." || found.name == "..") return true;
      // A junction or mounted folder is never entered: it could lead back up
      // the tree, into an excluded folder or onto another drive.
      if (found.attributes & port::kAttrReparsePoint) return true;
      std::string upper = AsciiUpper(path);
      for (const std::string& x : excluded)
        if (upper == x) return true;
      lbAnswer.push_back(path);
      if (progress_ && ProgressDue()) {
        progress_->SetCaption(japanese ? "フォルダ構造取得中" : "Getting structure of folder");
        progress_->laProgress->SetCaption(path);
        if (ui::Host* host = App().GetHost()) host->Repaint(*progress_->laProgress);
      }
      return true;
    });
  }
}
