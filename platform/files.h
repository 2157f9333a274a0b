// Files and folders as the suite sees them: attributes, existence, whole-file
// contents. Paths are Windows paths in UTF-8 ("C:\folder\file").
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// <windows.h> makes this name a macro; in a Win32 file include it before
// this header and call the wide function by its W name.
#undef CopyFile

namespace port {

enum FileAttribute : uint32_t {
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrDirectory = 0x10,
  kAttrArchive = 0x20,
  kAttrNormal = 0x80,
};

class Files {
 public:
  virtual ~Files() = default;
  // GetFileAttributes: nullopt when the path does not exist or cannot be reached.
  virtual std::optional<uint32_t> Attributes(const std::string& path) = 0;
  // SetFileAttributes (the directory bit is the file system's own and is
  // ignored). False when the path is missing or the change is refused.
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // The bytes of a file; nullopt when missing, a folder or unreadable.
  virtual std::optional<std::string> ReadAll(const std::string& path) = 0;
  // Replaces the bytes of a file, creating it (archive attribute) when
  // missing; an existing file keeps its attributes and gains the archive
  // bit. False when refused: a
  // read-only file, a missing folder, no write access.
  virtual bool WriteAll(const std::string& path, const std::string& bytes) = 0;
  // Creates one folder whose parent exists; false when refused or present.
  virtual bool MakeFolder(const std::string& path) = 0;
  // Deletes a file (not read-only) or an empty folder; false when refused.
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  // CopyFile: the copy takes the bytes and attributes of the source. False
  // when the source is missing or a folder, the target exists and overwrite
  // is false, the target is read-only or refused, its folder is missing, or
  // both name the same file.
  virtual bool CopyFile(const std::string& from, const std::string& to, bool overwrite) = 0;

  bool Exists(const std::string& path) { return Attributes(path).has_value(); }
  bool FileExists(const std::string& path) {
    auto a = Attributes(path);
    return a && !(*a & kAttrDirectory);
  }
  bool FolderExists(const std::string& path) {
    auto a = Attributes(path);
    return a && (*a & kAttrDirectory);
  }
};

}  // namespace port
