// The shared component every main window of the suite owns: facts about the
// system, the language flag, the system folders, typed registry access by
// root text, icon locations, lock-password scrambling and help display.
#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/icons.h"
#include "platform/ports.h"
#include "platform/registry.h"

class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TQXCommon {
 public:
  explicit TQXCommon(port::Ports& ports);
  ~TQXCommon();
  TQXCommon(const TQXCommon&) = delete;
  TQXCommon& operator=(const TQXCommon&) = delete;

  void ReadSystemInfo();

  // Registry operations. Root texts are "HKCR", "HKCU", "HKLM", "HKU"
  // exactly; any other text keeps the root selected before.
  void SetRegRoot(const std::string& root);
  bool RegKeyExists(const std::string& root, const std::string& key);
  bool RegValueExists(const std::string& root, const std::string& key, const std::string& name);
  std::string ReadRegString(const std::string& root, const std::string& key, const std::string& name,
                            const std::string& def);
  int32_t ReadRegInteger(const std::string& root, const std::string& key, const std::string& name, int32_t def);
  int32_t ReadRegBinary(const std::string& root, const std::string& key, const std::string& name, int32_t def);
  void WriteRegString(const std::string& root, const std::string& key, const std::string& name,
                      const std::string& value);
  void WriteRegInteger(const std::string& root, const std::string& key, const std::string& name, int32_t value);
  void WriteRegBinary(const std::string& root, const std::string& key, const std::string& name, int32_t value);
  void DeleteRegValue(const std::string& root, const std::string& key, const std::string& name);
  void DeleteRegKey(const std::string& root, const std::string& key);
  // The old key with all its values and subkeys replaces the new key, and
  // goes. An old key that does not exist changes nothing.
  void MoveRegKey(const std::string& root, const std::string& oldKey, const std::string& newKey);
  // One value from one key to another with its type and data exactly (the
  // target key is made when missing), then deleted from the old key. A value
  // that is absent moves nothing; a refused write raises RegistryError and
  // keeps the old value. False when there was nothing to move.
  bool MoveRegValue(const std::string& root, const std::string& oldKey, const std::string& newKey,
                    const std::string& name);
  // The same, the value taking another name in the new key (which may be
  // the old key).
  bool MoveRegValue(const std::string& root, const std::string& oldKey, const std::string& newKey,
                    const std::string& name, const std::string& newName);
  void GetRegKeyNames(const std::string& root, const std::string& key);
  void GetRegValueNames(const std::string& root, const std::string& key);

  // Icon locations: "path,index", split at the last comma.
  void SplitIconLocation(const std::string& location);
  int32_t GetIconCount(uintptr_t instance, const std::string& location);
  port::IconHandle GetIconHandle(uintptr_t instance, const std::string& location);

  // Lock password.
  std::string NormalizePassword(const std::string& password) const;
  std::string ScramblePassword(const std::string& password) const;
  std::string UnscramblePassword(const std::string& scrambled) const;
  // Whether every character is a symbol of the scrambled alphabet.
  bool IsScrambledPassword(const std::string& scrambled) const;

  // The installer's shortcuts: a shell link file at linkFile that starts
  // target in target's folder. Throws when the shell-link object cannot be
  // made or the file cannot be written (naming the file).
  void CreateShellLink(const std::string& target, const std::string& linkFile);

  // Opens "file.chm::/topic.htm>main"; 0 when nothing was shown.
  uintptr_t ShowHtmlHelp(uintptr_t window, const std::string& helpPath);

  // Published facts, valid after ReadSystemInfo.
  bool Win95() const { return win95_; }
  bool Win98() const { return win98_; }
  bool WinME() const { return winME_; }
  bool NT40() const { return nt40_; }
  bool Win2000() const { return win2000_; }
  bool WinXP() const { return winXP_; }
  int32_t MajorVersion() const { return majorVersion_; }
  int32_t MinorVersion() const { return minorVersion_; }
  const std::string& CSDVersion() const { return csdVersion_; }
  int32_t BuildNumber() const { return buildNumber_; }
  const std::string& IEVersion() const { return ieVersion_; }
  bool IE3() const { return ie3_; }
  bool IE4() const { return ie4_; }
  bool IE5() const { return ie5_; }
  bool IE6() const { return ie6_; }
  bool ActiveDesktop() const { return activeDesktop_; }
  bool Japanese() const { return japanese_; }
  bool Administrator() const { return administrator_; }
  const std::string& WinDir() const { return winDir_; }
  const std::string& SysDir() const { return sysDir_; }
  const std::string& BootDir() const { return bootDir_; }
  const std::string& DesktopDir() const { return desktopDir_; }
  const std::string& StartMenuDir() const { return startMenuDir_; }
  const std::string& ProgramsDir() const { return programsDir_; }
  const std::string& RecentDir() const { return recentDir_; }
  const std::string& TempDir() const { return tempDir_; }
  const std::vector<std::string>& StringList() const { return stringList_; }
  const std::string& FileName() const { return fileName_; }
  int32_t IconIndex() const { return iconIndex_; }

  port::Ports& Ports() const { return ports_; }

 private:
  // The accessor's steps; every operation closes what it opened.
  void OpenKey(const std::string& key);  // full access, without creating
  void CloseKey();
  bool KeyExists(const std::string& key);  // opens with kKeyReadTest under the selected root
  std::optional<port::RegValue> ReadValue(const std::string& root, const std::string& key, const std::string& name);
  void WriteValue(const std::string& root, const std::string& key, const std::string& name,
                  const port::RegValue& value);
  void DeleteTree(const std::string& key);
  bool CopyTree(const std::string& from, const std::string& to);

  port::Ports& ports_;
  // The registry accessor: the selected root and at most one open key.
  port::Root root_ = port::Root::HKCU;
  port::KeyHandle openKey_ = 0;

  bool win95_ = false, win98_ = false, winME_ = false, nt40_ = false, win2000_ = false, winXP_ = false;
  int32_t majorVersion_ = 0, minorVersion_ = 0, buildNumber_ = 0;
  std::string csdVersion_, ieVersion_;
  bool ie3_ = false, ie4_ = false, ie5_ = false, ie6_ = false;
  bool activeDesktop_ = false, japanese_ = false, administrator_ = false;
  std::string winDir_, sysDir_, bootDir_, desktopDir_, startMenuDir_, programsDir_, recentDir_, tempDir_;
  std::vector<std::string> stringList_;
  std::string fileName_;
  int32_t iconIndex_ = 0;

  uintptr_t helpModule_ = 0;
  uintptr_t htmlHelp_ = 0;
  bool helpLoaded_ = false;
};
