// The real ports of one program, and the set that hands them out: every
// program's wWinMain makes one and passes `ports` to its application.
#pragma once
#include "platform/ports.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_shell.h"
#include "platform/win32/win32_shutdown.h"
#include "platform/win32/win32_system.h"

namespace port {

struct Win32Ports {
  Win32Registry registry;
  Win32System system;
  Win32Library library;
  Win32Icons icons;
  Win32Dialogs dialogs;
  Win32Shutdown shutdown;
  Win32Shell shell;
  Win32Files files;
  Win32Profile profile;
  Ports ports{.registry = &registry, .system = &system, .library = &library, .icons = &icons,
              .dialogs = &dialogs, .shutdown = &shutdown, .shell = &shell, .files = &files,
              .profile = &profile};

  Win32Ports() = default;
  Win32Ports(const Win32Ports&) = delete;
  Win32Ports& operator=(const Win32Ports&) = delete;
};

}  // namespace port
