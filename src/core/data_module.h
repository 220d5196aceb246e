#pragma once
// The program's one catalogue database connection and its shared queries.
// Every database access of every category goes through it, one statement at
// a time.

#include <functional>
#include <map>
#include <optional>
#include <string>

#include "core/database.h"

namespace kelm {

class TRef_DataModule {
public:
    // The connection settings every catalogue database is opened with.
    static ConnectionSettings CatalogueSettings();

    // The catalogue's settings with the login Firebird's clients take from
    // the environment: ISC_USER and ISC_PASSWORD, when set, replace the fixed ones.
    static ConnectionSettings EnvironmentSettings(const std::function<const char*(const char*)>& getenv);

    explicit TRef_DataModule(ConnectionSettings settings = CatalogueSettings());

    // The login the user typed for one server source: it wins over the
    // settings for that source, for as long as the program runs. An empty
    // password keeps the settings' one.
    void RememberLogin(const std::string& source, const std::string& user, const std::string& password);
    // The settings a connection to `source` is opened with.
    ConnectionSettings SettingsFor(const std::string& source) const;

    // Closes the connection if open and opens the database at `path`, exactly
    // as the user chose it.
    void ConnectTo(const std::string& path);
    // Creates an empty database at `path` as catalogues are made (page size
    // 8192, Windows-1251 text) and stays connected to it.
    void CreateAt(const std::string& path);
    bool Connected() const { return SQLConnection.IsConnected(); }
    const std::string& DatabasePath() const { return SQLConnection.Path(); }

    // Current value of a generator, read with increment 0 (the generator is not advanced).
    std::int64_t GeneratorValue(const std::string& generator);
    // Adds `value` to the voltage registry "Unom" unless it is there already.
    void EnsureUnom(double value);
    // What names a voltage of the registry among the shared rows.
    static std::string UnomKey(double value);

    void SetStatementListener(StatementListener* listener) { SQLConnection.SetListener(listener); }
    // Run after every connection made (the programs put their signal handling
    // back in place, over the client library's).
    void SetAfterConnect(std::function<void()> step) { afterConnect_ = std::move(step); }

    // Rows that writers share, found or made while a KeptSharedRows lives, by
    // what names them ("table:values"): a batched save meets the same few
    // types and voltages thousands of times and looks each up once. Such rows
    // are committed at once and never removed by a save, so what was found
    // stays true for the save.
    std::optional<std::int64_t> KnownSharedRow(const std::string& key) const;
    void KnowSharedRow(const std::string& key, std::int64_t ident);

    Database SQLConnection;
    Query SQLQuery{SQLConnection};        // the shared query of every load, write and generator read

private:
    friend class KeptSharedRows;
    void EnsureUnomRow(double value);
    std::optional<std::map<std::string, std::int64_t>> sharedRows_;
    ConnectionSettings settings_;
    std::function<void()> afterConnect_;
    std::map<std::string, std::pair<std::string, std::string>> typedLogins_;  // source: user, password
};

// While it lives, the shared rows found or made are remembered (see
// TRef_DataModule::KnownSharedRow); nothing is remembered when `keep` is false.
class KeptSharedRows {
public:
    KeptSharedRows(TRef_DataModule& db, bool keep);
    ~KeptSharedRows();
    KeptSharedRows(const KeptSharedRows&) = delete;
    KeptSharedRows& operator=(const KeptSharedRows&) = delete;

private:
    TRef_DataModule& db_;
    bool kept_;
};

// Finds a row that writers share (a conductor type, a device type, a
// voltage) or creates it in a short transaction of its own, committed at
// once, so that no writer waits on another's save for it. Another writer may
// create the same row between the look-up and the insert; the insert then
// meets the table's unique key (after that writer's short wait) or its lock,
// and the look-up is made once more. `find` takes the lowest row when there
// are several. True when this writer created the row.
bool FindOrCreateRow(Database& connection, const std::function<bool()>& find, const std::function<void()>& create);

}  // namespace kelm
