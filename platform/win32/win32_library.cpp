#include "platform/win32/win32_library.h"

namespace port {
LibHandle Win32Library::Load(const std::string&) { return 0; }
ProcAddr Win32Library::Find(LibHandle, const std::string&) { return 0; }
void Win32Library::Free(LibHandle) {}
uintptr_t Win32Library::CallHtmlHelp(ProcAddr, uintptr_t, const std::string&, uint32_t, uintptr_t) { return 0; }
}  // namespace port
