// What Windows XP SP3 offers a program, read from the gate's list, and the
// check of one program against it.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "pe_image.h"

namespace xpgate {

struct XpSystem {
  std::set<std::string> dlls;                        // "KERNEL32.DLL", "HHCTRL.OCX"
  std::set<std::string> lacking;                     // "KERNEL32!GetTickCount64"
  std::vector<std::pair<std::string, std::string>> lackingPatterns;  // ("MSVCRT", "*_s")
  std::map<std::string, std::string> lookups;        // "HHCTRL.OCX!HtmlHelpA" -> its XP fallback
};

// Lines "dll NAME", "lacks DLL!function" (a function may begin or end with
// "*"), "lookup DLL!function | fallback"; "#" begins a comment. False, with
// the line, on a line it cannot read.
bool ParseXpSystem(const std::string& text, XpSystem& out, std::string& error);

// The key of a DLL in the list: upper case, ".DLL" dropped ("KERNEL32").
std::string DllKey(const std::string& dll);

// Every reason why Windows XP SP3 would refuse to load the program or would
// fail a call it makes, one line each, beginning with the program's name.
std::vector<std::string> CheckProgram(const std::string& program, const PeImage& image,
                                      const std::vector<std::string>& strings, const XpSystem& xp);

}  // namespace xpgate
