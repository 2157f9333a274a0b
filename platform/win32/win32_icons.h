// Icons of files (as the shell's ExtractIconW gives them) and bitmaps from files.
// Every system call goes through the table `api`.
#pragma once
#include <windows.h>

#include "platform/icons.h"

namespace port {

class Win32Icons : public Icons {
 public:
  struct Api {
    HICON(WINAPI* extractIcon)(HINSTANCE, LPCWSTR, UINT) = nullptr;  // as ExtractIconW
    decltype(&::DestroyIcon) destroyIcon = ::DestroyIcon;
    decltype(&::CopyIcon) copyIcon = ::CopyIcon;
    decltype(&::LoadImageW) loadImage = ::LoadImageW;
    decltype(&::DeleteObject) deleteObject = ::DeleteObject;
  };
  Win32Icons();
  Api api;

  int Count(uintptr_t instance, const std::string& file) override;
  IconHandle Extract(uintptr_t instance, const std::string& file, int index) override;
  void Destroy(IconHandle icon) override;
  IconHandle Copy(IconHandle icon) override;
  IconHandle LoadBitmapFile(const std::string& file) override;
  void DestroyBitmap(IconHandle bitmap) override;
};

}  // namespace port
