#pragma once
// The shared algorithms of every category, written once over its Category
// description.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "core/batched_write.h"
#include "core/category.h"
#include "core/category_fields.h"
#include "core/category_lookup.h"
#include "core/category_soundness.h"
#include "core/codec.h"
#include "core/collection.h"
#include "core/data_module.h"
#include "core/network_use.h"
#include "core/number_text.h"
#include "core/server_source.h"

namespace kelm {

namespace detail {

// " кВ" in Windows-1251.
inline constexpr const char* kKilovolts = " \xEA\xC2";

// The text of an element: the value of its one text child, or its text
// children joined in `joined`.
std::string_view ElementText(pugi::xml_node element, std::string& joined);
std::string ReplaceOwners(const std::string& statement, const std::string& owners);
[[noreturn]] void ThrowFieldError(pugi::xml_node record, pugi::xml_node field, const std::string& problem);

template <class T>
std::string ValueText(const T& value, const NumberText& numbers) {
    if constexpr (std::is_same_v<T, std::string>)
        return value;
    else if constexpr (std::is_same_v<T, double>)
        return numbers.Format(value);
    else
        return NumberText::Format(static_cast<std::int64_t>(value));
}

// Insert (with a new identifier) or update of one added record.
template <class R>
void WriteRow(const Category<R>& category, R& record, TRef_DataModule& db) {
    const bool insert = record.Ident < 1;
    Query& q = db.SQLQuery;
    q.Close();
    // A new row's identifier is the one the database assigned, never a guess.
    q.SetText(insert ? std::string(category.insertSql) + " RETURNING \"Ident\"" : category.updateSql);
    BindParams(category, category.params, record, q);
    if (!insert) q.Param(static_cast<int>(category.params.size())).SetInteger(record.Ident);
    q.Execute();
    if (insert) record.Ident = static_cast<std::int32_t>(q.Field(0).AsInteger());
    q.Close();
}

// Positions of the fields' columns in the open query `q`; -1 for a field
// that has no column. A column missing from the result is an error.
template <class R>
std::vector<int> ColumnsOf(const std::vector<FieldDef<R>>& fields, const Query& q) {
    std::vector<int> columns;
    for (const auto& field : fields) {
        int index = -1;
        if (field.column) {
            index = q.FieldIndex(field.column);
            if (index < 0)
                throw DatabaseError(std::string("column \"") + field.column + "\" is missing (" + q.Text() + ")");
        }
        columns.push_back(index);
    }
    return columns;
}

template <class R, class T>
void StoreColumn(R& record, T R::*member, const FieldDef<R>& field, const FieldValue& value) {
    const bool optional = (field.flags & Optional) != 0;
    if constexpr (std::is_same_v<T, std::string>) {
        record.*member = value.AsString();
    } else if (value.IsNull()) {
        record.*member = optional ? static_cast<T>(NotSet) : T{};
    } else if constexpr (std::is_same_v<T, double>) {
        record.*member = (field.flags & ReadAsInteger) ? static_cast<double>(value.AsInteger()) : value.AsDouble();
    } else {
        record.*member = CheckedInteger<T>(value.AsInteger(), field.column);
    }
}

// Fills the record from the current row of `q`, columns as ColumnsOf found them.
template <class R>
void ReadRow(const std::vector<FieldDef<R>>& fields, const std::vector<int>& columns, R& record, const Query& q) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (columns[i] < 0) continue;
        std::visit([&](auto member) { StoreColumn(record, member, fields[i], q.Field(columns[i])); },
                   fields[i].member);
    }
}

}  // namespace detail

// How a record is named in the tree and in save error lines:
// Marka ["-" number] " (" voltage " кВ)", in Windows-1251.
template <class R>
std::string RecordLabel(const Category<R>& category, const R& record, const NumberText& numbers) {
    std::string label = record.Marka;
    if (category.labelNumber)
        std::visit([&](auto member) { label += "-" + detail::ValueText(record.*member, numbers); },
                   *category.labelNumber);
    label += " (";
    std::visit([&](auto member) { label += detail::ValueText(record.*member, numbers); }, category.labelVoltage);
    return label + detail::kKilovolts + ")";
}

// Whether a save inserts or updates the record (rather than deleting it or leaving it).
inline bool InsertedOrUpdated(const TBaseElement& record) { return record.Deleted != 1 && record.Added == 1; }

// The steps of a record's write that come before its own statements (the
// rows it shares with others), and what is to be written: a marked record is
// deleted, an added one inserted or updated.
template <class R>
RecordWrite PrepareRecordWrite(const Category<R>& category, R& record, TRef_DataModule& db) {
    const auto& hooks = category.hooks;
    if (hooks.beforeEveryRecord) hooks.beforeEveryRecord(record, db);
    if (record.Deleted == 1) return RecordWrite::Deleted;
    if (!InsertedOrUpdated(record)) return RecordWrite::Nothing;
    if (hooks.beforeWrite) hooks.beforeWrite(record, db);
    return RecordWrite::Written;
}

// The record's own statements, as PrepareRecordWrite decided them.
template <class R>
void WriteRecordStatements(const Category<R>& category, R& record, TRef_DataModule& db, RecordWrite write) {
    if (write == RecordWrite::Deleted) {
        Query& q = db.SQLQuery;
        q.Close();
        q.SetText(category.deleteSql);
        q.Param(0).SetInteger(record.Ident);
        q.Execute();
    } else if (write == RecordWrite::Written) {
        detail::WriteRow(category, record, db);
        if (category.hooks.afterWrite) category.hooks.afterWrite(record, db);
    }
}

// Writes one record as a database save does: deletes a marked one, inserts or
// updates an added one. `record` is the save's working copy: it takes the
// identifiers the database gives. A failure throws, leaving the undoing to
// the caller's savepoint.
template <class R>
RecordWrite WriteRecord(const Category<R>& category, R& record, TRef_DataModule& db) {
    const RecordWrite write = PrepareRecordWrite(category, record, db);
    WriteRecordStatements(category, record, db, write);
    return write;
}

// Copies every value of a record but its marks, as the property dialogs need.
template <class R>
void CopyValues(const R& source, R* destination) {
    if (!destination) return;
    const auto deleted = destination->Deleted;
    const auto added = destination->Added;
    *destination = source;
    destination->Deleted = deleted;
    destination->Added = added;
}

template <class R, class Base>
class TCategoryCollection : public Base {
    static_assert(std::is_base_of_v<TXMLCustomClass, Base>);

public:
    explicit TCategoryCollection(const Category<R>& category)
        : category_(category),
          identity_(FieldIndexesOf(category, category.identity)),
          comment_(category.comment ? FieldIndexOf(category, Member<R>(category.comment)) : -1),
          boundFields_(BoundFieldsOf(category)),
          lookup_(category) {}

    const Category<R>& Definition() const { return category_; }
    const char* ClassName() const override { return category_.collectionClass; }
    const char* CollectionElement() const override { return category_.collectionElement; }
    const char* RecordElement() const override { return category_.recordElement; }

    R* GetItem(int index) const { return static_cast<R*>(TXMLCustomClass::GetItem(index)); }

    int FieldCount() const override { return static_cast<int>(category_.fields.size()); }
    const FieldFacts& Field(int index) const override { return FieldAt(index); }
    const std::vector<int>& IdentityFields() const override { return identity_; }
    int CommentField() const override { return comment_; }
    std::string FieldText(const TBaseElement& record, int field, const NumberText& numbers) const override {
        return detail::FieldValueText(FieldAt(field), static_cast<const R&>(record), numbers);
    }
    void SetFieldText(TBaseElement& record, int field, std::string_view text) const override {
        detail::SetFieldValueText(FieldAt(field), static_cast<R&>(record), text);
    }
    bool IsFieldSet(const TBaseElement& record, int field) const override {
        return detail::IsFieldValueSet(FieldAt(field), static_cast<const R&>(record));
    }
    bool SameField(const TBaseElement& a, const TBaseElement& b, int field) const override {
        return detail::SameFieldValue(FieldAt(field), static_cast<const R&>(a), static_cast<const R&>(b));
    }
    std::string IdentityKey(const TBaseElement& record) const override { return ValuesKey(record, identity_); }
    std::string ValuesKey(const TBaseElement& record, const std::vector<int>& fields) const override {
        std::string key;
        for (int field : fields) detail::AppendFieldKey(FieldAt(field), static_cast<const R&>(record), key);
        return key;
    }
    std::vector<FieldViolation> Check(const TBaseElement& record) const override {
        return CheckRecord(category_, static_cast<const R&>(record));
    }
    std::vector<RuleBreach> CheckSoundness(const TBaseElement& record, const NumberText& numbers) const override {
        return kelm::CheckSoundness(category_, boundFields_, static_cast<const R&>(record), numbers);
    }

    DuplicateGroup Group() const override { return category_.group; }
    bool FilteredByVoltage() const override { return category_.filteredByVoltage; }
    bool HasComment() const override { return category_.comment != nullptr; }
    std::string CommentOf(const TBaseElement& record) const override {
        return category_.comment ? static_cast<const R&>(record).*category_.comment : std::string();
    }
    void SetCommentOf(TBaseElement& record, const std::string& comment) const override {
        if (category_.comment) static_cast<R&>(record).*category_.comment = comment;
    }
    bool Holds(const TBaseElement& record) const override { return typeid(record) == typeid(R); }
    std::unique_ptr<TBaseElement> Clone(const TBaseElement& record) const override {
        return std::make_unique<R>(static_cast<const R&>(record));
    }
    void WriteValues(TBaseElement& record, const TBaseElement& values) override {
        CopyValues(static_cast<const R&>(values), &static_cast<R&>(record));
        this->RecordsChanged();
    }

    // A new record with the category's defaults, appended at the end.
    R* NewElement() {
        auto record = std::make_unique<R>();
        for (const auto& field : category_.fields) {
            if (!(field.flags & Optional)) continue;
            std::visit(
                [&](auto member) {
                    using T = detail::MemberValue<decltype((*record).*member)>;
                    if constexpr (!std::is_same_v<T, std::string>) (*record).*member = static_cast<T>(NotSet);
                },
                field.member);
        }
        R* raw = record.get();
        this->items_.push_back(std::move(record));
        this->RecordsChanged();  // the caller fills it in
        return raw;
    }

    TBaseElement* AppendNew() override { return NewElement(); }

    TBaseElement* FindSame(const TBaseElement& record) const override { return Find(record, false, nullptr); }
    // These override TXMLClass's where the base is TXMLClass and are plain
    // members where it is not, so they cannot be marked either way.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Winconsistent-missing-override"
#endif
    TBaseElement* FindSameWithComment(const TBaseElement& record) const {
        return Find(record, true, CommentPointer(record));
    }
    TBaseElement* FindSameWithComment(const TBaseElement& record, const std::string& comment) const {
        return Find(record, true, &comment);
    }
#if defined(__clang__)
#pragma clang diagnostic pop
#endif
    TBaseElement* FindSameKept(const TBaseElement& record, bool withComment) const override {
        return Find(record, withComment, CommentPointer(record), true);
    }

    bool LoadRecordFromXml(pugi::xml_node element) override {
        R* record = NewElement();
        const auto& fields = category_.fields;
        std::size_t expected = 0;  // files list the fields in the table's order: look there first
        bool onlyFields = true;
        std::string joined;
        for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
            if (child.type() != pugi::node_element) continue;
            // A field's text is the element's own value unless the element holds nodes.
            const bool plain = !child.first_child();
            onlyFields = onlyFields && plain;
            const char* name = child.name();
            std::size_t k = 0;
            for (; k < fields.size(); ++k) {
                std::size_t i = expected + k;
                if (i >= fields.size()) i -= fields.size();
                if (!SameName(fields[i].element, name)) continue;
                const std::string_view text = plain ? std::string_view(child.value()) : detail::ElementText(child, joined);
                try {
                    if (!text.empty()) std::visit([&](auto member) { StoreText(*record, member, text); }, fields[i].member);
                } catch (const std::exception& problem) {
                    detail::ThrowFieldError(element, child, problem.what());
                }
                expected = i + 1;
                break;  // a category names each field element once
            }
            if (k == fields.size()) onlyFields = false;
        }
        return onlyFields;
    }

    void WriteXml(pugi::xml_node parent, const NumberText& numbers) const override {
        pugi::xml_node collection = parent.append_child(category_.collectionElement);
        const Member<R> ident = static_cast<std::int32_t R::*>(&TBaseElement::Ident);
        for (const auto& item : this->items_) {
            const R& record = static_cast<const R&>(*item);
            if (record.Deleted == 1) continue;
            pugi::xml_node element = collection.append_child(category_.recordElement);
            for (const auto& field : category_.fields) {
                std::visit(
                    [&](auto member) {
                        const auto& value = record.*member;
                        if (field.member == ident && record.Ident < 0) {
                            // Not in any database yet, whatever negative value it holds.
                            element.append_child(field.element).text().set("-1");
                            return;
                        }
                        if (!IsValueSet(value)) return;
                        using T = detail::MemberValue<decltype(value)>;
                        std::string text = detail::ValueText(value, numbers);
                        if constexpr (std::is_same_v<T, std::string>) text = XmlUtf8FromCp1251(text);
                        element.append_child(field.element).text().set(text.c_str());
                    },
                    field.member);
            }
        }
    }

    void Sort() override;

    // The last record is the one about to be placed (NewElement appended it).
    int InsertPosition(const TBaseElement& record) const override {
        return PositionAmong(static_cast<const R&>(record), this->Count() - 1);
    }

    // The copy goes where InsertPosition would place it after an append.
    TBaseElement* AddCopy(const TBaseElement& source, int& index) override {
        const R* original = dynamic_cast<const R*>(&source);
        if (!original) throw std::invalid_argument(std::string("AddCopy: not a record of ") + ClassName());
        index = PositionAmong(*original, this->Count());
        auto copy = std::make_unique<R>(*original);
        copy->Deleted = 0;
        copy->Ident = -1;
        copy->Added = 1;
        R* raw = copy.get();
        const bool inStep = lookup_.UpToDate(this->changes_);
        this->items_.insert(static_cast<std::size_t>(index), std::move(copy));
        this->RecordsChanged();
        if (inStep) lookup_.Inserted(this->items_, static_cast<std::size_t>(index), this->changes_);
        return raw;
    }

    void LoadFromDatabase(TRef_DataModule& db, int byOwners, const std::string& owners) override {
        Query& q = db.SQLQuery;
        q.Close();
        q.SetText(byOwners == 1 ? detail::ReplaceOwners(category_.selectByOwners, owners) : category_.selectAll);
        q.Open();
        const std::vector<int> columns = detail::ColumnsOf(category_.fields, q);
        std::vector<R*> loaded;
        for (; !q.Eof(); q.Next()) {
            R* record = NewElement();
            detail::ReadRow(category_.fields, columns, *record, q);
            loaded.push_back(record);
        }
        q.Close();
        if (category_.hooks.afterLoaded) category_.hooks.afterLoaded(loaded, db);
        Sort();
        this->RecordsChanged();
    }

    std::unique_ptr<PendingSave> WriteToDatabase(Transaction& transaction, TRef_DataModule& db,
                                                 const NumberText& numbers, const NetworkUse& network) override {
        auto pending = std::make_unique<Pending>(*this);
        const auto& hooks = category_.hooks;
        const bool severalStatements = hooks.beforeEveryRecord || hooks.beforeWrite || hooks.afterWrite;
        // Every statement to a server is a round trip over the network: there
        // the records go in batches, and the rows they share are looked up once.
        const bool batched =
            IsServerSource(db.DatabasePath()) && (!hooks.afterWrite || !hooks.afterWriteInBatch.empty());
        KeptSharedRows shared(db, batched);
        struct Failure {
            std::size_t item;
            std::string reason;
        };
        std::vector<Failure> failures;
        auto fail = [&](std::size_t item, const std::exception& error) {
            // A database that takes no writes fails the save as a whole, not each record.
            if (const auto* refused = dynamic_cast<const DatabaseError*>(&error); refused && refused->Unwritable())
                throw;
            failures.push_back({item, error.what()});
        };
        auto done = [&](std::size_t item, R&& written, RecordWrite write) {
            R& record = static_cast<R&>(*this->items_[item]);
            if (write == RecordWrite::Deleted) {
                pending->deleted.push_back(&record);
            } else if (write == RecordWrite::Written) {
                written.Added = 0;
                pending->written.emplace_back(&record, std::move(written));
            }
        };
        // A record written by its own statements; `prepared` when the steps
        // before them are done already. A record written by one statement
        // needs no savepoint: a statement that fails is undone on its own.
        // One written by several (its type, its "Cables" row, its voltage) is
        // undone as a whole.
        auto alone = [&](std::size_t item, R written, std::optional<RecordWrite> prepared) {
            std::optional<Savepoint> savepoint;
            if (severalStatements) savepoint.emplace(transaction);
            try {
                const RecordWrite write = prepared ? *prepared : PrepareRecordWrite(category_, written, db);
                WriteRecordStatements(category_, written, db, write);
                if (savepoint) savepoint->release();
                done(item, std::move(written), write);
            } catch (const std::exception& error) {
                fail(item, error);
            }
        };
        detail::BatchedWrite<R> batch(category_, db);
        if (batched) {
            std::vector<const R*> records;
            records.reserve(this->items_.size());
            for (const auto& item : this->items_) {
                records.push_back(&static_cast<const R&>(*item));
                batch.Widen(*records.back());
            }
            if (hooks.beforeBatches) hooks.beforeBatches(records, db);
        }
        // A record that failed in its batch is written again on its own, for
        // the database's full reason.
        auto send = [&] {
            for (auto& entry : batch.Send()) {
                if (entry.failed)
                    alone(entry.item, std::move(entry.written), entry.kind);
                else
                    done(entry.item, std::move(entry.written), entry.kind);
            }
        };
        for (std::size_t i = 0; i < this->items_.size(); ++i) {
            R& record = static_cast<R&>(*this->items_[i]);
            if (record.Deleted != 1 && record.Added != 1 && !hooks.beforeEveryRecord) continue;
            if (const int uses = record.Deleted == 1 ? network.CountOf(record) : 0; uses > 0) {
                failures.push_back({i, InUseReason(uses)});
                continue;
            }
            R written = record;  // the record itself changes only once the save is committed
            if (!batched) {
                alone(i, std::move(written), std::nullopt);
                continue;
            }
            RecordWrite write = RecordWrite::Nothing;
            try {
                write = PrepareRecordWrite(category_, written, db);
            } catch (const std::exception& error) {
                fail(i, error);
                continue;
            }
            if (write == RecordWrite::Nothing || batch.Add(i, write, written)) continue;
            send();
            if (!batch.Add(i, write, written)) alone(i, std::move(written), write);
        }
        send();
        // Reasons in the order of the records, however their writes went.
        std::stable_sort(failures.begin(), failures.end(),
                         [](const Failure& a, const Failure& b) { return a.item < b.item; });
        for (Failure& failure : failures) {
            pending->errors.push_back(RecordLabel(category_, *GetItem(static_cast<int>(failure.item)), numbers));
            pending->reasons.push_back(std::move(failure.reason));
        }
        pending->failed = static_cast<int>(pending->errors.size());
        return pending;
    }

    std::string Label(const TBaseElement& element, const NumberText& numbers) const override {
        return RecordLabel(category_, static_cast<const R&>(element), numbers);
    }

    // Whether record c goes in front of record m: the rule of Sort and InsertPosition.
    bool SortsBefore(const R& c, const R& m) const {
        const std::size_t keys = category_.sortKeys.size();
        for (std::size_t k = 0; k < keys; ++k) {
            int order = 0;  // how m stands to c: 1 after, 0 equal, -1 before
            std::visit(
                [&](auto member) {
                    const auto& mv = m.*member;
                    const auto& cv = c.*member;
                    using T = detail::MemberValue<decltype(mv)>;
                    if constexpr (std::is_same_v<T, std::string>) {
                        order = CompareBytes(mv, cv);
                    } else if constexpr (std::is_same_v<T, double>) {
                        order = mv > cv ? 1 : (SameValue(mv, cv) ? 0 : -1);
                    } else {
                        order = mv > cv ? 1 : (mv == cv ? 0 : -1);
                    }
                },
                category_.sortKeys[k]);
            if (order != 0) return order > 0;
        }
        return false;
    }

    // Whether FindSame (FindSameWithComment) takes the two records for equal.
    bool Same(const R& a, const R& b, bool withComment) const {
        return Same(a, b, withComment && category_.comment ? &(b.*category_.comment) : nullptr);
    }

private:
    // A written record takes its saved values (identifiers from the database,
    // marks cleared); a deleted one leaves the collection.
    struct Pending : PendingSave {
        explicit Pending(TCategoryCollection& owner) : collection(owner) {}
        void Apply() override {
            for (auto& [record, values] : written) *record = std::move(values);
            if (!deleted.empty()) {
                std::sort(deleted.begin(), deleted.end());
                collection.items_.erase_if([&](const TBaseElement& r) {
                    return std::binary_search(deleted.begin(), deleted.end(), &r);
                });
            }
            collection.Errors = std::move(errors);
            collection.ErrorReasons = std::move(reasons);
            collection.RecordsChanged();  // identifiers, and the type identifiers some categories compare
        }
        TCategoryCollection& collection;
        std::vector<std::pair<R*, R>> written;
        std::vector<const TBaseElement*> deleted;
        std::vector<std::string> errors;
        std::vector<std::string> reasons;
    };

    // The first record equal to `element`: only records sharing its exactly
    // compared fields can be, and the lookup knows their order.
    // `comment`, when given, stands for x's comment.
    // `kept` passes over records marked deleted.
    TBaseElement* Find(const TBaseElement& element, bool withComment, const std::string* comment,
                       bool kept = false) const {
        const R& x = static_cast<const R&>(element);
        UpdateLookup();
        if (!withComment || !category_.comment) comment = nullptr;
        return const_cast<R*>(
            lookup_.FindFirst(x, [&](const R& r) { return !(kept && r.Deleted == 1) && Same(r, x, comment); }));
    }

    const std::string* CommentPointer(const TBaseElement& record) const {
        return category_.comment ? &(static_cast<const R&>(record).*category_.comment) : nullptr;
    }

    // Equal values, and the same comment as `comment` when one is given.
    bool Same(const R& a, const R& b, const std::string* comment) const {
        if (comment && a.*category_.comment != *comment) return false;
        return Equal(a, b);
    }

    // The first of the first `count` positions whose record sorts after x, else `count`.
    int PositionAmong(const R& x, int count) const {
        UpdateLookup();
        if (const auto fast = lookup_.Position(this->items_, x, count)) return *fast;
        for (int i = 0; i < count; ++i)
            if (SortsBefore(x, *GetItem(i))) return i;
        return count;
    }

    void UpdateLookup() const {
        if (!lookup_.UpToDate(this->changes_)) lookup_.Build(this->items_, this->changes_);
    }

    bool Equal(const R& a, const R& b) const {
        for (const auto& compared : category_.compared) {
            bool same = true;
            std::visit(
                [&](auto member) {
                    const auto& av = a.*member;
                    const auto& bv = b.*member;
                    if constexpr (std::is_same_v<detail::MemberValue<decltype(av)>, double>)
                        same = compared.plain ? av == bv : SameValue(av, bv);
                    else
                        same = av == bv;
                },
                compared.member);
            if (!same) return false;
        }
        return true;
    }

    template <class T>
    static void StoreText(R& record, T R::*member, std::string_view text) {
        if constexpr (std::is_same_v<T, std::string>) {
            // Text of nothing but blanks and control characters is no value,
            // as when it is written (XML readers drop blank text anyway):
            // read as it stands, it would show and then vanish on the next write.
            std::string value = Cp1251FromUtf8(text);
            record.*member = IsValueSet(value) ? std::move(value) : std::string();
        } else if constexpr (std::is_same_v<T, double>) {
            record.*member = NumberText::ParseDoubleAnySeparator(text);
        } else {
            record.*member = detail::CheckedInteger<T>(NumberText::ParseInteger(text), "поле");
        }
    }

    const FieldDef<R>& FieldAt(int index) const {
        if (index < 0 || index >= FieldCount()) throw std::out_of_range("no such field");
        return category_.fields[static_cast<std::size_t>(index)];
    }

    const Category<R>& category_;
    std::vector<int> identity_;
    int comment_;
    std::vector<int> boundFields_;
    mutable CategoryLookup<R> lookup_;
};

}  // namespace kelm

#include "core/category_sort.h"
