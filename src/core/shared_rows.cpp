#include "core/shared_rows.h"

#include <algorithm>

#include "core/batched_write.h"
#include "core/data_module.h"

namespace kelm {
namespace {

// What a block declares for a column of the rows: the kind of its values,
// and a text as wide as the longest.
struct ColumnInput {
    char kind;
    std::size_t width;
};

template <class Rows>
ColumnInput InputOf(const Rows& rows, std::size_t column) {
    std::size_t width = 0;
    bool whole = true;
    for (const auto& row : rows) {
        const ParamValue& value = row.values[column];
        if (const auto* text = std::get_if<std::string>(&value)) width = std::max<std::size_t>({width, text->size(), 1});
        else if (std::holds_alternative<double>(value)) whole = false;
    }
    if (width) return {'s', width};
    return {whole ? 'i' : 'd', 0};
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

}  // namespace

std::string WantedSharedRows::Columns() const {
    std::string columns;
    for (std::size_t c = 0; c < table_.columns.size(); ++c) columns += (c ? "," : "") + Quoted(table_.columns[c]);
    return columns;
}

std::string WantedSharedRows::Values() const {
    std::string values;
    for (std::size_t c = 0; c < table_.columns.size(); ++c) values += (c ? ",:C" : ":C") + std::to_string(c + 1);
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
    if (wanted_.empty()) return;
    // Each row is one call of the block's routine, as a record is in a
    // record block: the blocks are sized the same way.
    std::size_t bytes = 8;  // the row's result
    for (std::size_t c = 0; c < table_.columns.size(); ++c) {
        const ColumnInput input = InputOf(wanted_, c);
        bytes += detail::BatchMessageBytes(input.kind, input.width);
    }
    const std::size_t perBlock = detail::BlockPlaces(wanted_.size(), std::max<std::size_t>(1, table_.columns.size()),
                                                     bytes, db_.SQLConnection.RoundTrip());
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
        const auto found = Run(rows, true, [&](const Condition& condition) {
            return "SELECT FIRST 1 t.\"Ident\" FROM " + table + " t WHERE " + condition("t") + " ORDER BY t.\"Ident\" INTO :R;";
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
        Run(missing, false, [&](const Condition& condition) {
            return "IF (NOT EXISTS (SELECT 1 FROM " + table + " t WHERE " + condition("t") + ")) THEN INSERT INTO " + table +
                   " (" + Columns() + ") VALUES (" + Values() + ");";
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
        added = Run(wanted, true, [&](const Condition& condition) {
            return "R = 0; IF (NOT EXISTS (SELECT 1 FROM " + table + " t WHERE " + condition("t") +
                   ")) THEN BEGIN INSERT INTO " + table + " (" + Columns() + ") VALUES (" + Values() + "); R = 1; END";
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
        Run(second, false, [&](const Condition& condition) {
            return "DELETE FROM " + table + " u WHERE " + condition("u") +
                   " AND u.rdb$db_key > (SELECT MIN(o.rdb$db_key) FROM " + table + " o WHERE " + condition("o") + ");";
        });
        side.commit();
    } catch (const DatabaseError& error) {
        if (error.Unwritable()) throw;
    }
}

std::vector<std::optional<std::int64_t>> WantedSharedRows::Run(
    const std::vector<Wanted>& wanted, bool output, const std::function<std::string(const Condition&)>& statement) {
    const std::size_t columns = table_.columns.size();
    std::vector<std::string> types;
    for (std::size_t c = 0; c < columns; ++c) {
        const ColumnInput input = InputOf(wanted, c);
        types.push_back(detail::BatchType(input.kind, input.width));
    }
    const Condition condition = [&](const std::string& alias) {
        std::string text;
        for (std::size_t c = 0; c < columns; ++c)
            text += (c ? " AND " : "") + alias + "." + Quoted(table_.columns[c]) + "=:C" + std::to_string(c + 1);
        return text;
    };
    // The row's statements in one routine, compiled once, with the handler
    // that undoes them: a handler for each row took the server as long again
    // to prepare.
    std::string routine = "DECLARE FUNCTION S(";
    for (std::size_t c = 0; c < columns; ++c) routine += (c ? "," : "") + std::string("C") + std::to_string(c + 1) + " " + types[c];
    routine += ") RETURNS BIGINT AS\nDECLARE R BIGINT;\nBEGIN\nBEGIN\n" + statement(condition) +
               "\nWHEN ANY DO R = NULL;\nEND\nRETURN R;\nEND\n";
    std::string inputs, outputs, body;
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        std::string arguments;
        for (std::size_t c = 0; c < columns; ++c) {
            const std::string input = "A" + std::to_string(i * columns + c + 1);
            inputs += (inputs.empty() ? "" : ",") + input + " " + types[c] + "=?";
            arguments += (c ? ",:" : ":") + input;
        }
        const std::string result = output ? "R" + std::to_string(i + 1) : std::string("V");
        if (output) outputs += (i ? "," : "") + result + " BIGINT";
        body += result + "=S(" + arguments + ");\n";
    }
    std::string block = "EXECUTE BLOCK (" + inputs + ")\n";
    if (output) block += "RETURNS (" + outputs + ")\n";
    block += "AS\n" + std::string(output ? "" : "DECLARE V BIGINT;\n") + routine + "BEGIN\n" + body +
             (output ? "SUSPEND;\n" : "") + "END";
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
