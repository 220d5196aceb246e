#include "core/database_save.h"

#include <memory>
#include <vector>

#include "core/collection.h"
#include "core/data_module.h"
#include "core/network_use.h"

namespace kelm {

int SaveDatabase(TReference& reference, TRef_DataModule& db, const NumberText& numbers,
                 const std::function<void(int category)>& progress) {
    // Everything is written in one transaction and kept by one commit; the
    // collections learn the outcome only after it, so that a save that fails
    // or is cut short leaves both the database and the records as they were.
    // Deletes and updates go by row identifier, which means nothing in
    // another database: in one put at the catalogue's path they would change
    // rows the user never saw.
    if (!reference.DatabaseIdentity.empty() && db.SQLConnection.Identity() != reference.DatabaseIdentity)
        throw DatabaseReplaced("База данных " + reference.FileName +
                               " заменена другой после загрузки справочника: изменения в неё не записаны.");
    Transaction transaction(db.SQLConnection);
    // Read inside the transaction: another program may have attached network
    // objects to a type since the catalogue was loaded.
    NetworkUse network = NetworkUse::Read(db);
    std::vector<std::unique_ptr<PendingSave>> written;
    int failed = 0;
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        if (progress) progress(c);
        if (TXMLCustomClass* collection = reference.GetCollection(c)) {
            written.push_back(collection->WriteToDatabase(transaction, db, numbers, network));
            failed += written.back()->failed;
        }
    }
    transaction.commit();
    for (auto& collection : written) collection->Apply();
    reference.Network = std::move(network);  // the save deletes no type in use, so the counts hold
    return failed;
}

}  // namespace kelm
