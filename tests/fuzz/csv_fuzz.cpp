// The CSV reader: any bytes either read as a catalogue or fail with a
// message, and a catalogue read is written and read back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "catalogues/categories.h"
#include "decisions/comparison.h"
#include "formats/csv_file.h"
#include "formats/spreadsheet_layout.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto read = kelm::NewReference();
    try {
        kelm::ReadCsvText(*read, bytes);
    } catch (const kelm::SpreadsheetError&) {
        return 0;
    }
    const auto again = kelm::NewReference();
    try {
        kelm::ReadCsvText(*again, kelm::CsvText(*read));
    } catch (const kelm::SpreadsheetError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        Fail("a catalogue written as CSV cannot be read back");
    }
    if (!kelm::CatalogueComparison(*read, *again).Same()) Fail("a catalogue written as CSV reads back otherwise");
    return 0;
}
