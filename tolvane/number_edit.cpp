#include "tolvane/number_edit.h"

#include "common/qxcommon.h"
#include "platform/dialogs.h"
#include "ui/application.h"

namespace tolvane {

namespace {

// While one warning is up no other numeric edit decides: the box takes the
// focus away from the edit, which would otherwise decide again.
bool refusing = false;

}  // namespace

std::optional<int64_t> DecimalNumber(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return std::nullopt;
  int64_t n = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
    if (n < (int64_t{1} << 40)) n = n * 10 + (text[i] - '0');
  }
  return negative ? -n : n;
}

NumberEdit::NumberEdit(PageEnv& env, ui::Edit& e, Field f) : edit(e), field(std::move(f)), env_(env) {
  edit.OnChange = [this](ui::Control&) { env_.applyEnabled(); };
  edit.OnExit = [this](ui::Control&) { Decide(); };
}

bool NumberEdit::Acceptable() const {
  if (!edit.Enabled()) return true;
  std::optional<int64_t> n = DecimalNumber(edit.Text());
  return n && *n >= field.min && *n <= field.max;
}

bool NumberEdit::Decide() {
  if (!edit.Enabled() || refusing) return true;
  if (Acceptable()) {
    const int64_t n = *DecimalNumber(edit.Text());
    field.take(static_cast<int32_t>(n));
    edit.SetText(std::to_string(n));
    return true;
  }
  struct Guard {
    Guard() { refusing = true; }
    ~Guard() { refusing = false; }
  } guard;
  // The edit shows the number the field still holds before the box appears,
  // so that what stays visible behind it is what apply would write.
  edit.SetText(std::to_string(field.held()));
  env_.app.MessageBox(RefusalText(), "", port::MbIcon::Warning);
  return false;
}

void NumberEdit::ShowHeld() {
  // An empty edit (the MTU of an adapter at its default) stays empty.
  const int32_t held = field.held();
  if (!edit.Text().empty() && DecimalNumber(edit.Text()) != std::optional<int64_t>{held})
    edit.SetText(std::to_string(held));
}

std::string NumberEdit::RefusalText() const {
  const std::string min = std::to_string(field.min), max = std::to_string(field.max);
  if (env_.qx.Japanese()) return field.ja + "には " + min + " から " + max + " までの数を入力して下さい。";
  return "Enter a number from " + min + " to " + max + " for " + field.en + ".";
}

bool DecideAll(const std::vector<NumberEdit*>& edits) {
  for (NumberEdit* e : edits) {
    if (e->Acceptable()) {
      e->Decide();
      continue;
    }
    for (ui::Control* c = &e->edit; c && c->Parent(); c = c->Parent())
      if (c->GetKind() == ui::Kind::TabSheet && c->Parent()->GetKind() == ui::Kind::PageControl) {
        auto& sheet = static_cast<ui::TabSheet&>(*c);
        static_cast<ui::PageControl*>(sheet.Parent())->SetActivePageIndex(sheet.PageIndex());
        break;
      }
    if (!e->Decide()) return false;
  }
  return true;
}

NumberEdit::Field UpDownField(ui::UpDown& upDown, std::string ja, std::string en) {
  return {std::move(ja), std::move(en), upDown.Min(), upDown.Max(), [&upDown] { return int32_t{upDown.Position()}; },
          [&upDown](int32_t n) { upDown.SetPosition(n); }};
}

}  // namespace tolvane
