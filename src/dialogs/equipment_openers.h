#pragma once
// The openers of the equipment dialogs that the opener fills itself: it sets
// the caption and labels of the category, puts the record's values into the
// boxes, shows the dialog and, after OK, stores the values its check read.

#include <vector>

#include "dialogs/property_dialogs.h"

namespace kelm {

// One row per station equipment record class.
const std::vector<DialogEntry>& EquipmentDialogs();

}  // namespace kelm
