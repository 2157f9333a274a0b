#include "tolvane/page_ie.h"

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "tolvane/page_context.h"
#include "tolvane/page_explorer.h"
#include "tolvane/page_network.h"
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kSearchUrl = "Software\\Microsoft\\Internet Explorer\\SearchUrl";
constexpr const char* kIEMainLM = "Software\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kIEMainCU = "SOFTWARE\\Microsoft\\Internet Explorer\\Main";
constexpr const char* kOERequired = "SOFTWARE\\Microsoft\\Outlook Express\\5.0\\Required Settings";
constexpr const char* kOEUser = "Software\\Microsoft\\Outlook Express";
constexpr const char* kOEIdentity = "\\Software\\Microsoft\\Outlook Express\\5.0";
constexpr const char* kInternetSettings = "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr const char* kViewSourceEditor = "Software\\Microsoft\\Internet Explorer\\View Source Editor\\Editor Name";
constexpr const char* kIETitle = "Microsoft Internet Explorer";
constexpr const char* kOETitle = "Outlook Express";

bool IdentitiesByVersion(const TQXCommon& qx) { return qx.IE5() || qx.IE6(); }

std::string NotepadPath(const TQXCommon& qx) { return qx.WinDir() + "\\notepad.exe"; }

TextRef Of(ui::ComboBox& combo) {
  return {combo.Name(), [&combo] { return combo.Text(); }, [&combo](const std::string& v) { combo.SetText(v); }};
}

}  // namespace

const std::array<const char*, 9> kSearchUrlPresets = {
    "http://search.msn.co.jp/access/autosearch.asp?p=%s",
    "http://www.google.co.jp/keyword/%s",
    "http://search.msn.com/default.asp?MT=%s",
    "http://search.biglobe.ne.jp/?kw=%s",
    "http://search.yahoo.co.jp/bin/search?p=%s",
    "http://www.lycos.co.jp/cgi-bin/pursuit?cat=jp&query=%s",
    "http://www.excite.co.jp/search.gw?s=%s",
    "http://www.infoseek.co.jp/Titles?qt=%s",
    "http://search.goo.ne.jp/cgi-bin/search-co?q=%s",
};

std::string StandardAnonymousFtp(const TQXCommon& qx) {
  std::string text = "ZK31wolf@";
  if (qx.IE4()) text = "ZK41wolf@";
  if (qx.IE5()) text = "ZK51wolf@";
  if (qx.IE6()) text = "ZK61wolf@";
  return text;
}

IEPages::IEPages(ui::TabSheet& tsIE1, ui::TabSheet& tsIE2, Catalogue& catalogue, PageEnv& env,
                 ui::ListBox& identities)
    : gbSearchPage(tsIE1.Add<ui::GroupBox>("gbSearchPage", {16, 8, 654, 52}, "「find」「?」で検索するページ",
                                           "Search page by 'find xxx' or '? xxx'")),
      cbSearchUrl(gbSearchPage.Add<ui::ComboBox>("cbSearchUrl", {12, 20, 630, 21})),
      gbTitleOfIE(tsIE1.Add<ui::GroupBox>("gbTitleOfIE", {16, 68, 322, 52}, "インターネットエクスプローラのタイトル",
                                          "Title of Internet Explorer")),
      edIETitle(gbTitleOfIE.Add<ui::Edit>("edIETitle", {12, 20, 298, 21})),
      gbTitleOfOE(tsIE1.Add<ui::GroupBox>("gbTitleOfOE", {348, 68, 322, 52}, "アウトルックエクスプレスのタイトル",
                                          "Title of Outlook Express")),
      edOETitle(gbTitleOfOE.Add<ui::Edit>("edOETitle", {12, 20, 298, 21})),
      gbAnonymousFTP(tsIE1.Add<ui::GroupBox>("gbAnonymousFTP", {16, 128, 322, 52},
                                             "anonymousFTPにログインするときのパスワード", "Password of anonymousFTP")),
      edAnonymousFTP(gbAnonymousFTP.Add<ui::Edit>("edAnonymousFTP", {12, 20, 298, 21})),
      gbViewSourceEditor(tsIE1.Add<ui::GroupBox>("gbViewSourceEditor", {16, 188, 654, 96}, "ソースを表示するエディタ",
                                                 "Editor of View Source")),
      edViewSourceEditor(gbViewSourceEditor.Add<ui::Edit>("edViewSourceEditor", {12, 20, 578, 21})),
      buViewSourceEditor(gbViewSourceEditor.Add<ui::Button>("buViewSourceEditor", {596, 20, 46, 21}, "参照", "...")),
      laViewSourceEditor(gbViewSourceEditor.Add<ui::Label>(
          "laViewSourceEditor", {12, 50, 630, 38},
          "現在、動作が確認されているエディタは「秀丸エディタ」「EmEditor」だけです。"
          "それ以外のエディタの場合、動作しないことがあります。",
          "All editor is not always execute correctly.")),
      cbBackBitmapIE5(tsIE2.Add<ui::CheckBox>("cbBackBitmapIE5", {16, 10, 320, 17}, "ツールバーの背景を変更する",
                                              "Change wallpaper of IE's toolbar")),
      gbWallpaperIEtoolbar(tsIE2.Add<ui::GroupBox>("gbWallpaperIEtoolbar", {16, 34, 320, 112}, "ＩＥツールバー背景",
                                                   "Wallpaper of IE's toolbar")),
      imBackBitmapIE5(gbWallpaperIEtoolbar.Add<ui::Image>("imBackBitmapIE5", {12, 22, 80, 80})),
      cbIELogo(tsIE2.Add<ui::CheckBox>("cbIELogo", {350, 10, 320, 17}, "アニメーションロゴを変更する",
                                       "Change animation logo")),
      gbIEAnimationLogo(tsIE2.Add<ui::GroupBox>("gbIEAnimationLogo", {350, 34, 320, 280}, "ロゴ", "Logo")),
      imIELogo(gbIEAnimationLogo.Add<ui::Image>("imIELogo", {12, 14, 26, 260})),
      laIELogoNote(gbIEAnimationLogo.Add<ui::Label>(
          "laIELogoNote", {50, 18, 258, 250},
          "１コマが２６ｘ２６ドットの画像を、縦に並べたビットマップを指定して下さい。"
          "ビットマップはペイントブラシ等で作成できます。"
          "とりあえず試してみたい場合は、「トルヴァネ」インストールディレクトリの「ielogo_sample.bmp」を指定してみて下さい。",
          "Set a bitmap file that arranged the image of the 26x26 dot. If you want to try, set 'ielogo_sample.bmp' "
          "within installed folder.")),
      gbMaxConnectionsPerServer(tsIE2.Add<ui::GroupBox>("gbMaxConnectionsPerServer", {16, 156, 320, 84},
                                                        "１つのサーバーに同時に張れるコネクション数の上限",
                                                        "Max connection at same time")),
      laHttp11Server(gbMaxConnectionsPerServer.Add<ui::Label>("laHttp11Server", {16, 27, 120, 15}, "HTTP 1.1 Server")),
      edMaxConnectionsPerServer11(
          gbMaxConnectionsPerServer.Add<ui::RightEdit>("edMaxConnectionsPerServer11", {140, 23, 44, 21})),
      udMaxConnectionsPerServer11(
          gbMaxConnectionsPerServer.Add<ui::UpDown>("udMaxConnectionsPerServer11", {184, 23, 16, 21})),
      laHttp10Server(gbMaxConnectionsPerServer.Add<ui::Label>("laHttp10Server", {16, 55, 120, 15}, "HTTP 1.0 Server")),
      edMaxConnectionsPerServer10(
          gbMaxConnectionsPerServer.Add<ui::RightEdit>("edMaxConnectionsPerServer10", {140, 51, 44, 21})),
      udMaxConnectionsPerServer10(
          gbMaxConnectionsPerServer.Add<ui::UpDown>("udMaxConnectionsPerServer10", {184, 51, 16, 21})),
      lbIdentities(identities),
      env_(env) {
  cbSearchUrl.Style = ui::ComboStyle::DropDown;
  for (const char* preset : kSearchUrlPresets) cbSearchUrl.Items.Add(preset);
  laViewSourceEditor.WordWrap = true;
  laIELogoNote.WordWrap = true;
  imBackBitmapIE5.SetCursor(ui::Cursor::HandPoint);
  imIELogo.SetCursor(ui::Cursor::HandPoint);
  udMaxConnectionsPerServer11.SetRange(2, 16);
  udMaxConnectionsPerServer11.SetPosition(2);
  udMaxConnectionsPerServer11.SetAssociate(&edMaxConnectionsPerServer11);
  udMaxConnectionsPerServer10.SetRange(4, 16);
  udMaxConnectionsPerServer10.SetPosition(4);
  udMaxConnectionsPerServer10.SetAssociate(&edMaxConnectionsPerServer10);

  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  cbSearchUrl.OnChange = applyEnabled;
  for (ui::Edit* edit : {&edIETitle, &edOETitle, &edAnonymousFTP, &edViewSourceEditor}) edit->OnChange = applyEnabled;
  cbBackBitmapIE5.OnClick = [this](ui::Control&) { cbBackBitmapIE5Click(); };
  imBackBitmapIE5.OnClick = [this](ui::Control&) { imBackBitmapIE5Click(); };
  cbIELogo.OnClick = [this](ui::Control&) { cbIELogoClick(); };
  imIELogo.OnClick = [this](ui::Control&) { imIELogoClick(); };
  buViewSourceEditor.OnClick = [this](ui::Control&) { buViewSourceEditorClick(); };
  for (ui::UpDown* limit : {&udMaxConnectionsPerServer11, &udMaxConnectionsPerServer10})
    limit->OnChangingEx = [this](ui::Control&, bool& allow, int16_t, ui::UpDownButton) {
      allow = true;
      env_.applyEnabled();
    };
  numbers.push_back(std::make_unique<NumberEdit>(
      env_, edMaxConnectionsPerServer11,
      UpDownField(udMaxConnectionsPerServer11, "HTTP 1.1 サーバーへのコネクション数", "HTTP 1.1 Server connections")));
  numbers.push_back(std::make_unique<NumberEdit>(
      env_, edMaxConnectionsPerServer10,
      UpDownField(udMaxConnectionsPerServer10, "HTTP 1.0 サーバーへのコネクション数", "HTTP 1.0 Server connections")));

  const char* section = "Internet Explorer";
  // The toolbar background and the logo: a box and a path each (two keys of
  // the settings file each).
  catalogue.Add(Custom{
      .control = "cbBackBitmapIE5",
      .read =
          [this](RowContext& c) {
            ReadToolbarBitmap(c, "BackBitmapIE5", cbBackBitmapIE5, imBackBitmapIE5, BackBitmapIE5Path);
            return Loaded{};
          },
      .write = [this](RowContext& c) { WriteToolbarBitmap(c, "BackBitmapIE5", cbBackBitmapIE5, BackBitmapIE5Path); },
      .standard = [this](RowContext&) { cbBackBitmapIE5.SetChecked(false); },
      .state = [this] { return Loaded{BackBitmapIE5Path}; },
      .file = {{section, "BackBitmapIE5", FileForm::Boolean, "0"}, {section, "BackBitmapFileIE5", FileForm::Text, ""}},
      .fileGet = [this](size_t i) { return i == 0 ? Loaded{cbBackBitmapIE5.Checked()} : Loaded{BackBitmapIE5Path}; },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            if (i == 0) return cbBackBitmapIE5.SetChecked(AsBool(v));
            BackBitmapIE5Path = AsText(v);
            ShowLoadedBitmap(env_, cbBackBitmapIE5, imBackBitmapIE5, BackBitmapIE5Path);
          }});
  catalogue.Add(Custom{
      .control = "cbIELogo",
      .read =
          [this](RowContext& c) {
            ReadToolbarBitmap(c, "smBrandBitmap", cbIELogo, imIELogo, LogoBitmapPath);
            return Loaded{};
          },
      .write = [this](RowContext& c) { WriteToolbarBitmap(c, "smBrandBitmap", cbIELogo, LogoBitmapPath); },
      .standard = [this](RowContext&) { cbIELogo.SetChecked(false); },
      .state = [this] { return Loaded{LogoBitmapPath}; },
      .cls = ChangeClass::NeedLogoff,
      .file = {{section, "LogoBitmap", FileForm::Boolean, "0"}, {section, "LogoBitmapFile", FileForm::Text, ""}},
      .fileGet = [this](size_t i) { return i == 0 ? Loaded{cbIELogo.Checked()} : Loaded{LogoBitmapPath}; },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            if (i == 0) return cbIELogo.SetChecked(AsBool(v));
            LogoBitmapPath = AsText(v);
            ShowLoadedBitmap(env_, cbIELogo, imIELogo, LogoBitmapPath);
          }});

  catalogue.Add(Text{.edit = Of(cbSearchUrl), .at = {"HKCU", kSearchUrl, ""}, .standard = kSearchUrlPresets[0],
                     .file = {{section, "SearchUrl", FileForm::Text, kSearchUrlPresets[0]}}});
  // Read from the machine, written for the user and for the machine.
  catalogue.Add(Custom{
      .control = "edIETitle",
      .read =
          [this](RowContext& c) {
            edIETitle.SetText(c.qx.ReadRegString("HKLM", kIEMainLM, "Window Title", kIETitle));
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            c.qx.WriteRegString("HKCU", kIEMainCU, "Window Title", edIETitle.Text());
            c.qx.WriteRegString("HKLM", kIEMainLM, "Window Title", edIETitle.Text());
          },
      .standard = [this](RowContext&) { edIETitle.SetText(kIETitle); },
      .state = [this] { return Loaded{edIETitle.Text()}; },
      .file = {{section, "IETitle", FileForm::Text, kIETitle}}});
  // From version 5 the mail program keeps its title per identity, under the
  // identities read at start, and for the machine.
  catalogue.Add(Custom{
      .control = "edOETitle",
      .read =
          [this](RowContext& c) {
            if (IdentitiesByVersion(c.qx)) {
              c.qx.GetRegKeyNames("HKCU", "Identities");
              lbIdentities.Items.Assign(c.qx.StringList());
              edOETitle.SetText(c.qx.ReadRegString("HKLM", kOERequired, "WindowTitle", kOETitle));
            } else {
              edOETitle.SetText(c.qx.ReadRegString("HKCU", kOEUser, "WindowTitle", kOETitle));
            }
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            const std::string title = edOETitle.Text();
            if (!IdentitiesByVersion(c.qx)) {
              c.qx.WriteRegString("HKCU", kOEUser, "WindowTitle", title);
              return;
            }
            for (const std::string& identity : lbIdentities.Items.All())
              c.qx.WriteRegString("HKCU", "Identities\\" + identity + kOEIdentity, "WindowTitle", title);
            c.qx.WriteRegString("HKLM", kOERequired, "WindowTitle", title);
          },
      .standard = [this](RowContext&) { edOETitle.SetText(kOETitle); },
      .state = [this] { return Loaded{edOETitle.Text()}; },
      .file = {{section, "OETitle", FileForm::Text, kOETitle}}});
  catalogue.Add(Text{.edit = Of(edAnonymousFTP), .at = {"HKCU", kInternetSettings, "EmailName"},
                     .standard = [](const RowContext& c) { return StandardAnonymousFtp(c.qx); },
                     .file = {{section, "AnonymousFTP", FileForm::Text, "ZK41wolf@"}}});
  // Its value when absent is made from the Windows folder (in the settings
  // file too).
  Value notepad = [](const RowContext& c) { return NotepadPath(c.qx); };
  catalogue.Add(Text{.edit = Of(edViewSourceEditor), .at = {"HKLM", kViewSourceEditor, ""}, .absent = notepad,
                     .standard = notepad,
                     .file = {{section, "ViewSourceEditor", FileForm::Text, "%WinDir%\\notepad.exe"}}});

  catalogue.Add(UpDownDword{.position = Of(udMaxConnectionsPerServer11),
                            .at = {"HKCU", kInternetSettings, "MaxConnectionsPerServer"}, .absent = 2, .standard = 2,
                            .cls = ChangeClass::NeedRestart,
                            .file = {{section, "MaxConnectionsPerServer11", FileForm::Integer, "2"}}});
  catalogue.Add(UpDownDword{.position = Of(udMaxConnectionsPerServer10),
                            .at = {"HKCU", kInternetSettings, "MaxConnectionsPer1_0Server"}, .absent = 4,
                            .standard = 4, .cls = ChangeClass::NeedRestart,
                            .file = {{section, "MaxConnectionsPerServer10", FileForm::Integer, "4"}}});

  read = catalogue.Rows({"cbBackBitmapIE5", "cbIELogo", "cbSearchUrl", "edIETitle", "edOETitle", "edAnonymousFTP",
                         "edViewSourceEditor"});
  apply = read;  // step 12 writes in the order of the reads
  readLimits = catalogue.Rows({"udMaxConnectionsPerServer11", "udMaxConnectionsPerServer10"});
  applyLimits = catalogue.Rows({"udMaxConnectionsPerServer10", "udMaxConnectionsPerServer11"});
  standard = catalogue.Rows({"cbBackBitmapIE5", "cbIELogo", "cbSearchUrl", "edIETitle", "edOETitle",
                             "edAnonymousFTP", "edViewSourceEditor", "udMaxConnectionsPerServer10",
                             "udMaxConnectionsPerServer11"});
}

void IEPages::imBackBitmapIE5Click() { PickToolbarBitmap(env_, imBackBitmapIE5, BackBitmapIE5Path); }
void IEPages::imIELogoClick() { PickToolbarBitmap(env_, imIELogo, LogoBitmapPath); }
void IEPages::cbBackBitmapIE5Click() { ToolbarBitmapClick(env_, cbBackBitmapIE5, imBackBitmapIE5, BackBitmapIE5Path); }
void IEPages::cbIELogoClick() { ToolbarBitmapClick(env_, cbIELogo, imIELogo, LogoBitmapPath); }

void IEPages::buViewSourceEditorClick() {
  port::FileDialogOptions options;
  options.filter = ExecutableFilter(env_.qx);
  std::optional<std::string> file = env_.dialogs.OpenFile(env_.app.ActiveWindowHandle(), options);
  if (file) edViewSourceEditor.SetText(*file);
}

}  // namespace tolvane
