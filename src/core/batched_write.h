#pragma once
// The records of one category written to a database server in few round
// trips: one EXECUTE BLOCK carries the statements of many records, each
// record in a block of its own that undoes it alone when it fails and goes
// on with the next. The block is built from the category's fixed statements
// and the types of its fields; its output tells each record's new
// identifier, or that it failed.

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "core/category.h"
#include "core/data_module.h"
#include "core/database.h"
#include "core/element.h"

namespace kelm {

// What a database save does with one record.
enum class RecordWrite { Nothing, Written, Deleted };

namespace detail {

template <class T>
using MemberValue = std::remove_cv_t<std::remove_reference_t<T>>;

// Firebird 3 takes a statement text and a message of at most 64 KB each;
// these leave room for what the estimates below do not count.
inline constexpr std::size_t kBatchTextBudget = 56 * 1024;
inline constexpr std::size_t kBatchMessageBudget = 56 * 1024;
// More records than these make the block's request too large to compile
// quickly, and a failed batch costs more to write again record by record.
inline constexpr std::size_t kBatchRecords = 200;
// A text no longer than this may travel in a batch; a longer one goes on its own.
inline constexpr std::size_t kBatchTextWidth = 8192;

// The declared width of a text that is `length` bytes long: rounded up, so
// that the blocks of one category mostly share one text and one preparation.
inline std::size_t BatchWidth(std::size_t length) {
    std::size_t width = 32;
    while (width < length) width *= 2;
    return width;
}

template <class R>
bool IsOptional(const Category<R>& category, const Member<R>& member) {
    for (const auto& field : category.fields)
        if (field.member == member) return (field.flags & Optional) != 0;
    return false;
}

// Binds `members` of the record to positions first, first+1, ...: optional
// fields that are not set go as NULL, or, where `nullWhenUnset` is given,
// only those it names (the others go as they are).
template <class R>
void BindParams(const Category<R>& category, const std::vector<Member<R>>& members, const R& record, Query& q,
                int first = 0, const std::vector<Member<R>>* nullWhenUnset = nullptr) {
    for (std::size_t i = 0; i < members.size(); ++i) {
        const bool optional =
            nullWhenUnset ? std::find(nullWhenUnset->begin(), nullWhenUnset->end(), members[i]) != nullWhenUnset->end()
                          : IsOptional(category, members[i]);
        std::visit(
            [&](auto member) {
                const auto& value = record.*member;
                ParamSlot slot = q.Param(first + static_cast<int>(i));
                using T = MemberValue<decltype(value)>;
                if (optional && !IsValueSet(value))
                    slot.SetNull();
                else if constexpr (std::is_same_v<T, std::string>)
                    slot.SetString(value);
                else if constexpr (std::is_same_v<T, double>)
                    slot.SetDouble(value);
                else
                    slot.SetInteger(value);
            },
            members[i]);
    }
}


// One of the few routines of a block: the category's insert, update or
// delete, or a statement that follows a record's own, with the types of its
// parameters.
struct BatchRoutine {
    std::string name;
    std::string body;                 // the statement with its parameters named :P1, :P2, ...
    bool returnsIdent = false;        // RETURNING "Ident" INTO :ID
    std::vector<char> kinds;          // per parameter: 'i' whole number, 'd' double, 's' text
    std::vector<std::size_t> widths;  // per parameter: the declared width of a text
};

// The type a block declares for a parameter.
inline std::string BatchType(char kind, std::size_t width) {
    if (kind == 'i') return "BIGINT";
    if (kind == 'd') return "DOUBLE PRECISION";
    // Records hold their text in Windows-1251, and so travels every parameter.
    return "VARCHAR(" + std::to_string(width) + ") CHARACTER SET WIN1251";
}

// Bytes a parameter takes in the input message (value, NULL flag, alignment).
inline std::size_t BatchMessageBytes(char kind, std::size_t width) { return kind == 's' ? width + 6 : 10; }

template <class R>
char KindOf(const Member<R>& member) {
    return std::visit(
        [](auto m) {
            using T = MemberValue<decltype(std::declval<R&>().*m)>;
            if constexpr (std::is_same_v<T, std::string>) return 's';
            else if constexpr (std::is_same_v<T, double>) return 'd';
            else return 'i';
        },
        member);
}

template <class R>
std::size_t TextLength(const Member<R>& member, const R& record) {
    return std::visit(
        [&](auto m) -> std::size_t {
            if constexpr (std::is_same_v<MemberValue<decltype(record.*m)>, std::string>) return (record.*m).size();
            else return 0;
        },
        member);
}

template <class R>
class BatchedWrite {
public:
    // One record's write as the batch carries it: the save's working copy,
    // which takes the identifier the database gives.
    struct Entry {
        std::size_t item;  // the record's index in its collection
        RecordWrite kind;
        R written;
        bool failed = false;
    };

    BatchedWrite(const Category<R>& category, TRef_DataModule& db) : category_(category), db_(db) {
        base_.push_back(Routine("I", category.insertSql, category.params, false));
        base_.back().returnsIdent = true;
        base_.push_back(Routine("U", category.updateSql, category.params, true));
        base_.push_back(Routine("D", category.deleteSql, {}, true));
        for (std::size_t k = 0; k < category.hooks.afterWriteInBatch.size(); ++k) {
            const auto& statement = category.hooks.afterWriteInBatch[k];
            BatchRoutine routine = Routine("F" + std::to_string(k), statement.sql, statement.params, false);
            routine.kinds.insert(routine.kinds.begin(), 'i');  // the record's identifier comes first
            routine.widths.insert(routine.widths.begin(), 0);
            base_.push_back(std::move(routine));
        }
        Reset();
    }

    // Makes room for the texts of a record the save will write, before any
    // is added: the blocks of the category then share one text, prepared once.
    void Widen(const R& record) {
        if (record.Deleted == 1 || record.Added != 1) return;
        auto widen = [&](std::size_t r, const std::vector<Member<R>>& members, std::size_t first) {
            for (std::size_t i = 0; i < members.size(); ++i) {
                const std::size_t length = TextLength(members[i], record);
                std::size_t& width = base_[r].widths[first + i];
                if (base_[r].kinds[first + i] == 's' && length <= kBatchTextWidth)
                    width = std::max(width, BatchWidth(length));
            }
        };
        widen(kInsert, category_.params, 0);
        widen(kUpdate, category_.params, 0);
        for (std::size_t k = 0; k < category_.hooks.afterWriteInBatch.size(); ++k)
            if (category_.hooks.afterWriteInBatch[k].applies(record))
                widen(kFollowing + k, category_.hooks.afterWriteInBatch[k].params, 1);
        if (entries_.empty()) Reset();
    }

    bool Empty() const { return entries_.empty(); }

    // Adds a record's write unless the batch has no room left for it; a
    // record that does not fit even an empty batch is not added either.
    bool Add(std::size_t item, RecordWrite kind, R& written) {
        if (entries_.size() >= kBatchRecords) return false;
        std::vector<BatchRoutine> widened = routines_;
        std::vector<std::size_t> calls = calls_;
        std::size_t text = 40;  // the record's block and its output
        auto use = [&](std::size_t r, const std::vector<Member<R>>& members, std::size_t first) {
            BatchRoutine& routine = widened[r];
            for (std::size_t i = 0; i < members.size(); ++i) {
                const std::size_t length = TextLength(members[i], written);
                if (length > kBatchTextWidth) return false;
                std::size_t& width = routine.widths[first + i];
                if (routine.kinds[first + i] == 's') width = std::max(width, BatchWidth(length));
            }
            ++calls[r];
            // The call, and the declaration of each input it passes.
            text += 40 + 56 * routine.kinds.size();
            return true;
        };
        bool fits = true;
        if (kind == RecordWrite::Deleted) {
            fits = use(kDelete, {}, 0);
        } else {
            fits = use(written.Ident < 1 ? kInsert : kUpdate, category_.params, 0);
            for (std::size_t k = 0; fits && k < category_.hooks.afterWriteInBatch.size(); ++k)
                if (category_.hooks.afterWriteInBatch[k].applies(written))
                    fits = use(kFollowing + k, category_.hooks.afterWriteInBatch[k].params, 1);
        }
        if (!fits) return false;
        std::size_t message = 0, header = 64;
        for (std::size_t r = 0; r < widened.size(); ++r) {
            if (!calls[r]) continue;
            message += calls[r] * RoutineMessage(widened[r], r >= kFollowing);
            header += Declaration(widened[r]).size();
        }
        if (header + text_ + text > kBatchTextBudget || message > kBatchMessageBudget) return false;
        routines_ = std::move(widened);
        calls_ = std::move(calls);
        text_ += text;
        entries_.push_back(Entry{item, kind, std::move(written)});
        return true;
    }

    // Sends the batch in one statement and marks the records that failed.
    // A batch the database refuses as a whole (not for a lost connection or a
    // database that takes no writes: that fails the save) has every record
    // marked failed, for each to be written again on its own.
    std::vector<Entry> Send() {
        std::vector<Entry> sent = std::move(entries_);
        const std::vector<BatchRoutine> routines = std::move(routines_);
        const std::vector<std::size_t> calls = std::move(calls_);
        Reset();
        if (sent.empty()) return sent;
        Query& q = db_.SQLQuery;
        q.Close();
        int next = 0;  // the next input parameter, from 0
        std::string inputs, outputs, body;
        std::vector<std::function<void()>> binding;  // run once the text is set, which clears the parameters
        for (std::size_t e = 0; e < sent.size(); ++e) {
            Entry& entry = sent[e];
            const std::string result = "R" + std::to_string(e + 1);
            outputs += (e ? "," : "") + result + " INTEGER";
            body += "BEGIN ";
            // Declares and binds the record's values of one routine; its argument list.
            auto arguments = [&](std::size_t r, const std::vector<Member<R>>& members, std::size_t first,
                                 const std::vector<Member<R>>* nullWhenUnset = nullptr) {
                const BatchRoutine& routine = routines[r];
                const int at = next;
                const R& values = entry.written;
                binding.push_back([&, at, nullWhenUnset] { BindParams(category_, members, values, q, at, nullWhenUnset); });
                std::string list;
                for (std::size_t i = 0; i < members.size(); ++i) {
                    const std::string name = "A" + std::to_string(next + 1 + static_cast<int>(i));
                    inputs += (inputs.empty() ? "" : ",") + name + " " +
                              BatchType(routine.kinds[first + i], routine.widths[first + i]) + "=?";
                    list += (list.empty() ? ":" : ",:") + name;
                }
                next += static_cast<int>(members.size());
                return list;
            };
            auto ident = [&](const std::string& list) {
                // The identifier of an existing record goes last, as the update and delete take it.
                const std::string name = "A" + std::to_string(next + 1);
                inputs += (inputs.empty() ? "" : ",") + name + " BIGINT=?";
                const int position = next++;
                const std::int64_t value = entry.written.Ident;
                binding.push_back([&q, position, value] { q.Param(position).SetInteger(value); });
                return list + (list.empty() ? ":" : ",:") + name;
            };
            if (entry.kind == RecordWrite::Deleted) {
                body += "EXECUTE PROCEDURE D(" + ident("") + ");" + result + "=0;";
            } else {
                const bool insert = entry.written.Ident < 1;
                std::string list = arguments(insert ? kInsert : kUpdate, category_.params, 0);
                std::string identName = ":" + result;
                if (insert) {
                    body += "EXECUTE PROCEDURE I(" + list + ") RETURNING_VALUES :" + result + ";";
                } else {
                    list = ident(list);
                    identName = list.substr(list.rfind(':'));
                    body += "EXECUTE PROCEDURE U(" + list + ");";
                }
                for (std::size_t k = 0; k < category_.hooks.afterWriteInBatch.size(); ++k) {
                    const auto& following = category_.hooks.afterWriteInBatch[k];
                    if (!following.applies(entry.written)) continue;
                    const std::string rest = arguments(kFollowing + k, following.params, 1, &following.nullWhenUnset);
                    body += "EXECUTE PROCEDURE " + routines[kFollowing + k].name + "(" + identName +
                            (rest.empty() ? "" : "," + rest) + ");";
                }
                if (!insert) body += result + "=0;";
            }
            // Output variables are not undone with the block: a record that
            // fails after its insert must not report its identifier.
            body += "WHEN ANY DO " + result + "=NULL; END\n";
        }
        std::string text = "EXECUTE BLOCK (" + inputs + ")\nRETURNS (" + outputs + ")\nAS\n";
        for (std::size_t r = 0; r < routines.size(); ++r)
            if (calls[r]) text += Declaration(routines[r]);
        // One row of every record's outcome, fetched with the execution itself.
        text += "BEGIN\n" + body + "SUSPEND;\nEND";
        q.SetPositionalText(text);
        for (const auto& bind : binding) bind();
        try {
            q.Execute();
            for (std::size_t e = 0; e < sent.size(); ++e) {
                const FieldValue value = q.Field(static_cast<int>(e));
                Entry& entry = sent[e];
                entry.failed = value.IsNull();
                if (!entry.failed && entry.kind != RecordWrite::Deleted && entry.written.Ident < 1)
                    entry.written.Ident = static_cast<std::int32_t>(value.AsInteger());
            }
            q.Close();
        } catch (const DatabaseError& error) {
            if (error.Unwritable()) throw;
            for (Entry& entry : sent) entry.failed = true;
        }
        return sent;
    }

private:
    static constexpr std::size_t kInsert = 0, kUpdate = 1, kDelete = 2, kFollowing = 3;

    // A routine over a fixed statement whose parameters are `members`, and
    // for an update or delete the identifier after them.
    static BatchRoutine Routine(const std::string& name, const char* sql, const std::vector<Member<R>>& members,
                                bool identLast) {
        BatchRoutine routine;
        routine.name = name;
        routine.body = ReplaceParameters(sql, [](int k) { return ":P" + std::to_string(k + 1); });
        for (const auto& member : members) routine.kinds.push_back(KindOf(member));
        if (identLast) routine.kinds.push_back('i');
        routine.widths.assign(routine.kinds.size(), 0);
        return routine;
    }

    static std::string Declaration(const BatchRoutine& routine) {
        std::string text = "DECLARE PROCEDURE " + routine.name + "(";
        for (std::size_t i = 0; i < routine.kinds.size(); ++i)
            text += (i ? "," : "") + std::string("P") + std::to_string(i + 1) + " " +
                    BatchType(routine.kinds[i], routine.widths[i]);
        text += ")";
        if (routine.returnsIdent) text += " RETURNS (ID INTEGER)";
        text += " AS BEGIN " + routine.body;
        if (routine.returnsIdent) text += " RETURNING \"Ident\" INTO :ID";
        return text + "; END\n";
    }

    // What one use of a routine adds to the input message: its parameters
    // but a following statement's first, which is the record's identifier.
    static std::size_t RoutineMessage(const BatchRoutine& routine, bool following) {
        std::size_t bytes = 0;
        for (std::size_t i = following ? 1 : 0; i < routine.kinds.size(); ++i)
            bytes += BatchMessageBytes(routine.kinds[i], routine.widths[i]);
        return bytes + 8;  // the record's output
    }

    void Reset() {
        entries_.clear();
        routines_ = base_;
        calls_.assign(base_.size(), 0);
        text_ = 0;
    }

    const Category<R>& category_;
    TRef_DataModule& db_;
    std::vector<BatchRoutine> base_;      // the routines with no text widths yet
    std::vector<BatchRoutine> routines_;  // as the batch declares them
    std::vector<std::size_t> calls_;      // per routine: how many calls the batch makes
    std::vector<Entry> entries_;
    std::size_t text_ = 0;  // the entries' own lines, estimated
};

}  // namespace detail
}  // namespace kelm
