#include "platform/memory/memory_files.h"

#include <algorithm>
#include <iterator>

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
  if (p.rfind("\\\\?\\", 0) == 0) {
    // The exact form: a full path taken as written, names kept to the byte.
    p = p.substr(4);
    if (p.size() < 3 || p[1] != ':' || p[2] != '\\') return "";
    char letter = static_cast<char>(p[0] >= 'a' && p[0] <= 'z' ? p[0] - 32 : p[0]);
    if (letter < 'A' || letter > 'Z') return "";
    std::string full = std::string(1, letter) + ":\\" + p.substr(3);
    while (full.size() > 3 && full.back() == '\\') full.pop_back();
    return full;
  }
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
      // Windows drops the trailing dots and blanks of every name.
      while (!part.empty() && (part.back() == '.' || part.back() == ' ')) part.pop_back();
      if (!part.empty()) parts.push_back(part);
    }
    at = end + 1;
  }
  std::string full = base.substr(0, 3);
  for (size_t i = 0; i < parts.size(); ++i) full += (i ? "\\" : "") + parts[i];
  return full;
}

// The file a full path names: the one of that exact name, else one whose
// name differs only in case, else one its folder lists under that name.
MemoryFiles::Node* MemoryFiles::Find(const std::string& full) {
  if (full.empty()) return nullptr;
  auto it = nodes_.find(Key(full));
  if (it != nodes_.end()) {
    Node& n = it->second;
    if (n.path != full)
      for (Node& twin : n.twins)
        if (twin.path == full) return &twin;
    return &n;
  }
  if (aliased_.empty() || full.size() <= 3) return nullptr;
  std::string parent = Key(ParentOf(full)), name = Key(full.substr(full.rfind('\\') + 1));
  for (const std::string& k : aliased_) {
    auto a = nodes_.find(k);
    if (a != nodes_.end() && !a->second.listed.empty() && Key(a->second.listed) == name &&
        Key(ParentOf(a->second.path)) == parent)
      return &a->second;
  }
  return nullptr;
}

// The path once the junctions on the way to its last name are followed (a
// junction itself is not: it can be listed, changed and removed).
std::string MemoryFiles::Resolve(const std::string& full) {
  if (full.size() <= 3) return full;
  std::string parent = ThroughJunctions(ParentOf(full));
  std::string name = full.substr(full.rfind('\\') + 1);
  return parent.back() == '\\' ? parent + name : parent + "\\" + name;
}

void MemoryFiles::Erase(Node* node) {
  auto it = nodes_.find(Key(node->path));
  if (it == nodes_.end()) return;
  Node& primary = it->second;
  if (&primary != node) {
    for (auto t = primary.twins.begin(); t != primary.twins.end(); ++t)
      if (&*t == node) {
        primary.twins.erase(t);
        return;
      }
    return;
  }
  if (primary.twins.empty()) {
    nodes_.erase(it);
    return;
  }
  // Its case twin stays, and answers to the name from now on.
  std::vector<Node> rest(std::make_move_iterator(primary.twins.begin() + 1),
                         std::make_move_iterator(primary.twins.end()));
  Node next = std::move(primary.twins.front());
  next.twins = std::move(rest);
  primary = std::move(next);
}

FolderEntry MemoryFiles::EntryOf(const Node& n) const {
  FolderEntry e;
  e.name = !n.listed.empty() ? n.listed : n.path.size() <= 3 ? n.path : n.path.substr(n.path.rfind('\\') + 1);
  e.attributes = n.attributes;
  e.size = IsFolder(n.attributes) ? 0 : n.size ? *n.size : static_cast<uint64_t>(n.bytes.size());
  e.exact = !n.inexact && NameFitsPath(e.name);
  return e;
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
  Node* n = Find(Resolve(FullPath(path)));
  if (!n) return std::nullopt;
  return n->attributes;
}

bool MemoryFiles::SetAttributes(const std::string& path, uint32_t attributes) {
  std::string full = Resolve(FullPath(path));
  Node* n = Find(full);
  if (!n || Denied(full)) return false;
  n->attributes = Normalized(attributes, IsFolder(n->attributes)) | (n->attributes & kAttrReparsePoint);
  return true;
}

std::optional<std::string> MemoryFiles::ReadAll(const std::string& path) {
  Node* n = Find(Resolve(FullPath(path)));
  if (!n || IsFolder(n->attributes)) return std::nullopt;
  return n->bytes;
}

bool MemoryFiles::WriteAll(const std::string& path, const std::string& bytes) {
  std::string full = Resolve(FullPath(path));
  if (full.size() <= 3 || Denied(full)) return false;
  if (Node* n = Find(full)) {
    if (IsFolder(n->attributes) || (n->attributes & kAttrReadOnly)) return false;
    n->bytes = bytes;
    n->attributes = Normalized(n->attributes | kAttrArchive, false);  // a change marks it for backup
    return true;
  }
  if (!Parent(full)) return false;
  Put(full, Node{full, kAttrArchive, bytes});
  return true;
}

bool MemoryFiles::MakeFolder(const std::string& path) {
  std::string full = Resolve(FullPath(path));
  if (full.size() <= 3 || Denied(full) || Find(full) || !Parent(full)) return false;
  Put(full, Node{full, kAttrDirectory, ""});
  return true;
}

bool MemoryFiles::RemoveFile(const std::string& path) {
  std::string full = Resolve(FullPath(path));
  Node* n = Find(full);
  if (!n || IsFolder(n->attributes) || (n->attributes & kAttrReadOnly) || n->locked || Denied(full)) return false;
  Erase(n);
  return true;
}

bool MemoryFiles::RemoveFolder(const std::string& path) {
  std::string full = Resolve(FullPath(path));
  Node* n = Find(full);
  if (!n || !IsFolder(n->attributes) || full.size() <= 3 || Denied(full)) return false;
  std::string prefix = Key(full) + "\\";
  auto next = nodes_.upper_bound(Key(full));
  if (next != nodes_.end() && next->first.rfind(prefix, 0) == 0) return false;  // not empty
  Erase(n);
  return true;
}

bool MemoryFiles::CopyFile(const std::string& from, const std::string& to, bool overwrite) {
  std::string source = Resolve(FullPath(from)), target = Resolve(FullPath(to));
  Node* s = Find(source);
  if (!s || IsFolder(s->attributes) || target.size() <= 3 || Key(source) == Key(target) || Denied(target)) return false;
  if (Node* t = Find(target)) {
    if (!overwrite || IsFolder(t->attributes) || (t->attributes & kAttrReadOnly)) return false;
  } else if (!Parent(target)) {
    return false;
  }
  Node copy = *s;
  copy.path = target;
  copy.listed.clear();
  copy.twins.clear();
  auto old = nodes_.find(Key(target));
  if (old != nodes_.end()) copy.twins = std::move(old->second.twins);
  nodes_[Key(target)] = std::move(copy);
  return true;
}

void MemoryFiles::AddDrive(char letter, uint32_t rootAttributes) {
  std::string root = std::string(1, letter) + ":\\";
  Put(root, Node{UpperNoCase(root), Normalized(rootAttributes, true), ""});
  drives_[letter] = Drive{};
}

void MemoryFiles::SetCurrentFolder(const std::string& path) { current_ = FullPath(path); }

void MemoryFiles::AddFolder(const std::string& path, uint32_t attributes) {
  std::string full = FullPath(path);
  if (full.size() > 3 && !Find(ParentOf(full))) AddFolder("\\\\?\\" + ParentOf(full));  // the parent as it is named here
  Put(full, Node{full, Normalized(attributes, true), ""});
}

void MemoryFiles::AddFile(const std::string& path, const std::string& bytes, uint32_t attributes) {
  std::string full = FullPath(path);
  if (!Find(ParentOf(full))) AddFolder("\\\\?\\" + ParentOf(full));  // the parent as it is named here
  Put(full, Node{full, Normalized(attributes, false), bytes});
}

MemoryFiles::Node& MemoryFiles::Put(const std::string& full, Node node) {
  node.order = ++made_;
  return nodes_[Key(full)] = std::move(node);
}

DriveType MemoryFiles::DriveTypeOf(const std::string& root) {
  if (root.size() != 3 || root[1] != ':' || root[2] != '\\') return DriveType::NoRoot;
  char letter = UpperNoCase(root.substr(0, 1))[0];
  auto it = drives_.find(letter);
  return it == drives_.end() ? DriveType::NoRoot : it->second.type;
}

std::optional<VolumeInfo> MemoryFiles::Volume(const std::string& root) {
  if (DriveTypeOf(root) == DriveType::NoRoot) return std::nullopt;
  return drives_[UpperNoCase(root.substr(0, 1))[0]].volume;
}

void MemoryFiles::SetDriveType(char letter, DriveType type) { drives_[letter].type = type; }
void MemoryFiles::SetVolume(char letter, std::optional<VolumeInfo> volume) { drives_[letter].volume = std::move(volume); }

void MemoryFiles::AddJunction(const std::string& path, const std::string& target) {
  AddFolder(path, kAttrDirectory);
  Node* n = Find(FullPath(path));
  n->attributes |= kAttrReparsePoint;
  n->target = FullPath(target);
}

void MemoryFiles::SetSize(const std::string& path, uint64_t size) {
  if (Node* n = Find(FullPath(path))) n->size = size;
}

void MemoryFiles::DenyList(const std::string& path) {
  if (Node* n = Find(FullPath(path))) n->unlisted = true;
}

void MemoryFiles::Lock(const std::string& path) {
  if (Node* n = Find(FullPath(path))) n->locked = true;
}

void MemoryFiles::MarkInexactName(const std::string& path) {
  if (Node* n = Find(FullPath(path))) n->inexact = true;
}

void MemoryFiles::AddCaseTwin(const std::string& path, const std::string& bytes, uint32_t attributes) {
  std::string full = FullPath(path);
  auto it = nodes_.find(Key(full));
  if (it == nodes_.end() || it->second.path == full) {
    AddFile(path, bytes, attributes);
    return;
  }
  Node twin{full, Normalized(attributes, false), bytes};
  twin.order = ++made_;
  it->second.twins.push_back(std::move(twin));
}

void MemoryFiles::SetListedName(const std::string& path, const std::string& name) {
  Node* n = Find(FullPath(path));
  if (!n) return;
  n->listed = name;
  aliased_.push_back(Key(n->path));
}

// The folder a path names once every junction on the way is followed.
std::string MemoryFiles::ThroughJunctions(const std::string& full) {
  std::string at = full;
  for (int hops = 0; hops < 64; ++hops) {
    bool moved = false;
    for (size_t cut = 3; cut <= at.size(); ++cut) {
      if (cut < at.size() && at[cut] != '\\') continue;
      Node* n = Find(at.substr(0, cut));
      if (n && !n->target.empty()) {
        std::string rest = at.substr(cut);
        at = n->target.back() == '\\' && !rest.empty() ? n->target + rest.substr(1) : n->target + rest;
        moved = true;
        break;
      }
    }
    if (!moved) return at;
  }
  return at;
}

bool MemoryFiles::ForEachEntry(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) {
  std::string named = FullPath(folder);
  // The search pattern (folder + "\*") must fit in MAX_PATH, as in Windows,
  // or in 32,767 characters in the exact form: this also ends a walk that
  // follows a junction back up its own tree.
  bool exactForm = folder.rfind("\\\\?\\", 0) == 0;
  if (named.size() + 2 > (exactForm ? 32767u : 259u)) return false;
  std::string full = ThroughJunctions(named);
  Node* n = Find(full);
  if (!n || !IsFolder(n->attributes) || n->unlisted) return false;
  std::string prefix = Key(full);
  if (prefix.back() != '\\') prefix += '\\';
  std::vector<const Node*> children;
  for (auto it = nodes_.lower_bound(prefix); it != nodes_.end() && it->first.rfind(prefix, 0) == 0; ++it)
    if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos) {
      children.push_back(&it->second);
      for (const Node& twin : it->second.twins) children.push_back(&twin);
    }
  std::sort(children.begin(), children.end(), [](const Node* a, const Node* b) { return a->order < b->order; });
  if (full.size() > 3) {  // a folder lists itself and its parent first, a root does not
    if (!visit({".", kAttrDirectory, 0}) || !visit({"..", kAttrDirectory, 0})) return true;
  }
  for (const Node* c : children)
    if (!visit(EntryOf(*c))) return true;
  return true;
}

std::optional<FolderEntry> MemoryFiles::EntryAt(const std::string& path) {
  // As FindFirstFile: a wildcard would list other names, and a drive or a
  // path ending in a backslash has no entry.
  size_t cut = path.find_last_of("\\/");
  if (!NameFitsPath(cut == std::string::npos ? path : path.substr(cut + 1))) return std::nullopt;
  std::string named = FullPath(path);
  if (named.size() <= 3) return std::nullopt;
  Node* n = Find(Resolve(named));
  if (!n) return std::nullopt;
  return EntryOf(*n);
}

void MemoryFiles::DenyWrite(const std::string& path) { denied_.push_back(Key(FullPath(path))); }

std::vector<MemoryFiles::Entry> MemoryFiles::Entries() const {
  std::vector<Entry> all;
  for (const auto& [key, n] : nodes_) {
    all.push_back({n.path, n.attributes, n.bytes});
    for (const Node& twin : n.twins) all.push_back({twin.path, twin.attributes, twin.bytes});
  }
  return all;
}

}  // namespace port
