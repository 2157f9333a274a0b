#include "common/qxcommon.h"

#include <algorithm>

#include "platform/library.h"
#include "platform/system.h"
#include "platform/text.h"

namespace {

constexpr const char* kNtVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// The two password alphabets: symbol i of kScrambled stands for symbol i of kPlain.
constexpr std::string_view kPlain = "1234567890ABCDEFGHIJKLMNOPQRSTUVWXYZ ";
constexpr std::string_view kScrambled = "Q7MZ2XK9A0RT4BWE1UJC8YH3LPG5NSD6VIF O";
constexpr int kSymbols = 37;

// The 0-based place of a character in an alphabet; a character that is not
// there counts as the space, which both alphabets hold.
int PlaceIn(std::string_view alphabet, char32_t c) {
  size_t at = c < 0x80 ? alphabet.find(static_cast<char>(c)) : std::string_view::npos;
  return static_cast<int>(at != std::string_view::npos ? at : alphabet.find(' '));
}

// The characters of a UTF-8 text (a malformed byte is one character).
std::vector<char32_t> Characters(const std::string& s) {
  std::u16string w = port::Utf8ToUtf16(s);
  std::vector<char32_t> out;
  for (size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00);
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace

TQXCommon::TQXCommon(port::Ports& ports) : ports_(ports) {}

TQXCommon::~TQXCommon() {
  if (openKey_ != 0) ports_.registry->Close(openKey_);
  if (helpLoaded_) ports_.library->Free(helpModule_);
}

// ---------------------------------------------------------------- system facts

void TQXCommon::ReadSystemInfo() {
  port::VersionInfo v = ports_.system->Version();
  win95_ = win98_ = winME_ = nt40_ = win2000_ = winXP_ = false;
  majorVersion_ = static_cast<int32_t>(v.major);
  minorVersion_ = static_cast<int32_t>(v.minor);
  auto is = [&](uint32_t major, uint32_t minor) { return v.major == major && v.minor == minor; };
  if (v.platform == 2) {
    nt40_ = is(4, 0);
    win2000_ = is(5, 0);
    winXP_ = is(5, 1);
  } else if (v.platform == 1) {
    win95_ = is(4, 0);
    win98_ = is(4, 10);
    winME_ = is(4, 90);
  }
  csdVersion_ = v.csd.substr(0, v.csd.find('\0'));
  buildNumber_ = static_cast<int32_t>(v.build);
  if (win95_ || win98_ || winME_) {
    buildNumber_ = static_cast<int32_t>(v.build - (v.major << 24) - (v.minor << 16));
  }

  ieVersion_ = ReadRegString("HKLM", "Software\\Microsoft\\Internet Explorer", "Version", "");
  char first = ieVersion_.empty() ? '\0' : ieVersion_[0];
  ie3_ = first == '3';
  ie4_ = first == '4';
  ie5_ = first == '5';
  ie6_ = first == '6';

  activeDesktop_ = false;
  std::string desktopKey = std::string("Software\\Microsoft\\Active Setup\\Installed Components\\") +
                           (v.platform == 2 ? "{89820200-ECBD-11cf-8B85-00AA005B4340}"
                                            : "{89820200-ECBD-11cf-8B85-00AA005B4395}");
  if (ReadRegBinary("HKLM", desktopKey, "IsInstalled", 0) == 1) activeDesktop_ = true;
  if (ReadRegInteger("HKLM", desktopKey, "IsInstalled", 0) == 1) activeDesktop_ = true;

  japanese_ = ports_.system->DefaultLocale() == 1041;

  administrator_ = true;
  if (nt40_ || win2000_ || winXP_) {
    // Reading opens the key with full access, which a user without rights is refused.
    administrator_ = ReadRegString("HKLM", kNtVersionKey, "ProductId", "ERROR") != "ERROR";
  }

  if (v.platform == 2) {
    winDir_ = ReadRegString("HKLM", kNtVersionKey, "SystemRoot", "");
    bootDir_ = winDir_.substr(0, 3);
    sysDir_ = winDir_ + "\\SYSTEM32";
  } else {
    const char* setup = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";
    bootDir_ = ReadRegString("HKLM", setup, "BootDir", "");
    winDir_ = ReadRegString("HKLM", setup, "WinDir", "");
    sysDir_ = ReadRegString("HKLM", setup, "SysDir", "");
  }

  const char* folders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  desktopDir_ = ReadRegString("HKCU", folders, "Desktop", "");
  startMenuDir_ = ReadRegString("HKCU", folders, "Start Menu", "");
  programsDir_ = ReadRegString("HKCU", folders, "Programs", "");
  recentDir_ = ReadRegString("HKCU", folders, "Recent", "");

  tempDir_ = ports_.system->Env("TEMP").value_or("");
}

// ---------------------------------------------------------------- registry

void TQXCommon::SetRegRoot(const std::string& root) {
  port::Root chosen;
  if (root == "HKCR") {
    chosen = port::Root::HKCR;
  } else if (root == "HKCU") {
    chosen = port::Root::HKCU;
  } else if (root == "HKLM") {
    chosen = port::Root::HKLM;
  } else if (root == "HKU") {
    chosen = port::Root::HKU;
  } else {
    return;  // any other text keeps the root selected before
  }
  if (chosen != root_) {
    CloseKey();
    root_ = chosen;
  }
}

void TQXCommon::OpenKey(const std::string& key) {
  CloseKey();
  openKey_ = ports_.registry->Open(root_, key, port::kKeyAllAccess);
}

void TQXCommon::CloseKey() {
  if (openKey_ != 0) ports_.registry->Close(openKey_);
  openKey_ = 0;
}

bool TQXCommon::KeyExists(const std::string& key) {
  port::KeyHandle k = ports_.registry->Open(root_, key, port::kKeyReadTest);
  if (k == 0) return false;
  ports_.registry->Close(k);
  return true;
}

std::optional<port::RegValue> TQXCommon::ReadValue(const std::string& root, const std::string& key,
                                                   const std::string& name) {
  SetRegRoot(root);
  if (!KeyExists(key)) return std::nullopt;
  OpenKey(key);
  std::optional<port::RegValue> v;
  if (openKey_ != 0) v = ports_.registry->Query(openKey_, name);
  CloseKey();
  return v;
}

void TQXCommon::WriteValue(const std::string& root, const std::string& key, const std::string& name,
                           const port::RegValue& value) {
  SetRegRoot(root);
  if (!KeyExists(key)) {
    port::KeyHandle made = ports_.registry->Create(root_, key);
    if (made == 0) throw RegistryError("Failed to create key " + key);
    ports_.registry->Close(made);
  }
  OpenKey(key);
  bool written = openKey_ != 0 && ports_.registry->Set(openKey_, name, value);
  CloseKey();
  if (!written) throw RegistryError("Failed to set data for '" + name + "'");
}

bool TQXCommon::RegKeyExists(const std::string& root, const std::string& key) {
  SetRegRoot(root);
  return KeyExists(key);
}

bool TQXCommon::RegValueExists(const std::string& root, const std::string& key, const std::string& name) {
  return ReadValue(root, key, name).has_value();
}

std::string TQXCommon::ReadRegString(const std::string& root, const std::string& key, const std::string& name,
                                     const std::string& def) {
  auto v = ReadValue(root, key, name);
  if (!v || (v->type != port::kRegSz && v->type != port::kRegExpandSz)) return def;
  return v->TextOf();
}

int32_t TQXCommon::ReadRegInteger(const std::string& root, const std::string& key, const std::string& name,
                                  int32_t def) {
  auto v = ReadValue(root, key, name);
  if (!v || v->type != port::kRegDword || v->data.size() != 4) return def;
  return static_cast<int32_t>(v->data[0] | (v->data[1] << 8) | (v->data[2] << 16) |
                              (static_cast<uint32_t>(v->data[3]) << 24));
}

int32_t TQXCommon::ReadRegBinary(const std::string& root, const std::string& key, const std::string& name,
                                 int32_t def) {
  auto v = ReadValue(root, key, name);
  if (!v || v->type != port::kRegBinary || v->data.size() != 4) return def;
  return static_cast<int32_t>(v->data[0] | (v->data[1] << 8) | (v->data[2] << 16) |
                              (static_cast<uint32_t>(v->data[3]) << 24));
}

void TQXCommon::WriteRegString(const std::string& root, const std::string& key, const std::string& name,
                               const std::string& value) {
  // A text that begins with an environment reference is stored expandable;
  // "%1" is the shell's argument placeholder, not a reference.
  bool expand = value.starts_with("%") && !value.starts_with("%1");
  WriteValue(root, key, name, port::RegValue::Text(value, expand ? port::kRegExpandSz : port::kRegSz));
}

void TQXCommon::WriteRegInteger(const std::string& root, const std::string& key, const std::string& name,
                                int32_t value) {
  WriteValue(root, key, name, port::RegValue::Dword(static_cast<uint32_t>(value)));
}

void TQXCommon::WriteRegBinary(const std::string& root, const std::string& key, const std::string& name,
                               int32_t value) {
  auto u = static_cast<uint32_t>(value);
  WriteValue(root, key, name,
             port::RegValue::Binary({static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8),
                                     static_cast<uint8_t>(u >> 16), static_cast<uint8_t>(u >> 24)}));
}

void TQXCommon::DeleteRegValue(const std::string& root, const std::string& key, const std::string& name) {
  SetRegRoot(root);
  if (!KeyExists(key)) return;
  OpenKey(key);
  if (openKey_ != 0 && ports_.registry->Query(openKey_, name)) ports_.registry->DeleteValue(openKey_, name);
  CloseKey();
}

void TQXCommon::DeleteTree(const std::string& key) {
  OpenKey(key);
  std::vector<std::string> subkeys = openKey_ != 0 ? ports_.registry->SubKeys(openKey_) : std::vector<std::string>{};
  CloseKey();
  for (const std::string& sub : subkeys) DeleteTree(key + "\\" + sub);
  ports_.registry->DeleteKey(root_, key);
}

void TQXCommon::DeleteRegKey(const std::string& root, const std::string& key) {
  SetRegRoot(root);
  if (KeyExists(key)) DeleteTree(key);
}

bool TQXCommon::CopyTree(const std::string& from, const std::string& to) {
  port::Registry& reg = *ports_.registry;
  port::KeyHandle src = reg.Open(root_, from, port::kKeyAllAccess);
  port::KeyHandle dst = reg.Create(root_, to);
  bool copied = src != 0 && dst != 0;
  std::vector<std::string> subkeys;
  if (copied) {
    for (const std::string& name : reg.ValueNames(src)) {
      auto v = reg.Query(src, name);
      copied = copied && v && reg.Set(dst, name, *v);  // raw type and bytes, exactly
    }
    subkeys = reg.SubKeys(src);
  }
  if (src != 0) reg.Close(src);
  if (dst != 0) reg.Close(dst);
  for (const std::string& sub : subkeys) copied = CopyTree(from + "\\" + sub, to + "\\" + sub) && copied;
  return copied;
}

// A key path without empty parts: "A\\B\" and "\A\B" name the key "A\B".
static std::string CleanKey(const std::string& key) {
  std::string out;
  size_t i = 0;
  while (i <= key.size()) {
    size_t end = std::min(key.find('\\', i), key.size());
    if (end > i) out += (out.empty() ? "" : "\\") + key.substr(i, end - i);
    i = end + 1;
  }
  return out;
}

// Whether the clean key `inner` is `outer` or lies below it (without case).
static bool WithinKey(const std::string& inner, const std::string& outer) {
  std::string in = port::UpperNoCase(inner), out = port::UpperNoCase(outer);
  return in == out || in.starts_with(out + "\\");
}

void TQXCommon::MoveRegKey(const std::string& root, const std::string& oldKey, const std::string& newKey) {
  std::string from = CleanKey(oldKey), to = CleanKey(newKey);
  // An empty name is the root itself. A key never moves onto itself, into
  // itself or onto a key that holds it: deleting the target first would
  // delete the source, and a copy into itself would never end.
  if (from.empty() || to.empty() || WithinKey(to, from) || WithinKey(from, to)) return;
  // A source that is gone changes nothing: the target is what is left of
  // the entry.
  SetRegRoot(root);
  if (!KeyExists(from)) return;
  DeleteRegKey(root, to);
  SetRegRoot(root);
  if (KeyExists(to)) return;
  // The old key goes only once all of it has arrived, so a refused write
  // never loses the values that could not be copied.
  if (CopyTree(from, to)) DeleteTree(from);
}

bool TQXCommon::MoveRegValue(const std::string& root, const std::string& oldKey, const std::string& newKey,
                             const std::string& name) {
  return MoveRegValue(root, oldKey, newKey, name, name);
}

bool TQXCommon::MoveRegValue(const std::string& root, const std::string& oldKey, const std::string& newKey,
                             const std::string& name, const std::string& newName) {
  // Onto itself the value stays where it is.
  if (port::UpperNoCase(CleanKey(oldKey)) == port::UpperNoCase(CleanKey(newKey)) &&
      port::UpperNoCase(name) == port::UpperNoCase(newName))
    return false;
  std::optional<port::RegValue> v = ReadValue(root, oldKey, name);
  if (!v) return false;
  WriteValue(root, newKey, newName, *v);
  DeleteRegValue(root, oldKey, name);
  return true;
}

void TQXCommon::GetRegKeyNames(const std::string& root, const std::string& key) {
  stringList_.clear();
  SetRegRoot(root);
  if (!KeyExists(key)) return;
  OpenKey(key);
  if (openKey_ != 0) stringList_ = ports_.registry->SubKeys(openKey_);
  CloseKey();
}

void TQXCommon::GetRegValueNames(const std::string& root, const std::string& key) {
  stringList_.clear();
  SetRegRoot(root);
  if (!KeyExists(key)) return;
  OpenKey(key);
  if (openKey_ != 0) stringList_ = ports_.registry->ValueNames(openKey_);
  CloseKey();
}

// ---------------------------------------------------------------- lock password

std::string TQXCommon::NormalizePassword(const std::string& password) const {
  // One symbol per byte the text takes in the ANSI code page: each character
  // keeps its place (a symbol of the plain alphabet, or a space), and each
  // double-byte character adds one more space at the end.
  size_t n = ports_.system->AnsiByteLength(password);
  std::string out;
  for (char32_t c : Characters(password)) {
    if (out.size() == n) break;
    if (c >= U'a' && c <= U'z') c -= 0x20;
    out += kPlain[PlaceIn(kPlain, c)];
  }
  out.resize(n, ' ');
  return out;
}

// The shift wraps modulo the alphabet, which is the same as the single wrap
// for the 37 symbols a lock password may have, and keeps longer texts inside
// the alphabet (and invertible) too.
std::string TQXCommon::ScramblePassword(const std::string& password) const {
  std::string t = NormalizePassword(password);
  std::string v(t.size(), ' ');
  for (size_t k = 1; k <= t.size(); ++k) {
    int p = PlaceIn(kPlain, static_cast<unsigned char>(t[t.size() - k]));  // reversed
    int q = static_cast<int>((p + k) % kSymbols);
    v[k - 1] = kScrambled[q];
  }
  return v;
}

// A character that is not of the scrambled alphabet (a hand-edited value)
// reads as its space.
bool TQXCommon::IsScrambledPassword(const std::string& scrambled) const {
  return std::all_of(scrambled.begin(), scrambled.end(),
                     [](char c) { return kScrambled.find(c) != std::string_view::npos; });
}

std::string TQXCommon::UnscramblePassword(const std::string& scrambled) const {
  std::vector<char32_t> in = Characters(scrambled);
  std::string w(in.size(), ' ');
  for (size_t k = 1; k <= in.size(); ++k) {
    int p = PlaceIn(kScrambled, in[k - 1]);
    int q = static_cast<int>(((p - static_cast<int>(k % kSymbols)) % kSymbols + kSymbols) % kSymbols);
    w[in.size() - k] = kPlain[q];  // reversed
  }
  return w;
}

// ---------------------------------------------------------------- help

uintptr_t TQXCommon::ShowHtmlHelp(uintptr_t window, const std::string& helpPath) {
  if (!helpLoaded_) {
    helpModule_ = ports_.library->Load("hhctrl.ocx");
    if (helpModule_ != 0) {
      htmlHelp_ = ports_.library->Find(helpModule_, "HtmlHelpA");
      if (htmlHelp_ != 0) {
        helpLoaded_ = true;
      } else {
        // A library without the entry point is no help library: let it go
        // and try again on the next request.
        ports_.library->Free(helpModule_);
        helpModule_ = 0;
      }
    }
  }
  if (!helpLoaded_) return 0;
  return ports_.library->CallHtmlHelp(htmlHelp_, window, helpPath, 0 /* HH_DISPLAY_TOPIC */, 0);
}
