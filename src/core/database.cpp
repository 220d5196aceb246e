#include "core/database.h"

#include <firebird/Interface.h>
#include <ibase.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "core/lock_folder.h"
#include "core/number_text.h"
#include "core/server_source.h"

namespace kelm {

using namespace Firebird;

namespace {

IMaster* Master() {
    static IMaster* master = fb_get_master_interface();
    return master;
}

// The embedded engine keeps its lock files in /tmp/firebird unless told
// otherwise; when another user created that folder first, every connection
// fails. A folder of the user's own avoids that (see lock_folder.h).
void PrepareEmbeddedEngine() {
    // The client converts file names through the character set of the
    // process locale; under the plain "C" locale a folder named in Cyrillic
    // cannot be opened. File names here are UTF-8.
    auto utf8 = [] {
        const char* codeset = nl_langinfo(CODESET);
        return codeset && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
    };
    if (!utf8()) std::setlocale(LC_CTYPE, "");
    if (!utf8()) std::setlocale(LC_CTYPE, "C.UTF-8");

    if (std::getenv("FIREBIRD_LOCK")) return;
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string folder =
        ChooseLockFolder(runtime ? runtime : "", std::filesystem::temp_directory_path().string(), getuid());
    // Without a folder of our own the engine's default stays; opening then says what is wrong.
    if (!folder.empty()) setenv("FIREBIRD_LOCK", folder.c_str(), 0);
}

std::string Describe(const FbException& error) {
    char text[2048];
    Master()->getUtilInterface()->formatStatus(text, sizeof text, error.getStatus());
    return text;
}

bool HasError(const FbException& error, ISC_STATUS code) {
    const intptr_t* item = error.getStatus()->getErrors();
    while (*item != isc_arg_end) {
        if (item[0] == isc_arg_gds && item[1] == code) return true;
        item += item[0] == isc_arg_cstring ? 3 : 2;  // a counted string has its length too
    }
    return false;
}

bool HasAnyError(const FbException& error, std::initializer_list<ISC_STATUS> codes) {
    for (const ISC_STATUS code : codes)
        if (HasError(error, code)) return true;
    return false;
}

DatabaseError::Kind KindOf(const FbException& error) {
    using Kind = DatabaseError::Kind;
    if (HasAnyError(error, {isc_unique_key_violation, isc_no_dup})) return Kind::UniqueKey;
    if (HasAnyError(error, {isc_lock_conflict, isc_lock_timeout, isc_deadlock, isc_update_conflict}))
        return Kind::Lock;
    if (HasAnyError(error, {isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection,
                            isc_conn_lost, isc_bad_db_handle, isc_shutdown, isc_att_shutdown,
                            isc_net_server_shutdown, isc_read_only_database, isc_io_error}))
        return Kind::Unwritable;
    return Kind::Other;
}

// Runs a piece of client-interface work, turning its errors into DatabaseError.
template <class Work>
auto Guarded(Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const FbException& error) {
        if (HasError(error, isc_already_opened)) throw DatabaseInUse(Describe(error));
        throw DatabaseError(Describe(error), KindOf(error));
    }
}

// Owns a client-interface object until it is released.
struct ReleaseObject {
    template <class T>
    void operator()(T* object) const {
        if (object) object->release();
    }
};
template <class T>
using Released = std::unique_ptr<T, ReleaseObject>;

struct Status {
    Status() : wrapper(Master()->getStatus()) {}
    ~Status() { wrapper.dispose(); }
    ThrowStatusWrapper wrapper;
};

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string PathForEngine(const std::string& path) {
    // A server source goes to the server as it is; a local relative path is
    // made absolute, so that the engine does not resolve it against its own folder.
    if (IsServerSource(path) || path.empty() || path.front() == '/') return path;
    return (std::filesystem::current_path() / path).string();
}

// A read-committed transaction, reading only or writing; a writing one waits
// for a row another writer holds at most `lockTimeout` seconds.
ITransaction* StartTransaction(IAttachment* attachment, bool readOnly, int lockTimeout = 0) {
    Status status;
    IXpbBuilder* tpb = Master()->getUtilInterface()->getXpbBuilder(&status.wrapper, IXpbBuilder::TPB, nullptr, 0);
    ITransaction* transaction = nullptr;
    try {
        tpb->insertTag(&status.wrapper, isc_tpb_read_committed);
        tpb->insertTag(&status.wrapper, isc_tpb_rec_version);
        tpb->insertTag(&status.wrapper, isc_tpb_wait);
        if (!readOnly && lockTimeout > 0) tpb->insertInt(&status.wrapper, isc_tpb_lock_timeout, lockTimeout);
        tpb->insertTag(&status.wrapper, readOnly ? isc_tpb_read : isc_tpb_write);
        transaction = attachment->startTransaction(&status.wrapper, tpb->getBufferLength(&status.wrapper),
                                                   tpb->getBuffer(&status.wrapper));
    } catch (...) {
        tpb->dispose();
        throw;
    }
    tpb->dispose();
    return transaction;
}

}  // namespace

std::string PositionalSql(const std::string& sql, int* parameterCount) {
    return ReplaceParameters(sql, [](int) { return std::string("?"); }, parameterCount);
}

std::string ReplaceParameters(const std::string& sql, const std::function<std::string(int)>& replacement,
                              int* parameterCount) {
    std::string out;
    out.reserve(sql.size());
    int count = 0;
    std::size_t i = 0;
    auto isNameChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '$';
    };
    while (i < sql.size()) {
        const char c = sql[i];
        if (c == '\'' || c == '"') {  // literal or quoted identifier, doubled quotes included
            const std::size_t end = sql.find(c, i + 1);
            const std::size_t stop = end == std::string::npos ? sql.size() : end + 1;
            out.append(sql, i, stop - i);
            i = stop;
        } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
            const std::size_t end = sql.find('\n', i);
            const std::size_t stop = end == std::string::npos ? sql.size() : end;
            out.append(sql, i, stop - i);
            i = stop;
        } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
            const std::size_t end = sql.find("*/", i + 2);
            const std::size_t stop = end == std::string::npos ? sql.size() : end + 2;
            out.append(sql, i, stop - i);
            i = stop;
        } else if (c == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1])) {
            ++i;
            while (i < sql.size() && isNameChar(sql[i])) ++i;
            out += replacement(count++);
        } else {
            out += c;
            ++i;
        }
    }
    if (parameterCount) *parameterCount = count;
    return out;
}

// ---------------------------------------------------------------------------

struct Database::Impl {
    IProvider* provider = nullptr;
    IAttachment* attachment = nullptr;
    std::string path;
    ConnectionSettings settings;
    StatementListener* listener = nullptr;
    std::set<Query::Impl*> queries;  // told to drop their statements on disconnect
    // Selects all read in one read-only read-committed transaction, which
    // sees every change as soon as it is committed: starting a transaction
    // per select cost as much as the insert it came with, and committing a
    // read-only one has nothing to do.
    ITransaction* reading = nullptr;
    // The open Transaction's, which every statement uses while it lasts.
    ITransaction* writing = nullptr;
    std::optional<double> roundTrip;  // milliseconds, once measured
    int savepoints = 0;  // how deep the open savepoints nest, for their names
    // The transactions a SideTransaction set aside, with their savepoint depth.
    std::vector<std::pair<ITransaction*, int>> setAside;

    ITransaction* StartWriting() { return StartTransaction(attachment, false, settings.lockTimeout); }

    ITransaction* Reading() {
        if (writing) return writing;
        if (!reading) reading = StartTransaction(attachment, true);
        return reading;
    }

    // Closes the cursors of every query reading in `transaction`.
    void EndStatementsIn(ITransaction* transaction);

    // Savepoint statements, prepared once: a save sets one per record.
    std::map<std::string, IStatement*> control;

    // Runs a statement that needs no parameters or results in the open transaction.
    void ExecuteInWriting(const std::string& sql) {
        Status status;
        auto found = control.find(sql);
        if (found == control.end()) {
            IStatement* prepared = attachment->prepare(&status.wrapper, writing, 0, sql.c_str(), settings.dialect, 0);
            found = control.emplace(sql, prepared).first;
        }
        found->second->execute(&status.wrapper, writing, nullptr, nullptr, nullptr, nullptr);
    }

    void ReleaseControl() {
        for (auto& [text, statement] : control) statement->release();
        control.clear();
    }

    // Rolls the open transaction back and forgets it.
    void AbandonWriting() {
        if (!writing) return;
        EndStatementsIn(writing);
        ITransaction* t = writing;
        writing = nullptr;
        savepoints = 0;
        Status status;
        try {
            t->rollback(&status.wrapper);
        } catch (const FbException&) {
            t->release();
        }
    }

    void EndReading() {
        if (!reading) return;
        ITransaction* t = reading;
        reading = nullptr;
        Status status;
        try {
            t->commit(&status.wrapper);
        } catch (const FbException&) {
            t->release();
        }
    }
};

struct Query::Impl {
    Database::Impl& db;
    std::map<std::string, IStatement*> statements;  // prepared, by positional text
    std::vector<ParamValue> params;
    IStatement* statement = nullptr;
    ITransaction* transaction = nullptr;  // the statement's own, or one the connection keeps
    bool reading = false;                 // `transaction` is the connection's, not the statement's
    IResultSet* cursor = nullptr;
    IMessageMetadata* output = nullptr;
    std::vector<unsigned char> row;
    bool hasRow = false;

    // The input message's layout for the statement it was built for: a block
    // of a thousand inputs runs many times with values of the same types, and
    // building its layout again each time costs more than sending it.
    struct InputLayout {
        IStatement* statement = nullptr;
        Released<IMessageMetadata> described;  // the statement's own
        std::vector<std::pair<unsigned, unsigned>> declared;  // per input: the type and length it declares
        std::vector<std::pair<unsigned, unsigned>> shape;  // per input: type and length, or 0 for NULL
        Released<IMessageMetadata> meta;
        std::vector<std::pair<unsigned, unsigned>> offsets;  // per input: value and NULL flag
        unsigned length = 0;
    } layout;
    // The input message, kept between executions: a block's is tens of
    // kilobytes, and freeing it each time gave the memory back to the system.
    std::vector<unsigned char> input;

    explicit Impl(Database::Impl& database) : db(database) { db.queries.insert(this); }
    ~Impl() {
        try {
            End(true);
        } catch (...) {
        }
        ReleaseStatements();
        db.queries.erase(this);
    }

    void ReleaseStatements() {
        layout = InputLayout{};
        for (auto& [text, stmt] : statements) stmt->release();
        statements.clear();
        statement = nullptr;
    }

    // Ends the current statement: closes its cursor, commits (or rolls back).
    void End(bool commit) {
        Status status;
        if (cursor) {
            IResultSet* c = cursor;
            cursor = nullptr;
            try {
                c->close(&status.wrapper);
            } catch (const FbException&) {
                c->release();
            }
        }
        if (output) {
            output->release();
            output = nullptr;
        }
        hasRow = false;
        if (transaction && reading) {  // the reading transaction outlives its selects
            transaction = nullptr;
            reading = false;
            return;
        }
        if (transaction) {
            ITransaction* t = transaction;
            transaction = nullptr;
            if (commit) {
                try {
                    t->commit(&status.wrapper);
                    return;
                } catch (const FbException& error) {
                    const std::string message = Describe(error);
                    try {
                        t->rollback(&status.wrapper);
                    } catch (const FbException&) {
                        t->release();
                    }
                    throw DatabaseError(message);
                }
            }
            try {
                t->rollback(&status.wrapper);
            } catch (const FbException&) {
                t->release();
            }
        }
    }

    // A select reads in the connection's read-only transaction (committing a
    // read-write one writes the database: a forced write per statement);
    // anything else runs in a transaction of its own.
    void Begin(const std::string& text, bool readOnly, bool positional) {
        if (!db.attachment) throw DatabaseError("no catalogue database is connected");
        Status status;
        if (readOnly || db.writing) {
            transaction = readOnly ? db.Reading() : db.writing;
            reading = true;
        } else {
            transaction = db.StartWriting();
        }

        const std::string sent = positional ? text : PositionalSql(text);
        auto found = statements.find(sent);
        if (found == statements.end()) {
            IStatement* prepared = db.attachment->prepare(&status.wrapper, transaction, 0, sent.c_str(),
                                                          db.settings.dialect, IStatement::PREPARE_PREFETCH_METADATA);
            found = statements.emplace(sent, prepared).first;
        }
        statement = found->second;
    }

    // Builds `input` from the values set, each typed by its value.
    // A text goes with the width the statement declares where it fits, so
    // that texts of different lengths share one layout.
    IMessageMetadata* InputMessage() {
        Status status;
        if (layout.statement != statement) {
            layout = InputLayout{};
            layout.described.reset(statement->getInputMetadata(&status.wrapper));
            layout.declared.resize(layout.described->getCount(&status.wrapper));
            for (unsigned i = 0; i < layout.declared.size(); ++i)
                layout.declared[i] = {layout.described->getType(&status.wrapper, i) & ~1u,
                                      layout.described->getLength(&status.wrapper, i)};
            layout.statement = statement;
        }
        const auto count = static_cast<unsigned>(layout.declared.size());
        if (params.size() < count)
            throw DatabaseError("parameter " + std::to_string(params.size() + 1) + " of the statement was not set");
        std::vector<std::pair<unsigned, unsigned>> shape(count);
        for (unsigned i = 0; i < count; ++i) {
            const ParamValue& value = params[i];
            if (std::holds_alternative<std::int64_t>(value)) {
                shape[i] = {SQL_INT64, sizeof(std::int64_t)};
            } else if (std::holds_alternative<double>(value)) {
                shape[i] = {SQL_DOUBLE, sizeof(double)};
            } else if (const auto* text = std::get_if<std::string>(&value)) {
                if (text->size() > 0xFFFF) throw DatabaseError("a text parameter is too long");
                const auto [type, declared] = layout.declared[i];
                const bool fits = (type == SQL_VARYING || type == SQL_TEXT) && text->size() <= declared;
                shape[i] = {SQL_VARYING, fits ? declared : std::max<unsigned>(1, unsigned(text->size()))};
            }
        }
        if (!layout.meta || layout.shape != shape) {
            Released<IMetadataBuilder> builder(layout.described->getBuilder(&status.wrapper));
            for (unsigned i = 0; i < count; ++i) {
                const auto [type, length] = shape[i];
                if (type == 0) continue;  // a NULL keeps the type the statement declares
                builder->setType(&status.wrapper, i, type);
                builder->setLength(&status.wrapper, i, length);
                if (type != SQL_VARYING) builder->setScale(&status.wrapper, i, 0);
            }
            Released<IMessageMetadata> meta(builder->getMetadata(&status.wrapper));
            std::vector<std::pair<unsigned, unsigned>> offsets(count);
            for (unsigned i = 0; i < count; ++i)
                offsets[i] = {meta->getOffset(&status.wrapper, i), meta->getNullOffset(&status.wrapper, i)};
            layout.length = meta->getMessageLength(&status.wrapper);
            layout.offsets = std::move(offsets);
            layout.meta = std::move(meta);
            layout.shape = std::move(shape);
        }
        input.assign(layout.length, 0);
        for (unsigned i = 0; i < count; ++i) {
            const ParamValue& value = params[i];
            unsigned char* data = input.data() + layout.offsets[i].first;
            auto* null = reinterpret_cast<short*>(input.data() + layout.offsets[i].second);
            *null = std::holds_alternative<std::monostate>(value) ? -1 : 0;
            if (const auto* n = std::get_if<std::int64_t>(&value)) {
                std::memcpy(data, n, sizeof *n);
            } else if (const auto* d = std::get_if<double>(&value)) {
                std::memcpy(data, d, sizeof *d);
            } else if (const auto* text = std::get_if<std::string>(&value)) {
                const auto length = static_cast<std::uint16_t>(text->size());
                std::memcpy(data, &length, sizeof length);
                std::memcpy(data + sizeof length, text->data(), text->size());
            }
        }
        layout.meta->addRef();
        return layout.meta.get();
    }

    // Starts a statement of its own transaction with its input message, runs
    // `work` on it, and rolls everything back when anything fails.
    template <class Work>
    void Run(const std::string& text, bool readOnly, bool positional, Work&& work) {
        End(true);
        if (db.listener) db.listener->StatementRun(text, params);
        Guarded([&] {
            try {
                Begin(text, readOnly, positional);
                Released<IMessageMetadata> message(InputMessage());
                work(message.get(), input);
            } catch (...) {
                try {
                    End(false);
                } catch (...) {
                }
                throw;
            }
        });
    }
};

void Database::Impl::EndStatementsIn(ITransaction* transaction) {
    if (!transaction) return;
    for (Query::Impl* query : queries)
        if (query->transaction == transaction) {
            try {
                query->End(false);
            } catch (...) {
            }
        }
}

Database::Database() : impl_(std::make_unique<Impl>()) { PrepareEmbeddedEngine(); }

Database::~Database() {
    try {
        Disconnect();
    } catch (...) {
    }
    if (impl_->provider) impl_->provider->release();
}

void Database::Connect(const std::string& path, const ConnectionSettings& settings) { Open(path, settings, nullptr); }

void Database::Create(const std::string& path, const ConnectionSettings& settings, const std::string& charset,
                      int pageSize) {
    const NewDatabase created{charset, pageSize};
    Open(path, settings, &created);
}

void Database::Open(const std::string& path, const ConnectionSettings& settings, const NewDatabase* created) {
    Disconnect();
    Guarded([&] {
        Status status;
        if (!impl_->provider) impl_->provider = Master()->getDispatcher();
        IXpbBuilder* dpb =
            Master()->getUtilInterface()->getXpbBuilder(&status.wrapper, IXpbBuilder::DPB, nullptr, 0);
        try {
            dpb->insertString(&status.wrapper, isc_dpb_user_name, settings.user.c_str());
            dpb->insertString(&status.wrapper, isc_dpb_password, settings.password.c_str());
            if (!settings.role.empty()) dpb->insertString(&status.wrapper, isc_dpb_sql_role_name, settings.role.c_str());
            dpb->insertString(&status.wrapper, isc_dpb_lc_ctype, settings.charset.c_str());
            dpb->insertInt(&status.wrapper, isc_dpb_sql_dialect, settings.dialect);
            dpb->insertTag(&status.wrapper, isc_dpb_utf8_filename);
            const std::string target = PathForEngine(path);
            if (created) {
                dpb->insertInt(&status.wrapper, isc_dpb_page_size, created->pageSize);
                dpb->insertString(&status.wrapper, isc_dpb_set_db_charset, created->charset.c_str());
                impl_->attachment = impl_->provider->createDatabase(&status.wrapper, target.c_str(),
                                                                    dpb->getBufferLength(&status.wrapper),
                                                                    dpb->getBuffer(&status.wrapper));
            } else {
                impl_->attachment = impl_->provider->attachDatabase(&status.wrapper, target.c_str(),
                                                                    dpb->getBufferLength(&status.wrapper),
                                                                    dpb->getBuffer(&status.wrapper));
            }
        } catch (...) {
            dpb->dispose();
            throw;
        }
        dpb->dispose();
    });
    impl_->path = path;
    impl_->settings = settings;
}

void Database::Disconnect() {
    for (Query::Impl* query : impl_->queries) {
        try {
            query->End(false);
        } catch (...) {
        }
        query->ReleaseStatements();
    }
    if (!impl_->attachment) return;
    impl_->AbandonWriting();
    for (auto& [outer, depth] : impl_->setAside) {
        impl_->writing = outer;
        impl_->AbandonWriting();
    }
    impl_->setAside.clear();
    impl_->ReleaseControl();
    impl_->EndReading();
    IAttachment* attachment = impl_->attachment;
    impl_->attachment = nullptr;
    impl_->path.clear();
    impl_->roundTrip.reset();
    Status status;
    try {
        attachment->detach(&status.wrapper);
    } catch (const FbException&) {
        attachment->release();
    }
}

bool Database::IsConnected() const { return impl_->attachment != nullptr; }

std::string Database::Identity() const {
    if (!impl_->attachment) return {};
    // Firebird 3 keeps no identifier of its own in a database: copies of one
    // empty catalogue even share the creation time. The file tells them
    // apart where it can be seen; a server's file cannot.
    const unsigned char items[] = {isc_info_creation_date, isc_info_end};
    unsigned char answer[64] = {};
    Guarded([&] {
        Status status;
        impl_->attachment->getInfo(&status.wrapper, sizeof items, items, sizeof answer, answer);
    });
    std::string identity = "created";
    if (answer[0] == isc_info_creation_date) {
        const short length = static_cast<short>(isc_vax_integer(reinterpret_cast<const char*>(answer + 1), 2));
        for (short i = 0; i + 4 <= length; i += 4)
            identity += " " + std::to_string(isc_vax_integer(reinterpret_cast<const char*>(answer + 3 + i), 4));
    }
    struct stat file {};
    if (!IsServerSource(impl_->path) && stat(PathForEngine(impl_->path).c_str(), &file) == 0)
        identity += "; file " + std::to_string(file.st_dev) + ":" + std::to_string(file.st_ino);
    return identity;
}
double Database::RoundTrip() {
    if (!impl_->attachment) throw DatabaseError("no catalogue database is connected");
    if (!impl_->roundTrip) {
        double fastest = 0;
        Guarded([&] {
            Status status;
            for (int i = 0; i < 2; ++i) {
                const auto start = std::chrono::steady_clock::now();
                impl_->attachment->ping(&status.wrapper);
                const double took =
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                fastest = i == 0 ? took : std::min(fastest, took);
            }
        });
        impl_->roundTrip = fastest;
    }
    return *impl_->roundTrip;
}

const std::string& Database::Path() const { return impl_->path; }
void Database::SetListener(StatementListener* listener) { impl_->listener = listener; }

// ---------------------------------------------------------------------------

Transaction::Transaction(Database& database) : database_(database) {
    Database::Impl& db = *database_.impl_;
    if (!db.attachment) throw DatabaseError("no catalogue database is connected");
    if (db.writing) throw DatabaseError("a transaction is already open on this connection");
    // Cursors of the reading transaction would not see what this one writes.
    db.EndStatementsIn(db.reading);
    db.writing = Guarded([&] { return db.StartWriting(); });
}

Transaction::~Transaction() {
    if (open_) database_.impl_->AbandonWriting();
}

void Transaction::commit() {
    Database::Impl& db = *database_.impl_;
    if (!open_ || !db.writing) throw DatabaseError("the transaction is no longer open");
    open_ = false;
    db.EndStatementsIn(db.writing);
    ITransaction* t = db.writing;
    try {
        Guarded([&] {
            Status status;
            t->commit(&status.wrapper);  // releases the transaction object when it succeeds
        });
    } catch (...) {
        db.writing = t;
        db.AbandonWriting();
        throw;
    }
    db.writing = nullptr;
    db.savepoints = 0;
}

SideTransaction::SideTransaction(Database& database) : database_(database) {
    Database::Impl& db = *database_.impl_;
    if (!db.attachment) throw DatabaseError("no catalogue database is connected");
    ITransaction* side = Guarded([&] { return db.StartWriting(); });
    db.setAside.emplace_back(db.writing, db.savepoints);
    db.writing = side;
    db.savepoints = 0;
}

SideTransaction::~SideTransaction() {
    try {
        End(false);
    } catch (...) {
    }
}

void SideTransaction::commit() { End(true); }

void SideTransaction::End(bool commit) {
    Database::Impl& db = *database_.impl_;
    if (!open_) return;
    open_ = false;
    if (db.setAside.empty()) return;  // the connection was closed meanwhile
    ITransaction* side = db.writing;
    // Plain copies: a lambda may not capture structured bindings on every compiler.
    ITransaction* const outer = db.setAside.back().first;
    const auto depth = db.setAside.back().second;
    db.setAside.pop_back();
    auto restore = [&] {
        db.writing = outer;
        db.savepoints = depth;
    };
    db.EndStatementsIn(side);
    if (!commit) {
        db.AbandonWriting();
        restore();
        return;
    }
    try {
        Guarded([&] {
            Status status;
            side->commit(&status.wrapper);
        });
    } catch (...) {
        db.AbandonWriting();
        restore();
        throw;
    }
    restore();
}

Savepoint::Savepoint(Transaction& transaction) : database_(transaction.database_) {
    Database::Impl& db = *database_.impl_;
    if (!transaction.open_ || !db.writing) throw DatabaseError("the transaction is no longer open");
    name_ = "KELM_SAVEPOINT_" + std::to_string(db.savepoints + 1);
    Guarded([&] { db.ExecuteInWriting("SAVEPOINT " + name_); });
    ++db.savepoints;
}

Savepoint::~Savepoint() {
    if (!open_) return;
    try {
        rollback();
    } catch (...) {
    }
}

void Savepoint::release() {
    Database::Impl& db = *database_.impl_;
    if (!open_) return;
    open_ = false;
    if (!db.writing) throw DatabaseError("the transaction is no longer open");
    --db.savepoints;
    Guarded([&] { db.ExecuteInWriting("RELEASE SAVEPOINT " + name_ + " ONLY"); });
}

void Savepoint::rollback() {
    Database::Impl& db = *database_.impl_;
    if (!open_) return;
    open_ = false;
    if (!db.writing) return;  // the whole transaction is gone already
    --db.savepoints;
    db.EndStatementsIn(db.writing);
    Guarded([&] {
        db.ExecuteInWriting("ROLLBACK TO SAVEPOINT " + name_);
        db.ExecuteInWriting("RELEASE SAVEPOINT " + name_ + " ONLY");
    });
}

// ---------------------------------------------------------------------------

Query::Query(Database& database) : impl_(std::make_unique<Impl>(*database.impl_)) {}
Query::~Query() = default;

void Query::Close() { impl_->End(true); }

void Query::SetText(const std::string& sql) {
    impl_->End(true);
    text_ = sql;
    positional_ = false;
    impl_->params.clear();
}

void Query::SetPositionalText(const std::string& sql) {
    SetText(sql);
    positional_ = true;
}

ParamSlot Query::Param(int position) {
    if (position < 0) throw DatabaseError("negative parameter position");
    if (impl_->params.size() <= static_cast<std::size_t>(position)) impl_->params.resize(position + 1);
    return ParamSlot(&impl_->params[position]);
}

void Query::Open() {
    impl_->Run(text_, true, positional_, [&](IMessageMetadata* input, std::vector<unsigned char>& data) {
        Status status;
        impl_->output = impl_->statement->getOutputMetadata(&status.wrapper);
        impl_->cursor = impl_->statement->openCursor(&status.wrapper, impl_->transaction, input, data.data(),
                                                     impl_->output, 0);
        impl_->row.assign(impl_->output->getMessageLength(&status.wrapper), 0);
        impl_->hasRow = impl_->cursor->fetchNext(&status.wrapper, impl_->row.data()) == IStatus::RESULT_OK;
    });
}

bool Query::Eof() const { return !impl_->hasRow; }

void Query::Next() {
    if (!impl_->cursor) throw DatabaseError("the query is not open");
    Guarded([&] {
        Status status;
        impl_->hasRow = impl_->cursor->fetchNext(&status.wrapper, impl_->row.data()) == IStatus::RESULT_OK;
    });
}

void Query::Execute() {
    impl_->Run(text_, false, positional_, [&](IMessageMetadata* input, std::vector<unsigned char>& data) {
        Status status;
        Released<IMessageMetadata> output(impl_->statement->getOutputMetadata(&status.wrapper));
        const bool returns = output->getCount(&status.wrapper) > 0;
        impl_->row.assign(returns ? output->getMessageLength(&status.wrapper) : 0, 0);
        impl_->statement->execute(&status.wrapper, impl_->transaction, input, data.data(),
                                  returns ? output.get() : nullptr, returns ? impl_->row.data() : nullptr);
        impl_->End(true);
        if (returns) {
            impl_->output = output.release();
            impl_->hasRow = true;
        }
    });
}

int Query::FieldCount() const {
    if (!impl_->output) return 0;
    return Guarded([&] {
        Status status;
        return static_cast<int>(impl_->output->getCount(&status.wrapper));
    });
}

int Query::FieldIndex(std::string_view name) const {
    if (!impl_->output) return -1;
    return Guarded([&] {
        Status status;
        const unsigned count = impl_->output->getCount(&status.wrapper);
        for (unsigned i = 0; i < count; ++i)
            if (EqualIgnoringCase(impl_->output->getAlias(&status.wrapper, i), name)) return static_cast<int>(i);
        return -1;
    });
}

FieldValue Query::Field(std::string_view name) const {
    const int index = FieldIndex(name);
    if (index < 0) throw DatabaseError("field \"" + std::string(name) + "\" not found in the result of: " + text_);
    return Field(index);
}

FieldValue Query::Field(int index) const {
    if (!impl_->output || !impl_->hasRow) throw DatabaseError("no current row to read a field from");
    return Guarded([&] {
        Status status;
        IMessageMetadata* meta = impl_->output;
        const unsigned i = static_cast<unsigned>(index);
        if (i >= meta->getCount(&status.wrapper)) throw DatabaseError("field index out of range");
        return FieldValue(impl_->row.data(), meta->getType(&status.wrapper, i) & ~1u, meta->getScale(&status.wrapper, i),
                          meta->getLength(&status.wrapper, i), meta->getOffset(&status.wrapper, i),
                          meta->getNullOffset(&status.wrapper, i), meta->getAlias(&status.wrapper, i));
    });
}

// ---------------------------------------------------------------------------

namespace {

template <class T>
T Load(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

}  // namespace

bool FieldValue::IsNull() const { return Load<short>(buffer_ + nullOffset_) != 0; }

double FieldValue::AsDouble() const {
    if (IsNull()) return 0;
    const unsigned char* p = buffer_ + offset_;
    switch (type_) {
        case SQL_SHORT: return Load<std::int16_t>(p) * std::pow(10.0, scale_);
        case SQL_LONG: return Load<std::int32_t>(p) * std::pow(10.0, scale_);
        case SQL_INT64: return static_cast<double>(Load<std::int64_t>(p)) * std::pow(10.0, scale_);
        case SQL_FLOAT: return Load<float>(p);
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return Load<double>(p);
        case SQL_BOOLEAN: return *p ? 1 : 0;
        case SQL_TEXT:
        case SQL_VARYING: {
            const std::string text = AsString();
            try {
                return NumberText::ParseDoubleAnySeparator(text);
            } catch (const ConversionError&) {
                throw DatabaseError("field \"" + name_ + "\" holds \"" + text + "\", not a number");
            }
        }
        default: throw DatabaseError("field \"" + name_ + "\" has a type that cannot be read as a number");
    }
}

std::int64_t FieldValue::AsInteger() const {
    if (IsNull()) return 0;
    const unsigned char* p = buffer_ + offset_;
    if (scale_ == 0) {
        switch (type_) {
            case SQL_SHORT: return Load<std::int16_t>(p);
            case SQL_LONG: return Load<std::int32_t>(p);
            case SQL_INT64: return Load<std::int64_t>(p);
            default: break;
        }
    }
    if (type_ == SQL_TEXT || type_ == SQL_VARYING) {
        const std::string text = AsString();
        try {
            return NumberText::ParseInteger(text);
        } catch (const ConversionError&) {
            throw DatabaseError("field \"" + name_ + "\" holds \"" + text + "\", not a whole number");
        }
    }
    const double value = AsDouble();
    if (!(std::fabs(value) < 9.2e18)) throw DatabaseError("field \"" + name_ + "\" is out of the integer range");
    return std::llround(value);
}

std::string FieldValue::AsString() const {
    if (IsNull()) return {};
    const unsigned char* p = buffer_ + offset_;
    switch (type_) {
        case SQL_TEXT: return std::string(reinterpret_cast<const char*>(p), length_);
        case SQL_VARYING: {
            const auto length = Load<std::uint16_t>(p);
            return std::string(reinterpret_cast<const char*>(p + sizeof length), length);
        }
        case SQL_SHORT:
        case SQL_LONG:
        case SQL_INT64:
            if (scale_ == 0) return NumberText::Format(AsInteger());
            return NumberText('.').Format(AsDouble());
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return NumberText('.').Format(AsDouble());
        case SQL_BOOLEAN: return *p ? "TRUE" : "FALSE";
        default: throw DatabaseError("field \"" + name_ + "\" has a type that cannot be read as text");
    }
}

}  // namespace kelm
