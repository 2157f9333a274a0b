#include "pe_image.h"

#include <cctype>
#include <optional>

namespace xpgate {
namespace {

struct Section {
  uint32_t va, virtualSize, rawOffset, rawSize;
};

class Reader {
 public:
  explicit Reader(const std::vector<uint8_t>& f) : f_(f) {}
  bool Has(uint64_t at, uint64_t n) const { return at <= f_.size() && n <= f_.size() - at; }
  uint16_t U16(uint64_t at) const { return static_cast<uint16_t>(f_[at] | f_[at + 1] << 8); }
  uint32_t U32(uint64_t at) const { return U16(at) | static_cast<uint32_t>(U16(at + 2)) << 16; }
  uint64_t U64(uint64_t at) const { return U32(at) | static_cast<uint64_t>(U32(at + 4)) << 32; }
  uint8_t At(uint64_t at) const { return f_[at]; }
  size_t Size() const { return f_.size(); }

 private:
  const std::vector<uint8_t>& f_;
};

class Image {
 public:
  Image(const Reader& r, std::vector<Section> s) : r_(r), sections_(std::move(s)) {}

  // The file offset of `n` bytes at an address relative to the image base.
  std::optional<uint64_t> Offset(uint32_t rva, uint32_t n) const {
    for (const Section& s : sections_) {
      uint32_t span = s.rawSize < s.virtualSize || s.virtualSize == 0 ? s.rawSize : s.virtualSize;
      if (rva >= s.va && rva - s.va < span && n <= span - (rva - s.va)) {
        uint64_t at = uint64_t{s.rawOffset} + (rva - s.va);
        if (r_.Has(at, n)) return at;
      }
    }
    return std::nullopt;
  }
  bool Inside(uint32_t rva) const { return Offset(rva, 1).has_value(); }

  // A NUL-ended text of at most `max` characters.
  std::optional<std::string> Text(uint32_t rva, size_t max = 512) const {
    auto at = Offset(rva, 1);
    if (!at) return std::nullopt;
    std::string s;
    for (uint64_t i = *at; i < r_.Size() && s.size() <= max; ++i) {
      if (r_.At(i) == 0) return s;
      s += static_cast<char>(r_.At(i));
    }
    return std::nullopt;
  }

  const Reader& reader() const { return r_; }

 private:
  const Reader& r_;
  std::vector<Section> sections_;
};

bool IsDllName(const std::string& s) {
  if (s.size() < 5) return false;
  for (char c : s)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != '-' && c != '.') return false;
  std::string ext = s.substr(s.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".dll" || ext == ".ocx" || ext == ".drv" || ext == ".exe";
}

bool IsFunctionName(const std::string& s) {
  if (s.empty()) return false;
  for (char c : s)
    if (!std::isgraph(static_cast<unsigned char>(c))) return false;
  return true;
}

// The functions of one lookup table (import name table): names or ordinals,
// up to the zero entry. False when the table runs out of the image.
bool ReadThunks(const Image& img, uint32_t rva, bool wide, ImportedDll& dll, std::string& error) {
  const Reader& r = img.reader();
  uint32_t step = wide ? 8 : 4;
  for (uint32_t i = 0; i < 65536; ++i) {
    auto at = img.Offset(rva + i * step, step);
    if (!at) {
      error = "the import table of " + dll.dll + " runs past the file";
      return false;
    }
    uint64_t v = wide ? r.U64(*at) : r.U32(*at);
    if (v == 0) return true;
    uint64_t ordinalFlag = wide ? uint64_t{1} << 63 : uint64_t{1} << 31;
    if (v & ordinalFlag) {
      dll.ordinals.push_back(static_cast<uint16_t>(v & 0xffff));
      continue;
    }
    auto name = img.Text(static_cast<uint32_t>(v) + 2);
    if (!name || !IsFunctionName(*name)) {
      error = "an imported name of " + dll.dll + " is not readable";
      return false;
    }
    dll.names.push_back(*name);
  }
  error = "the import table of " + dll.dll + " does not end";
  return false;
}

// Delay-load descriptors: the linker that made the programs leaves the
// header's delay-import entry empty, so they are found where they lie, each
// checked field by field (attributes, a DLL name, a handle slot, two tables
// that agree in length).
// A descriptor whose fields all fit but whose tables are cut off is refused.
bool FindDelayed(const Image& img, const std::vector<Section>& sections, bool wide, std::vector<ImportedDll>& out,
                 std::string& error) {
  const Reader& r = img.reader();
  for (const Section& s : sections) {
    for (uint32_t off = 0; off + 32 <= s.rawSize; off += 4) {
      uint64_t at = uint64_t{s.rawOffset} + off;
      if (!r.Has(at, 32)) break;
      uint32_t attributes = r.U32(at), nameRva = r.U32(at + 4), handleRva = r.U32(at + 8);
      uint32_t iatRva = r.U32(at + 12), intRva = r.U32(at + 16), stamp = r.U32(at + 28);
      if (attributes != 1 || stamp != 0) continue;
      if (!img.Inside(handleRva) || !img.Inside(iatRva) || !img.Inside(intRva)) continue;
      auto name = img.Text(nameRva, 64);
      if (!name || !IsDllName(*name)) continue;
      ImportedDll dll{*name, {}, {}, true};
      if (!ReadThunks(img, intRva, wide, dll, error)) {
        error = "the delay-load table of " + dll.dll + " is cut off";
        return false;
      }
      if (dll.names.size() + dll.ordinals.size() == 0) continue;
      // The address table has one slot a function, then a zero.
      uint32_t step = wide ? 8 : 4;
      size_t count = dll.names.size() + dll.ordinals.size();
      auto end = img.Offset(iatRva + static_cast<uint32_t>(count) * step, step);
      if (!end || (wide ? r.U64(*end) : r.U32(*end)) != 0) continue;
      out.push_back(std::move(dll));
    }
  }
  return true;
}

}  // namespace

bool ReadPe(const std::vector<uint8_t>& file, PeImage& out, std::string& error) {
  Reader r(file);
  out = PeImage{};
  if (!r.Has(0, 64) || r.U16(0) != 0x5a4d) {
    error = "not a Windows program (no MZ header)";
    return false;
  }
  uint32_t pe = r.U32(0x3c);
  if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) {
    error = "not a Windows program (no PE header)";
    return false;
  }
  out.machine = r.U16(pe + 4);
  uint16_t sectionCount = r.U16(pe + 6);
  uint16_t optionalSize = r.U16(pe + 20);
  uint64_t opt = uint64_t{pe} + 24;
  if (optionalSize < 2 || !r.Has(opt, optionalSize)) {
    error = "the optional header is cut off";
    return false;
  }
  uint16_t magic = r.U16(opt);
  if (magic != 0x10b && magic != 0x20b) {
    error = "unknown optional header";
    return false;
  }
  out.pe32plus = magic == 0x20b;
  uint32_t dirAt = out.pe32plus ? 112 : 96;  // the data directories
  if (optionalSize < dirAt) {
    error = "the optional header is cut off";
    return false;
  }
  out.osMajor = r.U16(opt + 40);
  out.osMinor = r.U16(opt + 42);
  out.subsystemMajor = r.U16(opt + 48);
  out.subsystemMinor = r.U16(opt + 50);
  uint32_t dirCount = r.U32(opt + dirAt - 4);
  if (dirCount > (optionalSize - dirAt) / 8) dirCount = (optionalSize - dirAt) / 8;

  std::vector<Section> sections;
  uint64_t table = opt + optionalSize;
  if (!r.Has(table, uint64_t{sectionCount} * 40)) {
    error = "the section table is cut off";
    return false;
  }
  for (uint16_t i = 0; i < sectionCount; ++i) {
    uint64_t s = table + uint64_t{i} * 40;
    sections.push_back({r.U32(s + 12), r.U32(s + 8), r.U32(s + 20), r.U32(s + 16)});
  }
  Image img(r, sections);

  if (dirCount > 1) {
    uint32_t importRva = r.U32(opt + dirAt + 8), importSize = r.U32(opt + dirAt + 12);
    if (importRva != 0 || importSize != 0) {
      for (uint32_t i = 0;; ++i) {
        auto d = img.Offset(importRva + i * 20, 20);
        if (!d) {
          error = "the import directory runs past the file";
          return false;
        }
        uint32_t lookup = r.U32(*d), nameRva = r.U32(*d + 12), iat = r.U32(*d + 16);
        if (lookup == 0 && nameRva == 0 && iat == 0) break;
        auto name = img.Text(nameRva, 256);
        if (!name || name->empty()) {
          error = "an imported DLL's name is not readable";
          return false;
        }
        ImportedDll dll{*name, {}, {}, false};
        if (!ReadThunks(img, lookup != 0 ? lookup : iat, out.pe32plus, dll, error)) return false;
        out.imports.push_back(std::move(dll));
        if (i > 4096) {
          error = "the import directory does not end";
          return false;
        }
      }
    }
  }
  return FindDelayed(img, sections, out.pe32plus, out.imports, error);
}

std::vector<std::string> AsciiStrings(const std::vector<uint8_t>& file, size_t min) {
  std::vector<std::string> found;
  std::string run;
  for (uint8_t b : file) {
    if (b >= 0x20 && b < 0x7f) {
      run += static_cast<char>(b);
      continue;
    }
    if (b == 0 && run.size() >= min) found.push_back(run);
    run.clear();
  }
  return found;
}

}  // namespace xpgate
