// The settings pages built so far, at their places in the roads. Pages still
// to come have empty groups and steps here.
#include "tolvane/pages.h"

#include "tolvane/main_form.h"
#include "tolvane/page_desktop.h"
#include "tolvane/page_env.h"
#include "tolvane/page_explorer.h"
#include "tolvane/page_icons.h"
#include "tolvane/page_context.h"
#include "tolvane/page_ie.h"
#include "tolvane/page_lists.h"
#include "tolvane/page_network.h"
#include "tolvane/page_window.h"
#include "tolvane/page_logon.h"
#include "tolvane/page_system.h"

namespace tolvane {

namespace {

class MainPages : public Pages {
 public:
  explicit MainPages(TfoMain& main)
      : env_{main.App(),
             main.QX,
             *main.App().Ports().files,
             *main.App().Ports().dialogs,
             main.Changes,
             [&main] { main.ApplyEnabled(); },
             [&main] { return main.ProgramFolder; },
             [&main] { return main.Shell32Path; }},
        icons_(main.tsIcon1, main.tsIcon2, main.tsDesktop, catalogue_, env_,
               {main.Shell32Path, main.SyncuiPath, main.NetshellPath, main.OccachePath, main.WebcheckPath,
                main.ZipfldrPath, main.IEPath, main.TransparentIconLocation, main.TransparentIconLocationJA,
                main.ShellIconSize, main.IconDir, [&main] { return main.foIconList; },
                [&main] { if (main.ProgressStep) main.ProgressStep(); },
                [&main](int p) { if (main.ProgressPosition) main.ProgressPosition(p); }}),
        desktop_(main.tsDesktop, catalogue_, env_),
        explorer_(main.tsExplorer, catalogue_, env_),
        network_(main.tsNetwork, catalogue_, env_, main.lbAdapterID, main.lbTemp),
        context_(main.tsContextMenu, catalogue_, env_,
                 {[&main] { return main.FolderIconCommand; }, [&main] { return main.NotepadCommand; }}),
        ie_(main.tsIE1, main.tsIE2, catalogue_, env_, main.lbIdentities),
        performance_(main.tsPerformance, catalogue_, env_),
        system_(main.tsSystem, catalogue_, env_),
        logon_(main.tsLogon1, main.tsLogon2, catalogue_, env_, {[&main] { return main.AutoCleanCommand; }}),
        window_(main.tsWindow, main.tsStartMenu, main.tsRestriction, catalogue_, env_,
                [&main] { main.buPasswordSettingClick(); }),
        lists_(main.tsUninstall, main.tsRun, main.tsShellNew, env_,
               {main.lbTemp, main.lbCopyCurrent, main.lbCopyDelete, main.lbDeltaCurrent, main.lbDeltaDelete,
                main.lbDeltaCurrentRun, main.lbDeltaDeleteRun, main.lbCopyCurrentShellNew, main.lbCopyDeleteShellNew,
                main.lbDeltaCurrentShellNew, main.lbDeltaDeleteShellNew}) {}

  void Read(ReadGroup group) override {
    RowContext ctx = env_.Context();
    switch (group) {
      case ReadGroup::Registration: ReadRows(system_.readRegistration, ctx); break;
      case ReadGroup::Icons: icons_.ReadIcons(ctx); break;
      case ReadGroup::Desktop:
        ReadRows(desktop_.read, ctx);
        ReadRows(window_.readDesktop, ctx);
        icons_.ReadColour(ctx);  // after the desktop and taskbar switches
        break;
      case ReadGroup::Explorer: ReadRows(explorer_.readExplorer, ctx); break;
      case ReadGroup::ContextMenu: ReadRows(context_.read, ctx); break;
      case ReadGroup::Network:
        ReadRows(network_.read, ctx);
        ReadRows(ie_.readLimits, ctx);
        ReadRows(explorer_.readRecycleBin, ctx);
        break;
      case ReadGroup::InternetExplorer:
        ReadRows(explorer_.readToolbar, ctx);
        ReadRows(ie_.read, ctx);
        break;
      case ReadGroup::Window: ReadRows(window_.readWindow, ctx); break;
      case ReadGroup::StartPanel: ReadRows(window_.readStartMenu, ctx); break;
      case ReadGroup::Restriction: ReadRows(window_.readRestriction, ctx); break;
      case ReadGroup::Performance: ReadRows(performance_.read, ctx); break;
      case ReadGroup::NumLock: ReadRows(system_.readNumLock, ctx); break;
      case ReadGroup::Logon2: ReadRows(logon_.readLogon2, ctx); break;
      case ReadGroup::Logon1: ReadRows(logon_.readLogon1, ctx); break;
      case ReadGroup::Uninstall: lists_.ReadUninstall(); break;
      case ReadGroup::Run: lists_.ReadRun(); break;
      case ReadGroup::ShellNew: lists_.ReadShellNew(); break;
      default: break;
    }
  }

  void Apply(ApplyStep step) override {
    RowContext ctx = env_.Context();
    switch (step) {
      case ApplyStep::Icons: icons_.ApplyIcons(ctx); break;
      case ApplyStep::Desktop:
        WriteRows(desktop_.apply, ctx);
        WriteRows(window_.applyDesktop, ctx);
        icons_.ApplyColour(ctx);  // after the desktop and taskbar switches
        break;
      case ApplyStep::Explorer: WriteRows(explorer_.applyExplorer, ctx); break;
      case ApplyStep::ContextMenu: WriteRows(context_.apply, ctx); break;
      case ApplyStep::Network:
        WriteRows(network_.apply, ctx);
        WriteRows(ie_.applyLimits, ctx);
        break;
      case ApplyStep::RecycleBin: WriteRows(explorer_.applyRecycleBin, ctx); break;
      case ApplyStep::Toolbar:
        WriteRows(explorer_.applyToolbar, ctx);
        WriteRows(ie_.apply, ctx);
        break;
      case ApplyStep::Window: WriteRows(window_.applyWindow, ctx); break;
      case ApplyStep::StartPanel: WriteRows(window_.applyStartMenu, ctx); break;
      case ApplyStep::Restriction: WriteRows(window_.applyRestriction, ctx); break;
      case ApplyStep::Performance: WriteRows(performance_.apply, ctx); break;
      case ApplyStep::System: WriteRows(system_.apply, ctx); break;
      case ApplyStep::FolderIconVerb: WriteRows(context_.applyFolderIcon, ctx); break;
      case ApplyStep::LogonCleanup: WriteRows(logon_.applyCleanup, ctx); break;
      case ApplyStep::Logon: WriteRows(logon_.applyLogon, ctx); break;
      case ApplyStep::PendingMoves: lists_.ApplyPendingMoves(); break;
      case ApplyStep::IconCache: icons_.RebuildIconCache(ctx); break;
      default: break;
    }
  }

  void Standard() override {
    RowContext ctx = env_.Context();
    icons_.StandardIcons(ctx);
    icons_.StandardShortcut(ctx);
    StandardRows(desktop_.standard, ctx);
    StandardRows(explorer_.standard, ctx);
    StandardRows(context_.standard, ctx);
    StandardRows(network_.standard, ctx);
    StandardRows(ie_.standard, ctx);
    StandardRows(window_.standard, ctx);
    StandardRows(logon_.standard, ctx);
    StandardRows(performance_.standard, ctx);
    StandardRows(system_.standard, ctx);
    ShowNumbers();
  }

  const Catalogue* FileRows() const override { return &catalogue_; }
  IconPages* Icons() override { return &icons_; }

  void TakeLoaded() override {
    catalogue_.TakeLoaded();
    icons_.TakeLoaded();
  }

  bool DecideNumbers() override { return DecideAll(Numbers()); }
  void ShowNumbers() override {
    for (NumberEdit* n : Numbers()) n->ShowHeld();
  }

 private:
  // The numeric edits in the order of the pages.
  std::vector<NumberEdit*> Numbers() {
    std::vector<NumberEdit*> all;
    for (auto* numbers : {&network_.numbers, &ie_.numbers, &performance_.numbers})
      for (auto& n : *numbers) all.push_back(n.get());
    return all;
  }
  PageEnv env_;
  Catalogue catalogue_;
  IconPages icons_;
  DesktopPage desktop_;
  ExplorerPage explorer_;
  NetworkPage network_;
  ContextMenuPage context_;
  IEPages ie_;
  PerformancePage performance_;
  SystemPage system_;
  LogonPages logon_;
  WindowPages window_;
  ListPages lists_;
};

}  // namespace

std::unique_ptr<Pages> MakePages(TfoMain& main) { return std::make_unique<MainPages>(main); }

}  // namespace tolvane
