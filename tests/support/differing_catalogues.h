#pragma once
// Two catalogues that differ in every way a comparison tells apart, in each
// of the 19 categories alike:
//   "A"            in both, same comment
//   "B"            only on the left
//   "C"            comment "x" on the left, "y" on the right (commented categories only differ in it)
//   "D"            in both, marked deleted on the right: gone there
//   "E"            only on the right
// Elements are made from empty record elements, so every other field keeps
// its category's default and only Marka and the comment tell them apart.

#include <pugixml.hpp>

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "catalogues/categories.h"
#include "core/reference.h"

namespace kelm::test {

inline TBaseElement* AddElement(TXMLCustomClass& collection, const std::string& marka,
                                const std::string& comment = "") {
    pugi::xml_document doc;
    collection.LoadRecordFromXml(doc.append_child(collection.RecordElement()));
    TBaseElement* record = collection.GetItem(collection.Count() - 1);
    record->Marka = marka;
    collection.SetCommentOf(*record, comment);
    collection.RecordsChanged();
    return record;
}

// A record of category `c` with the given fields, each named by its element
// and valued as an exchange file writes it (UTF-8); the others keep their defaults.
inline TBaseElement* AddRecord(TReference& reference, int c,
                               std::initializer_list<std::pair<const char*, const char*>> values) {
    TXMLCustomClass& collection = *reference.GetCollection(c);
    TBaseElement* record = AddElement(collection, "");
    for (const auto& [element, text] : values) collection.SetFieldText(*record, collection.FieldIndex(element), text);
    collection.RecordsChanged();
    return record;
}

struct DifferingCatalogues {
    DifferingCatalogues() : left(NewReference()), right(NewReference()) {
        for (int c = 0; c < left->CategoryCount(); ++c) {
            TXMLCustomClass& l = *left->GetCollection(c);
            TXMLCustomClass& r = *right->GetCollection(c);
            AddElement(l, "A", "x");
            AddElement(l, "B");
            AddElement(l, "C", "x");
            AddElement(l, "D");
            AddElement(r, "A", "x");
            AddElement(r, "C", "y");
            r.MarkDeleted(AddElement(r, "D"));
            AddElement(r, "E");
        }
    }
    // The element `marka` of category `c`.
    static TBaseElement* Find(const TReference& reference, int c, const std::string& marka) {
        const TXMLCustomClass& collection = *reference.GetCollection(c);
        for (int i = 0; i < collection.Count(); ++i)
            if (collection.GetItem(i)->Marka == marka) return collection.GetItem(i);
        return nullptr;
    }

    std::unique_ptr<TReference> left, right;
};

}  // namespace kelm::test
