#include "ui/application.h"

#include <algorithm>
#include <stdexcept>

#include "platform/system.h"

namespace ui {

namespace {
Application* current = nullptr;

std::string ProgramTitle(port::Ports& ports) {
  if (!ports.system) return {};
  std::string path = ports.system->ModulePath();
  size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}
}  // namespace

Application::Application(port::Ports& ports) : ports_(ports), title_(ProgramTitle(ports)), previous_(current) {
  current = this;
}

Application::~Application() {
  while (!owned_.empty()) {
    Form& form = *owned_.back();
    try {
      if (form.OnDestroy) form.OnDestroy(form);
    } catch (...) {
    }
    owned_.pop_back();
  }
  current = previous_;
}

Application& Application::Current() {
  if (!current) throw std::logic_error("no application object");
  return *current;
}

void Application::Adopt(std::unique_ptr<Form> form) {
  if (!mainForm_) mainForm_ = form.get();
  owned_.push_back(std::move(form));
}

void Application::FormCreated(Form& form) { forms_.push_back(&form); }

void Application::FormDestroyed(Form& form) {
  std::erase(forms_, &form);
  std::erase(released_, &form);
  if (mainForm_ == &form) mainForm_ = nullptr;
}

void Application::HandleException(Control* sender, std::exception_ptr error) {
  try {
    try {
      std::rethrow_exception(error);
    } catch (const std::exception& e) {
      if (OnException) {
        OnException(sender, e);
        return;
      }
      // The standard box: the message with a closing full stop, the title as
      // caption. A Japanese message that ends with its own full stop keeps it alone.
      std::string text = e.what();
      const std::string ideographicStop = "。";
      bool stopped = text.size() >= ideographicStop.size() &&
                     text.compare(text.size() - ideographicStop.size(), ideographicStop.size(), ideographicStop) == 0;
      if (!text.empty() && !stopped && static_cast<unsigned char>(text.back()) > '.') text += '.';
      if (ports_.dialogs) MessageBox(text, title_, port::MbIcon::Error, port::MbButtons::OK);
    } catch (...) {
      HandleException(sender, std::make_exception_ptr(std::runtime_error("Unknown exception")));
    }
  } catch (...) {
    // A failing exception handler must not unwind into the system's frames.
  }
}

void Application::Dispatch(Control* sender, const std::function<void()>& event) {
  ++depth_;
  try {
    event();
  } catch (...) {
    HandleException(sender, std::current_exception());
  }
  --depth_;
  if (depth_ == 0) FreeReleased();
}

void Application::ProcessMessages() {
  ++processMessagesRuns_;
  if (host_) host_->ProcessMessages();
  if (depth_ == 0) FreeReleased();
}

void Application::Terminate() {
  terminated_ = true;
  if (host_) host_->Terminated();
}

void Application::Run() {
  if (mainForm_ && !terminated_) Dispatch(mainForm_, [this] { mainForm_->Show(); });
  if (host_ && !terminated_) host_->Run();
}

port::MbResult Application::MessageBox(const std::string& text, const std::string& caption, port::MbIcon icon,
                                       port::MbButtons buttons) {
  if (!ports_.dialogs) throw std::logic_error("no dialogs port");
  return ports_.dialogs->MessageBox(ActiveWindowHandle(), text, caption, icon, buttons);
}

uintptr_t Application::ActiveWindowHandle() { return host_ ? host_->WindowHandle(nullptr) : 0; }

Rect Application::Screen() { return host_ ? host_->Screen() : Rect{0, 0, 1024, 768}; }
Rect Application::Desktop() { return host_ ? host_->Desktop() : Screen(); }

void Application::ScheduleRelease(Form& form) {
  bool owned = std::any_of(owned_.begin(), owned_.end(), [&](auto& f) { return f.get() == &form; });
  if (!owned) throw std::logic_error("Release of a form that the application does not own");
  if (std::find(released_.begin(), released_.end(), &form) == released_.end()) released_.push_back(&form);
}

void Application::FreeReleased() {
  while (!released_.empty()) {
    Form* form = released_.front();
    released_.erase(released_.begin());
    if (form->OnDestroy) Dispatch(form, [form] { form->OnDestroy(*form); });
    std::erase_if(owned_, [form](auto& f) { return f.get() == form; });
  }
}

}  // namespace ui
