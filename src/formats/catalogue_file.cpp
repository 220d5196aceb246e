#include "formats/catalogue_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/exchange_file.h"
#include "core/server_source.h"
#include "formats/csv_file.h"
#include "formats/spreadsheet_layout.h"
#include "formats/xlsx_file.h"

namespace kelm {
namespace {

std::string LowerExtension(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

std::string FileText(const std::string& path) {
    struct stat named {};
    if (stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode))
        throw OpenError(OpenError::Kind::BadFile, path + ": not a regular file");
    std::ifstream file(path, std::ios::binary);
    if (!file) throw OpenError(OpenError::Kind::BadFile, path + ": cannot be read");
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void ReadSpreadsheet(TReference& reference, const std::string& path, SourceFormat format) {
    if (format == SourceFormat::Csv) {
        ReadCsvText(reference, FileText(path));
        return;
    }
    // orcus opens anything; only a regular file is a catalogue.
    struct stat named {};
    if (stat(path.c_str(), &named) != 0 || !S_ISREG(named.st_mode))
        throw OpenError(OpenError::Kind::BadFile, path + ": not a regular file");
    if (format == SourceFormat::Xlsx)
        ReadXlsxFile(reference, path);
    else
        ReadOdsFile(reference, path);
}

}  // namespace

SourceFormat FormatOfPath(const std::string& path) {
    if (IsServerSource(path)) return SourceFormat::Database;
    const std::string extension = LowerExtension(path);
    if (extension == ".xml") return SourceFormat::ExchangeFile;
    if (extension == ".xlsx") return SourceFormat::Xlsx;
    if (extension == ".ods") return SourceFormat::Ods;
    if (extension == ".csv") return SourceFormat::Csv;
    return SourceFormat::Database;
}

bool IsWritableFilePath(const std::string& path) {
    const SourceFormat format = FormatOfPath(path);
    return format == SourceFormat::ExchangeFile || format == SourceFormat::Xlsx || format == SourceFormat::Csv;
}

const char* ExtensionOf(SourceFormat format) {
    switch (format) {
        case SourceFormat::ExchangeFile: return ".xml";
        case SourceFormat::Xlsx: return ".xlsx";
        case SourceFormat::Ods: return ".ods";
        case SourceFormat::Csv: return ".csv";
        case SourceFormat::Database: break;
    }
    return "";
}

std::unique_ptr<TReference> OpenCatalogue(const std::string& path, TRef_DataModule& db) {
    const SourceFormat format = FormatOfPath(path);
    if (format == SourceFormat::Database || format == SourceFormat::ExchangeFile)
        return OpenSource(path, db, NewReference);
    std::unique_ptr<TReference> reference = NewReference();
    try {
        ReadSpreadsheet(*reference, path, format);
    } catch (const OpenError&) {
        throw;
    } catch (const std::exception& error) {
        throw OpenError(OpenError::Kind::BadFile, path + ": " + DisplayText(error.what()));
    }
    reference->FileName = path;
    reference->SourceKind = SpreadsheetSource;
    return reference;
}

void WriteCatalogueFile(TReference& reference, const std::string& path, const RegionalSettings& settings,
                        std::time_t now, const std::function<void(int step)>& progress) {
    switch (FormatOfPath(path)) {
        case SourceFormat::ExchangeFile:
            WriteExchangeFile(reference, path, settings, now, progress);
            return;
        case SourceFormat::Xlsx:
            WriteXlsxFile(reference, path);
            break;
        case SourceFormat::Csv:
            WriteCsvFile(reference, path);
            break;
        case SourceFormat::Ods:
        case SourceFormat::Database:
            throw FileWriteError(std::string(kBadFileMessage) + "\n" + path +
                                 ": справочник записывается только в файлы .xml, .xlsx и .csv");
    }
    if (progress) progress(reference.CategoryCount());
    reference.FinishXmlSave();
    reference.SourceKind = SpreadsheetSource;
    reference.Network = NetworkUse();
    reference.FileName = path;
}

}  // namespace kelm
