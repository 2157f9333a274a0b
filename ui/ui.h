// ui: the suite's small forms-and-controls library.
//
// A form is a class derived from ui::Form that declares its controls in its
// constructor, as the form resource would: each control is created as a
// child of the form, of a tab sheet, group box or panel with
// Add<Kind>(name, {left, top, width, height}, caption, hint), the caption
// being the Japanese text and the hint the English one. Handlers are
// std::function members of the controls (OnClick, OnChange, OnDblClick,
// OnSelect, OnChangingEx) and of the form (OnShow, OnCloseQuery, OnClose),
// bound to the form's methods with ui::Bind:
//
//   class TfoLogin : public ui::Form {
//    public:
//     explicit TfoLogin(ui::Application& app) : ui::Form(app, "foLogin") {
//       Border = ui::BorderStyle::Dialog;
//       SetClientSize(300, 120);
//       edPassword = &Add<ui::Edit>("edPassword", {8, 8, 200, 21});
//       buOK = &Add<ui::Button>("buOK", {8, 40, 85, 29}, "OK", "OK");
//       buOK->ModalResult = ui::mrOk;
//       buOK->Default = true;
//       buOK->OnClick = ui::Bind(this, &TfoLogin::buOKClick);
//       OnShow = ui::Bind(this, &TfoLogin::FormShow);
//     }
//     ui::Edit* edPassword;
//     ui::Button* buOK;
//     void buOKClick(ui::Control& sender);
//     void FormShow();
//   };
//
// The event rule: setting a check box, radio button, edit, up-down or track
// bar from code runs its handler as the user's change does, only when the
// state or text changes; a combo box's item index set from code runs nothing
// (controls.h says it per kind). Handlers run synchronously.
//
// Forms are shown by the application's Host: the Win32 renderer
// (ui/win32/renderer.h) in the programs, none in native tests, where
// Application::ModalScript plays the user of a modal form and the
// User* methods of the controls play a user's input. Exceptions that a
// handler lets through go to Application::OnException.
#pragma once
#include "ui/application.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/form.h"
