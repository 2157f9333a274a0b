#include "tolvane/page_icons.h"

#include <stdexcept>

#include "common/iconlist.h"
#include "common/qxcommon.h"
#include "platform/files.h"

namespace tolvane {

namespace {

constexpr const char* kShellIcons = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Icons";
constexpr const char* kWindowMetrics = "Control Panel\\desktop\\windowmetrics";
constexpr const char* kRecycleBin = "645FF040-5081-101B-9F08-00AA002F954E";

// The places Explorer takes a CLSID's icon from: the machine's class (through
// HKCR), the user's class override and the user's Explorer override.
RegPlace C(const std::string& g) { return {"HKCR", "CLSID\\{" + g + "}\\DefaultIcon", ""}; }
RegPlace UC(const std::string& g) { return {"HKCU", "Software\\Classes\\CLSID\\{" + g + "}\\DefaultIcon", ""}; }
RegPlace EC(const std::string& g, const std::string& name = "") {
  return {"HKCU", "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\CLSID\\{" + g + "}\\DefaultIcon", name};
}
RegPlace SI(int n) { return {"HKLM", kShellIcons, std::to_string(n)}; }

std::string ReadPlace(RowContext& ctx, const RegPlace& at, const std::string& absent) {
  return ctx.qx.ReadRegString(at.root, at.key(ctx), at.name(ctx), absent);
}
void WritePlace(RowContext& ctx, const RegPlace& at, const std::string& text) {
  ctx.qx.WriteRegString(at.root, at.key(ctx), at.name(ctx), text);
}

// The row kind of an icon image: its held location read from the first
// place that holds a non-empty text (the last read with the row's absent
// value), written to each of its write places, and its standard value.
// Rows 1 to 3 first delete the user's overrides: on XP a write through HKCR
// lands in HKCU\Software\Classes while that key exists, so deleting after
// the write would lose the pick. The change class IconChanged is set by a
// pick and by the shortcut-arrow box, never by a comparison: standard values
// and a loaded file change locations without a rebuild.
struct IconRowDef {
  std::vector<RegPlace> read{};
  Value absent{};
  std::vector<RegPlace> deleteFirst{};  // keys
  std::vector<RegPlace> write{};
  Value standard{};
  std::function<bool(const RowContext&)> when{};  // read and write only then
  // A read of its own; `refresh` says whether the image follows.
  std::function<std::string(RowContext&, bool& refresh)> readFn{};
  std::function<void(RowContext&)> afterRead{}, afterWrite{};
  std::vector<FileKey> file{};
};

class IconRow : public Row {
 public:
  IconRow(std::string image, IconPages& pages, IconPages::Icon& icon, IconRowDef def)
      : Row(std::move(image), ChangeClass::None, def.file), pages_(pages), icon_(icon), s_(std::move(def)) {}

  void Read(RowContext& ctx) override {
    if (!s_.when || s_.when(ctx)) {
      bool refresh = false;
      if (s_.readFn) {
        icon_.held = s_.readFn(ctx, refresh);
      } else {
        std::string absent = s_.absent(ctx);
        icon_.held.clear();
        for (size_t i = 0; i < s_.read.size() && icon_.held.empty(); ++i)
          icon_.held = ReadPlace(ctx, s_.read[i], i + 1 == s_.read.size() ? absent : std::string());
        // A row with a default shows whatever it read; the others only a location.
        refresh = !absent.empty() || !icon_.held.empty();
      }
      if (refresh) pages_.Refresh(icon_);
    }
    if (s_.afterRead) s_.afterRead(ctx);
    TakeLoaded();
  }
  void Standard(RowContext& ctx) override {
    icon_.held = s_.standard(ctx);
    pages_.Refresh(icon_);
  }
  Loaded State() const override { return icon_.held; }
  // The settings file: the held location, shown in the image when loaded.
  std::optional<Loaded> FileGet(size_t) const override { return Loaded{icon_.held}; }
  bool FileSet(size_t, const Loaded& v) override {
    icon_.held = AsText(v);
    pages_.Refresh(icon_);
    return true;
  }

 protected:
  void Store(RowContext& ctx) override {
    if (s_.when && !s_.when(ctx)) return;
    for (const RegPlace& key : s_.deleteFirst) ctx.qx.DeleteRegKey(key.root, key.key(ctx));
    for (const RegPlace& at : s_.write) WritePlace(ctx, at, icon_.held);
    if (s_.afterWrite) s_.afterWrite(ctx);
  }

 private:
  IconPages& pages_;
  IconPages::Icon& icon_;
  IconRowDef s_;
};

// Where each image lies: its sheet (1 or 2), column and line.
struct Layout {
  const char* image;
  const char* gb;
  const char* ja;
  const char* en;
  const char* fileKey;
  int tab, column, line;
  int readStepsBefore, applyStepsAfter;  // the roads' bar steps at this row
};

// Catalogue order. The steps are where start-up and apply advance their bars.
constexpr Layout kLayout[IconPages::kIcons] = {
    {"imMyComputer", "gbIcon01", "マイ コンピュータ", "My Computer", "My Computer", 1, 0, 0, 1, 0},
    {"imNetworkComputer", "gbIcon02", "マイ ネットワーク", "My Network", "Network Neighborhood", 1, 1, 0, 0, 0},
    {"imMyDocuments", "gbIcon03", "マイ ドキュメント", "My Documents", "My Documents", 1, 2, 0, 0, 0},
    {"imTask", "gbIcon08", "タスク", "Tasks", "Scheduled Tasks", 1, 0, 1, 0, 1},
    {"imInternet", "gbIcon04", "インターネット", "ie", "Internet Explorer", 1, 3, 0, 1, 0},
    {"imTrushEmpty", "gbIcon05", "ごみ箱(空)", "Recycle(Empty)", "Recycle Bin Empty", 1, 4, 0, 0, 0},
    {"imTrushFull", "gbIcon06", "ごみ箱(一杯)", "Recycle(Full)", "Recycle Bin Full", 1, 5, 0, 0, 1},
    {"imBriefCase", "gbIcon07", "ブリーフケース", "My Briefcase", "Brief Case", 1, 6, 0, 1, 0},
    {"imShortCut", "gbIcon19", "ショートカット", "Shortcut", "Shortcut", 1, 4, 1, 0, 1},
    {"imUnknown", "gbIcon09", "未登録ファイル", "Non-Associate", "Unknown File", 1, 1, 1, 0, 0},
    {"imDosApplication", "gbIcon10", "DOS実行ファイル", "DosApplication", "Dos Application", 1, 2, 1, 0, 1},
    {"imCloseFolder", "gbIcon13", "フォルダ（閉）", "Folder (Close)", "Folder Close", 1, 5, 1, 1, 0},
    {"imOpenFolder", "gbIcon14", "フォルダ（開）", "Folder (Open)", "Folder Open", 1, 6, 1, 0, 1},
    {"imFloppy", "gbIcon15", "3.5 FDD", "3.5 Floppy", "Floppy", 1, 0, 2, 0, 0},
    {"imRemovable", "gbIcon16", "リムーバブル", "Removable", "Removable", 1, 1, 2, 0, 1},
    {"imHardDisk", "gbIcon17", "ハードディスク", "Hard Disk", "Harddisk", 1, 2, 2, 0, 1},
    {"imControlPanel", "gbIcon25", "コントロールパネル", "Control Panel", "Control Panel", 1, 5, 2, 0, 0},
    {"imPrinter", "gbIcon26", "プリンタとFAX", "Printers", "Printers", 1, 6, 2, 0, 0},
    {"imDialup", "gbIcon27", "接続", "Dial-Up", "Dial-Up Networking", 1, 3, 3, 0, 1},
    {"imNetworkDrive", "gbIcon20", "ネットドライブ", "Network Drive", "Network Drive", 1, 3, 2, 0, 0},
    {"imNetworkDrive2", "gbIcon21", "ネットドライブ（切）", "Disconnected", "Network Drive Shut", 1, 4, 2, 0, 0},
    {"imShare", "gbIcon11", "共有", "Shared", "Share", 1, 3, 1, 0, 1},
    {"imProgram2", "gbIcon30", "プログラム", "Programs", "Program Child", 2, 0, 0, 0, 1},
    {"imFind", "gbIcon33", "検索", "Find", "Find", 2, 1, 0, 1, 0},
    {"imHelp", "gbIcon34", "ヘルプとサポート", "Help", "Help", 2, 2, 0, 0, 0},
    {"imExec", "gbIcon35", "ファイル名を指定", "Run ...", "Run", 2, 3, 0, 1, 2},
    {"imActivexCacheFolder", "gbIcon45", "ActiveXキャッシュ", "ActiveX Cache", "ActiveX Cache Folder", 1, 5, 3, 0, 0},
    {"imKoudoku", "gbIcon46", "Offline Web", "Offline Web", "Computer", 1, 6, 3, 0, 0},
    {"imEntireNetwork", "gbIcon22", "ネットワーク全体", "EntireNetwork", "Entire Network", 1, 0, 3, 1, 0},
    {"imWorkGroupComputer", "gbIcon23", "ネット内コンピュータ", "Computer", "Workgroup Computer", 1, 1, 3, 0, 0},
    {"imWorkGroup", "gbIcon24", "ワークグループ", "Workgroup", "Workgroup", 1, 2, 3, 0, 0},
    {"imCompressedFolder", "gbIcon48", "圧縮フォルダ", "Compressed Folder", "CompressedFolder", 1, 4, 3, 0, 1},
};

// The first sheet's 28 boxes lie in six lines of five, in catalogue order
// (line by line of the catalogue's lines of seven), under three lines of
// tabs: wide enough for the longest caption in the dialogs' own face (9
// points of the Japanese face, 8 of the English one), as on a real XP.
constexpr int kColumns1 = 5, kColumnsBefore = 7;
constexpr int kLeft1 = 4, kPitchX1 = 135, kTop1 = 3, kPitchY1 = 53;
constexpr int kLefts2[] = {10, 148, 286, 424};
constexpr int kTop2 = 16;
constexpr int kBoxWidth = 132, kBoxHeight = 51;

// The icon cache files Explorer keeps in the Windows folder.
constexpr const char* kCacheFiles[] = {
    "\\ShellIconCache", "\\ShellI~1", "\\ShellI~2", "\\ShellI~3", "\\ShellI~4", "\\ShellI~5", "\\ShellI~6",
    "\\ShellI~7",       "\\ShellI~8", "\\ShellI~9", "\\Shell~10", "\\Shell~11", "\\Shell~12", "\\Shell~13",
    "\\Shell~14",       "\\Shell~15", "\\Shell~16", "\\Shell~17", "\\Shell~18", "\\Shell~19", "\\Shell~20",
};

struct ColourDef {
  const char* name;
  const char* ja;
  const char* en;
  const char* bpp;
  const char* fileKey;
};
constexpr ColourDef kColours[] = {
    {"ra16Color", "16色", "16 Color", "4", "16Color"},
    {"ra256Color", "256色", "256 Color", "8", "256Color"},
    {"raHighColor", "High Color (16bit)", "High Color (16bit)", "16", "HighColor"},
    {"raTrueColor", "True Color (24bit)", "True Color (24bit)", "24", "TrueColor"},
    {"ra32bitColor", "32bit", "32bit", "32", "32bitColor"},
};

// Side by side in the frame, the two long captions given more room.
ui::RadioButton& Radio(ui::RadioGroup& frame, int i) {
  constexpr int lefts[] = {20, 130, 240, 390, 540}, widths[] = {100, 100, 140, 140, 80};
  const ColourDef& c = kColours[i];
  return frame.Add<ui::RadioButton>(c.name, {lefts[i], 20, widths[i], 17}, c.ja, c.en);
}

}  // namespace

IconPages::IconPages(ui::TabSheet& icon1, ui::TabSheet& icon2, ui::TabSheet& desktop, Catalogue& catalogue,
                     PageEnv& env, IconHost host)
    : cbIsShortcut(desktop.Add<ui::CheckBox>("cbIsShortcut", {16, 16, 330, 17}, "ショートカットアイコンを隠す",
                                             "Hide shortcut icon")),
      rgIconColor(icon2.Add<ui::RadioGroup>("rgIconColor", {28, 261, 635, 53}, "アイコンの表示色", "Colors of Icon")),
      ra16Color(Radio(rgIconColor, 0)),
      ra256Color(Radio(rgIconColor, 1)),
      raHighColor(Radio(rgIconColor, 2)),
      raTrueColor(Radio(rgIconColor, 3)),
      ra32bitColor(Radio(rgIconColor, 4)),
      laIconColorNote(icon2.Add<ui::Label>(
          "laIconColorNote", {28, 319, 635, 14},
          "（256色アイコンを表示する場合、ディスプレイの解像度を256色より上にして下さい）",
          "( If you want to display 256 icons, set resolution more than 256 colors. )")),
      env_(env),
      host_(std::move(host)) {
  laIconColorNote.TextAlignment = ui::Alignment::Center;

  // The images in their group boxes; a click opens the picker on the held
  // location with the box's caption (each image's imXxxClick).
  for (int i = 0; i < kIcons; ++i) {
    const Layout& l = kLayout[i];
    ui::TabSheet& sheet = l.tab == 1 ? icon1 : icon2;
    int place = l.line * kColumnsBefore + l.column;
    ui::Rect box = l.tab == 1 ? ui::Rect{kLeft1 + place % kColumns1 * kPitchX1, kTop1 + place / kColumns1 * kPitchY1,
                                         kBoxWidth, kBoxHeight}
                              : ui::Rect{kLefts2[l.column], kTop2, kBoxWidth, kBoxHeight};
    Icon& icon = icons[i];
    icon.gb = &sheet.Add<ui::GroupBox>(l.gb, box, l.ja, l.en);
    icon.im = &icon.gb->Add<ui::Image>(l.image, {(kBoxWidth - 32) / 2, 15, 32, 32});
    icon.im->SetCursor(ui::Cursor::HandPoint);
    icon.im->OnClick = [this, &icon](ui::Control&) {
      SubIconList(icon.gb->Caption(), *icon.im, icon.held, env_.flags.iconChanged);
    };
  }

  cbIsShortcut.OnClick = [this](ui::Control&) { cbIsShortcutClick(); };
  for (ui::RadioButton* ra : {&ra16Color, &ra256Color, &raHighColor, &raTrueColor, &ra32bitColor})
    ra->OnClick = [this](ui::Control&) { env_.applyEnabled(); };

  // --- The icon rows ----------------------------------------------------------
  const IconHost& h = host_;
  auto S = [&h](int n) { return Value([&h, n](const RowContext&) { return h.shell32 + "," + std::to_string(n); }); };
  auto Path = [](const std::string& path, const char* suffix) {
    return Value([&path, suffix](const RowContext&) { return path + suffix; });
  };
  auto SysPath = [](const char* file) {
    return Value([file](const RowContext& c) { return c.qx.SysDir() + file; });
  };
  auto Keep = [&](int row, IconRowDef def) {
    const Layout& l = kLayout[row - 1];
    if (def.file.empty()) def.file = {{"Icon", l.fileKey, FileForm::IconLocation, ""}};
    icons_.push_back(&catalogue.Add(std::make_unique<IconRow>(l.image, *this, icons[row - 1], std::move(def))));
  };

  // Rows 1 to 3: the user's overrides win over the machine's class.
  auto Overridden = [&](int row, const char* g, Value standard) {
    Keep(row, {.read = {UC(g), EC(g), C(g)}, .deleteFirst = {UC(g), EC(g)}, .write = {C(g)}, .standard = standard});
  };
  // A CLSID icon with or without a default; a Shell Icons entry.
  auto Clsid = [&](int row, const char* g, Value absent, Value standard, std::vector<RegPlace> more = {}) {
    std::vector<RegPlace> write{C(g)};
    write.insert(write.end(), more.begin(), more.end());
    Keep(row, {.read = {C(g)}, .absent = absent, .write = write, .standard = standard});
  };
  auto Shell = [&](int row, int n) { Keep(row, {.read = {SI(n)}, .absent = S(n), .write = {SI(n)}, .standard = S(n)}); };

  Overridden(1, "20D04FE0-3AEA-1069-A2D8-08002B30309D",
             Value([](const RowContext& c) { return c.qx.WinDir() + "\\explorer.exe,0"; }));
  Overridden(2, "208D2C60-3AEA-1069-A2D7-08002B30309D", S(17));
  Overridden(3, "450D8FBA-AD25-11D0-98A8-0800361B1103", SysPath("\\mydocs.dll,0"));
  Clsid(4, "D6277990-4C6A-11CF-8D87-00AA0060F5BF", "", SysPath("\\mstask.dll,-100"));
  // Row 5: an absent value of the first class falls back to the second; an
  // empty one, or a location on the short program-files path, to the browser.
  Keep(5, {.write = {C("871C5380-42A0-1069-A2EA-08002B30309D"), C("FBF23B42-E3F0-101B-8488-00AA003E56F8"),
                     {"HKLM", "SOFTWARE\\Clients\\StartMenuInternet\\IEXPLORE.EXE\\DefaultIcon", ""}},
           .standard = Path(h.ie, ",0"),
           .readFn = [&h](RowContext& c, bool& refresh) {
             std::string location = ReadPlace(c, C("871C5380-42A0-1069-A2EA-08002B30309D"), "error");
             if (location != "error") {
               if (location.empty()) location = h.ie + ",0";
               refresh = true;
             } else {
               location = ReadPlace(c, C("FBF23B42-E3F0-101B-8488-00AA003E56F8"), "");
               refresh = !location.empty();
             }
             if (location.size() >= 12 && location.compare(4, 8, "PROGRA~1") == 0) {
               location = h.ie + ",0";
               refresh = true;
             }
             return location;
           }});
  Keep(6, {.read = {EC(kRecycleBin, "empty"), {"HKCR", C(kRecycleBin).key, "empty"}},
           .write = {EC(kRecycleBin, "empty")},
           .standard = S(31)});
  // Row 7 decides which of the two the recycle bin shows now, and apply
  // writes the new location of that one as the current icon.
  Keep(7, {.read = {EC(kRecycleBin, "full"), {"HKCR", C(kRecycleBin).key, "full"}},
           .write = {EC(kRecycleBin, "full")},
           .standard = S(32),
           .afterRead = [this](RowContext& c) {
             RecycleBinShowsEmpty = false;
             std::string current = ReadPlace(c, EC(kRecycleBin), "");
             if (!current.empty()) {
               RecycleBinShowsEmpty = current == icons[5].held;
             } else {
               current = ReadPlace(c, C(kRecycleBin), "");
               if (!current.empty() && current == icons[5].held) RecycleBinShowsEmpty = true;
             }
           },
           .afterWrite = [this](RowContext& c) {
             WritePlace(c, EC(kRecycleBin), RecycleBinShowsEmpty ? icons[5].held : icons[6].held);
           }});
  Clsid(8, "85BBD920-42A0-1069-A2E4-08002B30309D", "", Path(h.syncui, ",0"));
  Shell(9, 29);
  Shell(10, 0);
  Shell(11, 2);
  Shell(12, 3);
  Shell(13, 4);
  Shell(14, 6);
  Shell(15, 7);
  Shell(16, 8);
  Clsid(17, "21EC2020-3AEA-1069-A2DD-08002B30309D", S(-137), S(-137), {SI(35)});
  Clsid(18, "2227A280-3AEA-1069-A2DE-08002B30309D", S(-138), S(-138), {SI(37)});
  Clsid(19, "7007ACC7-3202-11D1-AAD2-00805FC1270E", "", Path(h.netshell, ",0"));
  Shell(20, 9);
  Shell(21, 10);
  Shell(22, 28);
  Shell(23, 36);
  Clsid(24, "2559a1f0-21d7-11d4-bdaf-00c04f60b9f0", S(22), S(22));
  Clsid(25, "2559a1f1-21d7-11d4-bdaf-00c04f60b9f0", S(23), S(23));
  Clsid(26, "2559a1f3-21d7-11d4-bdaf-00c04f60b9f0", S(24), S(24));
  // The ActiveX cache and offline web pages exist only with their browser parts.
  Keep(27, {.read = {C("88C6C381-2E85-11D0-94DE-444553540000")},
            .absent = Path(h.occache, ",0"),
            .write = {C("88C6C381-2E85-11D0-94DE-444553540000")},
            .standard = Path(h.occache, ",0"),
            .when = [](const RowContext& c) { return c.qx.ActiveDesktop() || c.qx.IE5() || c.qx.IE6(); }});
  // Saved under "Computer", and read from "Subscriptions" first.
  Keep(28, {.read = {C("F5175861-2688-11d0-9C5E-00AA00A45957")},
            .absent = Path(h.webcheck, ",0"),
            .write = {C("F5175861-2688-11d0-9C5E-00AA00A45957")},
            .standard = Path(h.webcheck, ",0"),
            .when = [](const RowContext& c) { return c.qx.ActiveDesktop(); },
            .file = {{"Icon", "Computer", FileForm::IconLocation, ""},
                     {"Icon", "Subscriptions", FileForm::IconLocation, ""}}});
  Shell(29, 13);
  Shell(30, 15);
  Shell(31, 18);
  Keep(32, {.read = {{"HKCR", "CompressedFolder\\DefaultIcon", ""}},
            .absent = Path(h.zipfldr, ",0"),
            .write = {{"HKCR", "CompressedFolder\\DefaultIcon", ""}},
            .standard = Path(h.zipfldr, ",0")});

  // --- The shortcut arrow -------------------------------------------------------
  // Hidden by pointing Shell Icons 29 at the transparent icon beside the
  // program; either language's file counts as hidden.
  shortcut_ = &catalogue.Add(Custom{
      .control = "cbIsShortcut",
      .read =
          [this](RowContext& c) {
            std::string value = ReadPlace(c, SI(29), "");
            if (value == host_.transparentJA) cbIsShortcut.SetChecked(true);
            if (value == host_.transparent) cbIsShortcut.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            c.qx.WriteRegString("HKCR", "lnkfile", "IsShortcut", "");
            if (cbIsShortcut.Checked()) {
              icons[8].held = host_.transparent;
              WritePlace(c, SI(29), icons[8].held);
            }
          },
      .standard = [this](RowContext&) { cbIsShortcut.SetChecked(false); },
      .state = [this] { return Loaded{cbIsShortcut.Checked()}; },
      .cls = ChangeClass::IconChanged,
      .file = {{"Icon", "IsShortcut", FileForm::Boolean, "0"}}});

  // --- The colour depth -----------------------------------------------------------
  // No radio ticked (a stored depth that is none of the five) writes nothing.
  ui::RadioButton* radios[] = {&ra16Color, &ra256Color, &raHighColor, &raTrueColor, &ra32bitColor};
  for (int i = 0; i < 5; ++i) {
    ui::RadioButton& ra = *radios[i];
    std::string bpp = kColours[i].bpp;
    colour_.push_back(&catalogue.Add(Custom{
        .control = kColours[i].name,
        .read =
            [&ra, bpp](RowContext& c) {
              if (c.qx.ReadRegString("HKCU", kWindowMetrics, "Shell Icon BPP", "4") == bpp) ra.SetChecked(true);
              return Loaded{};
            },
        .write =
            [&ra, bpp](RowContext& c) {
              if (ra.Checked()) c.qx.WriteRegString("HKCU", kWindowMetrics, "Shell Icon BPP", bpp);
            },
        .standard = [](RowContext&) {},
        .state = [&ra] { return Loaded{ra.Checked()}; },
        .cls = ChangeClass::NeedLogoff,
        .file = {{"Icon", kColours[i].fileKey, FileForm::Boolean, "0"}}}));
  }
}

IconPages::Icon* IconPages::Find(const std::string& image) {
  for (Icon& icon : icons)
    if (icon.im->Name() == image) return &icon;
  return nullptr;
}

void IconPages::Refresh(Icon& icon) {
  constexpr uintptr_t kThisProgram = 0;
  icon.im->SetIcon(env_.qx.GetIconHandle(kThisProgram, icon.held));
}

// Unticking while the shortcut shows the transparent icon brings the arrow
// back at once; ticking waits for apply.
void IconPages::cbIsShortcutClick() {
  Icon& shortcut = icons[8];
  if (!cbIsShortcut.Checked() && (shortcut.held == host_.transparent || shortcut.held == host_.transparentJA)) {
    shortcut.held = host_.shell32 + ",29";
    Refresh(shortcut);
    env_.flags.iconChanged = true;
  }
  env_.applyEnabled();
}

void IconPages::SubIconList(const std::string& caption, ui::Image& image, std::string& held, bool& changed) {
  TfoIconList* picker = host_.picker ? host_.picker() : nullptr;
  if (!picker) return;
  if (::SubIconList(*picker, caption, image, held, changed, host_.iconDir)) env_.applyEnabled();
}

void IconPages::FitCaptions() {
  for (Icon& icon : icons) icon.gb->SetParentFont();  // the sheet's face: the layout leaves it room
}

void IconPages::ReadIcons(RowContext& ctx) {
  FitCaptions();  // the language is chosen by now
  for (int i = 0; i < kIcons; ++i) {
    for (int n = 0; n < kLayout[i].readStepsBefore; ++n) host_.step();
    icons_[i]->Read(ctx);
  }
  shortcut_->Read(ctx);
}

void IconPages::ReadColour(RowContext& ctx) { ReadRows(colour_, ctx); }

void IconPages::ApplyIcons(RowContext& ctx) {
  for (int i = 0; i < kIcons; ++i) {
    icons_[i]->Write(ctx);
    for (int n = 0; n < kLayout[i].applyStepsAfter; ++n) host_.step();
  }
  shortcut_->Write(ctx);
}

void IconPages::ApplyColour(RowContext& ctx) { WriteRows(colour_, ctx); }

// Explorer rebuilds its icon cache when the cache files are gone and the
// icon size changes; the size goes one down and back.
void IconPages::RebuildIconCache(RowContext& ctx) {
  port::System& system = *ctx.qx.Ports().system;
  std::optional<port::IconMetrics> metrics = system.GetIconMetrics();
  if (!metrics) return;
  IconMetrics = *metrics;
  for (const char* name : kCacheFiles) {
    std::string path = ctx.qx.WinDir() + name;
    if (ctx.files.FileExists(path)) ctx.files.RemoveFile(path);  // a file in use stays
  }
  ctx.qx.WriteRegString("HKCU", kWindowMetrics, "Shell Icon Size", std::to_string(host_.shellIconSize - 1));
  system.SetIconMetrics(IconMetrics, port::kSpifUpdateAndSend);
  host_.position(190);
  ctx.qx.WriteRegString("HKCU", kWindowMetrics, "Shell Icon Size", std::to_string(host_.shellIconSize));
  system.SetIconMetrics(IconMetrics, port::kSpifUpdateAndSend);
}

// After apply the shortcut image shows the transparent icon it now holds.
void IconPages::TakeLoaded() {
  if (cbIsShortcut.Checked()) Refresh(icons[8]);
}

void IconPages::StandardIcons(RowContext& ctx) { StandardRows(icons_, ctx); }

void IconPages::StandardShortcut(RowContext& ctx) { shortcut_->Standard(ctx); }

}  // namespace tolvane
