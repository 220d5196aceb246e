#pragma once
// A category described as data: its fields with their database columns and
// exchange-file elements, its comparison and sort keys, its fixed statements
// and the few steps of its own. TCategoryCollection (category_collection.h)
// runs the shared algorithms over such a description.

#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>
#include <string>
#include <variant>
#include <vector>

#include "core/collection.h"
#include "core/element.h"
#include "core/field.h"

namespace kelm {

class TRef_DataModule;

// A field of record class R.
template <class R>
using Member = std::variant<std::int32_t R::*, std::int16_t R::*, double R::*, std::string R::*>;

// A field of record class R: how it is stored, and its facts.
template <class R>
struct FieldDef : FieldFacts {
    template <class M>
    FieldDef(const char* element, M field, const char* column, const char* caption, unsigned flags = 0,
             Limits limits = {}, std::span<const ChoiceItem> items = {})
        : FieldFacts{element, caption, flags, limits, items}, member(field), column(column) {
        kind = std::visit(
            [&](auto m) {
                using T = std::remove_cvref_t<decltype(std::declval<R&>().*m)>;
                if constexpr (std::is_same_v<T, std::string>) return FieldKind::Text;
                else if constexpr (std::is_same_v<T, double>) return FieldKind::Number;
                else return items.empty() ? FieldKind::Whole : FieldKind::Choice;
            },
            member);
    }
    Member<R> member;
    const char* column;  // column read by LoadFromDatabase; nullptr: not read from the main query
};

// A condition a property dialog checks across fields; a record that breaks
// it is out of range in `field`.
template <class R>
struct RecordRule {
    Member<R> field;
    bool (*holds)(const R&);
};

// A quantity a soundness rule speaks of: a field's value, or one figured
// from several fields (NaN when it cannot be figured for the record).
template <class R>
struct Term {
    Term(const char* name, const char* unit, double R::*field) : name(name), unit(unit), field(field) {}
    Term(const char* name, const char* unit, double (*figure)(const R&)) : name(name), unit(unit), figure(figure) {}
    const char* name;  // as the message names it: "Uк", "Pк.з." (UTF-8)
    const char* unit;  // "%", "кВт"; "" for none
    double R::*field = nullptr;
    double (*figure)(const R&) = nullptr;
};

// A field held against bounds of physics rather than of the dialog's boxes.
template <class R>
struct BoundRule {
    Member<R> field;
    Limits limits;
    Severity severity = Severity::Error;
    bool (*applies)(const R&) = nullptr;  // none: every record
};

// One quantity held against another.
enum class Relation : std::uint8_t {
    AtMost,  // the left one may not exceed the right one
    Above,   // the left one must exceed the right one
};

template <class R>
struct RelationRule {
    Term<R> left;
    Relation relation;
    Term<R> right;
    std::vector<Term<R>> shown{};  // what the left one is figured from, in brackets
    Severity severity = Severity::Error;
    bool (*applies)(const R&) = nullptr;
};

// What a sound record of the category keeps to beyond its dialog's limits.
template <class R>
struct Soundness {
    std::vector<BoundRule<R>> bounds{};
    std::vector<RelationRule<R>> relations{};
};

// A field compared by FindSame: doubles by SameValue unless `plain`.
template <class R>
struct Compared {
    template <class M>
    Compared(M m, bool plainEquality = false) : member(m), plain(plainEquality) {}
    Member<R> member;
    bool plain;
};
inline constexpr bool PlainEquality = true;

// A statement that follows a record's insert or update when the records go
// to a server in batches: it runs in the record's own block, and is undone
// with it.
template <class R>
struct FollowingStatement {
    bool (*applies)(const R&);
    const char* sql;  // ":p1" is the record's identifier, the next ones `params` in order
    std::vector<Member<R>> params;
    std::vector<Member<R>> nullWhenUnset;  // of `params`; the others go as they are, set or not
};

// Steps of a category's own around the shared load and save.
template <class R>
struct CategoryHooks {
    // Once the rows are read (the main query is closed): the records just loaded.
    void (*afterLoaded)(const std::vector<R*>&, TRef_DataModule&) = nullptr;
    void (*beforeEveryRecord)(R&, TRef_DataModule&) = nullptr;  // every record a database save visits
    void (*beforeWrite)(R&, TRef_DataModule&) = nullptr;        // before its insert or update
    void (*afterWrite)(R&, TRef_DataModule&) = nullptr;         // after its insert or update
    // Before a save to a server writes the collection's records (all of them,
    // whatever their marks): the rows they share, found or made at once.
    void (*beforeBatches)(const std::vector<const R*>&, TRef_DataModule&) = nullptr;
    // What afterWrite writes, as statements a batch can carry; a category
    // with an afterWrite and none of these is written record by record.
    std::vector<FollowingStatement<R>> afterWriteInBatch{};
};

// A table may leave out every member that has a default here.
template <class R>
struct Category {
    const char* collectionClass;    // "TTransforms"
    const char* collectionElement;  // "KelmTransforms"
    const char* recordElement;      // "KelmTransfor"
    std::vector<FieldDef<R>> fields{};  // in the order SaveToXml writes them
    std::vector<Compared<R>> compared{};  // what the duplicate search of a copy compares
    std::string R::*comment = nullptr;  // AddStr of the commented categories
    DuplicateGroup group = DuplicateGroup::Others;
    bool filteredByVoltage = true;
    // The fields that name an element to a user: elements of two catalogues
    // with the same identity are the same type, whatever their other values.
    std::vector<Member<R>> identity{};
    std::vector<Member<R>> sortKeys{};  // Unom (or its text), Marka, and maybe a third
    // Element label and save error line: Marka ["-" number] " (" voltage " кВ)".
    std::optional<Member<R>> labelNumber{};
    Member<R> labelVoltage = &R::Unom;

    const char* selectAll;
    const char* selectByOwners;  // "%S" stands for the owners list
    const char* insertSql;       // without the identifier; the database assigns it
    const char* updateSql;       // parameters, then Ident in the last position
    const char* deleteSql;       // Ident in position 1
    std::vector<Member<R>> params{};  // insert and update positions 1..k
    CategoryHooks<R> hooks{};
    std::vector<RecordRule<R>> rules{};  // the property dialog's checks beyond each field's limits
    Soundness<R> soundness{};            // what a catalogue check holds every record to besides
};

}  // namespace kelm
