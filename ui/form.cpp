#include "ui/form.h"

#include "ui/application.h"

namespace ui {

namespace {
// The frame that a bordered window adds to its client area (XP classic
// metrics); the renderer sizes windows from the client size itself.
constexpr int kFrameWidth = 6, kFrameHeight = 25;

void ForEach(Control& c, const std::function<void(Control&)>& f) {
  f(c);
  for (auto& child : c.Children()) ForEach(*child, f);
}
}  // namespace

Form::Form(Application& app, std::string name) : Control(Kind::Form, nullptr, std::move(name)), app_(app) {
  SetVisible(false);
  app_.FormCreated(*this);
}

Form::~Form() {
  if (Host* host = app_.GetHost()) host->FormDestroyed(*this);
  app_.FormDestroyed(*this);
}

void Form::SetClientSize(int width, int height) {
  clientWidth_ = width;
  clientHeight_ = height;
  bool framed = Border != BorderStyle::None;
  SetBounds({Left(), Top(), width + (framed ? kFrameWidth : 0), height + (framed ? kFrameHeight : 0)});
}

void Form::Show() {
  if (Position == FormPosition::ScreenCenter) CenterOnScreen();
  if (Position == FormPosition::OwnerFormCenter) {
    const Form* other = CenterOn ? CenterOn : app_.MainForm();
    if (other && other != this) CenterOnForm(*other); else CenterOnScreen();
  }
  SetVisible(true);
  Fire(OnShow);
  if (app_.IsTerminated() || !Visible()) return;
  if (Host* host = app_.GetHost()) host->FormShown(*this);
}

void Form::Hide() {
  if (!Visible()) return;
  SetVisible(false);
  if (Host* host = app_.GetHost()) host->FormHidden(*this);
  Fire(OnHide);
}

int Form::ShowModal() {
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  if (Host* host = app_.GetHost()) {
    host->ModalLoop(*this);  // ends once ModalDone() said so
    if (modalResult_ == mrNone) modalResult_ = mrCancel;
  } else {
    if (app_.ModalScript) app_.ModalScript(*this);
    if (modalResult_ == mrNone || !ModalDone()) modalResult_ = mrCancel;
  }
  modal_ = false;
  Hide();
  return modalResult_;
}

bool Form::ModalDone() {
  if (app_.IsTerminated()) return true;
  if (modalResult_ == mrNone) return false;
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  if (canClose) {
    CloseAction action = CloseAction::Hide;
    if (OnClose) OnClose(*this, action);
    if (action != CloseAction::None) return true;
  }
  modalResult_ = mrNone;
  return false;
}

bool Form::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return true;
  }
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  if (!canClose) return false;
  bool main = app_.MainForm() == this;
  CloseAction action = main ? CloseAction::Free : CloseAction::Hide;
  if (OnClose) OnClose(*this, action);
  if (action == CloseAction::None) return false;
  Hide();
  if (main) {
    app_.Terminate();
  } else if (action == CloseAction::Free) {
    Release();
  }
  return true;
}

void Form::Release() { app_.ScheduleRelease(*this); }

void Form::CenterOnScreen() {
  Rect s = app_.Screen();
  SetBounds({s.left + (s.width - Width()) / 2, s.top + (s.height - Height()) / 2, Width(), Height()});
}

void Form::CenterOnForm(const Form& other) {
  SetBounds({other.Left() + (other.Width() - Width()) / 2, other.Top() + (other.Height() - Height()) / 2,
             Width(), Height()});
}

void Form::SwitchToEnglish(const EnglishExceptions& exceptions) {
  Font font = EffectiveFont();
  font.charset = kAnsiCharset;
  font.name = "MS Sans Serif";
  SetFont(font);
  ForEach(*this, [&](Control& c) {
    if (exceptions.blank.count(c.Name()))
      c.SetCaption("");
    else if (!exceptions.keep.count(c.Name()) && !c.Hint().empty())
      c.SetCaption(c.Hint());
    if (exceptions.arial.count(c.Name())) {
      Font f = c.EffectiveFont();
      f.charset = kAnsiCharset;
      f.name = "Arial";
      if (exceptions.arialSize) f.SetSize(exceptions.arialSize);
      c.SetFont(f);
    }
  });
}

namespace {
Button* FindButton(Control& root, bool Button::*flag) {
  Button* found = nullptr;
  ForEach(root, [&](Control& c) {
    if (found || (c.GetKind() != Kind::Button && c.GetKind() != Kind::SpeedButton)) return;
    auto& b = static_cast<Button&>(c);
    if (b.*flag && b.Reachable()) found = &b;
  });
  return found;
}
}  // namespace

void Form::UserPressReturn() {
  if (Button* b = FindButton(*this, &Button::Default)) b->UserClick();
}

void Form::UserPressEscape() {
  if (Button* b = FindButton(*this, &Button::Cancel)) b->UserClick();
}

}  // namespace ui
