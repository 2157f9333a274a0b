// The numeric edits of the settings tool (the MTU, the receive window, the
// time to live, the browser's two connection limits, the file cache). The
// number a field holds is decided from the whole text, never per keystroke:
// typing only enables Apply; when the user leaves the edit, and when Apply
// begins, the text is read as a whole.
//
// A decimal number within the field's range is taken (the edit then shows it
// in plain decimal). Anything else (an empty text, a slip like "12w", a
// number outside the range) is refused: a warning names the field and its
// range, and the edit shows the number the field still holds. Apply checks
// every numeric edit before it writes anything; a refusal stops it there, so
// a field never gets a number the user did not see, and the user can correct
// the number and apply again.
//
// An edit that is disabled (its default box ticked) is not read: apply does
// not use its number.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

// The whole text as a signed decimal number (saturated far beyond 32 bits);
// nothing when it is no number.
std::optional<int64_t> DecimalNumber(const std::string& text);

class NumberEdit {
 public:
  struct Field {
    std::string ja, en;  // the field's name in the warning
    int32_t min, max;
    std::function<int32_t()> held;        // the number the field holds now
    std::function<void(int32_t)> take;    // takes a number within the range
  };
  NumberEdit(PageEnv& env, ui::Edit& edit, Field field);
  NumberEdit(const NumberEdit&) = delete;
  NumberEdit& operator=(const NumberEdit&) = delete;

  ui::Edit& edit;
  const Field field;

  // Whether the whole text would be taken (a disabled edit takes nothing
  // and refuses nothing).
  bool Acceptable() const;
  // Reads the whole text: true when it was taken (or the edit is disabled),
  // false when it was refused with the warning.
  bool Decide();
  // The edit shows the number the field holds (after the standard values
  // or a settings file set the number while a typed text stood there); an
  // empty edit stays empty.
  void ShowHeld();
  // The warning's text in the system's language.
  std::string RefusalText() const;

 private:
  PageEnv& env_;
};

// Apply's check: each edit in turn decides; at the first refusal the sheet
// that holds the edit is shown (before the warning) and the check stops.
bool DecideAll(const std::vector<NumberEdit*>& edits);

// A numeric edit paired with its up-down: the up-down's position is the
// number (its range is the field's range), so that the edit and the up-down
// always show one value.
NumberEdit::Field UpDownField(ui::UpDown& upDown, std::string ja, std::string en);

}  // namespace tolvane
