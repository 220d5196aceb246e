#include "dialogs/entry_text.h"

#include "core/codec.h"

namespace kelm {

QString RefusalMessage(EntryCheck check) {
    switch (check) {
    case EntryCheck::Passed: return {};
    case EntryCheck::OutOfRange: return QString::fromUtf8("Введены некорректные данные");
    case EntryCheck::NotConverted: break;
    }
    return QString::fromUtf8("Не введены обязательные данные");
}

EntryCheck CheckEntries(const std::function<void()>& readBack) {
    try {
        readBack();
        return EntryCheck::Passed;
    } catch (const OutOfRangeError&) {
        return EntryCheck::OutOfRange;
    } catch (const NumberTooLargeError&) {
        // A number too large for its field is beyond any of its limits.
        return EntryCheck::OutOfRange;
    } catch (const std::exception&) {
        return EntryCheck::NotConverted;
    }
}

void Below(double value, double limit) {
    if (value >= limit) throw OutOfRangeError();
}

void CheckLimit(const FieldFacts& field, double value) {
    if (IsValueSet(value) && !WithinLimits(field.limits, value)) throw OutOfRangeError();
}

QString EntryText::Number(double value) const { return QString::fromStdString(numbers_.Format(value)); }

QString EntryText::OptionalNumber(double value) const { return IsValueSet(value) ? Number(value) : QString(); }

QString EntryText::Whole(std::int64_t value) { return QString::fromStdString(NumberText::Format(value)); }

QString EntryText::OptionalWhole(std::int64_t value) { return value == NotSet ? QString() : Whole(value); }

QString EntryText::Text(const std::string& cp1251) { return QString::fromUtf8(Utf8FromCp1251(cp1251)); }

double EntryText::ReadNumber(const QString& text) const { return numbers_.ParseDouble(text.toStdString()); }

double EntryText::ReadOptionalNumber(const QString& text) const {
    return text.trimmed().isEmpty() ? NotSet : ReadNumber(text);
}

std::string EntryText::ReadText(const QString& text) { return Cp1251FromUtf8(text.toStdString()); }

std::int64_t EntryText::ReadInteger(const QString& text, std::int64_t lowest, std::int64_t highest) {
    const std::int64_t value = NumberText::ParseInteger(text.toStdString());
    // Stored as it is, a larger number would come back as another one.
    if (value < lowest || value > highest) throw OutOfRangeError();
    return value;
}

}  // namespace kelm
