// The platform services a program runs on. main() fills it with the win32
// implementations; tests fill it with the memory ones. Nothing else knows
// which it is.
#pragma once

namespace port {

class Registry;
class System;
class Library;
class Icons;
class Dialogs;
class Shutdown;
class Shell;
class Files;
class Profile;

struct Ports {
  Registry* registry = nullptr;
  System* system = nullptr;
  Library* library = nullptr;
  Icons* icons = nullptr;
  Dialogs* dialogs = nullptr;
  Shutdown* shutdown = nullptr;
  Shell* shell = nullptr;
  Files* files = nullptr;
  Profile* profile = nullptr;
};

}  // namespace port
