// The icon pages (tsIcon1, tsIcon2): the 32 shell objects whose icons the
// user picks, each kept as a held location ("file,index") and shown in its
// image; the colour depth of shell icons; the shortcut-arrow box on the
// desktop page; and the icon-cache rebuild that apply runs when an icon
// changed.
#pragma once
#include <array>
#include <functional>
#include <string>

#include "platform/system.h"
#include "tolvane/catalogue.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

class TfoIconList;

namespace tolvane {

// What the icon pages take from the main window besides PageEnv: the paths
// made at start (read when the rows run, since start-up makes them after the
// pages were built), the picker's folder and the bar of the road that runs.
struct IconHost {
  const std::string &shell32, &syncui, &netshell, &occache, &webcheck, &zipfldr, &ie;
  const std::string &transparent, &transparentJA;
  const int& shellIconSize;
  std::string& iconDir;
  std::function<TfoIconList*()> picker;  // null before the program block made it
  std::function<void()> step;            // one step of the road's bar
  std::function<void(int)> position;     // the apply bar to a position, repainted
};

class IconPages {
 public:
  static constexpr int kIcons = 32;

  // One icon image with its group box and held location.
  struct Icon {
    ui::GroupBox* gb = nullptr;
    ui::Image* im = nullptr;
    std::string held;
  };

  IconPages(ui::TabSheet& icon1, ui::TabSheet& icon2, ui::TabSheet& desktop, Catalogue& catalogue, PageEnv& env,
            IconHost host);

  // The icons in catalogue order (row 1 My Computer ... row 32 compressed
  // folder); by image name ("imShortCut"), nullptr when there is none.
  std::array<Icon, kIcons> icons;
  Icon* Find(const std::string& image);
  // The image shows the icon of its held location (empty when none).
  void Refresh(Icon& icon);

  ui::CheckBox& cbIsShortcut;
  // The radios are made before their frame, so that they lie above it.
  ui::RadioGroup& rgIconColor;
  ui::RadioButton &ra16Color, &ra256Color, &raHighColor, &raTrueColor, &ra32bitColor;
  ui::Label& laIconColorNote;

  bool RecycleBinShowsEmpty = false;  // set once at start
  port::IconMetrics IconMetrics{};

  // The shortcut-arrow box's handler, and the picker's caller side.
  void cbIsShortcutClick();
  void SubIconList(const std::string& caption, ui::Image& image, std::string& held, bool& changed);

  // Start-up: the icon group (with its bar steps) and the colour depth
  // (inside the desktop group). Apply: step 5 (with its bar steps), the
  // colour depth inside step 6, step 22, and the icon part of step 25.
  void ReadIcons(RowContext& ctx);
  void ReadColour(RowContext& ctx);
  void ApplyIcons(RowContext& ctx);
  void ApplyColour(RowContext& ctx);
  void RebuildIconCache(RowContext& ctx);
  void TakeLoaded();
  // sbStandardClick: the icon locations first; the shortcut box comes with
  // the desktop page.
  void StandardIcons(RowContext& ctx);
  void StandardShortcut(RowContext& ctx);

 private:
  // The group boxes' captions in a smaller face of the window's font.
  void FitCaptions();
  PageEnv& env_;
  IconHost host_;
  Order icons_, colour_;
  Row* shortcut_ = nullptr;
};

}  // namespace tolvane
