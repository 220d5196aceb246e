#include "formats/xlsx_file.h"

#include <xlsxwriter.h>

#include <orcus/orcus_ods.hpp>
#include <orcus/orcus_xlsx.hpp>
#include <orcus/spreadsheet/import_interface.hpp>

#include <cctype>
#include <cerrno>
#include <stdexcept>
#include <memory>
#include <vector>

#include "catalogues/categories.h"
#include "core/exchange_file.h"
#include "formats/spreadsheet_layout.h"

namespace kelm {
namespace {

namespace iface = orcus::spreadsheet::iface;

std::size_t CharacterCount(const char* text) {
    std::size_t count = 0;
    for (; *text != '\0'; ++text) count += (static_cast<unsigned char>(*text) & 0xC0) != 0x80;
    return count;
}

struct WorkbookCloser {
    void operator()(lxw_workbook* workbook) const { workbook_close(workbook); }
};

// Writes the workbook to `file`; false when libxlsxwriter could not.
bool WriteWorkbook(const TReference& reference, const std::string& file) {
    // Not in libxlsxwriter's constant-memory mode: its texts are then written
    // inline in the cells, and readers such as orcus do not see them.
    std::unique_ptr<lxw_workbook, WorkbookCloser> workbook(workbook_new(file.c_str()));
    if (!workbook) return false;
    lxw_format* bold = workbook_add_format(workbook.get());
    format_set_bold(bold);
    bool written = true;
    auto check = [&](lxw_error error) { written = written && error == LXW_NO_ERROR; };
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference.GetCollection(c);
        if (!HasSheet(collection)) continue;
        lxw_worksheet* sheet = workbook_add_worksheet(workbook.get(), SheetNameOf(c).c_str());
        if (!sheet) return false;
        const std::vector<int> fields = SheetFields(collection);
        const auto last = static_cast<lxw_col_t>(fields.size() - 1);
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const char* caption = collection.Field(fields[f]).caption;
            const auto column = static_cast<lxw_col_t>(f);
            // Room for the caption and the filter's button beside it.
            check(worksheet_set_column(sheet, column, column, static_cast<double>(std::max<std::size_t>(CharacterCount(caption), 6) + 4), nullptr));
        }
        for (std::size_t f = 0; f < fields.size(); ++f)
            check(worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(f), collection.Field(fields[f]).caption, bold));
        worksheet_freeze_panes(sheet, 1, 0);
        lxw_row_t row = 0;
        for (int i = 0; i < collection.Count(); ++i) {
            const TBaseElement& record = *collection.GetItem(i);
            if (record.Deleted == 1) continue;
            ++row;
            for (std::size_t f = 0; f < fields.size(); ++f) {
                const SheetCell cell = CellOf(collection, record, fields[f]);
                const auto column = static_cast<lxw_col_t>(f);
                if (cell.kind == SheetCell::Kind::Number)
                    check(worksheet_write_number(sheet, row, column, cell.number, nullptr));
                else if (cell.kind == SheetCell::Kind::Text)
                    check(worksheet_write_string(sheet, row, column, cell.text.c_str(), nullptr));
            }
        }
        check(worksheet_autofilter(sheet, 0, 0, row, last));
    }
    const lxw_error closed = workbook_close(workbook.release());
    return written && closed == LXW_NO_ERROR;
}

// --- Reading through orcus ------------------------------------------------

// The texts of the workbook's cells, kept by their number.
class SharedStrings : public iface::import_shared_strings {
public:
    std::size_t append(std::string_view s) override {
        strings.emplace_back(s);
        return strings.size() - 1;
    }
    std::size_t add(std::string_view s) override { return append(s); }
    void set_segment_font(std::size_t) override {}
    void set_segment_bold(bool) override {}
    void set_segment_italic(bool) override {}
    void set_segment_font_name(std::string_view) override {}
    void set_segment_font_size(double) override {}
    void set_segment_font_color(orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t,
                                orcus::spreadsheet::color_elem_t, orcus::spreadsheet::color_elem_t) override {}
    void append_segment(std::string_view s) override { segments += s; }
    std::size_t commit_segments() override {
        strings.push_back(std::move(segments));
        segments.clear();
        return strings.size() - 1;
    }

    std::vector<std::string> strings;
    std::string segments;
};

// Widths, heights and merged cells say nothing of the values; orcus's ODS
// reader hands them over without asking whether they are wanted.
class SheetLooks : public iface::import_sheet_properties {
public:
    void set_column_width(orcus::spreadsheet::col_t, double, orcus::length_unit_t) override {}
    void set_column_hidden(orcus::spreadsheet::col_t, bool) override {}
    void set_row_height(orcus::spreadsheet::row_t, double, orcus::length_unit_t) override {}
    void set_row_hidden(orcus::spreadsheet::row_t, bool) override {}
    void set_merge_cell_range(const orcus::spreadsheet::range_t&) override {}
};

// Fonts, fills, borders and number formats say nothing of the values either;
// orcus's ODS reader needs somewhere to put them.
namespace ss = orcus::spreadsheet;
class Styles : public iface::import_styles {
public:
    void set_font_count(std::size_t) override {}
    void set_font_bold(bool) override {}
    void set_font_italic(bool) override {}
    void set_font_name(std::string_view) override {}
    void set_font_size(double) override {}
    void set_font_underline(ss::underline_t) override {}
    void set_font_underline_width(ss::underline_width_t) override {}
    void set_font_underline_mode(ss::underline_mode_t) override {}
    void set_font_underline_type(ss::underline_type_t) override {}
    void set_font_underline_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_font_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_strikethrough_style(ss::strikethrough_style_t) override {}
    void set_strikethrough_type(ss::strikethrough_type_t) override {}
    void set_strikethrough_width(ss::strikethrough_width_t) override {}
    void set_strikethrough_text(ss::strikethrough_text_t) override {}
    std::size_t commit_font() override { return 0; }
    void set_fill_count(std::size_t) override {}
    void set_fill_pattern_type(ss::fill_pattern_t) override {}
    void set_fill_fg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_fill_bg_color(ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    std::size_t commit_fill() override { return 0; }
    void set_border_count(std::size_t) override {}
    void set_border_style(ss::border_direction_t, ss::border_style_t) override {}
    void set_border_color(ss::border_direction_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t, ss::color_elem_t) override {}
    void set_border_width(ss::border_direction_t, double, orcus::length_unit_t) override {}
    std::size_t commit_border() override { return 0; }
    void set_cell_hidden(bool) override {}
    void set_cell_locked(bool) override {}
    void set_cell_print_content(bool) override {}
    void set_cell_formula_hidden(bool) override {}
    std::size_t commit_cell_protection() override { return 0; }
    void set_number_format_count(std::size_t) override {}
    void set_number_format_identifier(std::size_t) override {}
    void set_number_format_code(std::string_view) override {}
    std::size_t commit_number_format() override { return 0; }
    void set_cell_xf_count(std::size_t) override {}
    void set_cell_style_xf_count(std::size_t) override {}
    void set_dxf_count(std::size_t) override {}
    void set_xf_font(std::size_t) override {}
    void set_xf_fill(std::size_t) override {}
    void set_xf_border(std::size_t) override {}
    void set_xf_protection(std::size_t) override {}
    void set_xf_number_format(std::size_t) override {}
    void set_xf_style_xf(std::size_t) override {}
    void set_xf_apply_alignment(bool) override {}
    void set_xf_horizontal_alignment(ss::hor_alignment_t) override {}
    void set_xf_vertical_alignment(ss::ver_alignment_t) override {}
    std::size_t commit_cell_xf() override { return 0; }
    std::size_t commit_cell_style_xf() override { return 0; }
    std::size_t commit_dxf() override { return 0; }
    void set_cell_style_count(std::size_t) override {}
    void set_cell_style_name(std::string_view) override {}
    void set_cell_style_xf(std::size_t) override {}
    void set_cell_style_builtin(std::size_t) override {}
    void set_cell_style_parent_name(std::string_view) override {}
    std::size_t commit_cell_style() override { return 0; }
};

class Settings : public iface::import_global_settings {
public:
    void set_origin_date(int, int, int) override {}
    void set_default_formula_grammar(orcus::spreadsheet::formula_grammar_t grammar) override { grammar_ = grammar; }
    orcus::spreadsheet::formula_grammar_t get_default_formula_grammar() const override { return grammar_; }
    void set_character_set(orcus::character_set_t) override {}

private:
    orcus::spreadsheet::formula_grammar_t grammar_ = orcus::spreadsheet::formula_grammar_t::unknown;
};

// One sheet's cells as the file gives them; formats and formulas are not ours.
class SheetCells : public iface::import_sheet {
public:
    SheetCells(Sheet& sheet, const SharedStrings& strings) : sheet_(sheet), strings_(strings) {}
    iface::import_sheet_properties* get_sheet_properties() override { return &looks_; }

    void set_auto(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col, std::string_view s) override {
        At(row, col) = SheetCell::Text(std::string(s));
    }
    void set_string(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col,
                    orcus::spreadsheet::string_id_t id) override {
        At(row, col) = SheetCell::Text(id < strings_.strings.size() ? strings_.strings[id] : std::string());
    }
    void set_value(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col, double value) override {
        At(row, col) = SheetCell::Number(value);
    }
    void set_bool(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col, bool value) override {
        At(row, col) = SheetCell::Number(value ? 1 : 0);
    }
    void set_date_time(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col, int year, int month, int day,
                       int, int, double) override {
        At(row, col) = SheetCell::Text(std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year));
    }
    void set_format(orcus::spreadsheet::row_t, orcus::spreadsheet::col_t, std::size_t) override {}
    void set_format(orcus::spreadsheet::row_t, orcus::spreadsheet::col_t, orcus::spreadsheet::row_t,
                    orcus::spreadsheet::col_t, std::size_t) override {}
    void fill_down_cells(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col,
                         orcus::spreadsheet::row_t count) override {
        const SheetCell cell = At(row, col);
        for (orcus::spreadsheet::row_t r = 1; r <= count; ++r) At(row + r, col) = cell;
    }
    orcus::spreadsheet::range_size_t get_sheet_size() const override { return {1048576, 16384}; }

private:
    SheetCell& At(orcus::spreadsheet::row_t row, orcus::spreadsheet::col_t col) {
        auto& rows = sheet_.rows;
        const auto r = static_cast<std::size_t>(row), c = static_cast<std::size_t>(col);
        if (rows.size() <= r) rows.resize(r + 1);
        if (rows[r].size() <= c) rows[r].resize(c + 1);
        return rows[r][c];
    }

    Sheet& sheet_;
    const SharedStrings& strings_;
    SheetLooks looks_;
};

// Cell addresses as the file writes them ("A1", "$B$2", "Sheet!A1:C3"):
// orcus asks for them to place the cells.
class Addresses : public iface::import_reference_resolver {
public:
    orcus::spreadsheet::src_address_t resolve_address(std::string_view address) override {
        const std::size_t sheet = address.find_last_of("!.");
        if (sheet != std::string_view::npos) address.remove_prefix(sheet + 1);
        orcus::spreadsheet::src_address_t resolved{0, 0, 0};
        std::size_t at = 0;
        auto skipDollar = [&] {
            if (at < address.size() && address[at] == '$') ++at;
        };
        skipDollar();
        int column = 0, row = 0;
        const std::size_t letters = at;
        for (; at < address.size() && std::isalpha(static_cast<unsigned char>(address[at])); ++at)
            column = column * 26 + (std::toupper(static_cast<unsigned char>(address[at])) - 'A' + 1);
        skipDollar();
        const std::size_t digits = at;
        for (; at < address.size() && std::isdigit(static_cast<unsigned char>(address[at])); ++at)
            row = row * 10 + (address[at] - '0');
        if (at == letters || digits == at || at != address.size() || column == 0 || row == 0)
            throw std::invalid_argument("not a cell address: " + std::string(address));
        resolved.row = row - 1;
        resolved.column = column - 1;
        return resolved;
    }
    orcus::spreadsheet::src_range_t resolve_range(std::string_view range) override {
        const std::size_t colon = range.find(':');
        if (colon == std::string_view::npos) {
            const auto address = resolve_address(range);
            return {address, address};
        }
        return {resolve_address(range.substr(0, colon)), resolve_address(range.substr(colon + 1))};
    }
};

class WorkbookCells : public iface::import_factory {
public:
    iface::import_shared_strings* get_shared_strings() override { return &strings_; }
    iface::import_global_settings* get_global_settings() override { return &settings_; }
    iface::import_styles* get_styles() override { return &styles_; }
    iface::import_reference_resolver* get_reference_resolver(orcus::spreadsheet::formula_ref_context_t) override {
        return &addresses_;
    }
    // Sheets and their cells stay where they are made: orcus keeps pointers to them.
    iface::import_sheet* append_sheet(orcus::spreadsheet::sheet_t, std::string_view name) override {
        sheets_.push_back(std::make_unique<Sheet>(Sheet{std::string(name), {}}));
        cells_.push_back(std::make_unique<SheetCells>(*sheets_.back(), strings_));
        return cells_.back().get();
    }
    iface::import_sheet* get_sheet(std::string_view name) override {
        for (std::size_t i = 0; i < sheets_.size(); ++i)
            if (sheets_[i]->name == name) return cells_[i].get();
        return nullptr;
    }
    iface::import_sheet* get_sheet(orcus::spreadsheet::sheet_t index) override {
        return index >= 0 && static_cast<std::size_t>(index) < cells_.size() ? cells_[static_cast<std::size_t>(index)].get()
                                                                              : nullptr;
    }
    void finalize() override {}

    std::vector<Sheet> TakeSheets() {
        std::vector<Sheet> sheets;
        for (auto& sheet : sheets_) sheets.push_back(std::move(*sheet));
        return sheets;
    }

private:
    SharedStrings strings_;
    Settings settings_;
    Styles styles_;
    Addresses addresses_;
    std::vector<std::unique_ptr<Sheet>> sheets_;
    std::vector<std::unique_ptr<SheetCells>> cells_;
};

template <class Filter>
void ReadWorkbook(TReference& reference, const std::string& path) {
    WorkbookCells cells;
    Filter filter(&cells);
    filter.read_file(path);
    ReadSheets(reference, cells.TakeSheets());
}

}  // namespace

void WriteXlsxFile(const TReference& reference, const std::string& path) {
    WriteFileInPlaceOf(path, [&](int, const std::string& temporary) { return WriteWorkbook(reference, temporary) ? 0 : EIO; });
}

void ReadXlsxFile(TReference& reference, const std::string& path) { ReadWorkbook<orcus::orcus_xlsx>(reference, path); }

void ReadOdsFile(TReference& reference, const std::string& path) { ReadWorkbook<orcus::orcus_ods>(reference, path); }

}  // namespace kelm
