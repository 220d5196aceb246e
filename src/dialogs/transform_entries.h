#pragma once
// What the transformer dialogs show and read back on OK, as plain functions of
// the edits' texts and the dialog's own record. Each dialog has one table of
// its edits bound to record fields, in the order OK reads them back.

#include <QHash>
#include <QString>
#include <limits>
#include <type_traits>
#include <variant>
#include <vector>

#include "catalogues/transforms.h"
#include "catalogues/transforms3.h"
#include "catalogues/transforms_ss.h"
#include "core/category.h"
#include "dialogs/entry_text.h"

namespace kelm {

// The texts of a dialog's edits by the edits' names.
using EditTexts = QHash<QString, QString>;

// Whether an edit must hold a value. An optional field that is NotSet shows
// as a blank edit, and a blank edit reads back as NotSet.
enum class Entry { Required, Optional };

// An edit and the record field it shows and reads back.
template <class R>
struct FieldEdit {
    const char* edit;  // the edit's object name
    Member<R> field;
    Entry entry = Entry::Required;
};

const std::vector<FieldEdit<TTransform>>& TransformEdits();
const std::vector<FieldEdit<TTransform3Values>>& Transform3Edits();  // also the autotransformer's
const std::vector<FieldEdit<TTransformSS>>& TransformSSEdits();

// The text a field's edit shows.
template <class R>
QString ShownText(const FieldEdit<R>& edit, const R& record, const EntryText& text) {
    return std::visit(
        [&](auto member) -> QString {
            const auto& value = record.*member;
            using Value = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<Value, std::string>) return EntryText::Text(value);
            else if constexpr (std::is_same_v<Value, double>)
                return edit.entry == Entry::Optional ? text.OptionalNumber(value) : text.Number(value);
            else return edit.entry == Entry::Optional ? EntryText::OptionalWhole(value) : EntryText::Whole(value);
        },
        edit.field);
}

// The type box of every transformer dialog: the type and its rated power, "ТМ-1000".
QString TypeWithPower(const std::string& marka, double snom, const EntryText& text);

// Reading back on OK: every field in its table's order, then the limits the
// category states for them, then the high-voltage winding against the rated
// voltage, whose class it must be.
EntryCheck ReadTransformEntries(const EditTexts& texts, TTransform& record, const EntryText& text);
EntryCheck ReadTransform3Entries(const EditTexts& texts, TTransform3Values& record, const EntryText& text);
EntryCheck ReadTransformSSEntries(const EditTexts& texts, TTransformSS& record, const EntryText& text);

}  // namespace kelm
