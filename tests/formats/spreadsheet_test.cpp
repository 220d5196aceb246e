// Spreadsheets as sources: every category written and read back the same,
// and each way a spreadsheet can be wrong told with its sheet, row and column.

#include <gtest/gtest.h>
#include <xlsxwriter.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "bench/catalogue_generator.h"
#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/exchange_file.h"
#include "decisions/comparison.h"
#include "formats/catalogue_file.h"
#include "formats/csv_file.h"
#include "formats/spreadsheet_layout.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::TempDir;
using test::W;

std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// A generated catalogue over all 19 categories, its first element of each
// with every value at an edge: a mark with ";" and quotes, the smallest and
// the largest numbers; its second with every optional field unset.
std::unique_ptr<TReference> EdgeCatalogue() {
    auto reference = bench::GenerateCatalogue(600, 7);
    for (int c = 0; c < reference->CategoryCount(); ++c) {
        TXMLCustomClass& collection = *reference->GetCollection(c);
        EXPECT_GE(collection.Count(), 2) << CategoryCaption(c);
        TBaseElement& edges = *collection.GetItem(0);
        TBaseElement& unset = *collection.GetItem(1);
        bool large = false;
        for (const int field : SheetFields(collection)) {
            const FieldFacts& facts = collection.Field(field);
            if (facts.kind == FieldKind::Text) collection.SetFieldText(edges, field, "Марка; \"в кавычках\", ёЁ");
            if (facts.kind == FieldKind::Number)
                collection.SetFieldText(edges, field, (large = !large) ? "9.87654321098765e+250" : "-1.25e-300");
            if (facts.Is(Optional)) collection.SetFieldText(unset, field, "");
        }
        collection.RecordsChanged();
    }
    return reference;
}

class Spreadsheets : public ::testing::Test {
protected:
    std::unique_ptr<TReference> Open(const std::string& path) {
        try {
            return OpenCatalogue(path, db);
        } catch (const OpenError& error) {
            ADD_FAILURE() << error.detail;
            return NewReference();
        }
    }
    // The detail of the failure to open `path`, or "opened".
    std::string OpenFailure(const std::string& path) {
        try {
            OpenCatalogue(path, db);
        } catch (const OpenError& error) {
            EXPECT_STREQ(error.what(), "Ошибка в файле.");
            return error.detail;
        }
        return "opened";
    }

    TempDir dir;
    TRef_DataModule db;
    RegionalSettings settings;
};

TEST_F(Spreadsheets, EveryCategoryRoundTripsThroughXlsxAndCsv) {
    const auto original = EdgeCatalogue();
    for (const char* name : {"catalogue.xlsx", "catalogue.csv"}) {
        const std::string path = dir.File(name);
        WriteCatalogueFile(*EdgeCatalogue(), path, settings, 0);
        const auto read = Open(path);
        EXPECT_EQ(read->SourceKind, SpreadsheetSource);
        const CatalogueComparison comparison(*original, *read);
        EXPECT_TRUE(comparison.Same()) << name;
        for (int c = 0; c < original->CategoryCount(); ++c)
            EXPECT_EQ(read->GetCollection(c)->Count(), original->GetCollection(c)->Count()) << name << " " << CategoryCaption(c);
    }
}

TEST_F(Spreadsheets, CsvIsWhatARussianSpreadsheetProgramOpens) {
    auto reference = NewReference();
    TXMLCustomClass& busbars = *reference->GetCollection(5);
    TBaseElement& busbar = *busbars.AppendNew();
    busbars.SetFieldText(busbar, 0, "ШМТ; \"А\"");
    busbars.SetFieldText(busbar, 2, "10,5");
    busbars.SetFieldText(busbar, 3, "0.016");
    busbars.SetFieldText(busbar, 4, "0,17");
    TBaseElement& deleted = *busbars.AppendNew();
    busbars.SetFieldText(deleted, 0, "Удалённая");
    deleted.Deleted = 1;
    EXPECT_EQ(CsvText(*reference),
              "\xEF\xBB\xBF" "Категория;Марка;Номинальное напряжение, кВ;Активное сопротивление, Ом/км;"
              "Реактивное сопротивление, Ом/км\r\n"
              "Шины подстанций;\"ШМТ; \"\"А\"\"\";10,5;0,016;0,17\r\n");
}

TEST_F(Spreadsheets, ColumnsAreFoundByCaptionOrElementInAnyCaseAndOthersIgnored) {
    const std::string path = dir.File("found.xlsx");
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* notes = workbook_add_worksheet(workbook, "Заметки");
    worksheet_write_string(notes, 0, 0, "Марка", nullptr);
    worksheet_write_string(notes, 1, 0, "не элемент", nullptr);
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "шины ПОДСТАНЦИЙ");
    const char* header[] = {" марка ", "Примечание", "UNOM", "активное сопротивление, ом/км", "x"};
    for (int c = 0; c < 5; ++c) worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), header[c], nullptr);
    worksheet_write_string(sheet, 1, 0, "ШМТ-100", nullptr);
    worksheet_write_string(sheet, 1, 1, "что угодно", nullptr);
    worksheet_write_number(sheet, 1, 2, 10.5, nullptr);
    worksheet_write_string(sheet, 1, 3, "0,016", nullptr);
    worksheet_write_number(sheet, 1, 4, 0.17, nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);

    const auto read = Open(path);
    EXPECT_EQ(read->TotalCount(), 1);
    const TXMLCustomClass& busbars = *read->GetCollection(5);
    ASSERT_EQ(busbars.Count(), 1);
    const NumberText numbers(',');
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 0, numbers), "ШМТ-100");
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 2, numbers), "10,5");
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 3, numbers), "0,016");
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 4, numbers), "0,17");
}

TEST_F(Spreadsheets, MissingIdentityColumnIsNamed) {
    const std::string path = dir.File("no-mark.xlsx");
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "Шины подстанций");
    worksheet_write_string(sheet, 0, 0, "Номинальное напряжение, кВ", nullptr);
    worksheet_write_number(sheet, 1, 0, 10, nullptr);
    ASSERT_EQ(workbook_close(workbook), LXW_NO_ERROR);
    const std::string detail = OpenFailure(path);
    EXPECT_NE(detail.find("лист \"Шины подстанций\", строка 1: нет столбца \"Марка\""), std::string::npos) << detail;
}

TEST_F(Spreadsheets, TextWhereANumberIsNeededIsNamed) {
    const std::string path = dir.File("not-a-number.csv");
    WriteText(path, "Категория;Марка;Номинальное напряжение, кВ\nШины подстанций;ШМТ;десять\n");
    const std::string detail = OpenFailure(path);
    EXPECT_NE(detail.find("строка 2, столбец C \"Номинальное напряжение, кВ\": \"десять\" — не число"),
              std::string::npos)
        << detail;
}

TEST_F(Spreadsheets, ChoiceOutsideItsItemsIsNamed) {
    const std::string path = dir.File("bad-choice.csv");
    WriteText(path, "Категория;Обозначение;Измерение\nМарки счетчиков;СЭТ;Активная\nМарки счетчиков;ЦЭ;полная\n");
    const std::string detail = OpenFailure(path);
    EXPECT_NE(detail.find("строка 3, столбец C \"Измерение\": \"полная\" — не одно из значений \"активная\", "
                          "\"реактивная\", \"активная/реактивная\""),
              std::string::npos)
        << detail;
}

TEST_F(Spreadsheets, Windows1251CsvWithCommasAndDecimalPointsIsRead) {
    const std::string path = dir.File("other-program.csv");
    // Captions hold commas: the columns are named by their elements.
    WriteText(path, W("Категория,Марка,R,X,Unom\r\n"
                      "Шины подстанций,\"ШМТ, медь\",0.016,0.17,10.5\r\n"
                      "Неизвестная категория,что-то,1,2,3\r\n"));
    const auto read = Open(path);
    EXPECT_EQ(read->TotalCount(), 1);
    const TXMLCustomClass& busbars = *read->GetCollection(5);
    const NumberText numbers('.');
    EXPECT_EQ(busbars.GetItem(0)->Marka, W("ШМТ, медь"));
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 2, numbers), "10.5");
    EXPECT_EQ(busbars.FieldText(*busbars.GetItem(0), 4, numbers), "0.17");
}

TEST_F(Spreadsheets, TruncatedXlsxIsABadFile) {
    auto reference = EdgeCatalogue();
    const std::string path = dir.File("whole.xlsx");
    WriteCatalogueFile(*reference, path, settings, 0);
    const std::string whole = ReadText(path);
    const std::string cut = dir.File("cut.xlsx");
    WriteText(cut, whole.substr(0, whole.size() / 2));
    EXPECT_NE(OpenFailure(cut).find(cut), std::string::npos);
}

TEST_F(Spreadsheets, OnlyFormatsThatAreWrittenCanBeTargets) {
    auto reference = EdgeCatalogue();
    const std::string path = dir.File("catalogue.csv");
    WriteText(path, "before");
    WriteCatalogueFile(*reference, path, settings, 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary left
    EXPECT_THROW(WriteCatalogueFile(*reference, dir.File("catalogue.ods"), settings, 0), FileWriteError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("catalogue.ods")));
}

}  // namespace
}  // namespace kelm
