#include "dialogs/listed_rows.h"

#include <limits>

#include "dialogs/entry_text.h"

namespace kelm {

std::vector<ListedRow> ReadListedRows(TRef_DataModule* db, const std::string& select,
                                      std::optional<std::int64_t> parameter) {
    if (!db || !db->Connected()) throw DatabaseError("нет подключенной базы данных");
    Query& q = db->SQLQuery;
    q.Close();
    std::vector<ListedRow> rows;
    try {
        q.SetText(select);
        if (parameter) q.Param(0).SetInteger(*parameter);
        for (q.Open(); !q.Eof(); q.Next()) rows.push_back({q.Field("Ident").AsInteger(), q.Field("Name").AsString()});
    } catch (...) {
        // The shared query is left closed for whoever uses it next.
        q.Close();
        throw;
    }
    q.Close();
    return rows;
}

void ShowListedRows(QComboBox& list, const std::vector<ListedRow>& rows, std::int64_t current) {
    list.clear();
    int selected = 0;
    for (const ListedRow& row : rows) {
        if (row.Ident == current) selected = list.count();
        list.addItem(EntryText::Text(row.Name));
    }
    list.setCurrentIndex(rows.empty() ? -1 : selected);
}

const ListedRow* SelectedRow(const std::vector<ListedRow>& rows, int index) {
    return index >= 0 && index < static_cast<int>(rows.size()) ? &rows[index] : nullptr;
}

std::int16_t SmallIdent(const ListedRow& row) {
    using Limits = std::numeric_limits<std::int16_t>;
    // Stored as it is, a larger identifier would name another row.
    if (row.Ident < Limits::min() || row.Ident > Limits::max()) throw OutOfRangeError();
    return static_cast<std::int16_t>(row.Ident);
}

}  // namespace kelm
