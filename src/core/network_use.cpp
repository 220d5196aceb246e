#include "core/network_use.h"

#include <string>

#include "core/data_module.h"
#include "core/element.h"
#include "core/number_text.h"

namespace kelm {
namespace {

// The network tables' columns that refer to catalogue rows.
struct NetworkColumn {
    const char* table;
    const char* column;
};

const NetworkColumn kNetworkColumns[] = {{"Nodes", "Transf"}, {"Lines", "Provod"}, {"DoubleLines", "Provod"}};

// How many rows of the table name each identifier.
std::string CountsOf(const NetworkColumn& c) {
    return std::string("select \"") + c.column + "\", count(*) from \"" + c.table + "\" group by \"" + c.column + "\"";
}

// Which of the columns the database has.
std::string PresentColumns() {
    std::string conditions;
    for (const NetworkColumn& column : kNetworkColumns)
        conditions += (conditions.empty() ? "(" : " or (") + std::string("rdb$relation_name = '") + column.table +
                      "' and rdb$field_name = '" + column.column + "')";
    return "select trim(rdb$relation_name), trim(rdb$field_name) from rdb$relation_fields where " + conditions;
}

}  // namespace

// Two selects, whatever the tables: to a server each is a few round trips.
NetworkUse NetworkUse::Read(TRef_DataModule& db) {
    NetworkUse use;
    Query& q = db.SQLQuery;
    q.Close();
    q.SetText(PresentColumns());
    std::string counts;
    for (q.Open(); !q.Eof(); q.Next()) {
        const std::string table = q.Field(0).AsString(), column = q.Field(1).AsString();
        for (const NetworkColumn& known : kNetworkColumns)
            if (table == known.table && column == known.column)
                counts += (counts.empty() ? "" : " union all ") + CountsOf(known);
    }
    q.Close();
    if (counts.empty()) return use;
    use.known_ = true;
    q.SetText(counts);
    for (q.Open(); !q.Eof(); q.Next()) {
        if (q.Field(0).IsNull()) continue;  // an object without a type
        use.counts_[static_cast<std::int32_t>(q.Field(0).AsInteger())] += static_cast<int>(q.Field(1).AsInteger());
    }
    q.Close();
    return use;
}

int NetworkUse::CountOf(std::int32_t ident) const {
    const auto found = counts_.find(ident);
    return found == counts_.end() ? 0 : found->second;
}

int NetworkUse::CountOf(const TBaseElement& record) const { return record.Ident < 1 ? 0 : CountOf(record.Ident); }

std::string NetworkUseText(int count) { return "Используется в сети: " + NumberText::Format(std::int64_t{count}); }

std::string InUseReason(int count) {
    return "Тип используется объектами сети (" + NumberText::Format(std::int64_t{count}) + ") и не может быть удалён.";
}

}  // namespace kelm
