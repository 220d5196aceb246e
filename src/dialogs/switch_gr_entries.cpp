#include "dialogs/switch_gr_entries.h"

namespace kelm {

EntryCheck ReadSwitchGREntries(const SwitchGREntries& e, const ListedRow* type, TSwitchGR& r, const EntryText& text) {
    return CheckEntries([&] {
        if (type) {
            r.SwitchGType = SmallIdent(*type);
            // The name goes with the identifier: the exchange file writes it, and
            // a database save looks the type up by it.
            r.Name = type->Name;
        }
        r.AddStr = EntryText::ReadText(e.AddStr);
        r.Unom = text.ReadNumber(e.Unom);
        r.Inom = text.ReadOptionalNumber(e.Inom);
        r.Ioff = text.ReadOptionalNumber(e.Ioff);
        r.Id = text.ReadOptionalNumber(e.Id);
        r.It = text.ReadOptionalNumber(e.It);
        r.Toff = text.ReadOptionalNumber(e.Toff);
        r.Ton = text.ReadOptionalNumber(e.Ton);
        using R = TSwitchGR;
        for (double R::*field : {&R::Inom, &R::Ioff, &R::Id, &R::It, &R::Toff, &R::Ton})
            CheckLimit(FactsOf(SwitchGRsCategory(), field), r.*field);
    });
}

}  // namespace kelm
