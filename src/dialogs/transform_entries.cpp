#include "dialogs/transform_entries.h"

#include "core/category_fields.h"

namespace kelm {
namespace {

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

// The field of category record C that an edit of a dialog over its values R shows.
template <class C, class R>
Member<C> FieldOf(const Member<R>& field) {
    return std::visit([](auto member) { return Member<C>(member); }, field);
}

// `category` holds the limits: the three-winding and autotransformer tables state the same.
template <class C, class R>
EntryCheck ReadBack(const Category<C>& category, const std::vector<FieldEdit<R>>& edits, const EditTexts& texts,
                    R& record, const EntryText& text) {
    return CheckEntries([&] {
        for (const FieldEdit<R>& edit : edits) ReadField(edit, texts.value(edit.edit), record, text);
        for (const FieldEdit<R>& edit : edits)
            if (const auto* number = std::get_if<double R::*>(&edit.field))
                CheckLimit(FactsOf(category, FieldOf<C>(edit.field)), record.**number);
        if (!HighWindingOfRatedClass(record)) throw OutOfRangeError();
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
        {"EditUkz", &R::Uk},
        {"EditPxx", &R::Pxx},
        {"EditPkz", &R::Pkz},
        {"EditIxx", &R::Ixx},
        {"EditUhv", &R::UnomB},
        {"EditUlv", &R::UnomH},
        {"EditDeltaUotp", &R::DeltaUotp, Optional},
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
        {"EditUB", &R::UnomB},
        {"EditUC", &R::UnomC},
        {"EditUH", &R::UnomH},
        {"EditPxx", &R::Pxx},
        {"EditIxx", &R::Ixx},
        {"EditPkzVC", &R::PkzBC},
        {"EditPkzVN", &R::PkzBH},
        {"EditPkzCN", &R::PkzCH},
        {"EditUkzVC", &R::UkBC},
        {"EditUkzVN", &R::UkBH},
        {"EditUkzCN", &R::UkCH},
        {"EditSB", &R::SobmB, Optional},
        {"EditSC", &R::SobmC, Optional},
        {"EditSH", &R::SobmH, Optional},
        {"EditNumberOtpB", &R::NumberOtpB, Optional},
        {"EditDeltaUotpB", &R::DeltaUotpB, Optional},
        {"EditNumberOtpC", &R::NumberOtpC, Optional},
        {"EditDeltaUotpC", &R::DeltaUotpC, Optional},
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
        {"EditUkBH", &R::UkBH},
        {"EditUkHH", &R::UkHH},
        {"EditPxx", &R::Pxx},
        {"EditPkz", &R::Pkz},
        {"EditIxx", &R::Ixx},
        {"EditUnomB", &R::UnomB},
        {"EditUnomH1", &R::UnomH1},
        {"EditUnomH2", &R::UnomH2},
        {"EditNumberOtp", &R::NumberOtp, Optional},
        {"EditDeltaUotp", &R::DeltaUotp, Optional},
    };
    return edits;
}

QString TypeWithPower(const std::string& marka, double snom, const EntryText& text) {
    return EntryText::Text(marka) + "-" + text.Number(snom);
}

EntryCheck ReadTransformEntries(const EditTexts& texts, TTransform& record, const EntryText& text) {
    return ReadBack(TransformsCategory(), TransformEdits(), texts, record, text);
}

EntryCheck ReadTransform3Entries(const EditTexts& texts, TTransform3Values& record, const EntryText& text) {
    return ReadBack(Transforms3Category(), Transform3Edits(), texts, record, text);
}

EntryCheck ReadTransformSSEntries(const EditTexts& texts, TTransformSS& record, const EntryText& text) {
    return ReadBack(TransformsSSCategory(), TransformSSEdits(), texts, record, text);
}

}  // namespace kelm
