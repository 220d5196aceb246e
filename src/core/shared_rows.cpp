#include "core/shared_rows.h"

#include <algorithm>

#include "core/batched_write.h"
#include "core/data_module.h"

namespace kelm {
namespace {

std::string InputType(const ParamValue& value) {
    if (std::holds_alternative<std::int64_t>(value)) return detail::BatchType('i', 0);
    if (std::holds_alternative<double>(value)) return detail::BatchType('d', 0);
    return detail::BatchType('s', std::max<std::size_t>(std::get<std::string>(value).size(), 1));
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// A block holds a statement of its own for each row: the server prepares a
// larger one more slowly than it would answer the round trips it saves.
constexpr std::size_t kRowBlockInputs = 1000;

}  // namespace

std::string WantedSharedRows::Columns() const {
    std::string columns;
    for (std::size_t c = 0; c < table_.columns.size(); ++c) columns += (c ? "," : "") + Quoted(table_.columns[c]);
    return columns;
}

std::string WantedSharedRows::Values(std::size_t i) const {
    std::string values;
    for (std::size_t c = 0; c < table_.columns.size(); ++c)
        values += (c ? ",:A" : ":A") + std::to_string(i * table_.columns.size() + c + 1);
    return values;
}

WantedSharedRows::WantedSharedRows(TRef_DataModule& db, SharedTable table) : db_(db), table_(std::move(table)) {}

void WantedSharedRows::Want(const std::string& key, std::vector<ParamValue> values) {
    if (db_.KnownSharedRow(key)) return;
    // A row named by a missing value is left to the record's own look-up.
    for (const ParamValue& value : values)
        if (std::holds_alternative<std::monostate>(value)) return;
    if (!seen_.insert(key).second) return;
    wanted_.push_back({key, std::move(values)});
}

void WantedSharedRows::Ensure() {
    const std::size_t perBlock = std::max<std::size_t>(1, kRowBlockInputs / std::max<std::size_t>(1, table_.columns.size()));
    for (std::size_t first = 0; first < wanted_.size(); first += perBlock) {
        const std::vector<Wanted> part(wanted_.begin() + static_cast<std::ptrdiff_t>(first),
                                       wanted_.begin() + static_cast<std::ptrdiff_t>(std::min(wanted_.size(), first + perBlock)));
        if (table_.identified)
            EnsureIdentified(part);
        else
            EnsureRegistered(part);
    }
    wanted_.clear();
    seen_.clear();
}

void WantedSharedRows::EnsureIdentified(const std::vector<Wanted>& wanted) {
    const std::string table = Quoted(table_.name);
    // The lowest row of each, which every writer agrees on.
    auto find = [&](const std::vector<Wanted>& rows) {
        const auto found = Run(rows, true, [&](std::size_t i, const Condition& condition) {
            return "SELECT FIRST 1 t.\"Ident\" FROM " + table + " t WHERE " + condition("t") + " ORDER BY t.\"Ident\" INTO :R" +
                   std::to_string(i + 1) + ";";
        });
        std::vector<Wanted> missing;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            if (i < found.size() && found[i])
                db_.KnowSharedRow(rows[i].key, *found[i]);
            else
                missing.push_back(rows[i]);
        }
        return missing;
    };
    const std::vector<Wanted> missing = find(wanted);
    if (missing.empty()) return;
    try {
        SideTransaction side(db_.SQLConnection);
        Run(missing, false, [&](std::size_t i, const Condition& condition) {
            return "IF (NOT EXISTS (SELECT 1 FROM " + table + " t WHERE " + condition("t") + ")) THEN INSERT INTO " + table +
                   " (" + Columns() + ") VALUES (" + Values(i) + ");";
        });
        side.commit();
    } catch (const DatabaseError& error) {
        if (error.Unwritable()) throw;
        return;  // each record's own look-up tries again
    }
    find(missing);
}

void WantedSharedRows::EnsureRegistered(const std::vector<Wanted>& wanted) {
    const std::string table = Quoted(table_.name);
    std::vector<std::optional<std::int64_t>> added;
    try {
        SideTransaction side(db_.SQLConnection);
        added = Run(wanted, true, [&](std::size_t i, const Condition& condition) {
            const std::string result = "R" + std::to_string(i + 1);
            return result + " = 0; IF (NOT EXISTS (SELECT 1 FROM " + table + " t WHERE " + condition("t") +
                   ")) THEN BEGIN INSERT INTO " + table + " (" + Columns() + ") VALUES (" + Values(i) + "); " + result + " = 1; END";
        });
        side.commit();
    } catch (const DatabaseError& error) {
        if (error.Unwritable()) throw;
        return;
    }
    std::vector<Wanted> second;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        if (i >= added.size() || !added[i]) continue;  // its insert failed: left to the record's own look-up
        db_.KnowSharedRow(wanted[i].key, 0);
        if (*added[i] == 1) second.push_back(wanted[i]);
    }
    if (second.empty()) return;
    // Two writers that both found nothing have both inserted: the first row
    // stays, as EnsureUnom keeps it, and nothing refers to the others. A
    // removal that meets another writer's is left to that one.
    try {
        SideTransaction side(db_.SQLConnection);
        Run(second, false, [&](std::size_t, const Condition& condition) {
            return "DELETE FROM " + table + " u WHERE " + condition("u") +
                   " AND u.rdb$db_key > (SELECT MIN(o.rdb$db_key) FROM " + table + " o WHERE " + condition("o") + ");";
        });
        side.commit();
    } catch (const DatabaseError& error) {
        if (error.Unwritable()) throw;
    }
}

std::vector<std::optional<std::int64_t>> WantedSharedRows::Run(
    const std::vector<Wanted>& wanted, bool output,
    const std::function<std::string(std::size_t, const Condition&)>& statement) {
    std::string inputs, outputs, body;
    const std::size_t columns = table_.columns.size();
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        for (std::size_t c = 0; c < columns; ++c)
            inputs += (inputs.empty() ? "A" : ",A") + std::to_string(i * columns + c + 1) + " " +
                      InputType(wanted[i].values[c]) + "=?";
        const Condition condition = [&](const std::string& alias) {
            std::string text;
            for (std::size_t c = 0; c < columns; ++c)
                text += (c ? " AND " : "") + alias + "." + Quoted(table_.columns[c]) + "=:A" + std::to_string(i * columns + c + 1);
            return text;
        };
        if (output) outputs += (i ? "," : "") + std::string("R") + std::to_string(i + 1) + " BIGINT";
        body += "BEGIN " + statement(i, condition) + " WHEN ANY DO BEGIN END END\n";
    }
    std::string block = "EXECUTE BLOCK (" + inputs + ")\n";
    if (output) block += "RETURNS (" + outputs + ")\n";
    block += "AS\nBEGIN\n" + body + (output ? "SUSPEND;\n" : "") + "END";
    Query& q = db_.SQLQuery;
    q.Close();
    q.SetPositionalText(block);
    int position = 0;
    for (const Wanted& row : wanted)
        for (const ParamValue& value : row.values) {
            ParamSlot slot = q.Param(position++);
            if (const auto* n = std::get_if<std::int64_t>(&value)) slot.SetInteger(*n);
            else if (const auto* d = std::get_if<double>(&value)) slot.SetDouble(*d);
            else slot.SetString(std::get<std::string>(value));
        }
    std::vector<std::optional<std::int64_t>> results;
    try {
        q.Execute();
        if (output)
            for (std::size_t i = 0; i < wanted.size(); ++i) {
                const FieldValue value = q.Field(static_cast<int>(i));
                results.push_back(value.IsNull() ? std::nullopt : std::optional<std::int64_t>(value.AsInteger()));
            }
        q.Close();
    } catch (const DatabaseError& error) {
        if (error.Unwritable()) throw;
        q.Close();
        results.clear();
    }
    return results;
}

}  // namespace kelm
