#pragma once
// Saving a whole catalogue to the connected database.

#include <functional>

#include "core/database.h"
#include "core/reference.h"

namespace kelm {

class NumberText;
class TRef_DataModule;

// The database at the catalogue's path is not the one it was loaded from
// (another catalogue was put in its place): nothing is written.
class DatabaseReplaced : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

// Writes every collection of `reference` to the connected database, in
// category order and in one transaction: marked records are deleted, added
// ones inserted or updated, each record undone alone when it fails. Returns
// how many records could not be written; each collection's `Errors` names its
// own, for the caller to show, and those records keep their marks. Only after
// the commit do the collections change (identifiers, marks, deleted records).
// A save that fails as a whole (the transaction cannot be started or
// committed, the connection is lost, the database takes no writes, it is not
// the catalogue's database) throws DatabaseError and nothing is written nor
// changed. `progress` hears the
// index of each category as its turn comes.
int SaveDatabase(TReference& reference, TRef_DataModule& db, const NumberText& numbers,
                 const std::function<void(int category)>& progress = {});

}  // namespace kelm
