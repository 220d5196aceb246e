#pragma once
// The accuracy classes a meter or an instrument transformer can choose from:
// the rows of "MeterACs" of the same meter type as its present class.

#include <cstdint>
#include <vector>

#include "core/data_module.h"
#include "dialogs/listed_rows.h"
#include "ui/workbench_dialogs.h"

namespace kelm {

// The classes in the order the database gives them. When they cannot be read
// (no database connected, no such table) the result is empty, so that OK is
// refused, and the user is told why.
std::vector<ListedRow> ReadAccuracyClasses(TRef_DataModule* db, std::int64_t accuracyClass,
                                           WorkbenchDialogs& messages);

}  // namespace kelm
