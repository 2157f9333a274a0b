#include "pavrel/main_form.h"

#include <charconv>

#include "platform/files.h"
#include "platform/system.h"

namespace {

const char kKey[] = "Software\\Tazet\\pavrel";
const char kCr[] = "\r";

// The rule boxes as the settings store them, in the order of reading.
struct BoxSetting {
  const char* value;
  ui::CheckBox* TfoMain::*box;
  int32_t absent;
};
const BoxSetting kBoxes[] = {
    {"BackupFile", &TfoMain::cbBackupFile, 1},       {"TempFile", &TfoMain::cbTempFile, 1},
    {"RecentlyFile", &TfoMain::cbRecentlyFile, 1},   {"GidFile", &TfoMain::cbGidFile, 1},
    {"WindowsTextFile", &TfoMain::cbWindowsTextFile, 0}, {"WindowsTempFile", &TfoMain::cbWindowsTempFile, 1},
    {"ClusterFile", &TfoMain::cbClusterFile, 0},     {"Mscreate.Dir", &TfoMain::cbMscreateDir, 0},
};
const char* const kExtValues[10] = {"Ext1", "Ext2", "Ext3", "Ext4", "Ext5", "Ext6", "Ext7", "Ext8", "Ext9", "ExtA"};
const char* const kExtNames[10] = {"edExt1", "edExt2", "edExt3", "edExt4", "edExt5",
                                   "edExt6", "edExt7", "edExt8", "edExt9", "edExtA"};

// A decimal size as a result row holds it; 0 when it cannot be read.
uint64_t SizeOf(const std::string& text) {
  uint64_t v = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
  return ec == std::errc() && end == text.data() + text.size() ? v : 0;
}

}  // namespace

TfoProgress::TfoProgress(ui::Application& app) : ui::Form(app, "foProgress") {
  Border = ui::BorderStyle::Dialog;
  BorderIcons = 0;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(320, 92);
  SetCaption("検索状況");
  SetHint("Progress ...");
  laProgress = &Add<ui::Label>("laProgress", {8, 8, 304, 44});
  laProgress->WordWrap = true;
  ProgressBar = &Add<ui::ProgressBar>("ProgressBar", {8, 62, 304, 18});
  ProgressBar->Smooth = true;
  ProgressBar->Step = 1;
}

TfoMain::TfoMain(ui::Application& app) : ui::Form(app, "foMain"), QX(app.Ports()) {
  Border = ui::BorderStyle::Single;
  BorderIcons = ui::biSystemMenu;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(592, 413);
  SetCaption("パヴレル ver6.01 for Windows");
  SetHint("Vennick ver6.01 for Windows");

  pcMain = &Add<ui::PageControl>("pcMain", {0, 0, 592, 413});
  pcMain->SetAlign(ui::Align::Client);
  tsMain = &pcMain->Add<ui::TabSheet>("tsMain", {}, "メイン", "Main");
  cbDrive = &tsMain->Add<ui::ComboBox>("cbDrive", {8, 10, 472, 21});
  sbSearch = &tsMain->Add<ui::SpeedButton>("sbSearch", {488, 8, 88, 25}, "  検索開始", " Search");
  lvFile = &tsMain->Add<ui::ListView>("lvFile", {8, 40, 568, 286});
  lvFile->Style = ui::ViewStyle::Report;
  lvFile->Checkboxes = true;
  lvFile->RowSelect = true;
  lvFile->Columns = {{"ファイル名", 120}, {"パス名", 330}, {"サイズ", 90, ui::Alignment::Right}};
  laResult = &tsMain->Add<ui::Label>("laResult", {8, 334, 568, 16});
  sbDeleteFile = &tsMain->Add<ui::SpeedButton>("sbDeleteFile", {296, 354, 88, 25}, "  削除", " Remove");
  sbDeleteFile->SetEnabled(false);
  sbHelp = &tsMain->Add<ui::SpeedButton>("sbHelp", {392, 354, 88, 25}, "  ヘルプ", " Help");
  sbClose = &tsMain->Add<ui::SpeedButton>("sbClose", {488, 354, 88, 25}, "  閉じる", " Close");

  tsSetting = &pcMain->Add<ui::TabSheet>("tsSetting", {}, "設定", "Setting");
  int y = 6;
  auto box = [&](const char* name, const char* ja, const char* en) {
    ui::CheckBox* b = &tsSetting->Add<ui::CheckBox>(name, {12, y, 560, 17}, ja, en);
    y += 19;
    return b;
  };
  cbBackupFile = box("cbBackupFile", "バックアップファイル「*.BAK」「*.OLD」「*.$*」を削除対象にする",
                     "Remove Backup-file. (*.BAK, *.OLD, *.$*)");
  cbTempFile = box("cbTempFile", "テンポラリファイル「~*.*」「*.TMP」を削除対象にする", "Remove temporary files. (~*.*, *.TMP)");
  cbRecentlyFile = box("cbRecentlyFile", "最近使ったファイル一覧を削除対象にする",
                       "Remove automatic created shortcut of recently used documents.");
  cbGidFile = box("cbGidFile", "ヘルプキャッシュファイル「*.GID」を削除対象にする", "Remove cache file of help. (*.GID)");
  cbWindowsTextFile = box("cbWindowsTextFile", "Windowsフォルダ内テキストファイルを削除対象にする",
                          "Remove text file within Windows folder.");
  cbWindowsTempFile = box("cbWindowsTempFile", "Windowsフォルダ内Tempフォルダ内のファイル",
                          "Remove files within \\Windows\\Temp folder.");
  cbClusterFile = box("cbClusterFile", "破損クラスタファイル「*.CHK」を削除対象にする", "Remove cluster files. (*.CHK)");
  cbMscreateDir = box("cbMscreateDir", "MSCREATE.DIRを削除対象にする", "Remove MSCREATE.DIR.");
  cbAutoRun = box("cbAutoRun", "起動時に全てのローカルドライブを検索する", "Search all local drive when starting");

  gbFolder = &tsSetting->Add<ui::GroupBox>("gbFolder", {8, 184, 290, 192}, "削除対象としないフォルダ",
                                           "Don't remove files within following folders.");
  for (int i = 0; i < 5; ++i) {
    std::string n = std::to_string(i + 1);
    edFolder[i] = &gbFolder->Add<ui::Edit>("edFolder" + n, {10, 24 + i * 32, 234, 21});
    buFolder[i] = &gbFolder->Add<ui::Button>("buFolder" + n, {250, 24 + i * 32, 28, 21}, "...");
    buFolder[i]->OnClick = [this, i](ui::Control&) { buFolderClick(i); };
  }
  gbExt = &tsSetting->Add<ui::GroupBox>("gbExt", {306, 184, 270, 192}, "削除対象にする拡張子（最大10）",
                                        "Remove files as following ext. (Max:10)");
  for (int i = 0; i < 10; ++i)
    edExt[i] = &gbExt->Add<ui::Edit>(kExtNames[i], {i < 5 ? 12 : 140, 24 + (i % 5) * 32, 118, 21});

  sbSearch->OnClick = ui::Bind(this, &TfoMain::sbSearchClick);
  sbDeleteFile->OnClick = ui::Bind(this, &TfoMain::sbDeleteFileClick);
  sbHelp->OnClick = ui::Bind(this, &TfoMain::sbHelpClick);
  sbClose->OnClick = ui::Bind(this, &TfoMain::sbCloseClick);
  OnShow = ui::Bind(this, &TfoMain::FormShow);
  OnCloseQuery = [this](ui::Control&, bool& canClose) { FormCloseQuery(canClose); };
  // FormCreate: every error that no handler caught ends in the report.
  app.OnException = [this](ui::Control*, const std::exception& e) { SubAppException(e); };
}

void TfoMain::FormShow() {
  CurrentStep = "Get OS Info";
  QX.ReadSystemInfo();
  bool japanese = QX.Japanese();
  if (!japanese) {
    SwitchToEnglish();
    lvFile->Columns[0].caption = "File";
    lvFile->Columns[1].caption = "Path";
    lvFile->Columns[2].caption = "Size";
  }
  App().SetTitle(Caption());
  // Windows NT keeps its temporary files elsewhere; the stored state still counts.
  if (QX.NT40() || QX.Win2000() || QX.WinXP()) cbWindowsTempFile->SetEnabled(false);
  PchealthDir = QX.WinDir() + "\\PCHEALTH";
  DownloadedDir = QX.WinDir() + "\\Downloaded Program Files";

  CurrentStep = "Get Fixed Drive";
  port::Files& files = *App().Ports().files;
  std::vector<std::string> fixed;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    std::string root = std::string(1, letter) + ":\\";
    if (files.DriveTypeOf(root) == port::DriveType::Fixed) fixed.push_back(root);
  }
  std::string all = japanese ? "全てのローカルドライブ ( " : "All Local Drive ( ";
  for (const std::string& root : fixed) all += root.substr(0, 2) + " ";
  cbDrive->Items.Clear();
  cbDrive->Items.Add(all + ")");
  CurrentStep = "Get Drive info";
  for (const std::string& root : fixed) {
    std::string entry = root.substr(0, 2);
    if (auto volume = files.Volume(root)) entry += " [ " + volume->label + " ] " + volume->fileSystem;
    cbDrive->Items.Add(entry);
  }

  CurrentStep = "Get Reg";
  std::string module = App().Ports().system->ModulePath();
  ProgramDir = module.substr(0, module.rfind('\\') == std::string::npos ? 0 : module.rfind('\\'));
  WindowsTempDir = QX.WinDir() + "\\Temp";
  ReadSettings();

  if (cbAutoRun->Checked()) sbSearchClick();

  CurrentStep = "Check Authority";
  if (!QX.Administrator()) {
    App().MessageBox(japanese ? "「パヴレル」を実行する為にはAdministrator権限が必要です。\r\r"
                                "もしわからない場合はシステム管理者にご相談下さい。"
                              : "This software require Administrator authority.\r\r"
                                "If you cannot understand, contact your administrator.",
                     "", port::MbIcon::Error);
    App().Terminate();
    return;
  }
  CurrentStep = "MainForm Shown";
}

void TfoMain::ReadSettings() {
  for (const BoxSetting& s : kBoxes) (this->*s.box)->SetChecked(QX.ReadRegInteger("HKLM", kKey, s.value, s.absent) == 1);
  for (int i = 0; i < 5; ++i) edFolder[i]->SetText(QX.ReadRegString("HKLM", kKey, "Folder" + std::to_string(i + 1), ""));
  for (int i = 0; i < 10; ++i) edExt[i]->SetText(QX.ReadRegString("HKLM", kKey, kExtValues[i], ""));
  // A drive gone since the index was stored: the first entry (all fixed drives).
  int32_t index = QX.ReadRegInteger("HKLM", kKey, "DefaultDriveIndex", 0);
  cbDrive->SetItemIndex(index >= 0 && index < cbDrive->Items.Count() ? index : 0);
  cbAutoRun->SetChecked(QX.ReadRegInteger("HKLM", kKey, "AutoRun", 0) == 1);
}

void TfoMain::WriteSettings() {
  for (const BoxSetting& s : kBoxes) QX.WriteRegInteger("HKLM", kKey, s.value, (this->*s.box)->Checked() ? 1 : 0);
  QX.WriteRegInteger("HKLM", kKey, "AutoRun", cbAutoRun->Checked() ? 1 : 0);
  for (int i = 0; i < 5; ++i) QX.WriteRegString("HKLM", kKey, "Folder" + std::to_string(i + 1), edFolder[i]->Text());
  for (int i = 0; i < 10; ++i) QX.WriteRegString("HKLM", kKey, kExtValues[i], edExt[i]->Text());
  QX.WriteRegInteger("HKLM", kKey, "DefaultDriveIndex", cbDrive->ItemIndex());
}

void TfoMain::FormCloseQuery(bool& canClose) {
  canClose = true;
  WriteSettings();
}

void TfoMain::sbCloseClick() { Close(); }

// Whether a row still names the file the search listed: each folder on its
// path still the plain folder of that exact name (not a junction or link put
// there since, which would lead the deletion elsewhere), and the file of
// exactly that name (a lookup that ignores case would give another).
TfoMain::Unchanged TfoMain::StillListed(const std::string& folder, const std::string& name) {
  port::Files& files = *App().Ports().files;
  if (folder.size() < 3) return Unchanged::Missing;
  std::string at = folder.substr(0, 2);
  for (size_t from = 3; from < folder.size();) {
    size_t end = folder.find('\\', from);
    if (end == std::string::npos) end = folder.size();
    std::string part = folder.substr(from, end - from);
    at += "\\" + part;
    std::optional<port::FolderEntry> e = files.EntryAt(ExactPath(at));
    if (!e || e->name != part) return Unchanged::Missing;
    if (!(e->attributes & port::kAttrDirectory) || (e->attributes & port::kAttrReparsePoint))
      return Unchanged::FolderChanged;
    from = end + 1;
  }
  std::optional<port::FolderEntry> e = files.EntryAt(ExactPath(folder + name));
  if (!e || e->name != name || (e->attributes & (port::kAttrDirectory | port::kAttrReparsePoint)))
    return Unchanged::Missing;
  return Unchanged::Yes;
}

void TfoMain::sbDeleteFileClick() {
  CurrentStep = "Delete";
  // A click that waits in the queue runs inside the questions below: it must
  // not start a second deletion, nor a search that replaces the rows.
  sbDeleteFile->SetEnabled(false);
  sbSearch->SetEnabled(false);
  ui::Host* host = App().GetHost();
  if (host) host->Busy(true);
  port::Files& files = *App().Ports().files;
  bool japanese = QX.Japanese();
  uint64_t removedSize = 0;
  int removed = 0;
  std::vector<int> ticked;
  for (int row = 0; row < lvFile->Count(); ++row) {
    const ui::ListItem& item = lvFile->Item(row);
    if (!item.checked) continue;
    ticked.push_back(row);
    std::string folder = item.subItems.at(0), name = item.caption;
    std::string path = folder + name;
    // The exact form, so that a listed "x." is never taken for "x".
    std::string exact = ExactPath(path);
    uint64_t size = SizeOf(item.subItems.at(1));
    // Only the file listed, reached through the folders searched.
    auto listed = [&] {
      Unchanged state = StillListed(folder, name);
      if (state == Unchanged::Missing)
        App().MessageBox(japanese ? path + kCr + kCr + "が見つかりません。" : path + kCr + kCr + " was not found.", "",
                         port::MbIcon::Error);
      else if (state == Unchanged::FolderChanged)
        App().MessageBox(japanese ? path + kCr + kCr + "は削除しませんでした。検索の後でパスのフォルダが別のものに変わっています。"
                                  : path + kCr + kCr +
                                        " was not removed: a folder on its path is no longer the folder that was searched.",
                         "", port::MbIcon::Error);
      return state == Unchanged::Yes;
    };
    if (!listed()) continue;
    if (files.RemoveFile(exact)) {
      removedSize += size;
      ++removed;
      continue;
    }
    std::optional<uint32_t> attributes = files.Attributes(exact);
    if (!attributes) {
      App().MessageBox(japanese ? path + kCr + kCr + "が見つかりません。" : path + kCr + kCr + " was not found.", "",
                       port::MbIcon::Error);
    } else if (*attributes & port::kAttrReadOnly) {
      port::MbResult answer = App().MessageBox(
          japanese ? path + kCr + kCr + "は読み取り専用属性が付いています。" + kCr + "強制的に削除しますか ??"
                   : path + " is read only." + kCr + "Remove this file forcibly??",
          "Warning", port::MbIcon::Warning, port::MbButtons::YesNoDefaultNo);
      if (answer != port::MbResult::Yes) continue;
      if (!listed()) continue;  // while the question was open
      files.SetAttributes(exact, port::kAttrArchive);
      if (files.RemoveFile(exact)) {
        removedSize += size;
        ++removed;
      } else {
        files.SetAttributes(exact, *attributes);  // it stays as it was
        App().MessageBox(japanese ? path + "の削除に失敗しました!!" : path + " cannot remove!!", "", port::MbIcon::Error);
      }
    } else {
      App().MessageBox(japanese ? path + kCr + kCr + "の削除に失敗しました!!" + kCr + "他のアプリケーションで使用中の可能性があります。"
                                : path + kCr + kCr + " cannot remove!! " + kCr + "This file is using by other software.",
                       "", port::MbIcon::Error);
    }
  }
  for (auto it = ticked.rbegin(); it != ticked.rend(); ++it) lvFile->DeleteItem(*it);
  std::string kb = std::to_string(removedSize / 1024);
  laResult->SetCaption(japanese ? std::to_string(removed) + "ファイル（" + kb + "キロバイト）を削除しました"
                                : std::to_string(removed) + " Files (" + kb + " (KB)) removed.");
  sbSearch->SetEnabled(true);
  sbDeleteFile->SetEnabled(lvFile->Count() > 0);
  if (host) host->Busy(false);
}

void TfoMain::sbHelpClick() {
  CurrentStep = "Show Help";
  QX.ShowHtmlHelp(App().ActiveWindowHandle(),
                  ProgramDir + (QX.Japanese() ? "\\tolvane_ja.chm::/pavrel.htm>main" : "\\tolvane_en.chm::/pavrel.htm>main"));
}

void TfoMain::buFolderClick(int index) {
  port::Files& files = *App().Ports().files;
  std::string initial = !LastFolder.empty() && files.FolderExists(LastFolder) ? LastFolder : "";
  auto chosen = App().Ports().dialogs->BrowseFolder(App().ActiveWindowHandle(), "", initial);
  if (!chosen) return;
  LastFolder = *chosen;
  edFolder[index]->SetText(*chosen);
}

void TfoMain::SubAppException(const std::exception& error) {
  std::string text = std::string(error.what()) + kCr + kCr + "Step : " + CurrentStep;
  text += std::string(kCr) + kCr + "[Drive Info] Count=" + std::to_string(cbDrive->Items.Count());
  for (const std::string& entry : cbDrive->Items.All()) text += kCr + entry;
  text += QX.Japanese() ? "\r\rご迷惑をお掛けし申し訳ありません\rお手数ですが上記エラー内容をメールでご連絡頂ければ幸いです。"
                        : "\r\rSorry, my program detected error.\rPlease inform me about above error message with E-mail.";
  App().MessageBox(text, "Exception Error", port::MbIcon::Error);
  App().Terminate();
}
