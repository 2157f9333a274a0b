// The settings pages built so far, at their places in the roads. Pages still
// to come have empty groups and steps here.
#include "tolvane/pages.h"

#include "tolvane/main_form.h"
#include "tolvane/page_desktop.h"
#include "tolvane/page_env.h"
#include "tolvane/page_explorer.h"

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
        desktop_(main.tsDesktop, catalogue_, env_),
        explorer_(main.tsExplorer, catalogue_, env_) {}

  void Read(ReadGroup group) override {
    RowContext ctx = env_.Context();
    switch (group) {
      case ReadGroup::Desktop: ReadRows(desktop_.read, ctx); break;
      case ReadGroup::Explorer: ReadRows(explorer_.readExplorer, ctx); break;
      case ReadGroup::Network: ReadRows(explorer_.readRecycleBin, ctx); break;
      case ReadGroup::InternetExplorer: ReadRows(explorer_.readToolbar, ctx); break;
      default: break;
    }
  }

  void Apply(ApplyStep step) override {
    RowContext ctx = env_.Context();
    switch (step) {
      case ApplyStep::Desktop: WriteRows(desktop_.apply, ctx); break;
      case ApplyStep::Explorer: WriteRows(explorer_.applyExplorer, ctx); break;
      case ApplyStep::RecycleBin: WriteRows(explorer_.applyRecycleBin, ctx); break;
      case ApplyStep::Toolbar: WriteRows(explorer_.applyToolbar, ctx); break;
      default: break;
    }
  }

  void Standard() override {
    RowContext ctx = env_.Context();
    StandardRows(desktop_.standard, ctx);
    StandardRows(explorer_.standard, ctx);
  }

  void TakeLoaded() override { catalogue_.TakeLoaded(); }

 private:
  PageEnv env_;
  Catalogue catalogue_;
  DesktopPage desktop_;
  ExplorerPage explorer_;
};

}  // namespace

std::unique_ptr<Pages> MakePages(TfoMain& main) { return std::make_unique<MainPages>(main); }

}  // namespace tolvane
