// A window that opens the icon picker as both programs do, for the GUI
// tests: click the icon to pick; the labels show the held location and
// IconDir. Argument: the held location to start with.
#include <windows.h>
#include <shellapi.h>

#include "common/iconlist.h"
#include "platform/text.h"
#include "platform/win32/win32_dialogs.h"
#include "platform/win32/win32_icons.h"
#include "platform/win32/win32_library.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_system.h"
#include "ui/win32/renderer.h"

class TfoPickerTest : public ui::Form {
 public:
  TfoPickerTest(ui::Application& app, TQXCommon& qx, std::string held)
      : ui::Form(app, "foPickerTest"), qx_(qx), held_(std::move(held)) {
    SetCaption("Picker Test");
    Border = ui::BorderStyle::Single;
    BorderIcons = ui::biSystemMenu;
    SetClientSize(400, 120);
    Position = ui::FormPosition::ScreenCenter;
    imIcon = &Add<ui::Image>("imIcon", {8, 8, 32, 32});
    imIcon->SetCursor(ui::Cursor::HandPoint);
    imIcon->OnClick = ui::Bind(this, &TfoPickerTest::imIconClick);
    laHeld = &Add<ui::Label>("laHeld", {50, 8, 340, 17});
    laIconDir = &Add<ui::Label>("laIconDir", {50, 30, 340, 17});
    OnShow = ui::Bind(this, &TfoPickerTest::FormShow);
  }
  int32_t SelectedIconIndex = 0;
  std::string IconDir = "C:\\";
  TfoIconList* picker = nullptr;
  ui::Image* imIcon;
  ui::Label* laHeld;
  ui::Label* laIconDir;

  void FormShow() {
    qx_.ReadSystemInfo();
    imIcon->SetIcon(qx_.GetIconHandle(0, held_));
    Show_();
  }
  void imIconClick() {
    bool changed = false;
    SubIconList(*picker, "Pick an icon", *imIcon, held_, changed, IconDir);
    Show_();
  }

 private:
  void Show_() {
    laHeld->SetCaption(held_);
    laIconDir->SetCaption(IconDir);
  }
  TQXCommon& qx_;
  std::string held_;
};

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  port::Win32Registry registry;
  port::Win32System system;
  port::Win32Library library;
  port::Win32Icons icons;
  port::Win32Dialogs dialogs;
  port::Ports ports;
  ports.registry = &registry;
  ports.system = &system;
  ports.library = &library;
  ports.icons = &icons;
  ports.dialogs = &dialogs;
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string held = argc > 1 ? port::Utf16ToUtf8(reinterpret_cast<const char16_t*>(argv[1])) : "";

  TQXCommon qx(ports);
  ui::Application app(ports);
  ui::win32::Renderer renderer(app);
  auto& main = app.CreateForm<TfoPickerTest>(qx, held);
  main.picker = &app.CreateForm<TfoIconList>(qx, main.SelectedIconIndex);
  app.Run();
  return 0;
}
