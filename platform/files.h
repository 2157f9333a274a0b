// Files and folders as the suite sees them: attributes, existence, whole-file
// contents, drives and folder listings. Paths are Windows paths in UTF-8
// ("C:\folder\file"). A path that begins with "\\?\" (such as
// "\\?\C:\folder\x.") is taken exactly as written: Windows strips a trailing
// dot or blank of a name in every other form.
#pragma once
#include <cstdint>
#include <functional>
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
  kAttrReparsePoint = 0x400,  // a junction or mounted folder
};

// GetDriveType of a root ("C:\").
enum class DriveType : uint32_t { Unknown = 0, NoRoot = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// GetVolumeInformation of a root.
struct VolumeInfo {
  std::string label;
  std::string fileSystem;
};

// One entry of a folder as FindFirstFile/FindNextFile report it: the name
// (no path), the attributes and the whole 64-bit size.
struct FolderEntry {
  std::string name;
  uint32_t attributes = 0;
  uint64_t size = 0;
  // False when the name cannot be given back exactly in a path: an NTFS
  // name with a lone UTF-16 surrogate has no UTF-8 form, and a name holding
  // a character that a path reads as a separator, a drive or a wildcard
  // (possible on a disk Wine maps or on a share) names something else.
  bool exact = true;
};

// Whether a name can stand as one name in a path: none of \ / : * ? " < > |
// and no control character.
inline bool NameFitsPath(const std::string& name) {
  for (unsigned char c : name)
    if (c < 0x20 || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' ||
        c == '|')
      return false;
  return !name.empty();
}

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

  // The type of a drive root such as "C:\\" (NoRoot when there is none).
  virtual DriveType DriveTypeOf(const std::string& root) { (void)root; return DriveType::NoRoot; }
  // Label and file system of a drive root; nullopt when the volume cannot be read.
  virtual std::optional<VolumeInfo> Volume(const std::string& root) { (void)root; return std::nullopt; }
  // Every entry of a folder ("." and ".." included where the file system
  // reports them), hidden and system ones too, in the file system's own
  // order; visit returns false to stop. False when the folder cannot be
  // enumerated (missing, no rights); an empty folder is true.
  virtual bool ForEachEntry(const std::string& folder, const std::function<bool(const FolderEntry&)>& visit) {
    (void)folder; (void)visit;
    return false;
  }

  // The entry a path names, as its folder lists it now (FindFirstFile on the
  // path itself): the name as the file system holds it, which differs from
  // the path's last name when the file system found it without regard to
  // case, its attributes and size. A junction is given as itself, not
  // followed (the folders before it are). nullopt when nothing answers, for
  // a drive root and for a name with a wildcard.
  virtual std::optional<FolderEntry> EntryAt(const std::string& path) {
    (void)path;
    return std::nullopt;
  }

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
