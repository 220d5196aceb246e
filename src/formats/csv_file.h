#pragma once
// A catalogue as one CSV table: a first column "Категория" with the
// category's caption, then the columns of every category present. Written as
// a Russian spreadsheet program opens it with a double click; read from
// whatever such programs write.

#include <string>
#include <string_view>

#include "core/reference.h"

namespace kelm {

// The whole file's text: UTF-8 with a byte-order mark, ";" between values,
// the decimal comma, quoting as RFC 4180, lines ending in CR LF.
std::string CsvText(const TReference& reference);
// Writes CsvText in place of `path` (FileWriteError).
void WriteCsvFile(const TReference& reference, const std::string& path);

// Fills `reference` (emptied first) from CSV text: the encoding from the
// byte-order mark, else UTF-8 when the bytes are valid UTF-8, else
// Windows-1251; the separator ";", "," or tab, whichever the header line
// uses. Rows of no category are passed over. Throws SpreadsheetError.
void ReadCsvText(TReference& reference, std::string_view text);

}  // namespace kelm
