#include "dialogs/instrument_transform_entries.h"

#include "catalogues/meters.h"

namespace kelm {
namespace {

std::int16_t ChosenClass(const std::vector<std::int32_t>& idents, int position) {
    if (position < 0 || position >= static_cast<int>(idents.size()))
        throw ConversionError("no accuracy class is chosen");
    const std::int32_t ident = idents[static_cast<std::size_t>(position)];
    // The record keeps the class in 16 bits.
    if (ident < INT16_MIN || ident > INT16_MAX) throw OutOfRangeError();
    return static_cast<std::int16_t>(ident);
}

// The values both dialogs share, read after EditA and EditB.
template <class R>
void ReadSharedEntries(const InstrumentTransformEntries& e, const std::vector<std::int32_t>& idents,
                       const Category<R>& category, double R::*load, R& r, const EntryText& text) {
    r.AccuracyClass = ChosenClass(idents, e.ClassPosition);
    r.Manufacturer = EntryText::ReadText(e.Manufacturer);
    r.*load = text.ReadOptionalNumber(e.C);
    r.WorkTemperatureLow = EntryText::ReadOptionalWhole<std::int16_t>(e.Low);
    r.WorkTemperatureHigh = EntryText::ReadOptionalWhole<std::int16_t>(e.High);
    CheckLimit(FactsOf(category, load), r.*load);
    if (!TemperatureRangeInOrder(r)) throw OutOfRangeError();
}

}  // namespace

EntryCheck ReadCurrentTransformEntries(const InstrumentTransformEntries& e, const std::vector<std::int32_t>& idents,
                                       TTransformsIRef& r, const EntryText& text) {
    return CheckEntries([&] {
        r.I1nom = EntryText::ReadWhole<std::int16_t>(e.A);
        r.I2nom = EntryText::ReadWhole<std::int16_t>(e.B);
        ReadSharedEntries(e, idents, TransformsIRefsCategory(), &TTransformsIRef::RatedLoad, r, text);
    });
}

EntryCheck ReadVoltageTransformEntries(const InstrumentTransformEntries& e, const std::vector<std::int32_t>& idents,
                                       TTransformsVRef& r, const EntryText& text) {
    return CheckEntries([&] {
        r.UnomB = EntryText::ReadWhole<std::int16_t>(e.A);
        r.UnomH = text.ReadNumber(e.B);
        ReadSharedEntries(e, idents, TransformsVRefsCategory(), &TTransformsVRef::VoltageDrop, r, text);
        CheckLimit(FactsOf(TransformsVRefsCategory(), &TTransformsVRef::UnomH), r.UnomH);
    });
}

}  // namespace kelm
