#include "dialogs/switch_gr_entries.h"

namespace kelm {
namespace {

constexpr double kRatedCurrentLimit = 100;  // kA
constexpr double kLimit = 1000;             // the other currents (kA) and the times (s)

}  // namespace

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
        Below(r.Inom, kRatedCurrentLimit);
        for (double value : {r.Ioff, r.Id, r.It, r.Toff, r.Ton}) Below(value, kLimit);
    });
}

}  // namespace kelm
