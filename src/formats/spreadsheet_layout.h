#pragma once
// How a catalogue lies in a spreadsheet, the same for every format: a table
// per category with a header row of the fields' captions and a row per
// element. The writers take their cells from here; the readers hand their
// cells back here, and only here is a cell turned into a field's value.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/reference.h"

namespace kelm {

struct SheetCell {
    enum class Kind : std::uint8_t { Empty, Number, Text };
    Kind kind = Kind::Empty;
    double number = 0;
    std::string text;  // UTF-8

    static SheetCell Number(double value) { return {Kind::Number, value, {}}; }
    static SheetCell Text(std::string value) { return {Kind::Text, 0, std::move(value)}; }
    bool IsBlank() const;  // empty, or text of nothing but blanks
};

using SheetRow = std::vector<SheetCell>;

// One table as a reader found it: the first row is the header.
struct Sheet {
    std::string name;  // UTF-8
    std::vector<SheetRow> rows;
};

// A value that cannot be read; `what` names the sheet, the row and the column.
class SpreadsheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The fields a sheet has columns for: all but database row identifiers, in
// the category's order.
std::vector<int> SheetFields(const TXMLCustomClass& collection);

// Whether the category has a sheet: it holds an element not marked deleted.
// Marked elements are never written.
bool HasSheet(const TXMLCustomClass& collection);

// The name of the category's sheet: its caption, cut to what a sheet name
// may hold and still told apart from every other category's.
const std::string& SheetNameOf(int category);

// A cell of a field: numbers as numbers, a choice as its item's text, an
// unset value as an empty cell.
SheetCell CellOf(const TXMLCustomClass& collection, const TBaseElement& record, int field);

// How a text names a column, a sheet or a category: blanks around it and
// the letter case do not count.
std::string NameKey(std::string_view text);

// The category a sheet or a "Категория" cell names (its caption, or its
// sheet name), or -1.
int CategoryNamed(std::string_view text);

// "C" for the third column: how a spreadsheet program names it.
std::string ColumnLetters(int column);

// Reads the rows of one category under a header. `where` starts every error
// message ("лист \"…\"", or the file's own name for a single table).
class SheetReader {
public:
    // Throws SpreadsheetError when an identity field that cannot be unset has no column.
    SheetReader(TXMLCustomClass& collection, const SheetRow& header, std::string where);
    // Appends a record from `row` (`number` as a spreadsheet counts rows, the
    // header being 1); a row of nothing but blank cells is passed over.
    void Read(const SheetRow& row, int number);

private:
    struct Column {
        int cell;
        int field;
    };
    [[noreturn]] void Fail(int number, int cell, const std::string& problem) const;
    void Store(TBaseElement& record, const Column& column, const SheetCell& cell, int number) const;

    TXMLCustomClass& collection_;
    std::vector<Column> columns_;
    std::vector<std::string> headers_;  // the header's text of each cell
    std::vector<int> identity_;         // cells of the identity fields
    std::string where_;
};

// The first column of a table that holds several categories, each row
// naming its element's category by its caption.
inline constexpr const char* kCategoryColumn = "Категория";

// Reads a table with a column kCategoryColumn (a CSV file, or a sheet a
// spreadsheet program made of one): the rows that name no category are
// passed over. Throws SpreadsheetError.
void ReadCategoryTable(TReference& reference, const std::vector<SheetRow>& rows, const std::string& where);

// Fills `reference` (emptied first) from the sheets: a sheet named as a
// category holds that category, one with a column kCategoryColumn any;
// other sheets are passed over. Throws SpreadsheetError.
void ReadSheets(TReference& reference, const std::vector<Sheet>& sheets);

}  // namespace kelm
