// Our spreadsheets as a real spreadsheet program reads them, and its
// spreadsheets as we read them: LibreOffice's headless converter in between.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bench/catalogue_generator.h"
#include "catalogues/categories.h"
#include "core/data_module.h"
#include "core/exchange_file.h"
#include "decisions/comparison.h"
#include "formats/catalogue_file.h"
#include "formats/spreadsheet_layout.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::TempDir;

std::string SpreadsheetProgram() {
    for (const char* folder : {"/usr/bin", "/usr/local/bin", "/usr/lib/libreoffice/program"}) {
        const std::string program = std::string(folder) + "/soffice";
        if (access(program.c_str(), X_OK) == 0) return program;
    }
    return {};
}

// A catalogue over all 19 categories with a mark of ";", quotes and commas
// and the extreme numbers in the first element of each.
std::unique_ptr<TReference> Catalogue() {
    auto reference = bench::GenerateCatalogue(300, 11);
    for (int c = 0; c < reference->CategoryCount(); ++c) {
        TXMLCustomClass& collection = *reference->GetCollection(c);
        bool large = false;
        for (const int field : SheetFields(collection)) {
            const FieldFacts& facts = collection.Field(field);
            if (facts.kind == FieldKind::Text)
                collection.SetFieldText(*collection.GetItem(0), field, "Марка; \"в кавычках\", ёЁ");
            if (facts.kind == FieldKind::Number)
                collection.SetFieldText(*collection.GetItem(0), field, (large = !large) ? "9.87654321098765e+250" : "-1.25e-300");
        }
        collection.RecordsChanged();
    }
    return reference;
}

class LibreOffice : public ::testing::Test {
protected:
    void SetUp() override {
        program = SpreadsheetProgram();
        if (program.empty()) GTEST_SKIP() << "LibreOffice (soffice) is not installed: scripts/setup --tests installs it";
    }

    // One run of the converter over `files`; true when it succeeded.
    bool Convert(const std::string& to, const std::string& outdir, const std::vector<std::string>& files,
                 const std::string& inputFilter = "") {
        std::vector<std::string> args = {program, "-env:UserInstallation=file://" + dir.File("profile"), "--headless",
                                          "--norestore"};
        if (!inputFilter.empty()) args.push_back("--infilter=" + inputFilter);
        for (const std::string& arg : {std::string("--convert-to"), to, std::string("--outdir"), outdir}) args.push_back(arg);
        args.insert(args.end(), files.begin(), files.end());
        const pid_t pid = fork();
        if (pid == 0) {
            std::vector<char*> argv;
            for (std::string& arg : args) argv.push_back(arg.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        return test::ExitStatus(pid, 600) == 0;
    }

    void ExpectSame(const TReference& original, const std::string& path) {
        std::unique_ptr<TReference> read;
        try {
            read = OpenCatalogue(path, db);
        } catch (const OpenError& error) {
            FAIL() << error.detail;
        }
        const CatalogueComparison comparison(original, *read);
        EXPECT_TRUE(comparison.Same()) << path;
        EXPECT_EQ(read->TotalCount(), original.TotalCount()) << path;
    }

    std::string program;
    TempDir dir;
    TRef_DataModule db;
    RegionalSettings settings;
};

TEST_F(LibreOffice, ReadsOurSpreadsheetsAsWeDoAndWeReadWhatItWrites) {
    const auto original = Catalogue();
    const std::string xlsx = dir.File("ours.xlsx"), csv = dir.File("ours-csv.csv");
    WriteCatalogueFile(*Catalogue(), xlsx, settings, 0);
    WriteCatalogueFile(*Catalogue(), csv, settings, 0);

    // Our CSV as a double click opens it: ";", quotes, UTF-8, Russian numbers.
    const std::string fromCsv = dir.File("from-csv");
    ASSERT_TRUE(Convert("ods", fromCsv, {csv}, "CSV:59,34,76,1,,1049"));
    // Our XLSX and the ODS it made of our CSV, both saved again as XLSX by it.
    const std::string resaved = dir.File("resaved");
    ASSERT_TRUE(Convert("xlsx:Calc MS Excel 2007 XML", resaved, {xlsx, fromCsv + "/ours-csv.ods"}));

    ExpectSame(*original, fromCsv + "/ours-csv.ods");
    ExpectSame(*original, resaved + "/ours.xlsx");
    ExpectSame(*original, resaved + "/ours-csv.xlsx");
}

}  // namespace
}  // namespace kelm
