#include "core/network_use.h"

#include "core/data_module.h"
#include "core/element.h"
#include "core/number_text.h"

namespace kelm {
namespace {

// One network table's column that refers to catalogue rows: whether the
// database has it, and how many of its rows name each identifier.
struct NetworkColumn {
    const char* present;
    const char* counts;
};

const NetworkColumn kNetworkColumns[] = {
    {R"(select count(*) from rdb$relation_fields where rdb$relation_name = 'Nodes' and rdb$field_name = 'Transf')",
     R"(select "Transf", count(*) from "Nodes" group by "Transf")"},
    {R"(select count(*) from rdb$relation_fields where rdb$relation_name = 'Lines' and rdb$field_name = 'Provod')",
     R"(select "Provod", count(*) from "Lines" group by "Provod")"},
    {R"(select count(*) from rdb$relation_fields where rdb$relation_name = 'DoubleLines' and rdb$field_name = 'Provod')",
     R"(select "Provod", count(*) from "DoubleLines" group by "Provod")"},
};

}  // namespace

NetworkUse NetworkUse::Read(TRef_DataModule& db) {
    NetworkUse use;
    Query& q = db.SQLQuery;
    for (const NetworkColumn& column : kNetworkColumns) {
        q.Close();
        q.SetText(column.present);
        q.Open();
        const bool present = q.Field(0).AsInteger() > 0;
        q.Close();
        if (!present) continue;
        use.known_ = true;
        q.SetText(column.counts);
        for (q.Open(); !q.Eof(); q.Next()) {
            if (q.Field(0).IsNull()) continue;  // an object without a type
            use.counts_[static_cast<std::int32_t>(q.Field(0).AsInteger())] += static_cast<int>(q.Field(1).AsInteger());
        }
        q.Close();
    }
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
