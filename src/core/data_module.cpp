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

TRef_DataModule::TRef_DataModule(ConnectionSettings settings) : settings_(std::move(settings)) {}

void TRef_DataModule::ConnectTo(const std::string& path) {
    SQLQuery.Close();
    SQLQueryCables.Close();
    SQLConnection.Disconnect();
    SQLConnection.Connect(path, settings_);
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

}  // namespace kelm
