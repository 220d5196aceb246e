#pragma once
// The calling side of the property dialogs: which dialog opens for a record,
// and how it is prepared, shown and written back.

#include <QDialog>
#include <QWidget>
#include <functional>
#include <optional>

#include "core/category_collection.h"
#include "core/data_module.h"
#include "core/number_text.h"
#include "dialogs/property_dialog.h"
#include "ui/workbench_dialogs.h"

namespace kelm {

struct DialogContext {
    QWidget* parent;
    TRef_DataModule* db;         // the connected catalogue database (lists in later dialogs)
    NumberText numbers;
    WorkbenchDialogs* messages;  // the two error messages and any information box
    // Shows a prepared dialog modally; tests replace it to drive the dialog without exec().
    std::function<int(QDialog&)> exec = [](QDialog& d) { return d.exec(); };
    // How many network objects use the element; none when its source cannot tell.
    std::optional<int> networkUse = std::nullopt;
};

// Opens the property dialog of `record`: prepares it (CopyValues into the dialog's own record, or
// filling its boxes), makes it read-only when `readOnly` (BitBtn2 disabled + MakeReadOnly), shows it
// and, when it ends with OK and is not read-only, writes the values back into `record`.
// Returns true exactly when the record was changed. Setting Added and enabling the window's
// buttons is the caller's job.
using DialogOpener = bool (*)(TBaseElement& record, bool readOnly, DialogContext& context);

struct DialogEntry {
    const char* recordClass;  // "TProvod", ...
    DialogOpener open;
};

// The dialog for a record by its class name ("TProvod", ...); none while not built.
DialogOpener DialogFor(const TBaseElement& record);

// Shows a prepared dialog, read-only when asked; true when it ended with OK
// and its values are to be written back.
bool ShowPrepared(TPropertyDialog& dialog, bool readOnly, DialogContext& context);

// The record class a dialog keeps as its own `Record`.
template <class Dialog>
using OwnRecordOf = std::remove_reference_t<decltype(std::declval<Dialog&>().Record)>;

// The opener of a dialog with its own record: copies the record in, shows the
// dialog and copies the record back after OK.
template <class Dialog>
bool OpenOwnRecordDialog(TBaseElement& element, bool readOnly, DialogContext& context) {
    auto* record = dynamic_cast<OwnRecordOf<Dialog>*>(&element);
    if (!record) return false;
    Dialog dialog(context);
    CopyValues(*record, &dialog.Record);
    if (!ShowPrepared(dialog, readOnly, context)) return false;
    CopyValues(dialog.Record, record);
    return true;
}

}  // namespace kelm
