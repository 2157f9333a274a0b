#include "tamrel/program.h"

#include "platform/system.h"
#include "tamrel/command_line.h"
#include "tamrel/main_form.h"

int RunTamrel(ui::Application& app, const std::string& commandLine) {
  std::string target = TargetArgument(commandLine, app.Ports().system->ModulePath());
  if (target.empty()) {
    bool japanese = app.Ports().system->DefaultLocale() == 1041;
    app.MessageBox(japanese ? "フォルダまたはドライブを指定して起動してください。"
                            : "Start this program with a folder or a drive.",
                   "", port::MbIcon::Information);
    return 0;
  }
  TfoMain& main = app.CreateForm<TfoMain>(target);
  TfoIconList& picker = app.CreateForm<TfoIconList>(main.QX, main.SelectedIconIndex);
  picker.SetClientSize(430, 351);
  picker.BorderIcons = 0;
  picker.Position = ui::FormPosition::ScreenCenter;
  main.foIconList = &picker;
  app.Run();
  return 0;
}
