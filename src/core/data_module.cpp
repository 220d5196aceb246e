#include "core/data_module.h"

namespace kelm {

ConnectionSettings TRef_DataModule::CatalogueSettings() {
    ConnectionSettings settings;
    settings.user = "sysdba";
    settings.password = "quillaxen";
    settings.role = "RoleName";
    settings.charset = "WIN1251";
    settings.dialect = 3;
    return settings;
}

ConnectionSettings TRef_DataModule::EnvironmentSettings(const std::function<const char*(const char*)>& getenv) {
    ConnectionSettings settings = CatalogueSettings();
    if (const char* user = getenv("ISC_USER"); user && *user) settings.user = user;
    if (const char* password = getenv("ISC_PASSWORD"); password && *password) settings.password = password;
    return settings;
}

TRef_DataModule::TRef_DataModule(ConnectionSettings settings) : settings_(std::move(settings)) {}

void TRef_DataModule::RememberLogin(const std::string& source, const std::string& user, const std::string& password) {
    typedLogins_[source] = {user, password};
}

ConnectionSettings TRef_DataModule::SettingsFor(const std::string& source) const {
    ConnectionSettings settings = settings_;
    const auto typed = typedLogins_.find(source);
    if (typed != typedLogins_.end()) {
        if (!typed->second.first.empty()) settings.user = typed->second.first;
        if (!typed->second.second.empty()) settings.password = typed->second.second;
    }
    return settings;
}

void TRef_DataModule::ConnectTo(const std::string& path) {
    SQLQuery.Close();
    SQLConnection.Disconnect();
    SQLConnection.Connect(path, SettingsFor(path));
    if (afterConnect_) afterConnect_();
}

void TRef_DataModule::CreateAt(const std::string& path) {
    SQLQuery.Close();
    SQLConnection.Disconnect();
    SQLConnection.Create(path, SettingsFor(path), "WIN1251", 8192);
    if (afterConnect_) afterConnect_();
}

std::optional<std::int64_t> TRef_DataModule::KnownSharedRow(const std::string& key) const {
    if (!sharedRows_) return std::nullopt;
    const auto found = sharedRows_->find(key);
    if (found == sharedRows_->end()) return std::nullopt;
    return found->second;
}

void TRef_DataModule::KnowSharedRow(const std::string& key, std::int64_t ident) {
    if (sharedRows_) (*sharedRows_)[key] = ident;
}

KeptSharedRows::KeptSharedRows(TRef_DataModule& db, bool keep) : db_(db), kept_(keep && !db.sharedRows_) {
    if (kept_) db_.sharedRows_.emplace();
}

KeptSharedRows::~KeptSharedRows() {
    if (kept_) db_.sharedRows_.reset();
}

std::int64_t TRef_DataModule::GeneratorValue(const std::string& generator) {
    SQLQuery.Close();
    SQLQuery.SetText("select gen_id(\"" + generator + "\",0) from rdb$database");
    SQLQuery.Open();
    const std::int64_t value = SQLQuery.Field(0).AsInteger();
    SQLQuery.Close();
    return value;
}

std::string TRef_DataModule::UnomKey(double value) {
    std::string key = "Unom:";
    key.append(reinterpret_cast<const char*>(&value), sizeof value);
    return key;
}

void TRef_DataModule::EnsureUnom(double value) {
    const std::string key = UnomKey(value);
    if (KnownSharedRow(key)) return;
    EnsureUnomRow(value);
    KnowSharedRow(key, 0);
}

void TRef_DataModule::EnsureUnomRow(double value) {
    Query& q = SQLQuery;
    auto find = [&] {
        q.Close();
        q.SetText(R"(select count(*) from "Unom" where "Unom"=:Unom)");
        q.Param(0).SetDouble(value);
        q.Open();
        const bool found = q.Field(0).AsInteger() != 0;
        q.Close();
        return found;
    };
    auto create = [&] {
        q.SetText(R"( INSERT INTO "Unom" ("Unom") VALUES (:Unom))");
        q.Param(0).SetDouble(value);
        q.Execute();
    };
    if (!FindOrCreateRow(SQLConnection, find, create)) return;
    // The registry has no unique key: two writers that both found nothing
    // have both inserted. The first row stays (each writer that sees more
    // removes the same ones), and nothing refers to the others. A writer
    // that meets another's removal of the same rows looks once more.
    for (int attempt = 1;; ++attempt) {
        try {
            SideTransaction side(SQLConnection);
            q.SetText(R"(delete from "Unom" u where u."Unom"=:Unom and u.rdb$db_key >
                         (select min(o.rdb$db_key) from "Unom" o where o."Unom"=:Unom))");
            q.Param(0).SetDouble(value);
            q.Param(1).SetDouble(value);
            q.Execute();
            side.commit();
            return;
        } catch (const DatabaseError& error) {
            if (error.Unwritable()) throw;
            if (attempt == 3) return;  // the other writer's removal is still going: it leaves one row
        }
    }
}

bool FindOrCreateRow(Database& connection, const std::function<bool()>& find, const std::function<void()>& create) {
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        if (find()) return false;
        try {
            SideTransaction side(connection);
            create();
            side.commit();
        } catch (const DatabaseError& error) {
            // Another writer made the row meanwhile (its insert met the key),
            // or still holds it: the look-up is made again.
            if (!(error.UniqueKeyConflict() || error.LockConflict()) || attempt == kAttempts) throw;
            continue;
        }
        // A table without a unique key may now hold another writer's row as
        // well: the look-up takes the lowest, which every writer agrees on.
        if (!find()) throw DatabaseError("a row just made is not found");
        return true;
    }
}

}  // namespace kelm
