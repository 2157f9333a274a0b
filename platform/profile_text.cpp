#include "platform/profile_text.h"

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

}  // namespace

ProfileText::Line ProfileText::Parsed(std::string text, std::string end) {
  Line l;
  l.text = std::move(text);
  l.end = std::move(end);
  std::string t = Trim(l.text);
  if (t.empty()) return l;
  if (t[0] == ';') {
    l.kind = Kind::Comment;
    return l;
  }
  if (t[0] == '[') {
    size_t close = t.rfind(']');
    if (close != std::string::npos) {
      l.kind = Kind::Section;
      l.name = Trim(t.substr(1, close - 1));
      return l;
    }
  }
  l.kind = Kind::Key;
  size_t eq = t.find('=');
  if (eq == std::string::npos) {
    l.name = t;
    return l;
  }
  l.name = Trim(t.substr(0, eq));
  l.hasValue = true;
  l.value = Trim(t.substr(eq + 1));
  return l;
}

// Lines end at a line feed, a carriage return and line feed, or a carriage
// return alone, as the profile functions read them.
ProfileText::ProfileText(const std::string& text) {
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) {
      lines_.push_back(Parsed(text.substr(at), ""));
      break;
    }
    size_t next = end + 1;
    if (text[end] == '\r' && next < text.size() && text[next] == '\n') ++next;
    lines_.push_back(Parsed(text.substr(at, end - at), text.substr(end, next - end)));
    at = next;
  }
}

std::string ProfileText::Text() const {
  std::string out;
  for (const Line& l : lines_) out += l.text + l.end;
  return out;
}

// The first line of the first section of that name; lines_.size() when none.
size_t ProfileText::FindSection(const std::string& section) const {
  for (size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].kind == Kind::Section && EqualNoCase(lines_[i].name, section)) return i;
  return lines_.size();
}

std::string ProfileText::Read(const std::string& section, const std::string& key, const std::string& def,
                              size_t maxLength) const {
  std::string fallback = def;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  fallback = Cut(fallback, maxLength);
  for (size_t i = FindSection(section) + 1; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::Section) break;
    if (l.kind == Kind::Key && EqualNoCase(l.name, key)) return l.hasValue ? Cut(Unquoted(l.value), maxLength) : fallback;
  }
  return fallback;
}

void ProfileText::Write(const std::string& section, const std::string& key, const std::string& value) {
  size_t head = FindSection(section);
  if (head == lines_.size()) {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = "\r\n";
    lines_.push_back(Parsed("[" + section + "]", "\r\n"));
    lines_.push_back(Parsed(key + "=" + value, "\r\n"));
    return;
  }
  size_t last = head;  // the section's last line that is not blank
  for (size_t i = head + 1; i < lines_.size(); ++i) {
    Line& l = lines_[i];
    if (l.kind == Kind::Section) break;
    if (l.kind == Kind::Key && EqualNoCase(l.name, key)) {
      l = Parsed(l.name + "=" + value, l.end);
      return;
    }
    if (l.kind != Kind::Blank) last = i;
  }
  if (lines_[last].end.empty()) lines_[last].end = "\r\n";
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1, Parsed(key + "=" + value, "\r\n"));
}

bool ProfileText::Delete(const std::string& section, const std::string& key) {
  for (size_t i = FindSection(section) + 1; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::Section) break;
    if (l.kind == Kind::Key && EqualNoCase(l.name, key)) {
      lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
      return true;
    }
  }
  return false;
}

std::vector<std::string> ProfileText::KeyNames(const std::string& section) const {
  std::vector<std::string> names;
  for (size_t i = FindSection(section) + 1; i < lines_.size(); ++i) {
    const Line& l = lines_[i];
    if (l.kind == Kind::Section) break;
    if (l.kind == Kind::Key && !l.name.empty()) names.push_back(l.name);
  }
  return names;
}

}  // namespace port
