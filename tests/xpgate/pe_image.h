// What a loader reads of a Windows program before its first line runs: the
// machine, the versions in the header, and the DLLs and functions it imports
// (at load and, through delay-load descriptors, at first call). Every read is
// bounds-checked: a truncated or malformed file is refused with a reason.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace xpgate {

struct ImportedDll {
  std::string dll;                 // as the file names it ("KERNEL32.dll")
  std::vector<std::string> names;  // functions imported by name
  std::vector<uint16_t> ordinals;  // functions imported by ordinal
  bool delayed = false;            // bound on first call, not at load
};

struct PeImage {
  uint16_t machine = 0;  // 0x14c: i386
  bool pe32plus = false;
  uint16_t osMajor = 0, osMinor = 0;
  uint16_t subsystemMajor = 0, subsystemMinor = 0;
  std::vector<ImportedDll> imports;
};

constexpr uint16_t kMachineI386 = 0x14c;

// Reads the image; on failure returns false and says why in `error`.
bool ReadPe(const std::vector<uint8_t>& file, PeImage& out, std::string& error);

// The runs of printable ASCII (at least `min` long, NUL-ended) in the file:
// names that a program passes to GetProcAddress are among them.
std::vector<std::string> AsciiStrings(const std::vector<uint8_t>& file, size_t min);

}  // namespace xpgate
