// A file system held in memory that behaves as the Windows XP one does:
// drives, folders and files, names compared without case, attributes as
// GetFileAttributes shows them (a file without any is "normal", 0x80), a
// read-only file that refuses writes and deletion, relative paths resolved
// against a current folder. It can play a file or a tree the account may not
// write. For folder walks it plays drives of any type with their volume
// data, listings in creation order (as FAT gives them), a folder that cannot
// be listed, a locked file, sizes beyond 4 GB and junctions, which every
// path through them follows. It can also play what a disk that Wine maps
// shows: two files whose names differ only in case (a lookup takes the exact
// name first, else either), and a name listed as another text that also
// reaches the file (a name the system cannot decode, or one holding a
// backslash).
#pragma once
#include <map>
#include <string>
#include <vector>

#include "platform/files.h"

namespace port {

class MemoryFiles : public Files {
 public:
  MemoryFiles();  // drive C: with an empty root; current folder C:\.

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

  // A fixed drive with an empty label on "NTFS".
  void AddDrive(char letter, uint32_t rootAttributes = kAttrDirectory);
  void SetDriveType(char letter, DriveType type);
  void SetVolume(char letter, std::optional<VolumeInfo> volume);  // nullopt: unreadable
  // A junction at path (reparse point folder) whose contents are target's.
  void AddJunction(const std::string& path, const std::string& target);
  // The size a listing reports, without holding that many bytes.
  void SetSize(const std::string& path, uint64_t size);
  // The folder exists but cannot be listed (no rights).
  void DenyList(const std::string& path);
  // Open in another program without shared deletion: deleting it fails.
  void Lock(const std::string& path);
  // Its listing entry says that its name cannot be given back exactly.
  void MarkInexactName(const std::string& path);
  // A second file beside an existing one whose name differs from it only
  // in letter case, as a case-sensitive disk holds it.
  void AddCaseTwin(const std::string& path, const std::string& bytes, uint32_t attributes = kAttrArchive);
  // Its folder lists it as `name`, and that name in its folder reaches it
  // when no other file answers to it.
  void SetListedName(const std::string& path, const std::string& name);
  void SetCurrentFolder(const std::string& path);
  // Test set-up: a folder or a file with its parents, as given.
  void AddFolder(const std::string& path, uint32_t attributes = kAttrDirectory);
  void AddFile(const std::string& path, const std::string& bytes, uint32_t attributes = kAttrArchive);
  // Refuses every change to the path and to everything below it (content,
  // creation, deletion, attributes), as for an account without write rights.
  void DenyWrite(const std::string& path);

  // The full path a Windows program would open ("C:\a\b", a root "C:\");
  // empty when the path cannot name anything here (a UNC path, no drive).
  std::string FullPath(const std::string& path) const;

  struct Entry {
    std::string path;
    uint32_t attributes;
    std::string bytes;
    bool operator==(const Entry&) const = default;
  };
  // Every drive root, folder and file, in path order: a test compares two
  // of these to see that nothing changed.
  std::vector<Entry> Entries() const;

 private:
  struct Node {
    std::string path;
    uint32_t attributes;
    std::string bytes;
    uint64_t order = 0;                 // creation order: the listing order
    std::optional<uint64_t> size;       // a size set by SetSize
    std::string target;                 // a junction's target
    bool unlisted = false, locked = false, inexact = false;
    std::string listed;                 // the name its folder shows, when another
    std::vector<Node> twins;            // files whose names differ only in case
  };
  struct Drive {
    DriveType type = DriveType::Fixed;
    std::optional<VolumeInfo> volume = VolumeInfo{"", "NTFS"};
  };
  Node& Put(const std::string& full, Node node);
  std::string ThroughJunctions(const std::string& full);
  std::string Resolve(const std::string& full);
  void Erase(Node* node);
  FolderEntry EntryOf(const Node& node) const;
  Node* Find(const std::string& full);
  Node* Parent(const std::string& full);
  bool Denied(const std::string& full) const;
  static std::string Key(const std::string& full);
  static std::string ParentOf(const std::string& full);

  std::map<std::string, Node> nodes_;  // by upper-cased full path
  std::vector<std::string> denied_;    // upper-cased full paths
  std::vector<std::string> aliased_;   // keys of nodes listed under another name
  std::string current_ = "C:\\";
  std::map<char, Drive> drives_;
  uint64_t made_ = 0;
};

}  // namespace port
