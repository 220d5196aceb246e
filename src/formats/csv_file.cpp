#include "formats/csv_file.h"

#include <unistd.h>

#include <cerrno>
#include <map>
#include <memory>
#include <vector>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/exchange_file.h"
#include "core/number_text.h"
#include "formats/spreadsheet_layout.h"

namespace kelm {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// RFC 4180: a value with the separator, a quote or a line end goes in
// quotes, its quotes doubled. So does one with blanks around it, which a
// spreadsheet program would otherwise drop.
void AppendValue(std::string& line, std::string_view value) {
    const bool quoted = value.find_first_of(";\"\r\n") != std::string_view::npos ||
                        (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quoted) {
        line += value;
        return;
    }
    line += '"';
    for (const char c : value) {
        if (c == '"') line += '"';
        line += c;
    }
    line += '"';
}

// A field of several categories that share its caption shares one column;
// a caption a category has twice has two.
struct CsvColumns {
    std::vector<std::string> captions;
    std::vector<std::vector<int>> fieldColumns;  // per category: the column of each SheetFields field
};

CsvColumns ColumnsOf(const TReference& reference) {
    CsvColumns columns;
    std::map<std::string, int> byKey;
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference.GetCollection(c);
        columns.fieldColumns.emplace_back();
        if (!HasSheet(collection)) continue;
        std::map<std::string, int> seen;
        for (const int field : SheetFields(collection)) {
            const std::string caption = collection.Field(field).caption;
            const std::string key = caption + '\n' + std::to_string(seen[caption]++);
            const auto [at, added] = byKey.emplace(key, static_cast<int>(columns.captions.size()));
            if (added) columns.captions.push_back(caption);
            columns.fieldColumns.back().push_back(at->second);
        }
    }
    return columns;
}

// UTF-16 with its byte-order mark, as some programs save "Unicode text".
std::string Utf8FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string text;
    auto unit = [&](std::size_t at) -> unsigned {
        const auto a = static_cast<unsigned char>(bytes[at]), b = static_cast<unsigned char>(bytes[at + 1]);
        return bigEndian ? (a << 8u) | b : (b << 8u) | a;
    };
    for (std::size_t at = 0; at + 1 < bytes.size(); at += 2) {
        unsigned code = unit(at);
        if (code >= 0xD800 && code < 0xDC00 && at + 3 < bytes.size()) {
            const unsigned low = unit(at + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                code = 0x10000 + ((code - 0xD800) << 10u) + (low - 0xDC00);
                at += 2;
            }
        }
        if (code < 0x80) {
            text += static_cast<char>(code);
        } else if (code < 0x800) {
            text += static_cast<char>(0xC0 | (code >> 6u));
            text += static_cast<char>(0x80 | (code & 0x3Fu));
        } else if (code < 0x10000) {
            text += static_cast<char>(0xE0 | (code >> 12u));
            text += static_cast<char>(0x80 | ((code >> 6u) & 0x3Fu));
            text += static_cast<char>(0x80 | (code & 0x3Fu));
        } else {
            text += static_cast<char>(0xF0 | (code >> 18u));
            text += static_cast<char>(0x80 | ((code >> 12u) & 0x3Fu));
            text += static_cast<char>(0x80 | ((code >> 6u) & 0x3Fu));
            text += static_cast<char>(0x80 | (code & 0x3Fu));
        }
    }
    return text;
}

std::string Utf8Text(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark)) return std::string(bytes.substr(kUtf8Mark.size()));
    if (bytes.starts_with("\xFF\xFE")) return Utf8FromUtf16(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF")) return Utf8FromUtf16(bytes.substr(2), true);
    return DisplayText(bytes);  // valid UTF-8 as it is, anything else as Windows-1251
}

// The separator the header line uses most, outside quotes.
char SeparatorOf(std::string_view text) {
    int semicolons = 0, commas = 0, tabs = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n' || c == '\r') break;
        semicolons += c == ';';
        commas += c == ',';
        tabs += c == '\t';
    }
    if (commas > semicolons && commas > tabs) return ',';
    if (tabs > semicolons) return '\t';
    return ';';
}

std::vector<SheetRow> Rows(std::string_view text, char separator) {
    std::vector<SheetRow> rows;
    SheetRow row;
    SheetCell cell;
    std::size_t at = 0;
    auto endCell = [&] {
        row.push_back(std::move(cell));
        cell = SheetCell();
    };
    while (at < text.size()) {
        const char c = text[at];
        if (c == '"' && cell.kind == SheetCell::Kind::Empty) {
            cell.kind = SheetCell::Kind::Text;
            for (++at; at < text.size(); ++at) {
                if (text[at] != '"') {
                    cell.text += text[at];
                } else if (at + 1 < text.size() && text[at + 1] == '"') {
                    cell.text += '"';
                    ++at;
                } else {
                    break;
                }
            }
            ++at;  // the closing quote; what follows it up to the separator is kept too
            continue;
        }
        if (c == separator) {
            endCell();
        } else if (c == '\r' || c == '\n') {
            endCell();
            rows.push_back(std::move(row));
            row.clear();
            if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
        } else {
            cell.kind = SheetCell::Kind::Text;
            cell.text += c;
        }
        ++at;
    }
    if (cell.kind != SheetCell::Kind::Empty || !row.empty()) {
        endCell();
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

std::string CsvText(const TReference& reference) {
    const CsvColumns columns = ColumnsOf(reference);
    const NumberText comma(',');
    std::string text(kUtf8Mark);
    AppendValue(text, kCategoryColumn);
    for (const std::string& caption : columns.captions) {
        text += ';';
        AppendValue(text, caption);
    }
    text += "\r\n";
    std::vector<std::string> values(columns.captions.size());
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference.GetCollection(c);
        const std::vector<int> fields = SheetFields(collection);
        const std::vector<int>& at = columns.fieldColumns[static_cast<std::size_t>(c)];
        for (int i = 0; i < collection.Count(); ++i) {
            const TBaseElement& record = *collection.GetItem(i);
            if (record.Deleted == 1) continue;
            for (std::size_t f = 0; f < fields.size(); ++f)
                values[static_cast<std::size_t>(at[f])] = collection.Field(fields[f]).kind == FieldKind::Number
                                                              ? collection.FieldText(record, fields[f], comma)
                                                              : collection.ShownFieldText(record, fields[f], comma);
            AppendValue(text, CategoryCaption(c));
            for (std::string& value : values) {
                text += ';';
                AppendValue(text, value);
                value.clear();
            }
            text += "\r\n";
        }
    }
    return text;
}

void WriteCsvFile(const TReference& reference, const std::string& path) {
    const std::string text = CsvText(reference);
    WriteFileInPlaceOf(path, [&](int fd, const std::string&) {
        std::size_t done = 0;
        while (done < text.size()) {
            const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return errno;
            done += static_cast<std::size_t>(n);
        }
        return 0;
    });
}

void ReadCsvText(TReference& reference, std::string_view bytes) {
    reference.ClearAll();
    const std::string text = Utf8Text(bytes);
    const std::vector<SheetRow> rows = Rows(text, SeparatorOf(text));
    ReadCategoryTable(reference, rows, "");
}

}  // namespace kelm
