#include "tolvane/changing.h"

namespace tolvane {

TfoChanging::TfoChanging(ui::Application& app)
    : ui::Form(app, "foChanging"),
      paFrame(Add<ui::Panel>("paFrame", {8, 8, 412, 107})),
      laNowSetting(paFrame.Add<ui::Label>("laNowSetting", {8, 16, 396, 36}, "Now Setting !!")),
      UpdateProgress(paFrame.Add<ui::ProgressBar>("UpdateProgress", {16, 70, 380, 18})) {
  Border = ui::BorderStyle::Dialog;
  BorderIcons = 0;
  Position = ui::FormPosition::ScreenCenter;
  SetClientSize(428, 123);
  SetCaption(app.Title());
  paFrame.BevelOuter = ui::Bevel::Lowered;
  laNowSetting.TextAlignment = ui::Alignment::Center;
  ui::Font f = laNowSetting.EffectiveFont();
  f.name = "Arial";
  f.charset = ui::kAnsiCharset;
  f.height = -29;
  f.bold = f.italic = true;
  f.color = ui::clBlue;
  laNowSetting.SetFont(f);
  UpdateProgress.SetRange(0, 200);
  UpdateProgress.Step = 10;
  UpdateProgress.Smooth = true;
}

}  // namespace tolvane
