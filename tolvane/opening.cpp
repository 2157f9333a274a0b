#include "tolvane/opening.h"

#include "tolvane/main_form.h"

namespace tolvane {

TfoOpening::TfoOpening(ui::Application& app)
    : ui::Form(app, "foOpening"),
      paFrame(Add<ui::Panel>("paFrame", {0, 0, 484, 127})),
      laAppName(paFrame.Add<ui::Label>("laAppName", {8, 20, 468, 36})),
      laLine(paFrame.Add<ui::Label>("laLine", {8, 64, 468, 16}, "Windows XP Settings Tool")),
      ProgressBar(paFrame.Add<ui::ProgressBar>("ProgressBar", {24, 92, 436, 16})) {
  Border = ui::BorderStyle::None;
  BorderIcons = 0;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(484, 127);
  paFrame.BevelOuter = ui::Bevel::Lowered;
  laAppName.TextAlignment = ui::Alignment::Center;
  laLine.TextAlignment = ui::Alignment::Center;
  ui::Font f = laAppName.EffectiveFont();
  f.name = "MS UI Gothic";
  f.height = -27;
  laAppName.SetFont(f);
  ProgressBar.SetRange(0, 150);
  ProgressBar.Step = 5;
  ProgressBar.Smooth = true;
  OnShow = ui::Bind(this, &TfoOpening::FormShow);
}

void TfoOpening::FormShow() {
  auto* main = dynamic_cast<TfoMain*>(App().MainForm());
  if (main && !main->QX.Japanese()) {
    ui::Font f = EffectiveFont();
    f.charset = ui::kAnsiCharset;
    f.name = "MS Sans Serif";
    SetFont(f);
    ui::Font a = laAppName.EffectiveFont();
    a.charset = ui::kAnsiCharset;
    a.name = "Arial";
    a.SetSize(16);
    laAppName.SetFont(a);
  }
  laAppName.SetCaption(App().Title());
}

}  // namespace tolvane
