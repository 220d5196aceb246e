#pragma once
// The program's one catalogue database connection and its shared queries.
// Every database access of every category goes through it, one statement at
// a time.

#include <functional>
#include <string>

#include "core/database.h"

namespace kelm {

class TRef_DataModule {
public:
    // The connection settings every catalogue database is opened with.
    static ConnectionSettings CatalogueSettings();

    explicit TRef_DataModule(ConnectionSettings settings = CatalogueSettings());

    // Closes the connection if open and opens the database at `path`, exactly
    // as the user chose it.
    void ConnectTo(const std::string& path);
    bool Connected() const { return SQLConnection.IsConnected(); }
    const std::string& DatabasePath() const { return SQLConnection.Path(); }

    // Current value of a generator, read with increment 0 (the generator is not advanced).
    std::int64_t GeneratorValue(const std::string& generator);
    // Adds `value` to the voltage registry "Unom" unless it is there already.
    void EnsureUnom(double value);

    void SetStatementListener(StatementListener* listener) { SQLConnection.SetListener(listener); }
    // Run after every connection made (the programs put their signal handling
    // back in place, over the client library's).
    void SetAfterConnect(std::function<void()> step) { afterConnect_ = std::move(step); }

    Database SQLConnection;
    Query SQLQuery{SQLConnection};        // the shared query of every load, write and generator read
    Query SQLQueryCables{SQLConnection};  // the null-conductor rows of cables, read while SQLQuery is open

private:
    ConnectionSettings settings_;
    std::function<void()> afterConnect_;
};

}  // namespace kelm
