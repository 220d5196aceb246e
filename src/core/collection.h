#pragma once
// The collection contract shared by every category: one category's records,
// the duplicate search, sorting, the exchange-file elements and the database
// load and save.

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "core/element.h"
#include "core/field.h"
#include "core/record_list.h"

namespace kelm {

class NetworkUse;
class NumberText;
class TRef_DataModule;
class Transaction;

// What the first half of a database save wrote of one collection, kept until
// the transaction is committed: only then are the new identifiers, the cleared
// marks and the dropped records true of the database.
class PendingSave {
public:
    virtual ~PendingSave() = default;
    // Brings the collection in step with the committed database and sets its
    // Errors to the records that could not be written.
    virtual void Apply() = 0;
    int failed = 0;  // records not written
};

// Duplicates found in a drop are answered per group: an answer remembered for
// lines does not apply to transformers.
enum class DuplicateGroup { Lines, Transformers, Others };

// Shows the records that a database save could not write (the window
// "Ошибки при сохранении"): their lines in Windows-1251, and beside each
// the reason it was not written, as the database or the save gave it.
class SaveErrorsDisplay {
public:
    virtual ~SaveErrorsDisplay() = default;
    virtual void ShowSaveErrors(const std::vector<std::string>& lines, const std::vector<std::string>& reasons) = 0;
};

// A record element of an exchange file that could not be read. `offset` is
// the element's position in the file, so the caller can name its line.
class XmlFieldError : public std::runtime_error {
public:
    XmlFieldError(const std::string& message, std::ptrdiff_t offset)
        : std::runtime_error(message), offset(offset) {}
    std::ptrdiff_t offset;
};

class TXMLCustomClass {
public:
    virtual ~TXMLCustomClass() = default;
    TXMLCustomClass(const TXMLCustomClass&) = delete;
    TXMLCustomClass& operator=(const TXMLCustomClass&) = delete;

    virtual const char* ClassName() const = 0;          // "TTransforms", ...
    virtual const char* CollectionElement() const = 0;  // "KelmTransforms", ...
    virtual const char* RecordElement() const = 0;      // "KelmTransfor", ...

    // Facts of the category.
    virtual DuplicateGroup Group() const = 0;
    virtual bool FilteredByVoltage() const = 0;  // meters keep their voltage as text: never filtered
    virtual bool HasComment() const = 0;
    virtual std::string CommentOf(const TBaseElement& record) const = 0;  // empty without a comment field
    // Gives a record that is not (yet) in the collection another comment.
    virtual void SetCommentOf(TBaseElement& record, const std::string& comment) const = 0;
    // Whether `record` is a record of this category (it need not be in the collection).
    virtual bool Holds(const TBaseElement& record) const = 0;
    virtual std::unique_ptr<TBaseElement> Clone(const TBaseElement& record) const = 0;
    // Writes every value of `values` but the marks into `record`, one of this
    // collection's records; the look-ups follow.
    virtual void WriteValues(TBaseElement& record, const TBaseElement& values) = 0;

    // The fields, in the order the exchange file writes them.
    virtual int FieldCount() const = 0;
    virtual const FieldFacts& Field(int index) const = 0;
    // The index of the field written as `element`, or -1.
    int FieldIndex(std::string_view element) const;
    // The fields that name an element to a user, in the table's order.
    virtual const std::vector<int>& IdentityFields() const = 0;
    // The comment field, or -1 for a category without one.
    virtual int CommentField() const = 0;

    // A field of a record of this category as the exchange file writes it
    // (numbers with `numbers`' separator, text in UTF-8); empty when unset.
    virtual std::string FieldText(const TBaseElement& record, int field, const NumberText& numbers) const = 0;
    // The same, but a choice as the text of its item.
    std::string ShownFieldText(const TBaseElement& record, int field, const NumberText& numbers) const;
    // Sets a field from text in UTF-8: a number with either decimal
    // separator, a choice by its item's text or its number. Blank text unsets
    // an optional field, empties a text and leaves any other field as it is.
    // Throws ConversionError for text that is no value of the field.
    virtual void SetFieldText(TBaseElement& record, int field, std::string_view text) const = 0;
    virtual bool IsFieldSet(const TBaseElement& record, int field) const = 0;
    // Whether two records of this category hold equal values in a field,
    // by the one rule of equal values (WrittenAlike).
    virtual bool SameField(const TBaseElement& a, const TBaseElement& b, int field) const = 0;
    // The identity fields' values as one key: equal keys, the same identity.
    virtual std::string IdentityKey(const TBaseElement& record) const = 0;
    // The values of `fields` as one key: equal keys, SameField in every one of them.
    virtual std::string ValuesKey(const TBaseElement& record, const std::vector<int>& fields) const = 0;
    // Every limit or required field of the property dialog that the record breaks.
    virtual std::vector<FieldViolation> Check(const TBaseElement& record) const = 0;
    // Every rule of physics and good sense of the category that the record
    // breaks (values with `numbers`' separator).
    virtual std::vector<RuleBreach> CheckSoundness(const TBaseElement& record, const NumberText& numbers) const = 0;

    int Count() const { return static_cast<int>(items_.size()); }
    TBaseElement* GetItem(int index) const;  // none beyond the end
    int IndexOf(const TBaseElement* record) const;  // -1 when not here
    void Clear() {
        items_.clear();
        RecordsChanged();
    }
    // Frees the record when it belongs to this collection; otherwise nothing.
    void RemoveElement(TBaseElement* record);
    // Frees every record of `records` that belongs to this collection, in one pass.
    void RemoveElements(const std::vector<const TBaseElement*>& records);
    // Puts `record` back at `index` (as an undone removal does).
    void InsertElement(std::unique_ptr<TBaseElement> record, int index);
    // Takes every record of `records` that belongs to this collection out,
    // in one pass, without freeing it: the caller keeps them with their places.
    std::vector<TakenRecord> TakeElements(const std::vector<const TBaseElement*>& records);
    // Puts records that TakeElements took back at their places, in one pass.
    void PutBack(std::vector<TakenRecord> taken);
    // The duplicate and position look-ups keep an index of the records'
    // values. Values are written through WriteValues, which says so here; a
    // test that writes a record's members directly must say so itself.
    void RecordsChanged() { ++changes_; }
    void ShowSaveErrors(SaveErrorsDisplay& display) const;

    virtual void MarkDeleted(TBaseElement* record);
    virtual TBaseElement* FindSame(const TBaseElement& record) const = 0;
    // As FindSame (FindSameWithComment when `withComment`), but a record marked
    // deleted is as good as gone: it is never the one found.
    virtual TBaseElement* FindSameKept(const TBaseElement& record, bool withComment) const = 0;
    // Every record element of this category anywhere below `node`, in document order.
    virtual void LoadFromXml(pugi::xml_node node);
    // Appends the collection element with every record not marked deleted,
    // then drops the marked records and gives new records the identifier -1.
    virtual void SaveToXml(pugi::xml_node parent, const NumberText& numbers);
    // The two halves of SaveToXml: writing changes nothing, so a file that
    // cannot be written leaves the collection as it was.
    virtual void WriteXml(pugi::xml_node parent, const NumberText& numbers) const = 0;
    void FinishXmlSave();
    virtual void Sort() = 0;
    // The first half of a database save, inside the open transaction: every
    // marked record is written in a savepoint of its own, so that one that
    // fails is undone alone. A delete of a record that `network` objects use
    // fails: the network model would lose its type. The collection is left as it is.
    virtual std::unique_ptr<PendingSave> WriteToDatabase(Transaction& transaction, TRef_DataModule& db,
                                                         const NumberText& numbers, const NetworkUse& network) = 0;
    // Saves this collection alone, in a transaction of its own; returns how
    // many records could not be written (named in Errors).
    int SaveToDatabase(TRef_DataModule& db, const NumberText& numbers);
    virtual void LoadFromDatabase(TRef_DataModule& db, int byOwners, const std::string& owners) = 0;
    virtual TBaseElement* AddCopy(const TBaseElement& source, int& index) = 0;
    // A new record with the category's defaults, appended at the end, for a
    // reader that fills it in field by field.
    virtual TBaseElement* AppendNew() = 0;
    virtual int InsertPosition(const TBaseElement& record) const = 0;

    // One record element of this category (the container walks the document
    // once). True when the element holds nothing but this category's fields
    // as plain text, so that no further record can lie below it.
    virtual bool LoadRecordFromXml(pugi::xml_node element) = 0;
    // How the element is named in the tree and in save error lines (Windows-1251).
    virtual std::string Label(const TBaseElement& record, const NumberText& numbers) const = 0;

    std::vector<std::string> Errors;        // lines of the last database save
    std::vector<std::string> ErrorReasons;  // the database's reason for each of them

protected:
    TXMLCustomClass() = default;
    std::uint64_t changes_ = 0;  // counts the changes of the items and their values
    RecordList items_;
};

// Collections whose records carry a comment (AddStr).
class TXMLClass : public TXMLCustomClass {
public:
    virtual TBaseElement* FindSameWithComment(const TBaseElement& record) const = 0;
    // The record FindSameWithComment would find were `record`'s comment `comment`.
    virtual TBaseElement* FindSameWithComment(const TBaseElement& record, const std::string& comment) const = 0;
};

// Element names are short: compared in place, without a call per element.
inline bool SameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b) ++a, ++b;
    return *a == *b;
}

// Visits every element below and including `root` in document order,
// without recursion, so that deeply nested documents cannot exhaust the stack.
// `visit` returns whether to look inside the element.
template <class Visit>
void ForEachElement(pugi::xml_node root, Visit&& visit) {
    // Only elements hold further nodes: text and the like are stepped over.
    auto element = [](pugi::xml_node node) {
        while (node && node.type() != pugi::node_element) node = node.next_sibling();
        return node;
    };
    pugi::xml_node node = root;
    while (node) {
        const bool inside = node.type() != pugi::node_element || visit(node);
        if (pugi::xml_node child = inside ? element(node.first_child()) : pugi::xml_node()) {
            node = child;
            continue;
        }
        pugi::xml_node next;
        while (node && node != root && !(next = element(node.next_sibling()))) node = node.parent();
        if (!node || node == root) break;
        node = next;
    }
}

}  // namespace kelm
