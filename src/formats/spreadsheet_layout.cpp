#include "formats/spreadsheet_layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <utility>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/number_text.h"

namespace kelm {
namespace {

// What a sheet name may hold in every program that reads ours.
constexpr std::size_t kSheetNameMost = 31;
constexpr std::string_view kNotInSheetNames = "[]:*?/\\";

// The first `count` characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t characters = 0; at < text.size() && characters < count; ++characters) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80) ++at;
    }
    return text.substr(0, at);
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
}

std::array<std::string, kCategoryCount> MakeSheetNames() {
    std::array<std::string, kCategoryCount> names;
    for (int c = 0; c < kCategoryCount; ++c) {
        std::string name = CategoryCaption(c);
        for (char& ch : name)
            if (kNotInSheetNames.find(ch) != std::string_view::npos) ch = '_';
        name = FirstCharacters(name, kSheetNameMost);
        // A cut name that another category's already took gets a number.
        for (int n = 2; std::find(names.begin(), names.begin() + c, name) != names.begin() + c; ++n) {
            const std::string tail = "~" + std::to_string(n);
            name = FirstCharacters(name, kSheetNameMost - tail.size()) + tail;
        }
        names[static_cast<std::size_t>(c)] = name;
    }
    return names;
}

const NumberText& PointNumbers() {
    static const NumberText numbers('.');
    return numbers;
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

}  // namespace

bool SheetCell::IsBlank() const {
    if (kind == Kind::Number) return false;
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ') return false;
    return true;
}

std::vector<int> SheetFields(const TXMLCustomClass& collection) {
    std::vector<int> fields;
    for (int i = 0; i < collection.FieldCount(); ++i)
        if (!collection.Field(i).Is(RowId)) fields.push_back(i);
    return fields;
}

bool HasSheet(const TXMLCustomClass& collection) {
    for (int i = 0; i < collection.Count(); ++i)
        if (collection.GetItem(i)->Deleted != 1) return true;
    return false;
}

const std::string& SheetNameOf(int category) {
    static const std::array<std::string, kCategoryCount> names = MakeSheetNames();
    return names.at(static_cast<std::size_t>(category));
}

SheetCell CellOf(const TXMLCustomClass& collection, const TBaseElement& record, int field) {
    const FieldFacts& facts = collection.Field(field);
    switch (facts.kind) {
        case FieldKind::Number:
        case FieldKind::Whole: {
            const std::string text = collection.FieldText(record, field, PointNumbers());
            if (text.empty()) return {};
            return SheetCell::Number(facts.kind == FieldKind::Whole
                                         ? static_cast<double>(NumberText::ParseInteger(text))
                                         : NumberText::ParseDoubleAnySeparator(text));
        }
        case FieldKind::Choice:
        case FieldKind::Text: {
            std::string text = collection.ShownFieldText(record, field, PointNumbers());
            if (text.empty()) return {};
            return SheetCell::Text(std::move(text));
        }
    }
    return {};
}

std::string NameKey(std::string_view text) {
    std::string key;
    try {
        key = Cp1251FromUtf8(Trimmed(text));
    } catch (const EncodingError&) {
        return std::string(text);
    }
    // Windows-1251 keeps a letter's two cases 32 apart (Ё and ё: 16).
    for (char& c : key) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z') c = static_cast<char>(b + 32);
        else if (b >= 0xC0 && b <= 0xDF) c = static_cast<char>(b + 32);
        else if (b == 0xA8) c = static_cast<char>(0xB8);
    }
    return key;
}

int CategoryNamed(std::string_view text) {
    // Asked once per row of a CSV file: the categories' keys are made once.
    static const std::array<std::pair<std::string, std::string>, kCategoryCount> keys = [] {
        std::array<std::pair<std::string, std::string>, kCategoryCount> made;
        for (int c = 0; c < kCategoryCount; ++c)
            made[static_cast<std::size_t>(c)] = {NameKey(CategoryCaption(c)), NameKey(SheetNameOf(c))};
        return made;
    }();
    const std::string key = NameKey(text);
    for (int c = 0; c < kCategoryCount; ++c)
        if (key == keys[static_cast<std::size_t>(c)].first || key == keys[static_cast<std::size_t>(c)].second) return c;
    return -1;
}

std::string ColumnLetters(int column) {
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26) letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

SheetReader::SheetReader(TXMLCustomClass& collection, const SheetRow& header, std::string where)
    : collection_(collection), where_(std::move(where)) {
    const std::vector<int> fields = SheetFields(collection);
    std::vector<bool> taken(static_cast<std::size_t>(collection.FieldCount()), false);
    for (std::size_t cell = 0; cell < header.size(); ++cell) {
        const SheetCell& name = header[cell];
        headers_.push_back(name.kind == SheetCell::Kind::Number ? PointNumbers().Format(name.number) : name.text);
        if (name.kind != SheetCell::Kind::Text) continue;
        const std::string key = NameKey(name.text);
        for (const int field : fields) {
            const FieldFacts& facts = collection.Field(field);
            if (taken[static_cast<std::size_t>(field)]) continue;
            if (key != NameKey(facts.caption) && key != NameKey(facts.element)) continue;
            taken[static_cast<std::size_t>(field)] = true;
            columns_.push_back({static_cast<int>(cell), field});
            break;
        }
    }
    // An optional field names an element by being unset too.
    for (const int field : collection.IdentityFields()) {
        if (collection.Field(field).Is(RowId) || collection.Field(field).Is(Optional)) continue;
        const auto column = std::find_if(columns_.begin(), columns_.end(), [&](const Column& c) { return c.field == field; });
        if (column == columns_.end())
            throw SpreadsheetError((where_.empty() ? "" : where_ + ", ") + "строка 1: нет столбца " +
                                   Quoted(collection.Field(field).caption) + " (" + CaptionOfCollection(collection) + ")");
        identity_.push_back(column->cell);
    }
}

void SheetReader::Fail(int number, int cell, const std::string& problem) const {
    const std::string& header = headers_.at(static_cast<std::size_t>(cell));
    throw SpreadsheetError((where_.empty() ? "" : where_ + ", ") + "строка " + std::to_string(number) + ", столбец " +
                           ColumnLetters(cell) + " " + Quoted(header) + ": " + problem);
}

void SheetReader::Read(const SheetRow& row, int number) {
    if (std::all_of(row.begin(), row.end(), [](const SheetCell& cell) { return cell.IsBlank(); })) return;
    for (const int cell : identity_)
        if (static_cast<std::size_t>(cell) >= row.size() || row[static_cast<std::size_t>(cell)].IsBlank())
            Fail(number, cell, "нет значения");
    TBaseElement& record = *collection_.AppendNew();
    for (const Column& column : columns_)
        if (static_cast<std::size_t>(column.cell) < row.size())
            Store(record, column, row[static_cast<std::size_t>(column.cell)], number);
}

void SheetReader::Store(TBaseElement& record, const Column& column, const SheetCell& cell, int number) const {
    if (cell.kind == SheetCell::Kind::Empty) return;
    const FieldFacts& facts = collection_.Field(column.field);
    const bool isNumber = cell.kind == SheetCell::Kind::Number;
    const std::string_view text = Trimmed(cell.text);
    std::string value;
    switch (facts.kind) {
        case FieldKind::Text:
            // A spreadsheet program may have taken a mark such as "110" for a number.
            value = isNumber ? NumberText(',').Format(cell.number) : cell.text;
            break;
        case FieldKind::Number:
            value = isNumber ? PointNumbers().Format(cell.number) : std::string(text);
            break;
        case FieldKind::Whole:
            if (isNumber && (cell.number != std::floor(cell.number) || std::fabs(cell.number) > 9e15))
                Fail(number, column.cell, PointNumbers().Format(cell.number) + " — не целое число");
            value = isNumber ? NumberText::Format(static_cast<std::int64_t>(cell.number)) : std::string(text);
            break;
        case FieldKind::Choice: {
            if (!isNumber && text.empty()) break;
            const ChoiceItem* item = nullptr;
            if (isNumber) {
                if (cell.number == std::floor(cell.number) && std::fabs(cell.number) < 1e9)
                    item = facts.ItemOf(static_cast<std::int64_t>(cell.number));
            } else {
                const std::string key = NameKey(text);
                for (const ChoiceItem& candidate : facts.items)
                    if (NameKey(candidate.text) == key) item = &candidate;
            }
            if (!item) {
                std::string items;
                for (const ChoiceItem& candidate : facts.items) items += (items.empty() ? "" : ", ") + Quoted(candidate.text);
                Fail(number, column.cell,
                     (isNumber ? PointNumbers().Format(cell.number) : Quoted(text)) + " — не одно из значений " + items);
            }
            value = NumberText::Format(std::int64_t{item->value});
            break;
        }
    }
    try {
        collection_.SetFieldText(record, column.field, value);
    } catch (const NumberTooLargeError& error) {
        Fail(number, column.cell, Quoted(text) + " — " + DisplayText(error.what()));
    } catch (const ConversionError&) {
        Fail(number, column.cell, Quoted(text) + (facts.kind == FieldKind::Whole ? " — не целое число" : " — не число"));
    } catch (const std::exception& error) {
        Fail(number, column.cell, DisplayText(error.what()));
    }
}

namespace {

int CategoryCell(const SheetRow& header) {
    for (std::size_t cell = 0; cell < header.size(); ++cell)
        if (header[cell].kind == SheetCell::Kind::Text && NameKey(header[cell].text) == NameKey(kCategoryColumn))
            return static_cast<int>(cell);
    return -1;
}

}  // namespace

void ReadCategoryTable(TReference& reference, const std::vector<SheetRow>& rows, const std::string& where) {
    if (rows.empty()) return;
    const SheetRow& header = rows.front();
    const int categoryCell = CategoryCell(header);
    if (categoryCell < 0)
        throw SpreadsheetError((where.empty() ? "" : where + ", ") + "строка 1: нет столбца " + Quoted(kCategoryColumn));
    const auto at = static_cast<std::size_t>(categoryCell);
    std::vector<std::unique_ptr<SheetReader>> readers(static_cast<std::size_t>(reference.CategoryCount()));
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const SheetRow& row = rows[r];
        if (at >= row.size() || row[at].kind != SheetCell::Kind::Text) continue;
        const int category = CategoryNamed(row[at].text);
        if (category < 0) continue;
        auto& reader = readers[static_cast<std::size_t>(category)];
        if (!reader) reader = std::make_unique<SheetReader>(*reference.GetCollection(category), header, where);
        reader->Read(row, static_cast<int>(r) + 1);
    }
}

void ReadSheets(TReference& reference, const std::vector<Sheet>& sheets) {
    reference.ClearAll();
    for (const Sheet& sheet : sheets) {
        if (sheet.rows.empty()) continue;
        const std::string where = "лист " + Quoted(sheet.name);
        const int category = CategoryNamed(sheet.name);
        if (category < 0) {
            if (CategoryCell(sheet.rows.front()) >= 0) ReadCategoryTable(reference, sheet.rows, where);
            continue;
        }
        SheetReader reader(*reference.GetCollection(category), sheet.rows.front(), where);
        for (std::size_t r = 1; r < sheet.rows.size(); ++r) reader.Read(sheet.rows[r], static_cast<int>(r) + 1);
    }
}

}  // namespace kelm
