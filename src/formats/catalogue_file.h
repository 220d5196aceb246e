#pragma once
// Every kind of source, chosen in one place by the path's lower-cased
// extension: an exchange file, a spreadsheet (XLSX, ODS, CSV), or else a
// catalogue database.

#include <ctime>
#include <functional>
#include <memory>
#include <string>

#include "core/reference.h"
#include "core/regional.h"

namespace kelm {

class TRef_DataModule;

enum class SourceFormat { Database, ExchangeFile, Xlsx, Ods, Csv };

SourceFormat FormatOfPath(const std::string& path);
// A file the workbench can write a catalogue to: an exchange file, XLSX or CSV.
bool IsWritableFilePath(const std::string& path);
// The extension a file of the format gets (".xml", ...); none for a database.
const char* ExtensionOf(SourceFormat format);

// Opens any source into a new container. Throws OpenError, whose detail
// names the file and, for a spreadsheet, the sheet, the row and the column.
std::unique_ptr<TReference> OpenCatalogue(const std::string& path, TRef_DataModule& db);

// Writes the reference to `path` in the format its extension names, in place
// of the previous file only once complete; then marked records are dropped
// and new records take the identifier -1. Throws FileWriteError (also for a
// path of a format that is not written).
// `progress` hears each category written (of an exchange file), then the
// category count once the file is in place.
void WriteCatalogueFile(TReference& reference, const std::string& path, const RegionalSettings& settings,
                        std::time_t now, const std::function<void(int step)>& progress = {});

}  // namespace kelm
