#include "tolvane/page_context.h"

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "tolvane/page_network.h"  // the edits a box enables
#include "ui/application.h"

namespace tolvane {

namespace {

constexpr const char* kFolderIconVerb = "Folder\\shell\\TolvaneIcon";
constexpr const char* kNewWindowVerb = "Folder\\shell\\NewWindow";
constexpr const char* kPromptVerb = "Folder\\shell\\TolvanePrompt";
constexpr const char* kNewWindowCommand = "explorer.exe /root, /idlist,%I";
// The prompt command as older versions wrote it (the folder unquoted).
constexpr const char* kOldPromptCommand = "cmd.exe /K cd %1";

// The verbs of older versions, named in the language of the system; only read.
std::string OldFolderIconCommand(const TQXCommon& qx) {
  return qx.Japanese() ? "Folder\\shell\\ｱｲｺﾝ変更\\command" : "Folder\\shell\\Change Icon\\command";
}
std::string OldPromptCommand(const TQXCommon& qx) {
  return qx.Japanese() ? "Folder\\shell\\ｺﾏﾝﾄﾞﾌﾟﾛﾝﾌﾟﾄ\\command" : "Folder\\shell\\Command Prompt\\command";
}

std::string Command(RowContext& c, const std::string& verb) {
  return c.qx.ReadRegString("HKCR", verb + "\\command", "", "");
}

// A verb: its menu text as the key's default value, its command below.
void WriteVerb(RowContext& c, const std::string& verb, const std::string& menuText, const std::string& command) {
  c.qx.WriteRegString("HKCR", verb, "", menuText);
  c.qx.WriteRegString("HKCR", verb + "\\command", "", command);
}

}  // namespace

std::string ExecutableFilter(const TQXCommon& qx) {
  return qx.Japanese() ? "実行ファイル (*.EXE) | *.EXE" : "Executable File (*.EXE) | *.EXE";
}

ContextMenuPage::ContextMenuPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env, Commands commands)
    : cbFolderIcon(sheet.Add<ui::CheckBox>("cbFolderIcon", {16, 10, 400, 17}, "フォルダーアイコン変更",
                                           "Change icon of each folder")),
      laFolderIconNote(sheet.Add<ui::Label>(
          "laFolderIconNote", {36, 30, 630, 15}, "（フォルダーで右クリックした時のメニューに\"アイコン変更\"が出現）",
          "( When you right-click on folder, 'Change icon ...' appear in context menu. )")),
      cbNewWindow(sheet.Add<ui::CheckBox>("cbNewWindow", {16, 54, 400, 17}, "任意のフォルダーから別ウィンドウを開く",
                                          "Open another window on folder")),
      laNewWindowNote(sheet.Add<ui::Label>(
          "laNewWindowNote", {36, 74, 630, 15},
          "（フォルダーで右クリックした時のメニューに\"別ウィンドウで開く\"が出現）",
          "( When you right-click on folder, 'Open with another window' appear in context menu. )")),
      cbNotepad(sheet.Add<ui::CheckBox>("cbNotepad", {16, 98, 650, 17},
                                        "未登録ファイルをダブルクリックしたら取りあえず以下のアプリケーションで開く",
                                        "Open Non-Associated files with the following application")),
      edNotepadName(sheet.Add<ui::Edit>("edNotepadName", {36, 122, 250, 21})),
      laNotepadNote1(sheet.Add<ui::Label>("laNotepadNote1", {340, 125, 326, 15}, "(例) メモ帳で開く",
                                          "(e.g.) Open with notepad ...")),
      edNotepad(sheet.Add<ui::Edit>("edNotepad", {36, 150, 250, 21})),
      buNotepad(sheet.Add<ui::Button>("buNotepad", {290, 150, 40, 21}, "参照", "...")),
      laNotepadNote2(sheet.Add<ui::Label>("laNotepadNote2", {340, 153, 326, 15}, "(例) C:\\WINDOWS\\NOTEPAD.EXE %1",
                                          "(e.g.) C:\\WINDOWS\\NOTEPAD.EXE %1")),
      laNotepadNote3(sheet.Add<ui::Label>("laNotepadNote3", {340, 170, 326, 15},
                                          "      C:\\PROGRAM FILES\\HIDEMARU\\HIDEMARU.EXE %1")),
      cbAllFileEditor(sheet.Add<ui::CheckBox>("cbAllFileEditor", {36, 192, 630, 17},
                                              "未登録ファイルだけでなく全てのファイルの右クリックメニューに追加する",
                                              "When you right-click on all files, display above menu")),
      laAllFileEditorNote(sheet.Add<ui::Label>(
          "laAllFileEditorNote", {56, 212, 610, 15},
          "（Officeツールバー,FileVisor等を使用する際はこの設定を無効にして下さい）",
          "( If you use Microsoft Office Shortcut Bar, this my conflict it. )")),
      cbDosPrompt(sheet.Add<ui::CheckBox>("cbDosPrompt", {16, 238, 400, 17},
                                          "任意のフォルダーからコマンドプロンプトを可能にする",
                                          "Enable to Dos-Prompt on each folder")),
      laDosPromptNote(sheet.Add<ui::Label>(
          "laDosPromptNote", {36, 258, 630, 15},
          "（フォルダーで右クリックした時のメニューに\"コマンドプロンプト\"が出現）",
          "( When you right-click on folder, 'MS-DOS Prompt' appear in context menu. )")),
      env_(env),
      commands_(std::move(commands)) {
  auto applyEnabled = [this](ui::Control&) { env_.applyEnabled(); };
  for (ui::CheckBox* box : {&cbNewWindow, &cbDosPrompt, &cbAllFileEditor}) box->OnClick = applyEnabled;
  edNotepadName.OnChange = applyEnabled;
  edNotepad.OnChange = applyEnabled;
  cbFolderIcon.OnClick = [this](ui::Control&) { cbFolderIconClick(); };
  cbNotepad.OnClick = [this](ui::Control&) { cbNotepadClick(); };
  buNotepad.OnClick = [this](ui::Control&) { buNotepadClick(); };
  EnableEditor(false);
  // These three show their English text as a tooltip, in both languages.
  for (ui::CheckBox* box : {&cbNewWindow, &cbNotepad, &cbAllFileEditor}) box->SetShowHint(true);

  const char* section = "Context Menu";
  // Any command under this verb or the older one counts as registered; the
  // apply writes and deletes only this one.
  catalogue.Add(Custom{
      .control = "cbFolderIcon",
      .read =
          [this](RowContext& c) {
            if (!c.qx.ReadRegString("HKCR", OldFolderIconCommand(c.qx), "", "").empty()) cbFolderIcon.SetChecked(true);
            if (!Command(c, kFolderIconVerb).empty()) cbFolderIcon.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbFolderIcon.Checked())
              WriteVerb(c, kFolderIconVerb, c.qx.Japanese() ? "アイコン変更(&I)" : "Change Icon(&I)",
                        commands_.folderIcon());
            else
              c.qx.DeleteRegKey("HKCR", kFolderIconVerb);
          },
      .standard = [this](RowContext&) { cbFolderIcon.SetChecked(false); },
      .state = [this] { return Loaded{cbFolderIcon.Checked()}; },
      .file = {{section, "FolderIconChangeEnabled", FileForm::Boolean, "0"}}});

  catalogue.Add(Custom{
      .control = "cbNewWindow",
      .read =
          [this](RowContext& c) {
            if (Command(c, kNewWindowVerb) == kNewWindowCommand) cbNewWindow.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbNewWindow.Checked())
              WriteVerb(c, kNewWindowVerb, c.qx.Japanese() ? "別ウィンドウで開く(&A)" : "Open Another Window(&A)",
                        kNewWindowCommand);
            else
              c.qx.DeleteRegKey("HKCR", kNewWindowVerb);
          },
      .standard = [this](RowContext&) { cbNewWindow.SetChecked(false); },
      .state = [this] { return Loaded{cbNewWindow.Checked()}; },
      .file = {{section, "NewExplorerFromHere", FileForm::Boolean, "0"}}});

  // The editor verb: for files of no registered type (Unknown), or for all
  // files (*\shell\view), which wins when both are there. Four controls, one
  // setting; the settings file carries it in four keys.
  catalogue.Add(Custom{
      .control = "cbNotepad",
      .read =
          [this](RowContext& c) {
            EnableEditor(false);
            cbAllFileEditor.SetChecked(false);
            if (c.qx.ReadRegString("HKCR", "Unknown\\Shell", "", "") == "open") {
              cbNotepad.SetChecked(true);
              EnableEditor(true);
              edNotepad.SetText(c.qx.ReadRegString("HKCR", "Unknown\\shell\\open\\command", "", ""));
              edNotepadName.SetText(c.qx.ReadRegString("HKCR", "Unknown\\shell\\open", "", ""));
            }
            if (std::string view = Command(c, "*\\shell\\view"); !view.empty()) {
              cbNotepad.SetChecked(true);
              EnableEditor(true);
              edNotepad.SetText(view);
              edNotepadName.SetText(c.qx.ReadRegString("HKCR", "*\\shell\\view", "", ""));
              cbAllFileEditor.SetChecked(true);
            }
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbNotepad.Checked() && cbAllFileEditor.Checked()) {
              WriteVerb(c, "*\\shell\\view", edNotepadName.Text(), edNotepad.Text());
              c.qx.WriteRegString("HKCR", "Unknown\\Shell", "", "");
              c.qx.DeleteRegKey("HKCR", "Unknown\\Shell\\open");
            } else if (cbNotepad.Checked()) {
              c.qx.WriteRegString("HKCR", "Unknown\\Shell", "", "open");
              WriteVerb(c, "Unknown\\Shell\\open", edNotepadName.Text(), edNotepad.Text());
              c.qx.DeleteRegKey("HKCR", "*\\shell\\view");
            } else {
              c.qx.DeleteRegKey("HKCR", "*\\shell\\view");
              c.qx.WriteRegString("HKCR", "Unknown\\Shell", "", "");
              c.qx.DeleteRegKey("HKCR", "Unknown\\Shell\\open");
            }
          },
      .standard = [this](RowContext&) { cbNotepad.SetChecked(false); },
      .state = [this] { return Loaded{cbNotepad.Checked()}; },
      .file = {{section, "UnknownFileOpen", FileForm::Boolean, "0"},
               {section, "UnknownFileOpenProgram", FileForm::Text, ""},
               {section, "UnknownFileOpenProgramName", FileForm::Text, ""},
               {section, "AllFileOpen", FileForm::Boolean, "1"}},
      .fileGet =
          [this](size_t i) {
            switch (i) {
              case 0: return Loaded{cbNotepad.Checked()};
              case 1: return Loaded{edNotepad.Text()};
              case 2: return Loaded{edNotepadName.Text()};
              default: return Loaded{cbAllFileEditor.Checked()};
            }
          },
      .fileSet =
          [this](size_t i, const Loaded& v) {
            switch (i) {
              case 0: return cbNotepad.SetChecked(AsBool(v));
              case 1: return edNotepad.SetText(AsText(v));
              case 2: return edNotepadName.SetText(AsText(v));
              default: return cbAllFileEditor.SetChecked(AsBool(v));
            }
          }});

  // The prompt verb; the older verb's commands count as registered too.
  catalogue.Add(Custom{
      .control = "cbDosPrompt",
      .read =
          [this](RowContext& c) {
            std::string old = c.qx.ReadRegString("HKCR", OldPromptCommand(c.qx), "", "");
            if (old == "cmd.exe" || old == kOldPromptCommand || old == kPromptCommand) cbDosPrompt.SetChecked(true);
            std::string now = Command(c, kPromptVerb);
            if (now == kOldPromptCommand || now == kPromptCommand) cbDosPrompt.SetChecked(true);
            return Loaded{};
          },
      .write =
          [this](RowContext& c) {
            if (cbDosPrompt.Checked())
              WriteVerb(c, kPromptVerb, c.qx.Japanese() ? "コマンドプロンプト(&C)" : "Command Prompt(&C)", kPromptCommand);
            else
              c.qx.DeleteRegKey("HKCR", kPromptVerb);
          },
      .standard = [this](RowContext&) { cbDosPrompt.SetChecked(false); },
      .state = [this] { return Loaded{cbDosPrompt.Checked()}; },
      .file = {{section, "DosPromptFromHere", FileForm::Boolean, "0"}}});

  read = catalogue.Rows({"cbFolderIcon", "cbNewWindow", "cbNotepad", "cbDosPrompt"});
  apply = catalogue.Rows({"cbNewWindow", "cbNotepad", "cbDosPrompt"});
  applyFolderIcon = catalogue.Rows({"cbFolderIcon"});
  standard = read;
}

void ContextMenuPage::EnableEditor(bool enabled) {
  EnableEdit(edNotepadName, enabled);
  EnableEdit(edNotepad, enabled);
  cbAllFileEditor.SetEnabled(enabled);
}

void ContextMenuPage::cbFolderIconClick() {
  // Without Active Desktop Explorer shows no folder's own icon; the verb is
  // written all the same.
  if (cbFolderIcon.Checked() && !env_.qx.ActiveDesktop())
    env_.app.MessageBox(env_.qx.Japanese()
                            ? "このＰＣはアクティブデスクトップ（ＩＥ４付属）がインストールされてないので、\r"
                              "フォルダーごとにアイコンを変更することはできません"
                            : "You can not change icon on each folder,\r"
                              "because of this PC is not installed ActiveDesktop (IE4).",
                        "", port::MbIcon::Warning, port::MbButtons::OK);
  env_.applyEnabled();
}

void ContextMenuPage::cbNotepadClick() {
  const bool ticked = cbNotepad.Checked();
  EnableEditor(ticked);
  if (ticked) {
    if (edNotepadName.Text().empty()) edNotepadName.SetText(env_.qx.Japanese() ? "メモ帳で開く" : "Open with Notepad");
    if (edNotepad.Text().empty()) edNotepad.SetText(commands_.notepad());
  }
  env_.applyEnabled();
}

void ContextMenuPage::buNotepadClick() {
  port::FileDialogOptions options;
  options.filter = ExecutableFilter(env_.qx);
  std::optional<std::string> file = env_.dialogs.OpenFile(env_.app.ActiveWindowHandle(), options);
  if (file) edNotepad.SetText(*file + " \"%1\"");
}

}  // namespace tolvane
