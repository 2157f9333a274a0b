// The Win32 renderer: shows the forms of the model as real windows (common
// controls 6 with the classic classes) and turns notifications into the
// model's user events. It is the only code that knows window handles.
//
//   ui::Application app(ports);
//   ui::win32::Renderer renderer(app);   // becomes the application's host
//   auto& main = app.CreateForm<TfoMain>(...);
//   app.Run();
//
// Include <windows.h> (if at all) before the ui headers in a Win32 file.
#pragma once
#include <map>
#include <memory>

#include "ui/application.h"

namespace ui::win32 {

class Renderer : public Host {
 public:
  explicit Renderer(Application& app);
  ~Renderer() override;

  void FormShown(Form& form) override;
  void FormHidden(Form& form) override;
  void FormDestroyed(Form& form) override;
  void ModalLoop(Form& form) override;
  void ProcessMessages() override;
  void Run() override;
  void Terminated() override;
  uintptr_t WindowHandle(const Form* form) override;
  Rect Screen() override;
  Rect Desktop() override;
  void Repaint(Control& control) override;
  void Busy(bool busy) override;

  struct Node;  // one window of one control

 private:
  Application& app_;
  std::map<const Form*, std::unique_ptr<Node>> roots_;
};

}  // namespace ui::win32
