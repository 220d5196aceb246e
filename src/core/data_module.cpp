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
    SQLQueryCables.Close();
    SQLConnection.Disconnect();
    SQLConnection.Connect(path, SettingsFor(path));
    if (afterConnect_) afterConnect_();
}

std::int64_t TRef_DataModule::GeneratorValue(const std::string& generator) {
    SQLQuery.Close();
    SQLQuery.SetText("select gen_id(\"" + generator + "\",0) from rdb$database");
    SQLQuery.Open();
    const std::int64_t value = SQLQuery.Field(0).AsInteger();
    SQLQuery.Close();
    return value;
}

void TRef_DataModule::EnsureUnom(double value) {
    SQLQuery.Close();
    SQLQuery.SetText(R"(select count(*) from "Unom" where "Unom"=:Unom)");
    SQLQuery.Param(0).SetDouble(value);
    SQLQuery.Open();
    const std::int64_t count = SQLQuery.Field(0).AsInteger();
    SQLQuery.Close();
    if (count != 0) return;
    SQLQuery.SetText(R"( INSERT INTO "Unom" ("Unom") VALUES (:Unom))");
    SQLQuery.Param(0).SetDouble(value);
    SQLQuery.Execute();
}

void FindOrCreateRow(const std::function<bool()>& find, const std::function<void()>& create) {
    if (find()) return;
    try {
        create();
    } catch (const DatabaseError& error) {
        if (!error.UniqueKeyConflict() || !find()) throw;
    }
}

}  // namespace kelm
