#pragma once
// A fresh catalogue database connected as the workbench connects it, with the
// save errors and the statements sent recorded; and helpers for reading the
// exchange-file elements a collection writes.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/collection.h"
#include "core/number_text.h"
#include "support/test_support.h"

namespace kelm::test {

class CatalogueDatabase : public ::testing::Test {
protected:
    void SetUp() override { db.ConnectTo(catalogue.Path()); }
    void Save(TXMLCustomClass& c) { c.SaveToDatabase(db, NumberText(','), errors); }
    void Load(TXMLCustomClass& c, int byOwners = 0) { c.LoadFromDatabase(db, byOwners, "'owner-1'"); }
    // From here on every statement sent is recorded in `log`.
    void RecordStatements() { db.SetStatementListener(&log); }

    FreshCatalogue catalogue;
    TRef_DataModule db;
    SaveErrorsRecorder errors;
    StatementLog log;
};

inline std::string Serialized(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// The collection element a collection writes, as text.
inline std::string XmlOf(TXMLCustomClass& c) {
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    return Serialized(doc);
}

// The field elements of the first record element a collection writes.
inline std::vector<std::string> FieldElements(TXMLCustomClass& c) {
    pugi::xml_document doc;
    c.SaveToXml(doc, NumberText(','));
    std::vector<std::string> names;
    for (pugi::xml_node field : doc.first_child().first_child().children()) names.push_back(field.name());
    return names;
}

}  // namespace kelm::test
