// A form: a top-level window of the model with its own events, modal
// showing, closing with a close query, release, placement and the language
// switch.
#pragma once
#include <set>

#include "ui/controls.h"

namespace ui {

class Application;

enum class BorderStyle { Sizeable, Single, Dialog, None };
enum BorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
enum class FormPosition { Designed, ScreenCenter, OwnerFormCenter };
enum class CloseAction { None, Hide, Free };

// Controls of a form that the English switch treats apart from the rule.
struct EnglishExceptions {
  std::set<std::string> blank;   // captions become ""
  std::set<std::string> keep;    // keep their caption although they have a hint
  std::set<std::string> arial;   // font: charset 0 "Arial" (size kept unless arialSize)
  int arialSize = 0;             // points; 0 keeps the height
};

class Form : public Control {
 public:
  Form(Application& app, std::string name);
  ~Form() override;

  Application& App() const { return app_; }

  BorderStyle Border = BorderStyle::Sizeable;
  unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
  FormPosition Position = FormPosition::Designed;
  Form* CenterOn = nullptr;  // for OwnerFormCenter (null: the main form)
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // The outer size follows from the border (the renderer knows the metrics);
  // the model keeps client size and outer position.
  void SetClientSize(int width, int height);

  // Show: visible, OnShow, placed by Position on the first showing.
  void Show();
  void Hide();
  // Runs until ModalResult is set and the close query allows it; returns it.
  int ShowModal();
  bool Modal() const { return modal_; }
  int GetModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  // OnCloseQuery may refuse; then OnClose picks the action (Hide by default;
  // Free releases the form). Closing the main form ends the application.
  // Returns whether the form closed.
  bool Close();
  // Frees the form once the handler that runs now has returned. Only for
  // forms that the application owns (Application::CreateForm).
  void Release();
  // Centres on the screen or on another form now.
  void CenterOnScreen();
  void CenterOnForm(const Form& other);

  // The language switch: font charset 0 "MS Sans Serif"; every control (the
  // form too) with a hint takes it as caption; exceptions as named.
  void SwitchToEnglish(const EnglishExceptions& exceptions = {});

  Handler OnShow, OnHide, OnActivate, OnDestroy;
  std::function<void(Control& sender, bool& canClose)> OnCloseQuery;
  std::function<void(Control& sender, CloseAction& action)> OnClose;

  // The control that has the focus in the model (set by the renderer).
  Control* ActiveControl = nullptr;
  // Return / Escape pressed: clicks the default / cancel button if reachable.
  void UserPressReturn();
  void UserPressEscape();

  // For the modal loop: ModalResult set -> close query -> done or go on.
  bool ModalDone();

 private:
  Application& app_;
  int clientWidth_ = 0, clientHeight_ = 0;
  bool modal_ = false;
  bool placed_ = false;
  int modalResult_ = mrNone;
};

}  // namespace ui
