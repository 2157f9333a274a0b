// The installer's program block, on whatever ports the caller gives the
// application.
#pragma once
#include <string>

#include "ui/application.h"

// Creates the main window and runs the application; "/U" (any case, and
// anything after it) as the first argument uninstalls. Returns the exit code.
int RunNistrel(ui::Application& app, const std::string& firstArgument);
