#pragma once
// The accuracy classes a meter or an instrument transformer can choose from:
// the rows of "MeterACs" of the same meter type as its present class.

#include <QComboBox>
#include <cstdint>
#include <vector>

#include "core/data_module.h"
#include "ui/workbench_dialogs.h"

namespace kelm {

struct AccuracyClassList {
    std::vector<std::int32_t> idents;  // "Ident" of each class, in the order of the names
    QStringList names;
    int present = 0;  // position of the present class; the first when it is not among them
};

// Reads the classes in the order the database gives them; database errors pass to the caller.
AccuracyClassList ReadAccuracyClasses(TRef_DataModule& db, std::int64_t accuracyClass);

// Fills a dialog's class list and the identifiers beside it, with the present
// class chosen. When the classes cannot be read (no database connected, no
// such table) the list stays empty, so that OK is refused, and the user is told why.
void FillAccuracyClasses(QComboBox& list, std::vector<std::int32_t>& idents, TRef_DataModule* db,
                         std::int64_t accuracyClass, WorkbenchDialogs& messages);

}  // namespace kelm
