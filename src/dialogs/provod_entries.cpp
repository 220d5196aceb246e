#include "dialogs/provod_entries.h"

namespace kelm {
namespace {

using R = TProvod;

void CheckLimits(const TProvod& r, std::initializer_list<double R::*> fields) {
    for (double R::*field : fields) CheckLimit(FactsOf(ProvodsCategory(), field), r.*field);
}

void ReadPhaseConductor(const ProvodEntries& e, TProvod& r, const EntryText& text) {
    r.F = text.ReadNumber(e.F);
    r.R0 = text.ReadNumber(e.R0);
    r.X0 = text.ReadNumber(e.X0);
    r.Idop = EntryText::ReadWhole<std::int16_t>(e.Idop);
    r.B0 = text.ReadOptionalNumber(e.B0);
}

void CheckPhaseConductor(const TProvod& r) { CheckLimits(r, {&R::F, &R::R0, &R::X0, &R::B0, &R::G0}); }

}  // namespace

bool ShowsOwnNullConductor(const TProvod& record) { return IsValueSet(record.PhaseNull_F) && record.Unom < 1; }

EntryCheck ReadLineEntries(const ProvodEntries& e, TProvod& r, const EntryText& text) {
    return CheckEntries([&] {
        r.AddStr = EntryText::ReadText(e.AddStr);
        r.G0 = text.ReadOptionalNumber(e.G0);
        if (!ShowsOwnNullConductor(r)) r.PhaseNull_F = text.ReadNumber(e.F);
        r.PhaseNull_R0 = text.ReadNumber(e.R0);
        r.PhaseNull_X0 = text.ReadNumber(e.X0);
        r.PhaseNull_Idop = EntryText::ReadWhole<std::int16_t>(e.Idop);
        r.PhaseNull_B0 = text.ReadOptionalNumber(e.B0);
        ReadPhaseConductor(e, r, text);
        CheckPhaseConductor(r);
    });
}

EntryCheck ReadCableEntries(const ProvodEntries& e, TProvod& r, const EntryText& text) {
    return CheckEntries([&] {
        r.AddStr = EntryText::ReadText(e.AddStr);
        ReadPhaseConductor(e, r, text);
        r.TgDelta = text.ReadOptionalNumber(e.TgDelta);
        r.G0 = text.ReadOptionalNumber(e.G0);
        if (r.Unom < 1) {
            r.PhaseNull_F = text.ReadNumber(e.CabF);
            r.PhaseNull_R0 = text.ReadNumber(e.CabR0);
            r.PhaseNull_X0 = text.ReadNumber(e.CabX0);
            r.PhaseNull_Idop = EntryText::ReadWhole<std::int16_t>(e.CabIdop);
            r.PhaseNull_B0 = text.ReadOptionalNumber(e.CabB0);
        }
        CheckPhaseConductor(r);
        CheckLimits(r, {&R::PhaseNull_F, &R::PhaseNull_R0, &R::PhaseNull_X0, &R::PhaseNull_B0});
    });
}

}  // namespace kelm
