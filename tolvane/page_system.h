// The performance page (tsPerformance): four memory-management values of
// Windows, all read at the next restart. The system page (tsSystem): the
// product name and id of Windows, the registered owner and organisation, and
// Num Lock after start-up.
#pragma once
#include <memory>
#include <vector>

#include "tolvane/catalogue.h"
#include "tolvane/number_edit.h"
#include "tolvane/page_env.h"
#include "ui/controls.h"

namespace tolvane {

class PerformancePage {
 public:
  PerformancePage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env);

  ui::GroupBox& gbMemory;
  ui::CheckBox& cbDisablePagingExecutive;
  ui::GroupBox& gbIoPageLockLimit;
  ui::CheckBox& cbIoPageLockLimit;  // "entrust to Windows": the value 0
  ui::Label& laIoPageLockLimit;
  ui::RightEdit& edIoPageLockLimit;
  ui::UpDown& udIoPageLockLimit;
  ui::CheckBox &cbLargeSystemCache, &cbSecondLevelDataCache;
  ui::Label& laSecondLevelDataCache;

  void cbIoPageLockLimitClick();
  void udIoPageLockLimitChanging();

  // The value apply writes to IoPageLockLimit: 0 when Windows chooses, else
  // the up-down position in units of 1024 (KB, although the label says MB).
  int32_t IoPageLockLimitValue() const;

  // Start-up reads (the performance group), apply step 15, standard values.
  Order read, apply, standard;
  // edIoPageLockLimit, decided as a whole text.
  std::vector<std::unique_ptr<NumberEdit>> numbers;

 private:
  PageEnv& env_;
};

class SystemPage {
 public:
  SystemPage(ui::TabSheet& sheet, Catalogue& catalogue, PageEnv& env);

  ui::GroupBox& gbRegistration;
  ui::Label &laProductName, &laProductId;
  ui::Edit &edRegOwner, &edRegOrganization;
  ui::CheckBox& cbNumLock;

  // Start-up reads: the registration texts (first of all pages) and Num Lock
  // (after the performance page). Apply step 16. The standard values leave
  // the registration texts alone.
  Order readRegistration, readNumLock, apply, standard;

 private:
  PageEnv& env_;
};

}  // namespace tolvane
