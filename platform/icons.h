// Icons of files, as the shell extracts them.
#pragma once
#include <cstdint>
#include <string>

namespace port {

using IconHandle = uintptr_t;  // 0: no icon

class Icons {
 public:
  virtual ~Icons() = default;
  // ExtractIcon(instance, file, -1): the number of icons in the file, 0 when
  // it has none or cannot be read.
  virtual int Count(uintptr_t instance, const std::string& file) = 0;
  // ExtractIcon(instance, file, index): 0 when there is no such icon. A
  // negative index names an icon resource id.
  virtual IconHandle Extract(uintptr_t instance, const std::string& file, int index) = 0;
  virtual void Destroy(IconHandle icon) = 0;
  // CopyIcon: a second handle of the same icon, owned by the caller.
  virtual IconHandle Copy(IconHandle icon) = 0;
  // A bitmap file loaded as a bitmap handle; 0 when it cannot be read.
  virtual IconHandle LoadBitmapFile(const std::string& file) = 0;
  virtual void DestroyBitmap(IconHandle bitmap) = 0;
};

}  // namespace port
