// The real file system through the wide-character API.
#pragma once
#include <windows.h>
#undef CopyFile  // the port's name, not the macro

#include "platform/files.h"

namespace port {

class Win32Files : public Files {
 public:
  // Every system call goes through this table, so a test can make one fail.
  struct Api {
    decltype(&::GetFileAttributesW) getAttributes = ::GetFileAttributesW;
    decltype(&::SetFileAttributesW) setAttributes = ::SetFileAttributesW;
    decltype(&::CreateFileW) createFile = ::CreateFileW;
    decltype(&::ReadFile) readFile = ::ReadFile;
    decltype(&::WriteFile) writeFile = ::WriteFile;
    decltype(&::SetEndOfFile) setEndOfFile = ::SetEndOfFile;
    decltype(&::CloseHandle) closeHandle = ::CloseHandle;
    decltype(&::CreateDirectoryW) createDirectory = ::CreateDirectoryW;
    decltype(&::DeleteFileW) deleteFile = ::DeleteFileW;
    decltype(&::RemoveDirectoryW) removeDirectory = ::RemoveDirectoryW;
    decltype(&::CopyFileW) copyFile = ::CopyFileW;
    decltype(&::GetDriveTypeW) getDriveType = ::GetDriveTypeW;
    decltype(&::GetVolumeInformationW) getVolumeInformation = ::GetVolumeInformationW;
    decltype(&::FindFirstFileW) findFirstFile = ::FindFirstFileW;
    decltype(&::FindNextFileW) findNextFile = ::FindNextFileW;
    decltype(&::FindClose) findClose = ::FindClose;
  };
  Api api;

  std::optional<uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  std::optional<std::string> ReadAll(const std::string& path) override;
  bool WriteAll(const std::string& path, const std::string& bytes) override;
  bool MakeFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool CopyFile(const std::string& from, const std::string& to, bool overwrite) override;
  DriveType DriveTypeOf(const std::string& root) override;
  std::optional<VolumeInfo> Volume(const std::string& root) override;
  bool ForEachEntry(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) override;
  std::optional<FolderEntry> EntryAt(const std::string& path) override;
};

}  // namespace port
