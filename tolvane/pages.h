// The places where the settings pages plug into the main window's roads.
// The road (startup.cpp, apply.cpp, commands.cpp) fixes the order of the page
// groups and the progress; each page's slices (catalogue.cpp and the page_*
// files) do the reading, writing and standard values of their own rows.
#pragma once
#include <functional>
#include <memory>

namespace tolvane {

class TfoMain;
class Catalogue;
class IconPages;

// The page reads of start-up, in the order the road runs them.
enum class ReadGroup {
  Registration,  // the registration fields of the system page
  Icons,
  Desktop,
  Explorer,
  ContextMenu,
  Network,  // with the recycle bin
  Window,
  InternetExplorer,
  StartPanel,
  Restriction,
  Performance,
  NumLock,
  Uninstall,
  Run,
  Logon2,
  Logon1,
  ShellNew,
};

// The apply steps that page slices fill (the other steps are the road's own).
enum class ApplyStep {
  Icons = 5,
  Desktop = 6,
  Explorer = 7,
  ContextMenu = 8,
  Network = 9,
  RecycleBin = 10,
  Window = 11,
  Toolbar = 12,  // toolbar bitmaps, then search URL, titles, FTP text, source editor
  StartPanel = 13,
  Restriction = 14,
  Performance = 15,
  System = 16,
  FolderIconVerb = 17,
  PendingMoves = 18,
  LogonCleanup = 19,
  Logon = 20,
  IconCache = 22,  // only called when IconChanged is set
};

class Pages {
 public:
  virtual ~Pages() = default;
  // Start-up: the reads of one group into the controls; each row takes its
  // loaded value right after its control was filled.
  virtual void Read(ReadGroup group) = 0;
  // Apply: the writes of one step; a row whose state differs from its loaded
  // value marks its change class in TfoMain::Changes. Flags are not reset
  // and loaded values not taken here.
  virtual void Apply(ApplyStep step) = 0;
  // sbStandardClick: every page's standard values into its controls, in the
  // standard order. Nothing is written.
  virtual void Standard() = 0;
  // Apply step 25: every loaded value := the control's state now.
  virtual void TakeLoaded() = 0;
  // Before apply (and before a settings file is saved): every numeric edit
  // decides its number from its whole text. False when one refused its text;
  // its sheet is then shown and the warning named the field.
  virtual bool DecideNumbers() { return true; }
  // After a settings file was loaded: every numeric edit shows its number
  // (the standard values do this themselves).
  virtual void ShowNumbers() {}
  // The settings file: the catalogue whose rows carry the file keys.
  virtual const Catalogue* FileRows() const { return nullptr; }
  // The icon pages with their held locations (the settings file and tests
  // reach them here); nullptr for pages without them.
  virtual IconPages* Icons() { return nullptr; }
};

// Creates the page controls on the main window's sheets and returns their
// slices. The program passes tolvane::MakePages (catalogue.cpp); a test may
// pass its own.
using PagesFactory = std::function<std::unique_ptr<Pages>(TfoMain&)>;
std::unique_ptr<Pages> MakePages(TfoMain& main);

}  // namespace tolvane
