#pragma once
// A fresh catalogue database connected as the workbench connects it, with the
// save errors and the statements sent recorded; and helpers for reading the
// exchange-file elements a collection writes.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/category_collection.h"
#include "core/collection.h"
#include "core/number_text.h"
#include "support/test_support.h"

namespace kelm::test {

class CatalogueDatabase : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    void Save(TXMLCustomClass& c) { c.SaveToDatabase(db, NumberText(',')); c.ShowSaveErrors(errors); }
    void Load(TXMLCustomClass& c, int byOwners = 0) { c.LoadFromDatabase(db, byOwners, "'owner-1'"); }
    // From here on every statement sent is recorded in `log`.
    void RecordStatements() { db.SetStatementListener(&log); }

    FreshCatalogue catalogue;
    TRef_DataModule db;
    SaveErrorsRecorder errors;
    StatementLog log;
};

// The field elements of the first record element a collection writes.
inline std::vector<std::string> FieldElements(TXMLCustomClass& c) {
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    std::vector<std::string> names;
    for (pugi::xml_node field : doc.first_child().first_child().children()) names.push_back(field.name());
    return names;
}

template <class C>
using RecordOf = std::remove_pointer_t<decltype(std::declval<C&>().NewElement())>;

// A new record of a category that sorts by voltage, type and power.
template <class C>
RecordOf<C>* Add(C& c, const std::string& marka, double unom, double snom) {
    auto* record = c.NewElement();
    record->Marka = marka;
    record->Unom = unom;
    record->Snom = snom;
    return record;
}

// The names of the child elements, in document order.
inline std::vector<std::string> ChildNames(pugi::xml_node node) {
    std::vector<std::string> names;
    for (pugi::xml_node child : node.children()) names.push_back(child.name());
    return names;
}

// The exchange-file field elements of a category, in the order it writes them.
template <class R>
std::vector<std::string> FieldElements(const Category<R>& category) {
    std::vector<std::string> names;
    for (const auto& field : category.fields) names.push_back(field.element);
    return names;
}

// Gives the field written as `element` another value.
template <class R>
void ChangeField(const Category<R>& category, R& record, const std::string& element) {
    for (const auto& field : category.fields) {
        if (element != field.element) continue;
        std::visit(
            [&](auto member) {
                auto& value = record.*member;
                using T = std::remove_reference_t<decltype(value)>;
                if constexpr (std::is_same_v<T, std::string>)
                    value += "x";
                else
                    value = static_cast<T>(value + 1);
            },
            field.member);
    }
}

}  // namespace kelm::test
