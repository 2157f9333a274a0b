// The program block of the cleanup wizard, on whatever ports the caller
// gives the application: creates the one window and runs the application.
#pragma once
#include "ui/application.h"

int RunPavrel(ui::Application& app);
