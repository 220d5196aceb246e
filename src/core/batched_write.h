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

// What a block costs the server, in milliseconds, as measured on a Firebird 3
// server: preparing it grows with the square of its inputs (some 14 ms for a
// thousand) and beyond a thousand by about 28 µs an input; running it takes
// about 0.15 ms and 1 µs an input.
inline double PrepareTime(std::size_t inputs) {
    const double x = static_cast<double>(inputs);
    return x <= 1000 ? 1.4e-5 * x * x : 14 + 0.028 * (x - 1000);
}
inline double RunTime(std::size_t inputs) { return 0.15 + 0.00105 * static_cast<double>(inputs); }

// A block takes at least this many records, where the category has them: a
// save then costs no more than a round trip per fifty records and a few more.
inline constexpr std::size_t kBlockRecords = 70;
// At most this many inputs: beyond them a block runs slower per record.
inline constexpr std::size_t kBlockInputs = 2000;
inline constexpr std::size_t kBlockMessage = 128 * 1024;

// The places of a category's blocks for `records` records of `inputs` inputs
// and `bytes` bytes of message each: the records spread evenly over as many
// blocks as take the least time to prepare one and send them all, a round
// trip of `roundTrip` ms each. A slow network wants few large blocks; a fast
// one smaller blocks, which the server prepares much sooner.
inline std::size_t BlockPlaces(std::size_t records, std::size_t inputs, std::size_t bytes, double roundTrip) {
    records = std::max<std::size_t>(records, 1);
    const std::size_t most = std::max<std::size_t>(1, std::min(kBlockInputs / inputs, kBlockMessage / bytes));
    const std::size_t least = std::min({records, kBlockRecords, most});
    std::size_t best = 0;
    double bestTime = 0;
    for (std::size_t blocks = (records + most - 1) / most;; ++blocks) {
        const std::size_t places = (records + blocks - 1) / blocks;
        if (best && places < least) break;
        const double time =
            PrepareTime(places * inputs) + static_cast<double>(blocks) * (roundTrip + RunTime(places * inputs));
        if (!best || time < bestTime) {
            best = places;
            bestTime = time;
        }
        if (places == 1) break;
    }
    return best;
}

// A text no longer than this may travel in a batch; a longer one goes on its own.
inline constexpr std::size_t kBatchTextWidth = 8192;

// The declared width of a text that is `length` bytes long: rounded up, so
// that a record's text seldom widens the block.
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


// The one routine of a category's blocks: it writes one record, whichever
// write it is, so that every block of the category has the same text and
// the server prepares it once. Its inputs are the category's parameters,
// then ID (NULL: insert; above 0: update of that row; below 0: delete of
// row -ID; 0: an unused place of the block), then, where the category has
// following statements, a mask of those that apply and their parameters.
struct BatchRoutine {
    std::vector<char> kinds;          // per input: 'i' whole number, 'd' double, 's' text
    std::vector<std::size_t> widths;  // per input: the declared width of a text
};

// The type a block declares for an input.
inline std::string BatchType(char kind, std::size_t width) {
    if (kind == 'i') return "BIGINT";
    if (kind == 'd') return "DOUBLE PRECISION";
    // Records hold their text in Windows-1251, and so travels every parameter.
    return "VARCHAR(" + std::to_string(width) + ") CHARACTER SET WIN1251";
}

// Bytes an input takes in the message (value, NULL flag, alignment).
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
        for (const auto& member : category.params) routine_.kinds.push_back(KindOf(member));
        routine_.kinds.push_back('i');  // ID
        if (!Following().empty()) routine_.kinds.push_back('i');  // the mask of following statements
        for (const auto& statement : Following())
            for (const auto& member : statement.params) routine_.kinds.push_back(KindOf(member));
        for (const char kind : routine_.kinds) routine_.widths.push_back(kind == 's' ? BatchWidth(0) : 0);
    }

    // Sizes the block for a record the save will write, before any is
    // added: every block of the category then has one text, prepared once.
    void Widen(const R& record) {
        if (record.Deleted != 1 && record.Added != 1) return;
        ++expected_;
        if (record.Deleted == 1) return;
        EachInput(record, false, [&](std::size_t at, const Member<R>& member) {
            const std::size_t length = TextLength(member, record);
            if (routine_.kinds[at] == 's' && length <= kBatchTextWidth)
                routine_.widths[at] = std::max(routine_.widths[at], BatchWidth(length));
        });
    }

    // Adds a record's write unless the batch is full; a record with a text
    // too long for any batch is not added either.
    bool Add(std::size_t item, RecordWrite kind, R& written) {
        if (!places_) places_ = ChoosePlaces();
        if (entries_.size() >= Places()) return false;
        bool fits = true;
        if (kind != RecordWrite::Deleted)
            EachInput(written, true, [&](std::size_t at, const Member<R>& member) {
                if (TextLength(member, written) > routine_.widths[at]) fits = false;
            });
        if (!fits) return false;
        entries_.push_back(Entry{item, kind, std::move(written)});
        return true;
    }

    // Sends the batch in one statement and marks the records that failed.
    // A batch the database refuses as a whole (not for a lost connection or a
    // database that takes no writes: that fails the save) has every record
    // marked failed, for each to be written again on its own.
    std::vector<Entry> Send() {
        std::vector<Entry> sent = std::move(entries_);
        entries_.clear();
        if (sent.empty()) return sent;
        if (text_.empty()) text_ = BlockText();
        Query& q = db_.SQLQuery;
        q.Close();
        q.SetPositionalText(text_);
        const std::size_t inputs = routine_.kinds.size();
        for (std::size_t place = 0; place < Places(); ++place) {
            const int first = static_cast<int>(place * inputs);
            if (place < sent.size())
                Bind(sent[place], q, first);
            else
                BindOnlyIdent(q, first, 0);  // an unused place: nothing to write
        }
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
    const std::vector<FollowingStatement<R>>& Following() const { return category_.hooks.afterWriteInBatch; }

    // Calls use(position, member) for each of the routine's inputs that
    // takes a value of the record: the category's parameters, and those of
    // the following statements (with `applyingOnly`, of those that apply).
    template <class Use>
    void EachInput(const R& record, bool applyingOnly, Use&& use) const {
        std::size_t at = 0;
        for (const auto& member : category_.params) use(at++, member);
        at += Following().empty() ? 1 : 2;  // ID, and the mask
        for (const auto& statement : Following()) {
            const bool applies = !applyingOnly || statement.applies(record);
            for (const auto& member : statement.params) {
                if (applies) use(at, member);
                ++at;
            }
        }
    }

    // The records one block carries, fixed by the first record added: the
    // block's text, and with it the server's preparation, is the same for all.
    std::size_t Places() const { return places_; }

    std::size_t ChoosePlaces() const {
        std::size_t message = 8;  // the record's output
        for (std::size_t i = 0; i < routine_.kinds.size(); ++i)
            message += BatchMessageBytes(routine_.kinds[i], routine_.widths[i]);
        return BlockPlaces(expected_, routine_.kinds.size(), message, db_.SQLConnection.RoundTrip());
    }

    // Binds the inputs of one place from position `first`: ID, and NULL for the rest.
    void BindOnlyIdent(Query& q, int first, std::int64_t id) const {
        for (std::size_t i = 0; i < routine_.kinds.size(); ++i) q.Param(first + static_cast<int>(i)).SetNull();
        q.Param(first + static_cast<int>(category_.params.size())).SetInteger(id);
    }

    // Binds one record's inputs from position `first`.
    void Bind(const Entry& entry, Query& q, int first) const {
        const R& record = entry.written;
        const int n = static_cast<int>(category_.params.size());
        if (entry.kind == RecordWrite::Deleted) {
            // A record never saved has no row: nothing to delete.
            BindOnlyIdent(q, first, record.Ident < 1 ? 0 : -static_cast<std::int64_t>(record.Ident));
            return;
        }
        BindParams(category_, category_.params, record, q, first);
        if (record.Ident < 1) q.Param(first + n).SetNull();
        else q.Param(first + n).SetInteger(record.Ident);
        if (Following().empty()) return;
        std::int64_t mask = 0;
        int at = first + n + 2;
        for (std::size_t k = 0; k < Following().size(); ++k) {
            const auto& statement = Following()[k];
            if (statement.applies(record)) {
                mask |= std::int64_t{1} << k;
                BindParams(category_, statement.params, record, q, at, &statement.nullWhenUnset);
            } else {
                for (std::size_t i = 0; i < statement.params.size(); ++i) q.Param(at + static_cast<int>(i)).SetNull();
            }
            at += static_cast<int>(statement.params.size());
        }
        q.Param(first + n + 1).SetInteger(mask);
    }

    // The routine W and a block of Places() calls of it, one output per call.
    std::string BlockText() const {
        const std::size_t n = category_.params.size();
        auto name = [&](std::size_t i) {
            if (i < n) return "P" + std::to_string(i + 1);
            if (i == n) return std::string("ID");
            if (i == n + 1) return std::string("H");
            return "Q" + std::to_string(i - n - 1);
        };
        std::string routine = "DECLARE FUNCTION W(";
        for (std::size_t i = 0; i < routine_.kinds.size(); ++i)
            routine += (i ? "," : "") + name(i) + " " + BatchType(routine_.kinds[i], routine_.widths[i]);
        auto param = [&](int k) { return ":" + name(static_cast<std::size_t>(k)); };
        // R is the record's identifier, 0 where there is none to tell, or NULL
        // when the record failed. The handler is the routine's, compiled once:
        // one in each call of the block doubled the time to prepare it.
        routine += ") RETURNS BIGINT AS\nDECLARE R BIGINT = 0;\nDECLARE D BIGINT;\nBEGIN\nBEGIN\n";
        routine += "IF (ID IS NULL) THEN " + ReplaceParameters(category_.insertSql, param) + " RETURNING \"Ident\" INTO :R;\n";
        routine += "ELSE IF (ID > 0) THEN BEGIN " +
                   ReplaceParameters(category_.updateSql, [&](int k) { return k < static_cast<int>(n) ? param(k) : ":ID"; }) +
                   "; R = ID; END\n";
        routine += "ELSE IF (ID < 0) THEN BEGIN D = -ID; " +
                   ReplaceParameters(category_.deleteSql, [](int) { return std::string(":D"); }) + "; END\n";
        // A following statement's first parameter is the record's identifier.
        std::size_t at = n + 2;
        for (std::size_t k = 0; k < Following().size(); ++k) {
            const std::size_t from = at;
            routine += "IF (BIN_AND(H, " + std::to_string(std::int64_t{1} << k) + ") <> 0) THEN " +
                       ReplaceParameters(Following()[k].sql, [&](int i) { return i == 0 ? std::string(":R") : param(static_cast<int>(from) + i - 1); }) +
                       ";\n";
            at += Following()[k].params.size();
        }
        // Its statements are undone with the block; R is not, and is cleared.
        routine += "WHEN ANY DO R = NULL;\nEND\nRETURN R;\nEND\n";

        std::string inputs, outputs, body;
        const std::size_t count = routine_.kinds.size();
        for (std::size_t place = 0; place < Places(); ++place) {
            const std::string result = "R" + std::to_string(place + 1);
            outputs += (place ? "," : "") + result + " BIGINT";
            std::string list;
            for (std::size_t i = 0; i < count; ++i) {
                const std::string input = "A" + std::to_string(place * count + i + 1);
                inputs += (inputs.empty() ? "" : ",") + input + " " + BatchType(routine_.kinds[i], routine_.widths[i]) + "=?";
                list += (i ? ",:" : ":") + input;
            }
            body += result + "=W(" + list + ");\n";
        }
        // One row of every record's outcome, fetched with the execution itself.
        return "EXECUTE BLOCK (" + inputs + ")\nRETURNS (" + outputs + ")\nAS\n" + routine + "BEGIN\n" + body +
               "SUSPEND;\nEND";
    }

    const Category<R>& category_;
    TRef_DataModule& db_;
    BatchRoutine routine_;
    std::size_t expected_ = 0;         // records the save will write, as Widen counted them
    std::size_t places_ = 0;           // fixed once the first record is added
    std::string text_;
    std::vector<Entry> entries_;
};

}  // namespace detail
}  // namespace kelm
