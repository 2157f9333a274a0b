// Icon extraction over a fixture: files with a known number of icons. Every
// handle given out is tracked, so a test sees leaks and double frees.
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/icons.h"

namespace port {

class MemoryIcons : public Icons {
 public:
  int Count(uintptr_t instance, const std::string& file) override;
  IconHandle Extract(uintptr_t instance, const std::string& file, int index) override;
  void Destroy(IconHandle icon) override;
  IconHandle Copy(IconHandle icon) override;
  IconHandle LoadBitmapFile(const std::string& file) override;
  void DestroyBitmap(IconHandle bitmap) override;

  // A file (compared without case) with count icons; indexes listed in
  // broken cannot be extracted. resourceIds: the negative indexes it answers.
  void AddFile(const std::string& file, int count, std::set<int> broken = {}, std::set<int> resourceIds = {});
  void AddBitmap(const std::string& file);

  struct Extraction {
    std::string file;
    int index;
  };
  const std::vector<Extraction>& Extractions() const { return extractions_; }
  // What the handle shows: "file,index" (copies show the same).
  std::string Describe(IconHandle icon) const;
  size_t LiveIcons() const { return live_.size(); }
  size_t LiveBitmaps() const { return bitmaps_.size(); }
  int DoubleFrees() const { return doubleFrees_; }

 private:
  struct File {
    int count = 0;
    std::set<int> broken, resourceIds;
  };
  const File* Lookup(const std::string& file) const;
  std::map<std::string, File> files_;  // by upper-case name
  std::set<std::string> bitmapFiles_;
  std::map<IconHandle, std::string> live_;
  std::set<IconHandle> bitmaps_;
  std::vector<Extraction> extractions_;
  IconHandle next_ = 0x1000;
  int doubleFrees_ = 0;
};

}  // namespace port
