// The start-up splash: the application's name and a bar that the start-up
// road advances while it reads the pages.
#pragma once
#include "ui/ui.h"

namespace tolvane {

class TfoOpening : public ui::Form {
 public:
  explicit TfoOpening(ui::Application& app);
  ui::Panel& paFrame;
  ui::Label& laAppName;
  ui::Label& laLine;
  ui::ProgressBar& ProgressBar;
  void FormShow();
};

}  // namespace tolvane
