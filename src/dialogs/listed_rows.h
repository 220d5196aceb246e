#pragma once
// Drop-down lists read from a table of the connected catalogue database: each
// entry shows a row's "Name" and stands for the row's "Ident".

#include <QComboBox>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/data_module.h"

namespace kelm {

struct ListedRow {
    std::int64_t Ident;
    std::string Name;  // Windows-1251, as stored
};

// The rows of `select` (its ":p1" given by `parameter`) in the order the
// database returns them, read on the shared query. Raises when there is no
// connected database (a message for the user) or the statement fails.
std::vector<ListedRow> ReadListedRows(TRef_DataModule* db, const std::string& select,
                                      std::optional<std::int64_t> parameter = std::nullopt);

// Puts the rows' names into `list` and selects the row whose identifier is
// `current`, or the first one when none is.
void ShowListedRows(QComboBox& list, const std::vector<ListedRow>& rows, std::int64_t current);

// The row of the list's selected entry; none when the list has no row there.
const ListedRow* SelectedRow(const std::vector<ListedRow>& rows, int index);

// A row's identifier for a record's 16-bit field; one that does not fit is out of range.
std::int16_t SmallIdent(const ListedRow& row);

}  // namespace kelm
