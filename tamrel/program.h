// The program block of the folder-icon tool, on whatever ports the caller
// gives the application.
#pragma once
#include <string>

#include "ui/application.h"

// Started without a folder or drive, shows a notice in the system's language
// and ends at once, reading and writing nothing: an empty target would count
// as a folder and put a Desktop.ini at the root of the current drive.
// Otherwise creates the main window and the icon picker and runs the
// application. Returns the exit code.
int RunTamrel(ui::Application& app, const std::string& commandLine);
