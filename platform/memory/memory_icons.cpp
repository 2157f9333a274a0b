#include "platform/memory/memory_icons.h"

#include "platform/text.h"

namespace port {

void MemoryIcons::AddFile(const std::string& file, int count, std::set<int> broken, std::set<int> resourceIds) {
  files_[UpperNoCase(file)] = File{count, std::move(broken), std::move(resourceIds)};
}

void MemoryIcons::AddBitmap(const std::string& file) { bitmapFiles_.insert(UpperNoCase(file)); }

const MemoryIcons::File* MemoryIcons::Lookup(const std::string& file) const {
  auto it = files_.find(UpperNoCase(file));
  return it == files_.end() ? nullptr : &it->second;
}

int MemoryIcons::Count(uintptr_t, const std::string& file) {
  extractions_.push_back({file, -1});
  const File* f = Lookup(file);
  return f ? f->count : 0;
}

IconHandle MemoryIcons::Extract(uintptr_t, const std::string& file, int index) {
  extractions_.push_back({file, index});
  const File* f = Lookup(file);
  if (!f || f->broken.count(index)) return 0;
  bool present = index >= 0 ? index < f->count : f->resourceIds.count(index) > 0;
  if (!present) return 0;
  IconHandle h = next_++;
  live_[h] = file + "," + std::to_string(index);
  return h;
}

void MemoryIcons::Destroy(IconHandle icon) {
  if (!live_.erase(icon)) ++doubleFrees_;
}

IconHandle MemoryIcons::Copy(IconHandle icon) {
  auto it = live_.find(icon);
  if (it == live_.end()) return 0;
  IconHandle h = next_++;
  live_[h] = it->second;
  return h;
}

IconHandle MemoryIcons::LoadBitmapFile(const std::string& file) {
  if (!bitmapFiles_.count(UpperNoCase(file))) return 0;
  IconHandle h = next_++;
  bitmaps_.insert(h);
  return h;
}

void MemoryIcons::DestroyBitmap(IconHandle bitmap) {
  if (!bitmaps_.erase(bitmap)) ++doubleFrees_;
}

std::string MemoryIcons::Describe(IconHandle icon) const {
  auto it = live_.find(icon);
  return it == live_.end() ? std::string() : it->second;
}

}  // namespace port
