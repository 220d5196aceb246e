#include "dialogs/property_dialogs.h"

#include <cstring>

#include "dialogs/provod_prop.h"
#include "dialogs/transf_prop.h"

namespace kelm {
namespace {

struct DialogEntry {
    const char* recordClass;
    DialogOpener open;
};

// One row per record class whose dialog is built.
const DialogEntry kDialogs[] = {
    {"TProvod", OpenProvodDialog},
    {"TTransform", OpenOwnRecordDialog<TTransfProp>},
    {"TTransform3", OpenOwnRecordDialog<TTransfProp3>},
    {"TTransformA", OpenOwnRecordDialog<TTransfPropA>},
    {"TTransformSS", OpenOwnRecordDialog<TTransfPropSS>},
};

}  // namespace

DialogOpener DialogFor(const TBaseElement& record) {
    for (const DialogEntry& entry : kDialogs)
        if (std::strcmp(entry.recordClass, record.ClassName()) == 0) return entry.open;
    return nullptr;
}

bool ShowPrepared(TPropertyDialog& dialog, bool readOnly, DialogContext& context) {
    if (readOnly) {
        dialog.BitBtn2->setEnabled(false);
        MakeReadOnly(dialog);
    }
    const int result = context.exec(dialog);
    return result == QDialog::Accepted && !readOnly;
}

}  // namespace kelm
