#include "app/catalogue_tool.h"

#include <ctime>
#include <ostream>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/exchange_file.h"

namespace kelm {
namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  kelm-catalogue dump ИСТОЧНИК\n"
    "      выводит справочник так, как его показывает дерево окна\n"
    "  kelm-catalogue convert ИСТОЧНИК ЦЕЛЬ.xml\n"
    "      записывает справочник в обменный файл\n"
    "ИСТОЧНИК: обменный файл (*.xml) или база справочников (любое другое расширение).\n"
    "Коды завершения: 0 успех, 1 ошибка в файле, 2 база более ранней версии, 64 неверный вызов.\n";

int Usage(std::ostream& err, const std::string& problem) {
    err << "kelm-catalogue: " << problem << "\n" << kUsage;
    return ExitUsage;
}

}  // namespace

void DumpCatalogue(const TReference& reference, const NumberText& numbers, std::ostream& out) {
    out << "Справочник Kelm 3\n";
    for (int i = 0; i < reference.CategoryCount(); ++i) {
        out << CategoryCaption(i) << "\n";
        const TXMLCustomClass* collection = reference.GetCollection(i);
        if (!collection) continue;
        for (int k = 0; k < collection->Count(); ++k)
            out << "  " << Utf8FromCp1251(collection->Label(*collection->GetItem(k), numbers)) << "\n";
    }
}

int RunCatalogueTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const RegionalSettings& settings, TRef_DataModule& db) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return ExitOk;
    }
    if (args.empty()) return Usage(err, "не указана команда");
    const std::string& command = args[0];
    if (command == "dump" && args.size() != 2) return Usage(err, "dump ждёт один источник");
    if (command == "convert" && args.size() != 3) return Usage(err, "convert ждёт источник и обменный файл");
    if (command != "dump" && command != "convert") return Usage(err, "неизвестная команда \"" + command + "\"");
    if (command == "convert" && !IsExchangeFilePath(args[2]))
        return Usage(err, "обменный файл должен иметь расширение .xml: " + args[2]);

    std::unique_ptr<TReference> reference;
    try {
        reference = OpenSource(args[1], db, NewReference);
    } catch (const OpenError& error) {
        err << error.what() << "\n" << error.detail << "\n";
        return error.kind == OpenError::Kind::OlderDatabase ? ExitOlderDatabase : ExitBadFile;
    }
    if (command == "dump") {
        DumpCatalogue(*reference, settings.Numbers(), out);
        return ExitOk;
    }
    try {
        WriteExchangeFile(*reference, args[2], settings, std::time(nullptr));
    } catch (const FileWriteError& error) {
        err << "Не удалось записать файл.\n" << error.what() << "\n";
        return ExitBadFile;
    }
    return ExitOk;
}

}  // namespace kelm
