#include "platform/memory/memory_files.h"

#include "platform/text.h"

namespace port {

namespace {
// The bits SetFileAttributes keeps (read-only, hidden, system, archive,
// temporary, offline, not content indexed).
constexpr uint32_t kSettable = 0x01 | 0x02 | 0x04 | 0x20 | 0x100 | 0x1000 | 0x2000;

bool IsFolder(uint32_t a) { return (a & kAttrDirectory) != 0; }

uint32_t Normalized(uint32_t attributes, bool folder) {
  uint32_t a = attributes & kSettable;
  if (folder) return a | kAttrDirectory;
  return a == 0 ? kAttrNormal : a;
}
}  // namespace

MemoryFiles::MemoryFiles() { AddDrive('C'); }

std::string MemoryFiles::Key(const std::string& full) { return UpperNoCase(full); }

std::string MemoryFiles::ParentOf(const std::string& full) {
  size_t cut = full.rfind('\\');
  if (full.size() <= 3 || cut == std::string::npos) return "";
  return cut == 2 ? full.substr(0, 3) : full.substr(0, cut);
}

std::string MemoryFiles::FullPath(const std::string& path) const {
  std::string p = path;
  for (char& c : p)
    if (c == '/') c = '\\';
  if (p.rfind("\\\\", 0) == 0) return "";
  std::string base;
  if (p.size() >= 2 && p[1] == ':') {
    char letter = static_cast<char>(p[0] >= 'a' && p[0] <= 'z' ? p[0] - 32 : p[0]);
    if (letter < 'A' || letter > 'Z') return "";
    p = p.substr(2);
    std::string root = std::string(1, letter) + ":\\";
    bool onCurrent = Key(current_).rfind(Key(root), 0) == 0;
    base = p.rfind('\\', 0) == 0 || !onCurrent ? root : current_;
  } else {
    base = p.rfind('\\', 0) == 0 ? current_.substr(0, 3) : current_;
  }
  std::vector<std::string> parts;
  for (size_t at = 3; at <= base.size();) {  // the base's own components
    size_t end = base.find('\\', at);
    if (end == std::string::npos) end = base.size();
    if (end > at) parts.push_back(base.substr(at, end - at));
    at = end + 1;
  }
  for (size_t at = 0; at <= p.size();) {
    size_t end = p.find('\\', at);
    if (end == std::string::npos) end = p.size();
    std::string part = p.substr(at, end - at);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    at = end + 1;
  }
  std::string full = base.substr(0, 3);
  for (size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return full;
}

MemoryFiles::Node* MemoryFiles::Find(const std::string& full) {
  if (full.empty()) return nullptr;
  auto it = nodes_.find(Key(full));
  return it == nodes_.end() ? nullptr : &it->second;
}

MemoryFiles::Node* MemoryFiles::Parent(const std::string& full) {
  Node* parent = Find(ParentOf(full));
  return parent && IsFolder(parent->attributes) ? parent : nullptr;
}

bool MemoryFiles::Denied(const std::string& full) const {
  std::string k = Key(full);
  for (const std::string& d : denied_) {
    if (k == d) return true;
    std::string prefix = d.back() == '\\' ? d : d + "\\";
    if (k.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

std::optional<uint32_t> MemoryFiles::Attributes(const std::string& path) {
  Node* n = Find(FullPath(path));
  if (!n) return std::nullopt;
  return n->attributes;
}

bool MemoryFiles::SetAttributes(const std::string& path, uint32_t attributes) {
  std::string full = FullPath(path);
  Node* n = Find(full);
  if (!n || Denied(full)) return false;
  n->attributes = Normalized(attributes, IsFolder(n->attributes));
  return true;
}

std::optional<std::string> MemoryFiles::ReadAll(const std::string& path) {
  Node* n = Find(FullPath(path));
  if (!n || IsFolder(n->attributes)) return std::nullopt;
  return n->bytes;
}

bool MemoryFiles::WriteAll(const std::string& path, const std::string& bytes) {
  std::string full = FullPath(path);
  if (full.size() <= 3 || Denied(full)) return false;
  if (Node* n = Find(full)) {
    if (IsFolder(n->attributes) || (n->attributes & kAttrReadOnly)) return false;
    n->bytes = bytes;
    n->attributes = Normalized(n->attributes | kAttrArchive, false);  // a change marks it for backup
    return true;
  }
  if (!Parent(full)) return false;
  nodes_[Key(full)] = Node{full, kAttrArchive, bytes};
  return true;
}

bool MemoryFiles::MakeFolder(const std::string& path) {
  std::string full = FullPath(path);
  if (full.size() <= 3 || Denied(full) || Find(full) || !Parent(full)) return false;
  nodes_[Key(full)] = Node{full, kAttrDirectory, ""};
  return true;
}

bool MemoryFiles::RemoveFile(const std::string& path) {
  std::string full = FullPath(path);
  Node* n = Find(full);
  if (!n || IsFolder(n->attributes) || (n->attributes & kAttrReadOnly) || Denied(full)) return false;
  nodes_.erase(Key(full));
  return true;
}

bool MemoryFiles::RemoveFolder(const std::string& path) {
  std::string full = FullPath(path);
  Node* n = Find(full);
  if (!n || !IsFolder(n->attributes) || full.size() <= 3 || Denied(full)) return false;
  std::string prefix = Key(full) + "\\";
  auto next = nodes_.upper_bound(Key(full));
  if (next != nodes_.end() && next->first.rfind(prefix, 0) == 0) return false;  // not empty
  nodes_.erase(Key(full));
  return true;
}

bool MemoryFiles::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  std::string source = FullPath(from), target = FullPath(to);
  Node* s = Find(source);
  if (!s || IsFolder(s->attributes) || target.size() <= 3 || Key(source) == Key(target) || Denied(target)) return false;
  if (Node* t = Find(target)) {
    if (!overwrite || IsFolder(t->attributes) || (t->attributes & kAttrReadOnly)) return false;
  } else if (!Parent(target)) {
    return false;
  }
  Node copy = *s;
  copy.path = target;
  nodes_[Key(target)] = copy;
  return true;
}

void MemoryFiles::AddDrive(char letter, uint32_t rootAttributes) {
  std::string root = std::string(1, letter) + ":\\";
  nodes_[Key(root)] = Node{UpperNoCase(root), Normalized(rootAttributes, true), ""};
}

void MemoryFiles::SetCurrentFolder(const std::string& path) { current_ = FullPath(path); }

void MemoryFiles::AddFolder(const std::string& path, uint32_t attributes) {
  std::string full = FullPath(path);
  if (full.size() > 3 && !Find(ParentOf(full))) AddFolder(ParentOf(full));
  nodes_[Key(full)] = Node{full, Normalized(attributes, true), ""};
}

void MemoryFiles::AddFile(const std::string& path, const std::string& bytes, uint32_t attributes) {
  std::string full = FullPath(path);
  if (!Find(ParentOf(full))) AddFolder(ParentOf(full));
  nodes_[Key(full)] = Node{full, Normalized(attributes, false), bytes};
}

void MemoryFiles::DenyWrite(const std::string& path) { denied_.push_back(Key(FullPath(path))); }

std::vector<MemoryFiles::Entry> MemoryFiles::Entries() const {
  std::vector<Entry> all;
  for (const auto& [key, n] : nodes_) all.push_back({n.path, n.attributes, n.bytes});
  return all;
}

}  // namespace port
