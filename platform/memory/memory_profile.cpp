#include "platform/memory/memory_profile.h"

#include <vector>

#include "platform/text.h"

namespace port {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == 0x1a; }

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && Blank(s[b])) ++b;
  while (e > b && Blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n", "\r" or "" for a last line without one
};

// Lines end at a line feed, a carriage return and line feed, or a carriage
// return alone, as the profile functions read them.
std::vector<Line> SplitLines(const std::string& bytes) {
  std::vector<Line> lines;
  for (size_t at = 0; at < bytes.size();) {
    size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string::npos) {
      lines.push_back({bytes.substr(at), ""});
      break;
    }
    size_t next = end + 1;
    if (bytes[end] == '\r' && next < bytes.size() && bytes[next] == '\n') ++next;
    lines.push_back({bytes.substr(at, end - at), bytes.substr(end, next - end)});
    at = next;
  }
  return lines;
}

std::string JoinLines(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += l.text + l.end;
  return out;
}

enum class Kind { Blank, Comment, Section, Key };

struct Parsed {
  Kind kind;
  std::string name;   // section or key
  bool hasValue = false;
  std::string value;  // blanks dropped, quotes kept
};

Parsed Parse(const std::string& text) {
  std::string t = Trim(text);
  if (t.empty()) return {Kind::Blank, "", false, ""};
  if (t[0] == ';') return {Kind::Comment, "", false, ""};
  if (t[0] == '[') {
    size_t close = t.rfind(']');
    if (close != std::string::npos) return {Kind::Section, Trim(t.substr(1, close - 1)), false, ""};
  }
  size_t eq = t.find('=');
  if (eq == std::string::npos) return {Kind::Key, t, false, ""};
  return {Kind::Key, Trim(t.substr(0, eq)), true, Trim(t.substr(eq + 1))};
}

std::string Unquoted(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

std::string Cut(const std::string& s, size_t maxLength) {
  std::u16string w = Utf8ToUtf16(s);
  if (w.size() <= maxLength) return s;
  w.resize(maxLength);
  if (!w.empty() && w.back() >= 0xD800 && w.back() < 0xDC00) w.pop_back();
  return Utf16ToUtf8(w);
}

// The first line of the first section of that name; lines.size() when none.
size_t FindSection(const std::vector<Line>& lines, const std::string& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i].text);
    if (p.kind == Kind::Section && EqualNoCase(p.name, section)) return i;
  }
  return lines.size();
}

}  // namespace

MemoryProfile::MemoryProfile(Files& files, std::string windowsFolder)
    : files_(files), windowsFolder_(std::move(windowsFolder)) {}

std::string MemoryProfile::Resolve(const std::string& path) const {
  if (path.find('\\') == std::string::npos && path.find('/') == std::string::npos)
    return windowsFolder_ + "\\" + path;
  return path;
}

std::string MemoryProfile::Read(const std::string& path, const std::string& section, const std::string& key,
                                const std::string& def, size_t maxLength) {
  std::string fallback = def;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  fallback = Cut(fallback, maxLength);
  std::optional<std::string> bytes = files_.ReadAll(Resolve(path));
  if (!bytes) return fallback;
  std::vector<Line> lines = SplitLines(*bytes);
  for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i].text);
    if (p.kind == Kind::Section) break;
    if (p.kind == Kind::Key && EqualNoCase(p.name, key))
      return p.hasValue ? Cut(Unquoted(p.value), maxLength) : fallback;
  }
  return fallback;
}

bool MemoryProfile::Write(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& value) {
  std::string file = Resolve(path);
  std::string bytes;
  if (files_.Exists(file)) {
    std::optional<std::string> old = files_.ReadAll(file);
    if (!old) return false;
    bytes = *old;
  }
  std::vector<Line> lines = SplitLines(bytes);
  size_t head = FindSection(lines, section);
  if (head == lines.size()) {
    if (!lines.empty() && lines.back().end.empty()) lines.back().end = "\r\n";
    lines.push_back({"[" + section + "]", "\r\n"});
    lines.push_back({key + "=" + value, "\r\n"});
    return files_.WriteAll(file, JoinLines(lines));
  }
  size_t last = head;  // the section's last line that is not blank
  for (size_t i = head + 1; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i].text);
    if (p.kind == Kind::Section) break;
    if (p.kind == Kind::Key && EqualNoCase(p.name, key)) {
      lines[i].text = p.name + "=" + value;
      return files_.WriteAll(file, JoinLines(lines));
    }
    if (p.kind != Kind::Blank) last = i;
  }
  if (lines[last].end.empty()) lines[last].end = "\r\n";
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, Line{key + "=" + value, "\r\n"});
  return files_.WriteAll(file, JoinLines(lines));
}

bool MemoryProfile::Delete(const std::string& path, const std::string& section, const std::string& key) {
  std::string file = Resolve(path);
  if (!files_.Exists(file)) return true;
  std::optional<std::string> bytes = files_.ReadAll(file);
  if (!bytes) return false;
  std::vector<Line> lines = SplitLines(*bytes);
  for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i].text);
    if (p.kind == Kind::Section) break;
    if (p.kind == Kind::Key && EqualNoCase(p.name, key)) {
      lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
      return files_.WriteAll(file, JoinLines(lines));
    }
  }
  return true;
}

std::vector<std::string> MemoryProfile::KeyNames(const std::string& path, const std::string& section) {
  std::vector<std::string> names;
  std::optional<std::string> bytes = files_.ReadAll(Resolve(path));
  if (!bytes) return names;
  std::vector<Line> lines = SplitLines(*bytes);
  for (size_t i = FindSection(lines, section) + 1; i < lines.size(); ++i) {
    Parsed p = Parse(lines[i].text);
    if (p.kind == Kind::Section) break;
    if (p.kind == Kind::Key && !p.name.empty()) names.push_back(p.name);
  }
  return names;
}

}  // namespace port
