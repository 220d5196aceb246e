#include <gtest/gtest.h>

#include "catalogues/categories.h"
#include "dialogs/property_dialogs.h"

namespace kelm {
namespace {

TEST(DialogRegistry, EveryCategoryOpensADialog) {
    auto reference = NewReference();
    for (int i = 0; i < reference->CategoryCount(); ++i) {
        TXMLCustomClass* collection = reference->GetCollection(i);
        pugi::xml_document doc;
        collection->LoadRecordFromXml(doc.append_child(collection->RecordElement()));  // a record with defaults
        EXPECT_NE(DialogFor(*collection->GetItem(0)), nullptr) << collection->GetItem(0)->ClassName();
    }
}

}  // namespace
}  // namespace kelm
