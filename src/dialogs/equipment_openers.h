#pragma once
// The openers of the equipment dialogs that the opener fills itself: it sets
// the caption and labels of the category, puts the record's values into the
// boxes, shows the dialog and, after OK, stores the values its check read.

#include "dialogs/property_dialogs.h"

namespace kelm {

bool OpenBusbarDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenShuntReactorDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenSyncCondenserDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenCapacitorBankDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenTiristorCondenserDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenSyncMotorDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenAsyncMotorDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenValveArresterDialog(TBaseElement& record, bool readOnly, DialogContext& context);
bool OpenExcessVoltageSuppressorDialog(TBaseElement& record, bool readOnly, DialogContext& context);

}  // namespace kelm
