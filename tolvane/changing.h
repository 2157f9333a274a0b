// The progress form of the apply road: "Now Setting !!" and a bar that the
// road advances at its fixed points.
#pragma once
#include "ui/ui.h"

namespace tolvane {

class TfoChanging : public ui::Form {
 public:
  explicit TfoChanging(ui::Application& app);
  ui::Panel& paFrame;
  ui::Label& laNowSetting;
  ui::ProgressBar& UpdateProgress;
  // One step of 10; the road calls it 27 times.
  void Advance() { UpdateProgress.StepIt(); ++advances_; }
  int Advances() const { return advances_; }

 private:
  int advances_ = 0;
};

}  // namespace tolvane
