// The XP gate: reads the headers and imports of Windows programs and fails
// when Windows XP SP3 would refuse to load one, or one imports or looks up a
// function that XP lacks.
// Usage: xpgate [--list] XP-LIST PROGRAM...
//   --list: also prints every imported DLL and function, and the run-time
//           lookups that the list names, found in each program.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "pe_image.h"
#include "xp_rules.h"

namespace {

bool ReadFile(const char* path, std::vector<uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

std::string BaseName(const std::string& path) {
  size_t cut = path.find_last_of("/\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

void List(const std::string& name, const xpgate::PeImage& image, const std::vector<std::string>& strings,
          const xpgate::XpSystem& xp) {
  for (const xpgate::ImportedDll& d : image.imports) {
    std::printf("%s: %s%s:", name.c_str(), d.dll.c_str(), d.delayed ? " (delay-loaded)" : "");
    for (const std::string& n : d.names) std::printf(" %s", n.c_str());
    for (uint16_t o : d.ordinals) std::printf(" #%u", o);
    std::printf("\n");
  }
  std::set<std::string> present(strings.begin(), strings.end());
  for (const auto& [entry, fallback] : xp.lookups)
    if (present.count(entry.substr(entry.find('!') + 1)))
      std::printf("%s: looks up %s; on XP: %s\n", name.c_str(), entry.c_str(), fallback.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  bool list = argc > 1 && std::strcmp(argv[1], "--list") == 0;
  if (list) ++first;
  if (argc - first < 2) {
    std::fprintf(stderr, "usage: xpgate [--list] XP-LIST PROGRAM...\n");
    return 2;
  }
  std::ifstream in(argv[first]);
  std::stringstream text;
  text << in.rdbuf();
  xpgate::XpSystem xp;
  std::string error;
  if (!in || !xpgate::ParseXpSystem(text.str(), xp, error)) {
    std::printf("xp gate: FAIL: cannot read %s: %s\n", argv[first], in ? error.c_str() : "no such file");
    return 1;
  }
  std::string passed, failed;
  for (int i = first + 1; i < argc; ++i) {
    std::string name = BaseName(argv[i]);
    std::vector<uint8_t> file;
    xpgate::PeImage image;
    std::vector<std::string> faults;
    if (!ReadFile(argv[i], file)) {
      faults.push_back(name + ": cannot be read");
    } else if (!xpgate::ReadPe(file, image, error)) {
      faults.push_back(name + ": " + error);
    } else {
      std::vector<std::string> strings = xpgate::AsciiStrings(file, 4);
      if (list) List(name, image, strings, xp);
      faults = xpgate::CheckProgram(name, image, strings, xp);
    }
    for (const std::string& f : faults) std::printf("xp gate: %s\n", f.c_str());
    (faults.empty() ? passed : failed) += " " + name;
  }
  if (!failed.empty()) {
    std::printf("xp gate: FAIL%s (Windows XP SP3 would not run them as built)\n", failed.c_str());
    return 1;
  }
  std::printf("xp gate: PASS%s\n", passed.c_str());
  return 0;
}
