#include "dialogs/meter_entries.h"

namespace kelm {

EntryCheck ReadMeterEntries(const MeterEntries& e, const ListedRow* accuracyClass, TMetersRef& r,
                            const EntryText& text) {
    return CheckEntries([&] {
        r.UnomText = EntryText::ReadText(e.UnomText);
        r.Manufacturer = EntryText::ReadText(e.Manufacturer);
        if (!accuracyClass) throw ConversionError("no accuracy class to choose");
        r.AccuracyClass = SmallIdent(*accuracyClass);
        // A value the lists do not offer shows no entry, and stays as it is.
        if (e.PowerPosition >= 0) r.Power = static_cast<std::int16_t>(e.PowerPosition + 1);
        if (e.ReversePosition >= 0) r.Reverse = static_cast<std::int16_t>(e.ReversePosition);

        using Whole = std::int16_t;
        r.RevoCount = EntryText::ReadOptionalWhole<Whole>(e.RevoCount);
        r.NumberCount = EntryText::ReadOptionalWhole<Whole>(e.NumberCount);
        r.CalibrationInterval = EntryText::ReadOptionalWhole<Whole>(e.CalibrationInterval);
        r.ServiceLife = EntryText::ReadOptionalWhole<Whole>(e.ServiceLife);
        r.Inom = EntryText::ReadOptionalWhole<Whole>(e.Inom);
        r.TariffCount = EntryText::ReadOptionalWhole<Whole>(e.TariffCount);
        r.WorkTemperatureLow = EntryText::ReadOptionalWhole<Whole>(e.WorkTemperatureLow);
        r.WorkTemperatureHigh = EntryText::ReadOptionalWhole<Whole>(e.WorkTemperatureHigh);
        r.Sensitivity = text.ReadOptionalNumber(e.Sensitivity);
        r.Capacity = text.ReadOptionalNumber(e.Capacity);
        r.Pu = text.ReadOptionalNumber(e.Pu);
        r.Si = text.ReadOptionalNumber(e.Si);

        using R = TMetersRef;
        for (double R::*field : {&R::Sensitivity, &R::Capacity, &R::Pu, &R::Si})
            CheckLimit(FactsOf(MetersRefsCategory(), field), r.*field);
        if (!TemperatureRangeInOrder(r)) throw OutOfRangeError();
    });
}

}  // namespace kelm
