#include "app/catalogue_creation.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "app/catalogue_tool.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/server_source.h"
#include "core/sql_script.h"

namespace kelm {

std::string CatalogueSchemaPath() {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path program = fs::read_symlink("/proc/self/exe", error);
    std::vector<fs::path> places;
    if (!error) places.push_back(program.parent_path().parent_path() / "share/kelm-exchange/catalogue.sql");
    places.emplace_back(KELM_INSTALLED_SCHEMA);
    places.emplace_back(KELM_SOURCE_SCHEMA);
    for (const fs::path& place : places)
        if (fs::is_regular_file(place, error)) return place.string();
    return {};
}

int CreateCatalogue(const std::string& path, std::ostream& err, TRef_DataModule& db) {
    const std::string schema = CatalogueSchemaPath();
    std::ifstream in(schema, std::ios::binary);
    if (schema.empty() || !in) {
        err << "Не найдена схема базы справочников (share/kelm-exchange/catalogue.sql).\n";
        return ExitBadFile;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::error_code error;
    if (!IsServerSource(path) && std::filesystem::exists(path, error)) {
        err << "Ошибка в файле.\n" << path << ": файл уже существует\n";
        return ExitBadFile;
    }
    try {
        db.CreateAt(path);
        RunScript(db.SQLConnection, text.str());
        db.SQLConnection.Disconnect();
    } catch (const std::exception& failure) {
        db.SQLConnection.Disconnect();
        // A half-made database is no catalogue.
        if (!IsServerSource(path)) std::filesystem::remove(path, error);
        err << "Не удалось создать базу справочников.\n" << path << ": " << DisplayText(failure.what()) << "\n";
        return ExitBadFile;
    }
    return ExitOk;
}

}  // namespace kelm
