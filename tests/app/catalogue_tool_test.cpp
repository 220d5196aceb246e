#include "app/catalogue_tool.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "core/data_module.h"
#include "core/exchange_file.h"
#include "support/differing_catalogues.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::TempDir;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::string WithoutStamp(const std::string& text) {
    return std::regex_replace(text, std::regex("<modification>[^<]*</modification>"), "<modification/>");
}

class CatalogueTool : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        out.str("");
        err.str("");
        return RunCatalogueTool(args, out, err, settings, db);
    }
    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    TRef_DataModule db;
    std::ostringstream out, err;
    TempDir dir;
};

TEST_F(CatalogueTool, WrongUsageIsExit64AndHelpIsExit0) {
    EXPECT_EQ(Run({"--help"}), ExitOk);
    EXPECT_NE(out.str().find("kelm-catalogue dump"), std::string::npos);
    EXPECT_EQ(Run({}), ExitUsage);
    EXPECT_EQ(Run({"explode", "x"}), ExitUsage);
    EXPECT_EQ(Run({"dump"}), ExitUsage);
    EXPECT_EQ(Run({"convert", "a.xml", "b.fdb"}), ExitUsage);
    EXPECT_NE(err.str().find("kelm-catalogue dump"), std::string::npos);
}

TEST_F(CatalogueTool, ConvertingAgainGivesTheSameFileAndTheSameTree) {
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","AddStr") VALUES ('ТМ-100',10.5,100,'с РПН'))");
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","NumberOtp") VALUES ('ТМ-40',6,40,4))");
    const std::string first = dir.File("first.xml"), second = dir.File("second.xml");
    ASSERT_EQ(Run({"convert", catalogue.Path(), first}), ExitOk) << err.str();
    ASSERT_EQ(Run({"convert", first, second}), ExitOk) << err.str();
    EXPECT_EQ(WithoutStamp(ReadText(first)), WithoutStamp(ReadText(second)));

    ASSERT_EQ(Run({"dump", catalogue.Path()}), ExitOk);
    const std::string fromDatabase = out.str();
    ASSERT_EQ(Run({"dump", second}), ExitOk);
    EXPECT_EQ(out.str(), fromDatabase);
    EXPECT_NE(fromDatabase.find("Справочник Kelm 3\nПровода и кабели\nТрансформаторы двухобмоточные\n"
                                "  ТМ-40-40 (6 кВ)\n  ТМ-100-100 (10,5 кВ)\n"),
              std::string::npos)
        << fromDatabase;
}

TEST_F(CatalogueTool, FailuresGiveTheirMessageAndExitStatus) {
    EXPECT_EQ(Run({"dump", dir.File("missing.xml")}), ExitBadFile);
    EXPECT_EQ(err.str().rfind("Ошибка в файле.\n", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("missing.xml"), std::string::npos);

    FreshCatalogue older;
    older.Run(R"(DROP TABLE "Transforms2")");
    EXPECT_EQ(Run({"dump", older.Path()}), ExitOlderDatabase);
    EXPECT_EQ(err.str().rfind("Файл БД имеет более раннюю версию.\n", 0), 0u) << err.str();

    FreshCatalogue fine;
    EXPECT_EQ(Run({"convert", fine.Path(), dir.File("no/such/folder/out.xml")}), ExitBadFile);
    EXPECT_TRUE(out.str().empty());
}

TEST_F(CatalogueTool, EveryCategoryRoundTripsThroughConvert) {
    FreshCatalogue catalogue;
    catalogue.RunScript(test::SourceFile("db/demo/catalogue.sql"));
    const std::string first = dir.File("first.xml"), second = dir.File("second.xml");
    ASSERT_EQ(Run({"convert", catalogue.Path(), first}), ExitOk) << err.str();
    ASSERT_EQ(Run({"convert", first, second}), ExitOk) << err.str();
    EXPECT_EQ(WithoutStamp(ReadText(first)), WithoutStamp(ReadText(second)));

    ASSERT_EQ(Run({"dump", catalogue.Path()}), ExitOk);
    const std::string tree = out.str();
    ASSERT_EQ(Run({"dump", first}), ExitOk);
    EXPECT_EQ(out.str(), tree);
    // Every category holds something, so every category was written and read.
    std::istringstream lines(tree);
    std::string line, previous;
    int emptyCategories = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("  ", 0) != 0 && previous.rfind("  ", 0) != 0 && !previous.empty() && previous != "Справочник Kelm 3")
            ++emptyCategories;
        previous = line;
    }
    EXPECT_EQ(emptyCategories, 0) << tree;

    // Into a new database and out again: the same catalogue.
    FreshCatalogue copy;
    ASSERT_EQ(Run({"copy", first, copy.Path()}), ExitOk) << err.str();
    ASSERT_EQ(Run({"dump", copy.Path()}), ExitOk);
    EXPECT_EQ(out.str(), tree);
}

TEST_F(CatalogueTool, CopyMergesCatalogues) {
    FreshCatalogue target;
    target.RunScript(test::SourceFile("db/demo/catalogue.sql"));
    FreshCatalogue source;
    source.RunScript(test::SourceFile("db/demo/exchange.sql"));
    const std::string file = dir.File("source.xml");
    ASSERT_EQ(Run({"convert", source.Path(), file}), ExitOk);
    const int before = std::stoi(target.Value(R"(select count(*) from "Transforms2")"));

    ASSERT_EQ(Run({"copy", file, target.Path()}), ExitOk) << err.str();
    EXPECT_NE(out.str().find("пропущено: "), std::string::npos) << out.str();
    // "ТМ-100/10" is equal and skipped; the commented "ТДН-16000/110" and two new ones are added.
    EXPECT_EQ(std::stoi(target.Value(R"(select count(*) from "Transforms2")")), before + 3);

    ASSERT_EQ(Run({"copy", file, target.Path(), "--duplicates", "copy"}), ExitOk);
    EXPECT_EQ(std::stoi(target.Value(R"(select count(*) from "Transforms2")")), before + 7);
    EXPECT_EQ(Run({"copy", file, target.Path(), "--duplicates", "maybe"}), ExitUsage);

    const std::string fresh = dir.File("fresh.xml");  // a new exchange file
    ASSERT_EQ(Run({"copy", file, fresh}), ExitOk);
    ASSERT_EQ(Run({"dump", fresh}), ExitOk);
    const std::string copied = out.str();
    ASSERT_EQ(Run({"dump", file}), ExitOk);
    EXPECT_EQ(copied, out.str());
}

TEST_F(CatalogueTool, DiffListsWhatDiffersPerCategory) {
    test::DifferingCatalogues catalogues;
    const std::string left = dir.File("left.xml"), right = dir.File("right.xml");
    WriteExchangeFile(*catalogues.left, left, settings, 0);
    WriteExchangeFile(*catalogues.right, right, settings, 0);

    EXPECT_EQ(Run({"diff", left, left}), ExitOk);
    EXPECT_EQ(out.str(), "");
    ASSERT_EQ(Run({"diff", left, right}), ExitDiffer) << err.str();
    const std::string lines = out.str();
    EXPECT_NE(lines.find("Провода и кабели\n  < B-0 (0 кВ)\n  ~ C-0 (0 кВ)\n  < D-0 (0 кВ)\n  > E-0 (0 кВ)\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("Шины подстанций\n  < B (0 кВ)\n  < D (0 кВ)\n  > E (0 кВ)\n"), std::string::npos) << lines;
    for (int c = 0; c < kCategoryCount; ++c) EXPECT_NE(lines.find(CategoryCaption(c)), std::string::npos) << c;

    EXPECT_EQ(Run({"diff", left}), ExitUsage);
    EXPECT_EQ(Run({"diff", left, dir.File("missing.xml")}), ExitBadFile);
}

}  // namespace
}  // namespace kelm
