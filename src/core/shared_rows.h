#pragma once
// Rows that writers share (conductor types, device types, voltages), found
// or made many at once: a save to a server meets thousands of records and a
// few dozen types, and a look-up of its own costs each a few round trips.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/database.h"

namespace kelm {

class TRef_DataModule;

// A table of shared rows and the columns whose values name a row.
struct SharedTable {
    std::string name;                  // "ProvodTypes"
    std::vector<std::string> columns;  // "Unom", "Name", "CableFlags"
    // Rows have an "Ident" that records refer to. The voltage registry's do
    // not, and two writers adding one value at once may both insert it.
    bool identified = true;
};

// The rows a save will need, gathered before its records are written, then
// found or made together and remembered under their keys (see
// TRef_DataModule::KnownSharedRow). The rules are those of FindOrCreateRow:
// rows are made in a short transaction committed at once, another writer's
// row made meanwhile is taken instead, and of several the lowest counts. A
// row that could not be told this way stays unknown, and the record's own
// look-up tries again, as a save one record at a time does.
class WantedSharedRows {
public:
    WantedSharedRows(TRef_DataModule& db, SharedTable table);

    // `key` names the row as KnownSharedRow does; `values` are those of the
    // table's columns. Rows known already or wanted before are left out.
    void Want(const std::string& key, std::vector<ParamValue> values);
    void Ensure();

private:
    struct Wanted {
        std::string key;
        std::vector<ParamValue> values;
    };
    void EnsureIdentified(const std::vector<Wanted>& wanted);
    void EnsureRegistered(const std::vector<Wanted>& wanted);
    // What picks out a wanted row, its columns written with the alias given.
    using Condition = std::function<std::string(const std::string& alias)>;
    // Runs a block whose one routine handles every wanted row, each row
    // undone alone when it fails. `statement(condition)` is the routine's
    // text: the row's values are :C1, :C2, ..., its result R (NULL when the
    // row failed). With `output`, row i's result (R1, R2, ...) comes back; a
    // block refused gives none.
    std::vector<std::optional<std::int64_t>> Run(const std::vector<Wanted>& wanted, bool output,
                                                 const std::function<std::string(const Condition&)>& statement);
    std::string Columns() const;             // the table's, quoted, with commas
    std::string Values() const;   // the routine's inputs, with commas

    TRef_DataModule& db_;
    SharedTable table_;
    std::vector<Wanted> wanted_;
    std::unordered_set<std::string> seen_;  // the keys of wanted_
};

}  // namespace kelm
