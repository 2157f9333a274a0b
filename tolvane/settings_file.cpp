#include "tolvane/settings_file.h"

#include <algorithm>
#include <map>
#include <set>
#include <vector>

#include "common/qxcommon.h"
#include "platform/profile.h"
#include "platform/profile_text.h"
#include "platform/system.h"
#include "platform/text.h"
#include "tolvane/main_form.h"
#include "tolvane/password.h"
#include "ui/controls.h"

namespace tolvane {

const std::array<const char*, 22> kWriteSections = {
    "Control",     "Windows",      "PC",        "Icon",   "Desktop",           "Explorer",   "Network Neighborhood",
    "Recycle Bin", "Context Menu", "ShellNew",  "Window", "Security",          "Internet Explorer",
    "Start Menu",  "Logon",        "Performance", "System", "Path",            "Directory",  "Users",
    "Uninstall",   "Run"};

const std::array<const char*, 14> kReadSections = {
    "Icon",   "Desktop",  "Explorer",          "Network Neighborhood", "Recycle Bin", "Context Menu", "Window",
    "Security", "Internet Explorer", "Start Menu", "MRU",             "Performance", "System",       "Logon"};

namespace {

// The keys of a section that the catalogue carries, in the writer's order
// and in the reader's. A key a row carries that no table names is written
// and read after the named ones.
struct KeyOrder {
  std::vector<std::string> write, read;
};

std::vector<std::string> IconKeys(bool reading) {
  std::vector<std::string> keys = {
      "My Computer",  "Network Neighborhood", "My Documents",       "Scheduled Tasks",   "Internet Explorer",
      "Recycle Bin Empty", "Recycle Bin Full", "Brief Case",        "Shortcut",          "Unknown File",
      "Dos Application",   "Folder Close",     "Folder Open",       "Floppy",            "Removable",
      "Harddisk",          "Control Panel",    "Printers",          "Dial-Up Networking", "Network Drive",
      "Network Drive Shut", "Share",           "Program Child",     "Find",              "Help",
      "Run",               "ActiveX Cache Folder"};
  // Both keys carry the one location; reading takes "Computer" last, so
  // that its value is the one that stays.
  if (reading) {
    keys.insert(keys.end(), {"Subscriptions", "Computer"});
  } else {
    keys.insert(keys.end(), {"Computer", "Subscriptions", "Receive Tray"});
  }
  keys.insert(keys.end(), {"Entire Network", "Workgroup Computer", "Workgroup", "CompressedFolder", "IsShortcut",
                           "16Color", "256Color", "HighColor", "TrueColor", "32bitColor"});
  return keys;
}

const std::map<std::string, KeyOrder>& KeyOrders() {
  static const std::map<std::string, KeyOrder> orders = [] {
    std::map<std::string, KeyOrder> o;
    o["Icon"] = {IconKeys(false), IconKeys(true)};
    std::vector<std::string> desktop = {"Control Panel",   "Printers",           "PaintDesktopVersion",
                                        "NoActiveDesktop", "NoTrayItemsDisplay", "NoToolbarsOnTaskbar"};
    o["Desktop"] = {desktop, desktop};
    std::vector<std::string> explorer = {"DoubleClickThenExplorer", "HideDelegateFolders"};
    for (char d = 'A'; d <= 'Z'; ++d) explorer.push_back(std::string("Hide Drive:") + d);
    explorer.insert(explorer.end(), {"BackBitmap", "BackBitmapFile"});
    o["Explorer"] = {explorer, explorer};
    o["Network Neighborhood"] = {
        {"NoNetHood", "NoEntireNetwork", "NoWorkgroupContents", "Adapter(", "AdapterID(", "MTU(",
         "DisableTcpWindowSize", "DefaultMSS", "TcpWindowSize", "DisableDefaultTTL", "DefaultTTL",
         "EnablePMTUBHDetect", "EnablePMTUDiscovery"},
        {"NoNetHood", "NoEntireNetwork", "NoWorkgroupContents", "MTU(", "DisableTcpWindowSize", "DefaultMSS",
         "TcpWindowSize", "DisableDefaultTTL", "DefaultTTL", "EnablePMTUBHDetect", "EnablePMTUDiscovery"}};
    std::vector<std::string> recycle = {"Name", "NoRecycleBin", "RecycleBinOnMyComputer"};
    o["Recycle Bin"] = {recycle, recycle};
    std::vector<std::string> context = {"FolderIconChangeEnabled", "NewExplorerFromHere", "UnknownFileOpen",
                                        "UnknownFileOpenProgram",  "UnknownFileOpenProgramName", "AllFileOpen",
                                        "DosPromptFromHere"};
    o["Context Menu"] = {context, context};
    std::vector<std::string> window = {"SmoothScroll", "MinAnimate",           "MenuDropAlignment", "NoSaveSettings",
                                       "ClassicShell", "ForegroundLockTimeout", "NoPlaceBar"};
    for (int n = 0; n < 5; ++n) window.push_back("Place" + std::to_string(n));
    o["Window"] = {window, window};
    std::vector<std::string> security = {"Code", "NoDispCPL", "DisableRegistryTools", "RestrictRun", "FileName",
                                         "NoPropertiesMyComputer"};
    o["Security"] = {security, security};
    o["Internet Explorer"] = {
        {"BackBitmapIE5", "BackBitmapFileIE5", "LogoBitmap", "LogoBitmapFile", "SearchUrl", "IETitle", "OETitle",
         "AnonymousFTP", "ViewSourceEditor", "MaxConnectionsPerServer10", "MaxConnectionsPerServer11"},
        {"BackBitmapIE5", "BackBitmapFileIE5", "SearchUrl", "LogoBitmap", "LogoBitmapFile", "IETitle", "OETitle",
         "AnonymousFTP", "ViewSourceEditor", "MaxConnectionsPerServer10", "MaxConnectionsPerServer11"}};
    std::vector<std::string> start = {"Speed", "RequireClick", "DisableBalloonTips", "NoClose"};
    o["Start Menu"] = {start, start};
    std::vector<std::string> logon = {"DontDisplayLastUserName", "AutoAdminLogon",     "DefaultUserName",
                                      "DefaultPassword",         "LegalNoticeCaption", "LegalNoticeText",
                                      "Wallpaper",               "Background RValue",  "Background GValue",
                                      "Background BValue",       "AutoCleanWinTempFile", "AutoCleanFilesOnly",
                                      "AutoCleanRecentMRU",      "AutoCleanFindMRU",   "AutoCleanRunMRU"};
    o["Logon"] = {logon, logon};
    o["MRU"] = {{}, {"Recent", "Find", "Run"}};
    std::vector<std::string> performance = {"DisablePagingExecutive", "IoPageLockLimit", "LargeSystemCache",
                                            "SecondLevelDataCache"};
    o["Performance"] = {performance, performance};
    std::vector<std::string> system = {"RegisteredOwner", "RegisteredOrganization", "NumLock"};
    o["System"] = {system, system};
    return o;
  }();
  return orders;
}

// The catalogue's keys by section, each with its row and index.
struct Carried {
  Row* row;
  size_t index;
  const FileKey* key;
};
using KeyIndex = std::map<std::string, std::vector<Carried>>;  // by section

KeyIndex IndexKeys(TfoMain& main) {
  KeyIndex index;
  const Catalogue* rows = main.PageSlices().FileRows();
  if (!rows) return index;
  for (const auto& row : rows->All())
    for (size_t i = 0; i < row->File().size(); ++i) {
      const FileKey& k = row->File()[i];
      if (k.form != FileForm::None) index[k.section].push_back({row.get(), i, &k});
    }
  return index;
}

const Carried* FindKey(const KeyIndex& index, const std::string& section, const std::string& key) {
  auto it = index.find(section);
  if (it == index.end()) return nullptr;
  for (const Carried& c : it->second)
    if (port::EqualNoCase(c.key->key, key)) return &c;
  return nullptr;
}

bool Named(const std::vector<std::string>& keys, const std::string& key) {
  return std::any_of(keys.begin(), keys.end(), [&](const std::string& k) { return port::EqualNoCase(k, key); });
}

// The value of a control as the file carries it.
Loaded StateOf(ui::Control* c, const std::string& name) {
  if (auto* b = dynamic_cast<ui::CheckBox*>(c)) return b->Checked();
  if (auto* r = dynamic_cast<ui::RadioButton*>(c)) return r->Checked();
  if (auto* e = dynamic_cast<ui::Edit*>(c)) return e->Text();
  if (auto* cb = dynamic_cast<ui::ComboBox*>(c)) return cb->Text();
  if (auto* u = dynamic_cast<ui::UpDown*>(c)) return int32_t{u->Position()};
  if (auto* t = dynamic_cast<ui::TrackBar*>(c)) return int32_t{t->Position()};
  throw std::logic_error("the settings file cannot carry control " + name);
}

// Through the control's ordinary setter; an up-down or track bar keeps its
// position within its range.
void SetStateOf(ui::Control* c, const std::string& name, const Loaded& v) {
  if (auto* b = dynamic_cast<ui::CheckBox*>(c)) return b->SetChecked(AsBool(v));
  if (auto* r = dynamic_cast<ui::RadioButton*>(c)) return r->SetChecked(AsBool(v));
  if (auto* e = dynamic_cast<ui::Edit*>(c)) return e->SetText(AsText(v));
  if (auto* cb = dynamic_cast<ui::ComboBox*>(c)) return cb->SetText(AsText(v));
  if (auto* u = dynamic_cast<ui::UpDown*>(c)) return u->SetPosition(std::clamp(AsInt(v), u->Min(), u->Max()));
  if (auto* t = dynamic_cast<ui::TrackBar*>(c)) return t->SetPosition(std::clamp(AsInt(v), t->Min(), t->Max()));
  throw std::logic_error("the settings file cannot carry control " + name);
}

Loaded ByForm(FileForm form, const Loaded& v) {
  switch (form) {
    case FileForm::Boolean: return AsBool(v);
    case FileForm::Integer: return AsInt(v);
    default: return AsText(v);
  }
}

std::string Written(FileForm form, const Loaded& v) {
  switch (form) {
    case FileForm::Boolean: return AsBool(v) ? "1" : "0";
    case FileForm::Integer: return std::to_string(AsInt(v));
    default: return AsText(v);
  }
}

// Whether a key is entry n of a list of that name ("FileName3", "MTU(3)").
bool InList(const std::string& key, const std::string& list) {
  const bool paren = !list.empty() && list.back() == '(';
  if (key.size() <= list.size() + (paren ? 1 : 0)) return false;
  if (!port::EqualNoCase(key.substr(0, list.size()), list)) return false;
  std::string number = key.substr(list.size(), key.size() - list.size() - (paren ? 1 : 0));
  if (paren && key.back() != ')') return false;
  return !number.empty() && std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// One section being written: every key in turn, then the numbered keys of
// its lists that this save did not write are removed, so that the file holds
// exactly the lists.
class SectionWriter : public FileListOut {
 public:
  SectionWriter(port::ProfileText& file, std::string section) : file_(file), section_(std::move(section)) {}
  void Put(const std::string& key, const std::string& text) override {
    file_.Write(section_, key, FileText(text));
    written_.insert(port::UpperNoCase(key));
  }
  void Flag(const std::string& key, bool on) { Put(key, on ? "1" : "0"); }
  void Number(const std::string& key, int64_t n) { Put(key, std::to_string(n)); }
  void List(const std::string& name) { lists_.push_back(name); }
  void WholeSectionIsAList() { whole_ = true; }
  void Finish() {
    if (lists_.empty() && !whole_) return;
    for (const std::string& key : file_.KeyNames(section_)) {
      if (written_.count(port::UpperNoCase(key))) continue;
      bool surplus = whole_ || std::any_of(lists_.begin(), lists_.end(),
                                           [&](const std::string& list) { return InList(key, list); });
      if (surplus) file_.Delete(section_, key);
    }
  }

 private:
  port::ProfileText& file_;
  std::string section_;
  std::set<std::string> written_;
  std::vector<std::string> lists_;
  bool whole_ = false;
};

// A key's raw text, or nothing when the file lacks it.
class SectionReader : public FileListIn {
 public:
  SectionReader(port::Profile& profile, const std::string& path, std::string section)
      : profile_(profile), path_(path), section_(std::move(section)) {}
  std::optional<std::string> Get(const std::string& key) override {
    static const std::string kAbsent = "\x01<absent>\x01";
    std::string v = profile_.Read(path_, section_, key, kAbsent);
    if (v == kAbsent) return std::nullopt;
    return v;
  }

 private:
  port::Profile& profile_;
  const std::string& path_;
  std::string section_;
};

std::vector<std::string> ItemsOf(TfoMain& main, const std::string& name) {
  ui::Control* c = main.Find(name);
  if (auto* lb = dynamic_cast<ui::ListBox*>(c)) return lb->Items.All();
  if (auto* lv = dynamic_cast<ui::ListView*>(c)) {
    std::vector<std::string> captions;
    for (int i = 0; i < lv->Count(); ++i) captions.push_back(lv->Item(i).caption);
    return captions;
  }
  return {};
}

void WriteKey(TfoMain& main, SectionWriter& out, const Carried& c) {
  if (c.key->form == FileForm::List) {
    out.List(c.key->key);
    c.row->FileWriteList(c.index, out);
    return;
  }
  out.Put(c.key->key, Written(c.key->form, FileValue(main, *c.row, c.index)));
}

void ReadKey(TfoMain& main, SectionReader& in, const Carried& c) {
  if (c.key->form == FileForm::List) {
    c.row->FileReadList(c.index, in);
    return;
  }
  std::string absent = c.key->absent;
  if (size_t at = absent.find("%WinDir%"); at != std::string::npos) absent.replace(at, 8, main.QX.WinDir());
  std::optional<std::string> raw = in.Get(c.key->key);
  if (c.key->form == FileForm::Boolean || c.key->form == FileForm::Integer) {
    std::optional<int32_t> n = raw ? FileInteger(*raw) : std::nullopt;
    if (!n) n = FileInteger(absent);
    if (!n) return;  // no default: the control keeps its state
    SetFileValue(main, *c.row, c.index, ByForm(c.key->form, *n));
    return;
  }
  SetFileValue(main, *c.row, c.index, raw ? *raw : absent);
}

const char* const kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\run";

}  // namespace

std::string FileText(const std::string& text) {
  if (text.empty()) return text;
  auto edge = [](char c) { return c == '"' || c == '\'' || c == ' ' || c == '\t'; };
  if (edge(text.front()) || edge(text.back())) return "\"" + text + "\"";
  return text;
}

std::string CannotWriteMessage(bool japanese, const std::string& path) {
  return japanese ? path + " に書き込めません" : "Cannot write to " + path;
}

Loaded FileValue(TfoMain& main, const Row& row, size_t index) {
  const FileForm form = row.File().at(index).form;
  if (std::optional<Loaded> v = row.FileGet(index)) return ByForm(form, *v);
  return ByForm(form, StateOf(main.Find(row.Control()), row.Control()));
}

void SetFileValue(TfoMain& main, Row& row, size_t index, const Loaded& value) {
  const Loaded v = ByForm(row.File().at(index).form, value);
  if (row.FileSet(index, v)) return;
  SetStateOf(main.Find(row.Control()), row.Control(), v);
}

void WriteSettingsFile(TfoMain& main, const std::string& path) {
  port::Profile& profile = *main.QX.Ports().profile;
  TQXCommon& qx = main.QX;
  // The file is read once, edited in memory as the profile functions would
  // edit it key by key, and written once.
  std::string text;
  if (!profile.Load(path, text)) throw SettingsFileError(path);
  port::ProfileText file(text);
  const KeyIndex index = IndexKeys(main);
  for (const char* section : kWriteSections) {
    SectionWriter out(file, section);
    const std::string s = section;
    if (s == "Control") {
      out.Put("Title", kFileTitle);
      out.Put("FileName", path);
      out.Put("Version", main.Caption());
    } else if (s == "Windows") {
      out.Number("MajorVersion", qx.MajorVersion());
      out.Number("MinorVersion", qx.MinorVersion());
      out.Number("BuildNumber", qx.BuildNumber());
      out.Put("CSDVersion", qx.CSDVersion());
      out.Put("Internet Explorer Version", qx.IEVersion());
      out.Flag("Windows95", qx.Win95());
      out.Flag("Windows98", qx.Win98());
      out.Flag("WindowsNT4.0", qx.NT40());
      out.Flag("Windows2000", qx.Win2000());
      out.Flag("WindowsME", qx.WinME());
      out.Flag("WindowsXP", qx.WinXP());
      out.Flag("ActiveDesktopInstalled", qx.ActiveDesktop());
      out.Flag("IE4", qx.IE4());
      out.Flag("IE5", qx.IE5());
      out.Flag("IE6", qx.IE6());
    } else if (s == "PC") {
      out.Put("Processor Type",
              qx.ReadRegString("HKLM", "Hardware\\Description\\System\\CentralProcessor\\0", "Identifier", ""));
      out.Number("Memory Size", static_cast<int64_t>(qx.Ports().system->TotalPhysicalMemory() / 1048576 + 1));
    } else if (s == "ShellNew") {
      // Key: the New-menu key of the row; value: the name shown in the same row.
      out.WholeSectionIsAList();
      std::vector<std::string> keys = main.lbCopyCurrentShellNew.Items.All();
      std::vector<std::string> names = ItemsOf(main, "lbCurrentShellNew");
      for (size_t i = 0; i < keys.size(); ++i)
        if (!keys[i].empty()) out.Put(keys[i], i < names.size() ? names[i] : "");
    } else if (s == "Path") {
      const std::pair<const char*, std::string> paths[] = {
          {"Tolvane", main.ProgramPath},          {"tamrel", main.FolderIconCommand},
          {"Internet Explorer", main.IEPath},     {"Paint", main.PaintPath},
          {"MSDOS.SYS", main.MsdosSysPath},       {"SYSTEM.INI", main.SystemIniPath},
          {"SHELL32.DLL", main.Shell32Path},      {"SYNCUI.DLL", main.SyncuiPath},
          {"SHDOCVW.DLL", main.ShdocvwPath},      {"OCCACHE.DLL", main.OccachePath},
          {"WEBCHECK.DLL", main.WebcheckPath},    {"RcvTrayCLSID", ""},
          {"RcvTrayPath", ""},                    {"TRANSPARENCY.ICO", main.TransparentIconLocation}};
      for (const auto& [key, value] : paths) out.Put(key, value);
    } else if (s == "Directory") {
      const std::pair<const char*, std::string> folders[] = {
          {"Tolvane", main.ProgramFolder}, {"RegBackup", main.RegBackFolder},   {"Icon", main.IconDir},
          {"Boot", qx.BootDir()},          {"Windows", qx.WinDir()},            {"System", qx.SysDir()},
          {"Desktop", qx.DesktopDir()},    {"Start Menu", qx.StartMenuDir()}, {"Recent", qx.RecentDir()}};
      for (const auto& [key, value] : folders) out.Put(key, value);
    } else if (s == "Users" || s == "Uninstall" || s == "Run") {
      out.List("");
      std::vector<std::string> rows = s == "Users"       ? main.lbUser.Items.All()
                                      : s == "Uninstall" ? ItemsOf(main, "lbCurrentUninstall")
                                                         : ItemsOf(main, "lbCurrentRun");
      for (size_t n = 0; n < rows.size(); ++n) {
        std::string text = rows[n];
        if (s == "Run") text += " ( " + qx.ReadRegString("HKLM", kRunKey, rows[n], "") + " )";
        out.Put(std::to_string(n), text);
      }
    } else {
      const KeyOrder& order = KeyOrders().at(s);
      for (const std::string& key : order.write) {
        if (s == "Icon" && key == "Receive Tray") {
          out.Put(key, "");
        } else if (s == "Security" && key == "Code") {
          out.Put(key, main.LockPassword.empty() ? "" : qx.ScramblePassword(main.LockPassword));
        } else if (const Carried* c = FindKey(index, s, key)) {
          WriteKey(main, out, *c);
        }
      }
      if (auto it = index.find(s); it != index.end())
        for (const Carried& c : it->second)
          if (!Named(order.write, c.key->key)) WriteKey(main, out, c);
    }
    out.Finish();
  }
  if (!profile.Store(path, file.Text())) throw SettingsFileError(path);
}

bool ReadSettingsFile(TfoMain& main, const std::string& path) {
  port::Profile& profile = *main.QX.Ports().profile;
  TQXCommon& qx = main.QX;
  if (profile.Read(path, "Application", "Title", "") == kOlderFileTitle)
    main.App().MessageBox(
        "これは以前のバージョンの設定ファイルです。\rバージョン４．５Ａより設定ファイルの形式が変更になりました。\r\r"
        "バージョン４．５Ａ以降で保存した設定ファイルを指定して下さい。",
        "申し訳ございません", port::MbIcon::Information, port::MbButtons::OK);
  if (profile.Read(path, "Control", "Title", "") != kFileTitle) return false;

  const KeyIndex index = IndexKeys(main);
  for (const char* section : kReadSections) {
    const std::string s = section;
    SectionReader in(profile, path, s);
    const KeyOrder& order = KeyOrders().at(s);
    for (const std::string& key : order.read) {
      if (s == "Security" && key == "Code") {
        // Only a text that unscrambles as a lock password replaces the lock.
        std::optional<std::string> code = in.Get(key);
        if (!code || code->empty()) {
          main.LockPassword.clear();
        } else if (code->size() <= kMaxPasswordLength && qx.IsScrambledPassword(*code)) {
          main.LockPassword = qx.UnscramblePassword(*code);
        } else {
          main.App().MessageBox(qx.Japanese() ? "設定ファイルのパスワード (Code) が正しくありません。\r"
                                                "現在のパスワードをそのまま使います。"
                                              : "The password (Code) in the setting file is not valid.\r"
                                                "The current password is kept.",
                                "", port::MbIcon::Warning, port::MbButtons::OK);
        }
      } else if (const Carried* c = FindKey(index, s, key)) {
        ReadKey(main, in, *c);
      }
    }
    if (auto it = index.find(s); it != index.end())
      for (const Carried& c : it->second)
        if (!Named(order.read, c.key->key) && !Named(order.write, c.key->key)) ReadKey(main, in, c);
  }
  main.Changes.needLogoff = true;
  main.sbPlay.SetEnabled(true);
  return true;
}

void TfoMain::sbSaveClick() {
  std::string path;
  if (SnapshotSave) {
    path = ProgramFolder + "\\" + kSnapshotName;
  } else {
    // The file holds what the numeric edits show, or nothing is saved.
    if (pages_ && !pages_->DecideNumbers()) return;
    SaveDialog = ui::SaveDialog();
    SaveDialog.Filter = QX.Japanese() ? "設定ファイル (*.INI) | *.INI" : "Setting file (*.INI) | *.INI";
    SaveDialog.InitialDir = ProgramFolder;
    SaveDialog.DefaultExt = "INI";
    if (!SaveDialog.Execute()) return;
    path = SaveDialog.FileName;
  }
  // A file that cannot be written leaves the window as it is (and the apply
  // road goes on).
  try {
    WriteSettingsFile(*this, path);
  } catch (const SettingsFileError& e) {
    App().MessageBox(CannotWriteMessage(QX.Japanese(), e.Path()), "", port::MbIcon::Error, port::MbButtons::OK);
  }
}

void TfoMain::sbOpenClick() {
  OpenDialog = ui::OpenDialog();
  OpenDialog.Filter = QX.Japanese() ? "設定ファイル (*.INI) | *.INI" : "Setting file (*.INI) | *.INI";
  OpenDialog.InitialDir = ProgramFolder;
  if (!OpenDialog.Execute()) return;
  if (ReadSettingsFile(*this, OpenDialog.FileName) && pages_) pages_->ShowNumbers();
}

}  // namespace tolvane
