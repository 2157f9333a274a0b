#include "xp_rules.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace xpgate {
namespace {

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool SplitExport(const std::string& s, std::string& dll, std::string& name) {
  size_t bang = s.find('!');
  if (bang == std::string::npos || bang == 0 || bang + 1 == s.size()) return false;
  dll = DllKey(Trim(s.substr(0, bang)));
  name = Trim(s.substr(bang + 1));
  return !name.empty() && name.find_first_of(" \t") == std::string::npos;
}

bool Matches(const std::string& pattern, const std::string& name) {
  if (pattern.size() > 1 && pattern.front() == '*') {
    std::string tail = pattern.substr(1);
    return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
  }
  if (pattern.size() > 1 && pattern.back() == '*') return name.rfind(pattern.substr(0, pattern.size() - 1), 0) == 0;
  return pattern == name;
}

bool Lacks(const XpSystem& xp, const std::string& dllKey, const std::string& name) {
  if (xp.lacking.count(dllKey + "!" + name)) return true;
  for (const auto& [dll, pattern] : xp.lackingPatterns)
    if (dll == dllKey && Matches(pattern, name)) return true;
  return false;
}

std::string Version(uint16_t major, uint16_t minor) { return std::to_string(major) + "." + std::to_string(minor); }

bool NewerThanXp(uint16_t major, uint16_t minor) { return major > 5 || (major == 5 && minor > 1); }

}  // namespace

std::string DllKey(const std::string& dll) {
  std::string k = Upper(dll);
  if (k.size() > 4 && k.compare(k.size() - 4, 4, ".DLL") == 0) k.resize(k.size() - 4);
  return k;
}

bool ParseXpSystem(const std::string& text, XpSystem& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::string t = Trim(line.substr(0, line.find('#')));
    if (t.empty()) continue;
    size_t space = t.find_first_of(" \t");
    std::string word = t.substr(0, space), rest = space == std::string::npos ? "" : Trim(t.substr(space));
    std::string dll, name;
    bool ok = false;
    if (word == "dll" && !rest.empty() && rest.find_first_of(" \t") == std::string::npos) {
      out.dlls.insert(Upper(rest).find('.') == std::string::npos ? Upper(rest) + ".DLL" : Upper(rest));
      ok = true;
    } else if (word == "lacks" && SplitExport(rest, dll, name)) {
      if (name.front() == '*' || name.back() == '*')
        out.lackingPatterns.emplace_back(dll, name);
      else
        out.lacking.insert(dll + "!" + name);
      ok = true;
    } else if (word == "lookup") {
      size_t bar = rest.find('|');
      std::string fallback = bar == std::string::npos ? "" : Trim(rest.substr(bar + 1));
      if (bar != std::string::npos && !fallback.empty() && SplitExport(rest.substr(0, bar), dll, name)) {
        out.lookups[dll + "!" + name] = fallback;
        ok = true;
      }
    }
    if (!ok) {
      error = "line " + std::to_string(number) + " is not \"dll NAME\", \"lacks DLL!function\" or " +
              "\"lookup DLL!function | its fallback on Windows XP\": " + line;
      return false;
    }
  }
  return true;
}

std::vector<std::string> CheckProgram(const std::string& program, const PeImage& image,
                                      const std::vector<std::string>& strings, const XpSystem& xp) {
  std::vector<std::string> faults;
  auto fault = [&](const std::string& what) { faults.push_back(program + ": " + what); };
  if (image.machine != kMachineI386 || image.pe32plus) {
    char hex[8];
    snprintf(hex, sizeof hex, "0x%x", image.machine);
    fault(std::string("machine ") + hex + " is not i386 (Windows XP is 32-bit)");
  }
  if (NewerThanXp(image.osMajor, image.osMinor))
    fault("the header's OS version " + Version(image.osMajor, image.osMinor) + " is newer than 5.1 (Windows XP)");
  if (NewerThanXp(image.subsystemMajor, image.subsystemMinor))
    fault("the header's subsystem version " + Version(image.subsystemMajor, image.subsystemMinor) +
          " is newer than 5.1 (Windows XP)");

  std::set<std::string> imported;
  for (const ImportedDll& d : image.imports) {
    std::string key = DllKey(d.dll);
    std::string when = d.delayed ? " (delay-loaded)" : "";
    std::string file = key.find('.') == std::string::npos ? key + ".DLL" : key;
    if (!xp.dlls.count(file)) fault("imports " + d.dll + when + ", a DLL that Windows XP SP3 does not have");
    for (const std::string& n : d.names) {
      imported.insert(n);
      if (Lacks(xp, key, n))
        fault("imports " + d.dll + "!" + n + when + ", which Windows XP SP3 does not export");
    }
    for (uint16_t o : d.ordinals)
      fault("imports " + d.dll + " ordinal " + std::to_string(o) + when + ", which the gate cannot check by name");
  }

  // A name that XP lacks, written in the program but not imported: looked up
  // at run time, which the gate's list must name with the program's fallback.
  std::set<std::string> lookedUp;
  for (const auto& [entry, fallback] : xp.lookups) lookedUp.insert(entry.substr(entry.find('!') + 1));
  std::set<std::string> reported;
  for (const std::string& s : strings) {
    if (imported.count(s) || lookedUp.count(s) || reported.count(s)) continue;
    for (const std::string& entry : xp.lacking) {
      if (entry.compare(entry.find('!') + 1, std::string::npos, s) != 0) continue;
      fault("names " + entry + ", which Windows XP SP3 does not export, outside its imports: a run-time " +
            "lookup that the gate's list does not name with its fallback");
      reported.insert(s);
      break;
    }
  }
  return faults;
}

}  // namespace xpgate
