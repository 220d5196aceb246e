#include "dialogs/property_dialogs.h"

#include <cstring>

#include "dialogs/equipment_openers.h"
#include "dialogs/equipment_prop.h"
#include "dialogs/instrument_transform_prop.h"
#include "dialogs/meters_ref_prop.h"
#include "dialogs/provod_prop.h"
#include "dialogs/switch_gr_prop.h"
#include "dialogs/transf_prop.h"

namespace kelm {
namespace {

// One row per record class with a dialog of its own record; the station
// equipment the window fills is in EquipmentDialogs().
const DialogEntry kDialogs[] = {
    {"TProvod", OpenProvodDialog},
    {"TCurrentLimitReactorsRef", OpenOwnRecordDialog<TReactorProp>},
    {"TTransformsIRef", OpenOwnRecordDialog<TTransformsIRefProp>},
    {"TTransformsVRef", OpenOwnRecordDialog<TTransformsVRefProp>},
    {"TSwitchGR", OpenOwnRecordDialog<TSwitchGRProp>},
    {"TMetersRef", OpenOwnRecordDialog<TMetersRefProp>},
    {"TTransform", OpenOwnRecordDialog<TTransfProp>},
    {"TTransform3", OpenOwnRecordDialog<TTransfProp3>},
    {"TTransformA", OpenOwnRecordDialog<TTransfPropA>},
    {"TTransformSS", OpenOwnRecordDialog<TTransfPropSS>},
};

}  // namespace

DialogOpener DialogFor(const TBaseElement& record) {
    for (const DialogEntry& entry : kDialogs)
        if (std::strcmp(entry.recordClass, record.ClassName()) == 0) return entry.open;
    for (const DialogEntry& entry : EquipmentDialogs())
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
