#pragma once
// A catalogue as a workbook: one sheet per category that has elements.

#include <string>

#include "core/reference.h"

namespace kelm {

// Writes an XLSX workbook in place of `path`: the header bold and frozen,
// an autofilter over each sheet, columns as wide as their captions.
// Throws FileWriteError.
void WriteXlsxFile(const TReference& reference, const std::string& path);

// Fills `reference` (emptied first) from an XLSX or ODS workbook: a sheet
// that names no category is passed over. Throws SpreadsheetError for a value
// and std::runtime_error for a file that is no such workbook.
void ReadXlsxFile(TReference& reference, const std::string& path);
void ReadOdsFile(TReference& reference, const std::string& path);

}  // namespace kelm
