#include "dialogs/transform_entries.h"

#include "core/voltage_class.h"

namespace kelm {
namespace {

// The two-winding dialog bounds losses, current and short-circuit voltage
// tighter than the winding voltages; the other dialogs the other way round.
constexpr double kLow = 1000;
constexpr double kHigh = 10000;

template <class R>
void ReadField(const FieldEdit<R>& edit, const QString& entered, R& record, const EntryText& text) {
    std::visit(
        [&](auto member) {
            auto& value = record.*member;
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>) value = EntryText::ReadText(entered);
            else if constexpr (std::is_same_v<Value, double>)
                value = edit.entry == Entry::Optional ? text.ReadOptionalNumber(entered) : text.ReadNumber(entered);
            else
                value = edit.entry == Entry::Optional ? EntryText::ReadOptionalWhole<Value>(entered)
                                      : EntryText::ReadWhole<Value>(entered);
        },
        edit.field);
}

template <class R>
EntryCheck ReadBack(const std::vector<FieldEdit<R>>& edits, const EditTexts& texts, R& record,
                    const EntryText& text) {
    return CheckEntries([&] {
        for (const FieldEdit<R>& edit : edits) ReadField(edit, texts.value(edit.edit), record, text);
        for (const FieldEdit<R>& edit : edits)
            if (const auto* number = std::get_if<double R::*>(&edit.field)) Below(record.**number, edit.below);
        // The type is built for the network class of its high-voltage winding.
        if (!SameValue(VoltageClass(record.UnomB), record.Unom)) throw OutOfRangeError();
    });
}

}  // namespace

const std::vector<FieldEdit<TTransform>>& TransformEdits() {
    using R = TTransform;
    using enum Entry;
    static const std::vector<FieldEdit<R>> edits = {
        {"EditAddStr", &R::AddStr},
        {"EditUnom", &R::Unom},
        {"EditSnom", &R::Snom},
        {"EditUkz", &R::Uk, Required, kLow},
        {"EditPxx", &R::Pxx, Required, kLow},
        {"EditPkz", &R::Pkz, Required, kLow},
        {"EditIxx", &R::Ixx, Required, kLow},
        {"EditUhv", &R::UnomB, Required, kHigh},
        {"EditUlv", &R::UnomH, Required, kHigh},
        {"EditDeltaUotp", &R::DeltaUotp, Optional, kLow},
        {"EditNumberOtp", &R::NumberOtp, Optional},
    };
    return edits;
}

const std::vector<FieldEdit<TTransform3Values>>& Transform3Edits() {
    using R = TTransform3Values;
    using enum Entry;
    static const std::vector<FieldEdit<R>> edits = {
        {"EditAddStr", &R::AddStr},
        {"EditUnom", &R::Unom},
        {"EditSnom", &R::Snom},
        {"EditUB", &R::UnomB, Required, kLow},
        {"EditUC", &R::UnomC, Required, kLow},
        {"EditUH", &R::UnomH, Required, kLow},
        {"EditPxx", &R::Pxx, Required, kHigh},
        {"EditIxx", &R::Ixx, Required, kHigh},
        {"EditPkzVC", &R::PkzBC, Required, kHigh},
        {"EditPkzVN", &R::PkzBH, Required, kHigh},
        {"EditPkzCN", &R::PkzCH, Required, kHigh},
        {"EditUkzVC", &R::UkBC, Required, kHigh},
        {"EditUkzVN", &R::UkBH, Required, kHigh},
        {"EditUkzCN", &R::UkCH, Required, kHigh},
        {"EditSB", &R::SobmB, Optional, kLow},
        {"EditSC", &R::SobmC, Optional, kLow},
        {"EditSH", &R::SobmH, Optional, kLow},
        {"EditNumberOtpB", &R::NumberOtpB, Optional},
        {"EditDeltaUotpB", &R::DeltaUotpB, Optional, kLow},
        {"EditNumberOtpC", &R::NumberOtpC, Optional},
        {"EditDeltaUotpC", &R::DeltaUotpC, Optional, kLow},
    };
    return edits;
}

const std::vector<FieldEdit<TTransformSS>>& TransformSSEdits() {
    using R = TTransformSS;
    using enum Entry;
    static const std::vector<FieldEdit<R>> edits = {
        {"EditAddStr", &R::AddStr},
        {"EditUnom", &R::Unom},
        {"EditSnom", &R::Snom},
        {"EditUkBH", &R::UkBH, Required, kHigh},
        {"EditUkHH", &R::UkHH, Required, kHigh},
        {"EditPxx", &R::Pxx, Required, kHigh},
        {"EditPkz", &R::Pkz, Required, kHigh},
        {"EditIxx", &R::Ixx, Required, kHigh},
        {"EditUnomB", &R::UnomB, Required, kLow},
        {"EditUnomH1", &R::UnomH1, Required, kLow},
        {"EditUnomH2", &R::UnomH2, Required, kLow},
        {"EditNumberOtp", &R::NumberOtp, Optional},
        {"EditDeltaUotp", &R::DeltaUotp, Optional, kLow},
    };
    return edits;
}

QString TypeWithPower(const std::string& marka, double snom, const EntryText& text) {
    return EntryText::Text(marka) + "-" + text.Number(snom);
}

EntryCheck ReadTransformEntries(const EditTexts& texts, TTransform& record, const EntryText& text) {
    return ReadBack(TransformEdits(), texts, record, text);
}

EntryCheck ReadTransform3Entries(const EditTexts& texts, TTransform3Values& record, const EntryText& text) {
    return ReadBack(Transform3Edits(), texts, record, text);
}

EntryCheck ReadTransformSSEntries(const EditTexts& texts, TTransformSS& record, const EntryText& text) {
    return ReadBack(TransformSSEdits(), texts, record, text);
}

}  // namespace kelm
