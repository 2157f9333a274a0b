// The application object: title, exception handler, the forms it owns,
// message processing (counted, for tests), termination, and the host that
// shows forms (the Win32 renderer; none in native tests).
#pragma once
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "platform/ports.h"
#include "ui/form.h"

namespace ui {

// What shows forms on a screen. The Win32 renderer implements it.
class Host {
 public:
  virtual ~Host() = default;
  virtual void FormShown(Form& form) = 0;
  virtual void FormHidden(Form& form) = 0;
  virtual void FormDestroyed(Form& form) = 0;
  // Runs messages until form.ModalDone() or the application terminates.
  virtual void ModalLoop(Form& form) = 0;
  virtual void ProcessMessages() = 0;
  virtual void Run() = 0;       // the message loop, until Terminate
  virtual void Terminated() = 0;
  virtual uintptr_t WindowHandle(const Form* form) = 0;  // 0 when none
  virtual Rect Screen() = 0;    // the work area
  // The rectangle of the whole desktop, every monitor included.
  virtual Rect Desktop() { return Screen(); }
  // Paints a control now, while long work keeps the message loop from running.
  virtual void Repaint(Control& control) { (void)control; }
  // The hourglass over every window of the program (busy) or the usual cursor.
  virtual void Busy(bool busy) { (void)busy; }
};

class Application {
 public:
  explicit Application(port::Ports& ports);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The application of this process (the last one made), for pictures that
  // need the Icons port and for the dialogs.
  static Application& Current();

  port::Ports& Ports() const { return ports_; }
  const std::string& Title() const { return title_; }  // default: the program's file name without extension
  void SetTitle(const std::string& title) { title_ = title; }

  // Creates a form owned by the application; the first one is the main form.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *form;
    Adopt(std::move(form));
    return ref;
  }
  Form* MainForm() const { return mainForm_; }
  void SetMainForm(Form* form) { mainForm_ = form; }

  // Every exception that a handler lets through comes here: to OnException
  // when set, else to the standard box (the message, the title as caption,
  // error icon).
  std::function<void(Control* sender, const std::exception& error)> OnException;
  void HandleException(Control* sender, std::exception_ptr error);
  // Runs one user event as the renderer does: catches what it throws, and
  // frees released forms once the outermost event has returned.
  void Dispatch(Control* sender, const std::function<void()>& event);
  int DispatchDepth() const { return depth_; }

  // Lets pending messages run once (the host's queue). Counted.
  void ProcessMessages();
  int ProcessMessagesRuns() const { return processMessagesRuns_; }
  void Terminate();
  bool IsTerminated() const { return terminated_; }
  // Shows the main form and runs the message loop until Terminate.
  void Run();

  // Modal showing without a host (native tests): the script plays the user
  // while the form is modal, e.g. clicks buOK. When the script leaves the
  // form open, it closes with mrCancel.
  std::function<void(Form& form)> ModalScript;

  // Message boxes through the Dialogs port, owned by the active form.
  port::MbResult MessageBox(const std::string& text, const std::string& caption, port::MbIcon icon,
                            port::MbButtons buttons = port::MbButtons::OK);
  uintptr_t ActiveWindowHandle();  // for the dialogs' owner; 0 when none

  Host* GetHost() const { return host_; }
  void SetHost(Host* host) { host_ = host; }
  Rect Screen();  // the host's work area, 1024 x 768 without one
  Rect Desktop();  // the host's whole desktop (all monitors), the work area without one

  // Used by Form.
  void ScheduleRelease(Form& form);
  void FormCreated(Form& form);
  void FormDestroyed(Form& form);
  const std::vector<Form*>& Forms() const { return forms_; }

 private:
  void Adopt(std::unique_ptr<Form> form);
  void FreeReleased();

  port::Ports& ports_;
  std::string title_;
  std::vector<std::unique_ptr<Form>> owned_;
  std::vector<Form*> forms_;  // every living form
  std::vector<Form*> released_;
  Form* mainForm_ = nullptr;
  Host* host_ = nullptr;
  Application* previous_ = nullptr;
  int depth_ = 0;
  int processMessagesRuns_ = 0;
  bool terminated_ = false;
};

}  // namespace ui
