#pragma once
// A thin layer over Firebird's C++ client interface: one connection, queries
// with positional parameters, fields read by name. While a Transaction is
// open every statement of the connection runs in it, and nothing is kept
// until it is committed. Outside one, a statement that writes runs in a
// transaction of its own and is committed when it is done, and selects read
// in one read-only transaction that sees every committed change.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kelm {

class DatabaseError : public std::runtime_error {
public:
    // What went wrong, for the callers that answer some failures themselves.
    enum class Kind {
        Other,
        // The statement would have put a second row under a unique key (a row
        // another writer has just inserted, for instance).
        UniqueKey,
        // Another writer holds the row: the wait for it ran out, or the two
        // waited on each other.
        Lock,
        // The database takes no writes at all: the connection is lost, the
        // server is going down, the database or its file is read-only.
        Unwritable,
    };
    explicit DatabaseError(const std::string& message, Kind kind = Kind::Other)
        : std::runtime_error(message), kind_(kind) {}
    bool UniqueKeyConflict() const { return kind_ == Kind::UniqueKey; }
    bool LockConflict() const { return kind_ == Kind::Lock; }
    bool Unwritable() const { return kind_ == Kind::Unwritable; }

private:
    Kind kind_;
};

// A local database file that another program has open: the embedded engine
// lets one program at a time use a file (a server shares it between many).
class DatabaseInUse : public DatabaseError {
public:
    using DatabaseError::DatabaseError;
};

struct ConnectionSettings {
    std::string user;
    std::string password;
    std::string role;
    std::string charset;  // connection character set (lc_ctype)
    int dialect = 3;
    // How long a writer waits for a row another writer holds before giving
    // up on it, in seconds: a record that cannot wait fails on its own
    // instead of holding up the whole save.
    int lockTimeout = 5;
};

// One bound parameter value: NULL, a whole number, a double or a string.
using ParamValue = std::variant<std::monostate, std::int64_t, double, std::string>;

// Told about every statement before it runs; tests use it to see what is sent.
class StatementListener {
public:
    virtual ~StatementListener() = default;
    virtual void StatementRun(const std::string& sql, const std::vector<ParamValue>& params) = 0;
};

class Query;
class Transaction;
class SideTransaction;
class Savepoint;

class Database {
public:
    Database();
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // A server source (see server_source.h) reaches a server; a local path
    // opens the file in-process.
    void Connect(const std::string& path, const ConnectionSettings& settings);
    // Creates an empty database at `path` (dialect and connection character
    // set from `settings`, its own default character set `charset`) and stays
    // connected to it.
    void Create(const std::string& path, const ConnectionSettings& settings, const std::string& charset, int pageSize);
    void Disconnect();
    bool IsConnected() const;
    const std::string& Path() const;

    void SetListener(StatementListener* listener);

    // What tells this database from another at the same path: its creation
    // time, and for a local file the file itself (a copy of another
    // catalogue moved over it is a new file). Empty when not connected.
    std::string Identity() const;

    // How long one round trip to the database takes, in milliseconds: the
    // faster of two pings, measured once a connection. Nearly 0 for a file
    // opened in-process.
    double RoundTrip();

    struct Impl;

private:
    friend class Query;
    friend class Transaction;
    friend class SideTransaction;
    friend class Savepoint;
    struct NewDatabase {
        std::string charset;
        int pageSize;
    };
    void Open(const std::string& path, const ConnectionSettings& settings, const NewDatabase* created);
    std::unique_ptr<Impl> impl_;
};

// The one writing transaction of a connection: every statement runs in it
// until commit(). Destroyed without commit() (an error, an exception on its
// way out) it rolls everything back, so a save is all or nothing.
class Transaction {
public:
    explicit Transaction(Database& database);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    // Keeps everything written. A failure throws DatabaseError and leaves
    // nothing written; the transaction is over either way.
    void commit();

private:
    friend class Savepoint;
    Database& database_;
    bool open_ = true;
};

// A short transaction of its own beside the connection's open Transaction
// (or without one): every statement runs in it until it ends, then in the
// open one again. Rows that writers share are made in one and committed at
// once, so that no writer's long save holds them and makes others wait.
class SideTransaction {
public:
    explicit SideTransaction(Database& database);
    ~SideTransaction();  // rolls back what was not committed
    SideTransaction(const SideTransaction&) = delete;
    SideTransaction& operator=(const SideTransaction&) = delete;

    void commit();

private:
    void End(bool commit);
    Database& database_;
    bool open_ = true;
};

// A point inside the open transaction to go back to: destroyed without
// release() it undoes every statement run since it was set, and the
// transaction goes on.
class Savepoint {
public:
    explicit Savepoint(Transaction& transaction);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    // Keeps what was written since the savepoint, as part of the transaction.
    void release();
    // Undoes what was written since the savepoint (also done by the destructor).
    void rollback();

private:
    Database& database_;
    std::string name_;
    bool open_ = true;
};

// One column of the current row.
class FieldValue {
public:
    bool IsNull() const;
    std::int64_t AsInteger() const;  // a fractional number is rounded
    double AsDouble() const;
    std::string AsString() const;    // text as stored (Windows-1251 bytes)

private:
    friend class Query;
    FieldValue(const unsigned char* buffer, unsigned type, int scale, unsigned length,
               unsigned offset, unsigned nullOffset, std::string name)
        : buffer_(buffer), type_(type), scale_(scale), length_(length), offset_(offset),
          nullOffset_(nullOffset), name_(std::move(name)) {}
    const unsigned char* buffer_;
    unsigned type_;
    int scale_;
    unsigned length_;
    unsigned offset_;
    unsigned nullOffset_;
    std::string name_;
};

// Sets one parameter position.
class ParamSlot {
public:
    void SetInteger(std::int64_t value) { *value_ = value; }
    void SetDouble(double value) { *value_ = value; }
    void SetString(std::string value) { *value_ = std::move(value); }
    void SetNull() { *value_ = std::monostate{}; }

private:
    friend class Query;
    explicit ParamSlot(ParamValue* value) : value_(value) {}
    ParamValue* value_;
};

class Query {
public:
    explicit Query(Database& database);
    ~Query();
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;

    // Ends the current result (committing its transaction).
    void Close();
    // Parameters are written ":name" (":p1", ":11"); each occurrence is one
    // position, counted from 0 in the order they appear.
    void SetText(const std::string& sql);
    // As SetText, for a statement whose parameters are written "?" already:
    // ":name" in it is left as it is (the variables of an EXECUTE BLOCK).
    void SetPositionalText(const std::string& sql);
    const std::string& Text() const { return text_; }
    ParamSlot Param(int position);

    void Open();  // runs a select and stands on its first row
    bool Eof() const;
    void Next();
    // Columns are found by name whatever the letter case.
    FieldValue Field(std::string_view name) const;
    int FieldIndex(std::string_view name) const;  // -1 when there is none
    FieldValue Field(int index) const;
    int FieldCount() const;

    // Runs an insert, update or delete; a RETURNING clause's values are then
    // readable through Field.
    void Execute();

    struct Impl;

private:
    std::string text_;
    bool positional_ = false;
    std::unique_ptr<Impl> impl_;
};

// The statement with its k-th ":name" (counted from 0) replaced by
// `replacement(k)`; string literals, quoted identifiers and comments are left alone.
std::string ReplaceParameters(const std::string& sql, const std::function<std::string(int)>& replacement,
                              int* parameterCount = nullptr);
// The parameter text of a statement: every ":name" replaced by "?".
std::string PositionalSql(const std::string& sql, int* parameterCount = nullptr);

}  // namespace kelm
