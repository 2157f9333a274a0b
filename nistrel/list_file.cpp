#include "nistrel/list_file.h"

#include "platform/text.h"

namespace nistrel {

namespace {
constexpr int kMaxFiles = 999;
const ListSection kNone;
}  // namespace

void ListFile::Read(port::Profile& profile, const std::string& path) {
  sections_.clear();
  for (const char* name : kSections) {
    ListSection s;
    s.present = !profile.KeyNames(path, name).empty();
    s.ja = profile.Read(path, name, "JA", "");
    s.en = profile.Read(path, name, "EN", "");
    for (int n = 1; n <= kMaxFiles; ++n) {
      std::string file = profile.Read(path, name, "File" + std::to_string(n), "");
      if (file.empty()) break;
      s.files.push_back(file);
    }
    sections_[port::UpperNoCase(name)] = std::move(s);
  }
}

const ListSection& ListFile::Section(const std::string& name) const {
  auto it = sections_.find(port::UpperNoCase(name));
  return it == sections_.end() ? kNone : it->second;
}

std::optional<std::string> ListFile::FirstUnsafeEntry() const {
  for (const char* name : kSections) {
    const ListSection& s = Section(name);
    std::string section = std::string("[") + name + "] ";
    if (!StaysInside(s.ja)) return section + "JA=" + s.ja;
    if (!StaysInside(s.en)) return section + "EN=" + s.en;
    for (size_t i = 0; i < s.files.size(); ++i)
      if (!StaysInside(s.files[i])) return section + "File" + std::to_string(i + 1) + "=" + s.files[i];
  }
  return std::nullopt;
}

bool ListFile::HoldsAnySection() const {
  for (const auto& [name, section] : sections_)
    if (section.present) return true;
  return false;
}

bool ListFile::Lists(const std::vector<std::string>& sections, const std::string& file) const {
  for (const std::string& name : sections)
    for (const std::string& listed : Section(name).files)
      if (port::EqualNoCase(listed, file)) return true;
  return false;
}

bool StaysInside(const std::string& name) {
  if (name.find("..") != std::string::npos) return false;
  if (name.find_first_of(":*?") != std::string::npos) return false;
  return name.empty() || (name[0] != '\\' && name[0] != '/');
}

}  // namespace nistrel
