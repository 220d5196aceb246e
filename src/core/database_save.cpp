#include "core/database_save.h"

#include "core/collection.h"

namespace kelm {
namespace {

// Errors are shown by the caller, once the whole save is over.
class KeepErrors : public SaveErrorsDisplay {
public:
    void ShowSaveErrors(const std::vector<std::string>&) override {}
};

}  // namespace

int SaveDatabase(TReference& reference, TRef_DataModule& db, const NumberText& numbers,
                 const std::function<void(int category)>& progress) {
    KeepErrors keep;
    int failed = 0;
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        if (progress) progress(c);
        if (TXMLCustomClass* collection = reference.GetCollection(c)) {
            collection->SaveToDatabase(db, numbers, keep);
            failed += static_cast<int>(collection->Errors.size());
        }
    }
    return failed;
}

}  // namespace kelm
