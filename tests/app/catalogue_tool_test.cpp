#include "app/catalogue_tool.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <thread>
#include <tuple>

#include "core/data_module.h"
#include "app/catalogue_tool_fixture.h"
#include "app/comparison_report.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "catalogues/categories.h"
#include "support/differing_catalogues.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::ExitStatus;
using test::FreshCatalogue;
using test::ReadText;
using test::TempDir;

std::string WithoutStamp(const std::string& text) {
    return std::regex_replace(text, std::regex("<modification>[^<]*</modification>"), "<modification/>");
}

using CatalogueTool = test::CatalogueToolRun;

TEST_F(CatalogueTool, WrongUsageIsExit64AndHelpIsExit0) {
    EXPECT_EQ(Run({"--help"}), ExitOk);
    EXPECT_NE(out.str().find("kelm-catalogue dump"), std::string::npos);
    EXPECT_EQ(Run({}), ExitUsage);
    EXPECT_EQ(Run({"explode", "x"}), ExitUsage);
    EXPECT_EQ(Run({"dump"}), ExitUsage);
    EXPECT_EQ(Run({"convert", "a.xml", "b.fdb"}), ExitUsage);
    EXPECT_NE(err.str().find("kelm-catalogue --help"), std::string::npos);
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

TEST_F(CatalogueTool, SpreadsheetsAreSourcesAndTargetsOfEveryVerb) {
    FreshCatalogue catalogue;
    catalogue.RunScript(test::SourceFile("db/demo/catalogue.sql"));
    ASSERT_EQ(Run({"dump", catalogue.Path()}), ExitOk);
    const std::string tree = out.str();
    ASSERT_EQ(Run({"check", catalogue.Path()}), ExitOk) << out.str();
    for (const char* name : {"demo.xlsx", "demo.csv"}) {
        const std::string file = dir.File(name);
        ASSERT_EQ(Run({"convert", catalogue.Path(), file}), ExitOk) << err.str();
        ASSERT_EQ(Run({"dump", file}), ExitOk) << err.str();
        EXPECT_EQ(out.str(), tree) << name;
        EXPECT_EQ(Run({"diff", catalogue.Path(), file}), ExitOk) << out.str();
        EXPECT_EQ(Run({"check", file}), ExitOk) << out.str();
        const std::string copy = dir.File(std::string("copy-") + name);
        ASSERT_EQ(Run({"copy", file, copy}), ExitOk) << err.str();
        ASSERT_EQ(Run({"dump", copy}), ExitOk) << err.str();
        EXPECT_EQ(out.str(), tree) << name;
    }
    EXPECT_EQ(Run({"convert", catalogue.Path(), dir.File("demo.ods")}), ExitUsage);
    std::ofstream(dir.File("bad.csv")) << "Категория;Марка;Unom;R\nШины подстанций;Ш;10;много\n";
    EXPECT_EQ(Run({"dump", dir.File("bad.csv")}), ExitBadFile);
    EXPECT_NE(err.str().find("Ошибка в файле.\n" + dir.File("bad.csv") + ": строка 2, столбец D \"R\": \"много\" — не число"), std::string::npos)
        << err.str();
}

TEST_F(CatalogueTool, CopyWithUpdateCorrectsTypesInPlaceOnce) {
    FreshCatalogue target;
    target.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","UnomB","UnomH","Uk") VALUES ('T',10,100,10,0.4,4.5))");
    const std::string ident = target.Value(R"(select "Ident" from "Transforms2")");
    target.Run(R"(INSERT INTO "Nodes" ("Transf","OwnerGUID") VALUES ()" + ident + ",'{N}')");
    const std::string file = dir.File("source.xml");
    std::ofstream(file) << "<KelmStorage><KelmReference_v1>"
                           "<KelmTransfor><Marka>T</Marka><Unom>10</Unom><UhiV>10</UhiV><UlowV>0.4</UlowV>"
                           "<Snom>100</Snom><Ukz>4.7</Ukz></KelmTransfor>"
                           "<KelmTransfor><Marka>N</Marka><Unom>10</Unom><Snom>40</Snom></KelmTransfor>"
                           "</KelmReference_v1></KelmStorage>";

    ASSERT_EQ(Run({"copy", file, target.Path(), "--duplicates", "update"}), ExitOk) << err.str();
    EXPECT_EQ(out.str(), "Скопировано: 1, обновлено: 1, пропущено: 0, не записано: 0\n");
    EXPECT_EQ(target.Value(R"(select count(*) from "Transforms2")"), "2");
    EXPECT_EQ(target.Value(R"(select count(*) from "Transforms2" t join "Nodes" n on n."Transf"=t."Ident" )"
                           R"(where t."Ident"=)" + ident + R"( and t."Uk"=4.7)"),
              "1");

    ASSERT_EQ(Run({"copy", file, target.Path(), "--duplicates", "update"}), ExitOk) << err.str();
    EXPECT_EQ(out.str(), "Скопировано: 0, обновлено: 0, пропущено: 2, не записано: 0\n");
    EXPECT_EQ(target.Value(R"(select count(*) from "Transforms2")"), "2");
}

// The schema's objects, as names: what isql made and what the tool makes must agree.
std::vector<std::string> SchemaObjects(const std::string& path) {
    TRef_DataModule connection;
    connection.ConnectTo(path);
    Query& q = connection.SQLQuery;
    q.SetText("select trim(rdb$relation_name) from rdb$relations where rdb$system_flag = 0 union all "
              "select trim(rdb$trigger_name) from rdb$triggers where rdb$system_flag = 0 union all "
              "select trim(rdb$generator_name) from rdb$generators where rdb$system_flag = 0 union all "
              "select trim(rdb$constraint_name) || ' ' || trim(rdb$constraint_type) from rdb$relation_constraints "
              "where rdb$constraint_name not starting 'INTEG_' and rdb$constraint_name not starting 'RDB$'");
    std::vector<std::string> names;
    for (q.Open(); !q.Eof(); q.Next()) names.push_back(q.Field(0).AsString());
    std::sort(names.begin(), names.end());
    q.SetText("select rdb$character_set_name from rdb$database");
    q.Open();
    names.push_back(q.Field(0).AsString());
    return names;
}

TEST_F(CatalogueTool, CreateMakesTheEmptyCatalogueTheSchemaDescribes) {
    const std::string made = dir.File("made.fdb");
    ASSERT_EQ(Run({"create", made}), ExitOk) << err.str();
    EXPECT_EQ(Run({"create", made}), ExitBadFile);  // never over a file that is there
    EXPECT_NE(err.str().find("уже существует"), std::string::npos) << err.str();
    EXPECT_EQ(SchemaObjects(made), SchemaObjects(test::EmptyCatalogueTemplate()));

    FreshCatalogue source;
    source.RunScript(test::SourceFile("db/demo/exchange.sql"));
    const std::string file = dir.File("source.xml");
    ASSERT_EQ(Run({"convert", source.Path(), file}), ExitOk);
    ASSERT_EQ(Run({"copy", file, made}), ExitOk) << err.str();
    ASSERT_EQ(Run({"dump", made}), ExitOk);
    const std::string copied = out.str();
    ASSERT_EQ(Run({"dump", file}), ExitOk);
    EXPECT_EQ(copied, out.str());
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
    EXPECT_NE(lines.find("Провода и кабели\n  < B-0 (0 кВ)\n  ~ C-0 (0 кВ)\n      Дополнительная информация: x → y\n  < D-0 (0 кВ)\n  > E-0 (0 кВ)\n"),
              std::string::npos)
        << lines;
    EXPECT_NE(lines.find("Шины подстанций\n  < B (0 кВ)\n  < D (0 кВ)\n  > E (0 кВ)\n"), std::string::npos) << lines;
    for (int c = 0; c < kCategoryCount; ++c) EXPECT_NE(lines.find(CategoryCaption(c)), std::string::npos) << c;

    EXPECT_EQ(Run({"diff", left}), ExitUsage);
    EXPECT_EQ(Run({"diff", left, dir.File("missing.xml")}), ExitBadFile);
}

TEST_F(CatalogueTool, DiffShowsChangedValuesCountsAndAReport) {
    test::DifferingCatalogues catalogues;
    for (auto [side, uk] : {std::pair{catalogues.left.get(), "4.5"}, std::pair{catalogues.right.get(), "4.7"}})
        test::AddRecord(*side, 1, {{"Marka", "ТМ"}, {"Unom", "10"}, {"Snom", "1000"}, {"Ukz", uk}});
    const std::string left = dir.File("left.xml"), right = dir.File("right.xml"), report = dir.File("report.html");
    WriteExchangeFile(*catalogues.left, left, settings, 0);
    WriteExchangeFile(*catalogues.right, right, settings, 0);

    ASSERT_EQ(Run({"diff", left, right}), ExitDiffer) << err.str();
    EXPECT_NE(out.str().find("  ~ ТМ-1000 (10 кВ)\n      Напряжение короткого замыкания, %: 4,5 → 4,7\n"),
              std::string::npos)
        << out.str();
    ASSERT_EQ(Run({"diff", left, right, "--summary"}), ExitDiffer);
    EXPECT_NE(out.str().find("Трансформаторы двухобмоточные: только в левом 2, только в правом 1, изменено 2\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(out.str().find("  <"), std::string::npos);

    const std::string before = ReadText(left);
    EXPECT_EQ(Run({"diff", left, right, "--html", left}), ExitUsage);
    EXPECT_EQ(ReadText(left), before);
    ASSERT_EQ(Run({"diff", left, right, "--summary", "--html", report}), ExitDiffer) << err.str();
    pugi::xml_document html;
    ASSERT_TRUE(html.load_file(report.c_str())) << ReadText(report);
    EXPECT_EQ(html.select_nodes("//script").size(), 0u);
    std::multiset<std::string> rows, expected;
    for (const auto& row : html.select_nodes("//tbody/tr"))
        rows.insert(std::string(row.node().child("td").text().get()) + " " +
                    row.node().child("td").next_sibling("td").text().get());
    const CatalogueComparison comparison(*catalogues.left, *catalogues.right);
    const NumberText numbers = settings.Numbers();
    std::size_t changedCells = 0;
    for (int c = 0; c < kCategoryCount; ++c) {
        for (const ReportedElement& element : DifferingElements(comparison, *catalogues.left, *catalogues.right, c, numbers)) {
            changedCells += element.pair ? element.pair->fields.size() : 0;
            expected.insert(std::string(element.mark == '<' ? "---" : element.mark == '>' ? "+++" : "->") + " " +
                            element.label);
        }
    }
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(rows.count("-> ТМ-1000 (10 кВ)"), 1u);
    EXPECT_TRUE(html.select_node("//tr[@class='changed']/td[@class='changed' and text()='4,5→4,7']")) << ReadText(report);
    EXPECT_EQ(html.select_nodes("//td[@class='changed']").size(), changedCells);
}

// An exchange file of `count` two-winding transformers, the first `tooLong`
// of them with a type longer than its column.
std::string Transformers(const TempDir& dir, int count, int tooLong = 0) {
    const std::string path = dir.File("transformers.xml");
    std::ofstream file(path);
    file << "<KelmStorage><KelmReference_v1><KelmTransforms>";
    for (int i = 0; i < count; ++i)
        file << "<KelmTransfor><Marka>" << (i < tooLong ? std::string(150, 'x') : "T" + std::to_string(i))
             << "</Marka><Unom>10</Unom><Snom>" << i + 1 << "</Snom></KelmTransfor>";
    file << "</KelmTransforms></KelmReference_v1></KelmStorage>";
    return path;
}

// An exchange file of 10/0,4 kV 1000 kV·A transformers: each of `types` with
// its short-circuit voltage and losses.
std::string CheckedTransformers(const TempDir& dir, const std::vector<std::tuple<std::string, double, double>>& types) {
    const std::string path = dir.File("checked.xml");
    std::ofstream file(path);
    file << "<KelmStorage><KelmReference_v1><KelmTransforms>";
    for (const auto& [type, uk, pkz] : types)
        file << "<KelmTransfor><Marka>" << type << "</Marka><Unom>10</Unom><Pxx>1.6</Pxx><Pkz>" << pkz
             << "</Pkz><UhiV>10</UhiV><UlowV>0.4</UlowV><Snom>1000</Snom><Ukz>" << uk
             << "</Ukz><Ixx>1.2</Ixx></KelmTransfor>";
    file << "</KelmTransforms></KelmReference_v1></KelmStorage>";
    return path;
}

TEST_F(CatalogueTool, CheckListsFindingsPerCategoryAndFailsOnErrors) {
    EXPECT_EQ(Run({"check", CheckedTransformers(dir, {{"A", 5.5, 10.8}, {"B", 5.5, 11}})}), ExitOk) << err.str();
    EXPECT_EQ(out.str(), "");

    const std::string repeated = CheckedTransformers(dir, {{"A", 5.5, 10.8}, {"A", 5.5, 11}});
    EXPECT_EQ(Run({"check", repeated}), ExitOk);
    EXPECT_EQ(out.str(), "Трансформаторы двухобмоточные\n  предупреждение: A-1000 (10 кВ): повторяется\n"
                         "  предупреждение: A-1000 (10 кВ): повторяется\n");
    EXPECT_EQ(Run({"check", repeated, "--strict"}), ExitCheckFailed);

    EXPECT_EQ(Run({"check", CheckedTransformers(dir, {{"A", 5.5, 10.8}, {"B", 4.5, 52}})}), ExitCheckFailed);
    EXPECT_EQ(out.str(), "Трансформаторы двухобмоточные\n  ошибка: B-1000 (10 кВ): Активная составляющая Uк 5,2 % "
                         "больше Uк 4,5 % (Pк.з. 52 кВт, Sном 1000 кВ·А)\n");

    EXPECT_EQ(Run({"check"}), ExitUsage);
    EXPECT_EQ(Run({"check", repeated, "--lax"}), ExitUsage);
    EXPECT_EQ(Run({"check", dir.File("missing.xml")}), ExitBadFile);
}

TEST_F(CatalogueTool, UsageCountsTheNetworkObjectsOfEachTypeAndListsTheUnused) {
    FreshCatalogue catalogue;
    catalogue.RunScript(test::SourceFile("db/demo/catalogue.sql"));
    ASSERT_EQ(Run({"usage", catalogue.Path()}), ExitOk) << err.str();
    const std::string all = out.str();
    for (const char* line : {"Трансформаторы двухобмоточные\n", "  ТМ-400/10-400 (10 кВ): 3\n", "  ТМ-100/10-100 (10 кВ): 0\n",
                             "  АС-120/19-120 (110 кВ): 2\n", "  АС-185/29-185 (110 кВ): 1\n",
                             "  ВГТ-110-40/2500 (110 кВ): 1\n", "  ТДТН-25000/110-25000 (110 кВ): 1\n"})
        EXPECT_NE(all.find(line), std::string::npos) << line << all;

    ASSERT_EQ(Run({"usage", catalogue.Path(), "--unused"}), ExitOk);
    EXPECT_NE(out.str().find("  ТМ-100/10-100 (10 кВ)\n"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("ТМ-400/10"), std::string::npos) << out.str();
    EXPECT_EQ(out.str().find("Трансформаторы трехобмоточные"), std::string::npos) << out.str();

    const std::string file = dir.File("catalogue.xml");
    ASSERT_EQ(Run({"convert", catalogue.Path(), file}), ExitOk);
    EXPECT_EQ(Run({"usage", file}), ExitBadFile);  // an exchange file holds no network
    EXPECT_TRUE(out.str().empty());
    EXPECT_EQ(Run({"usage"}), ExitUsage);
    EXPECT_EQ(Run({"usage", file, "--all"}), ExitUsage);
}

std::string Count(const FreshCatalogue& catalogue) {
    return catalogue.Value(R"(select count(*) from "Transforms2")");
}

TEST_F(CatalogueTool, RecordsNotWrittenGiveExit3WithEachRecordAndReason) {
    FreshCatalogue target;
    ASSERT_EQ(Run({"copy", Transformers(dir, 3, 1), target.Path()}), ExitNotWritten);
    EXPECT_EQ(err.str().rfind("Не записано: 1\n" + std::string(150, 'x') + "-1 (10 кВ): ", 0), 0u) << err.str();
    EXPECT_NE(err.str().find("truncation"), std::string::npos) << err.str();
    EXPECT_EQ(Count(target), "2");
}

TEST_F(CatalogueTool, CopyIntoReadOnlyDatabaseFailsAsAWholeAndChangesNothing) {
    FreshCatalogue target;
    ASSERT_EQ(std::system(("gfix -user sysdba -password quillaxen -mode read_only '" + target.Path() + "'").c_str()), 0);
    ASSERT_EQ(Run({"copy", Transformers(dir, 3), target.Path()}), ExitBadFile);
    const std::string said = err.str();
    EXPECT_EQ(said.rfind("Не удалось сохранить:\n", 0), 0u) << said;
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;  // the reason, no record list
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(Count(target), "0");
}

TEST_F(CatalogueTool, FolderNamedLikeAnExchangeFileIsABadFile) {
    std::filesystem::create_directory(dir.File("x.xml"));
    EXPECT_EQ(Run({"dump", dir.File("x.xml")}), ExitBadFile);
    EXPECT_EQ(err.str().rfind("Ошибка в файле.\n", 0), 0u) << err.str();
}

// How a test starts the window: its error output, and the session it finds.
struct Session {
    std::string err = "/dev/null";
    bool display = true;         // without one Qt cannot start its own platform
    bool runtimeFolder = true;   // XDG_RUNTIME_DIR
};

// Runs a program with `args`, its output to `out`; returns its pid.
pid_t Start(const std::vector<std::string>& args, const std::string& out = "/dev/null", const Session& session = {}) {
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        freopen(out.c_str(), "w", stdout);
        freopen(session.err.c_str(), "w", stderr);
        setenv("QT_QPA_PLATFORM", session.display ? "offscreen" : "xcb", 1);
        if (!session.display) unsetenv("DISPLAY"), unsetenv("WAYLAND_DISPLAY");
        if (!session.runtimeFolder) unsetenv("XDG_RUNTIME_DIR");
        execv(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

// An output that takes nothing, as a full disk does.
struct FullStream : std::streambuf {
    int overflow(int) override { return traits_type::eof(); }
};

TEST_F(CatalogueTool, LostOutputFailsTheAnswerButNotTheSave) {
    FreshCatalogue catalogue;
    EXPECT_EQ(ExitStatus(Start({KELM_CATALOGUE_PROGRAM, "dump", catalogue.Path()}, "/dev/full"), 60), ExitBadFile);

    test::DifferingCatalogues catalogues;
    const std::string left = dir.File("left.xml"), right = dir.File("right.xml");
    WriteExchangeFile(*catalogues.left, left, settings, 0);
    WriteExchangeFile(*catalogues.right, right, settings, 0);
    FullStream full;
    std::ostream lost(&full), alsoLost(&full);
    EXPECT_EQ(RunCatalogueTool({"diff", left, right}, lost, err, settings, db), ExitBadFile);
    EXPECT_EQ(RunCatalogueTool({"diff", left, left}, alsoLost, err, settings, db), ExitOk);  // nothing to write

    // The copy is saved: its status says so, and stderr that the report is lost.
    err.str("");
    const std::string target = dir.File("target.xml");
    std::ostream reportLost(&full);
    EXPECT_EQ(RunCatalogueTool({"copy", left, target}, reportLost, err, settings, db), ExitOk);
    EXPECT_NE(err.str().find("не удалось записать отчёт"), std::string::npos) << err.str();
    EXPECT_TRUE(std::filesystem::exists(target));
}

TEST_F(CatalogueTool, SigtermEndsACopyAndLeavesTheDatabaseUnchanged) {
    FreshCatalogue target;
    const std::string source = Transformers(dir, 100000);
    const auto emptySize = std::filesystem::file_size(target.Path());
    const pid_t copy = Start({KELM_CATALOGUE_PROGRAM, "copy", source, target.Path()});
    // The file grows once the save is writing its (still uncommitted) rows.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::filesystem::file_size(target.Path()) == emptySize && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    kill(copy, SIGTERM);
    EXPECT_EQ(ExitStatus(copy, 5), 143);
    EXPECT_EQ(Count(target), "0");
}

TEST_F(CatalogueTool, SaveKilledPartWayLeavesTheDatabaseAsItWas) {
    FreshCatalogue target;
    TempDir files;
    // Two categories' worth of records, the kill inside the second.
    ASSERT_TRUE(test::SaveKilledAtLastCategory(target.Path(), [&] {
        auto reference = NewReference();
        OpenExchangeFile(*reference, Transformers(files, 500));
        return reference;
    }));
    EXPECT_EQ(Count(target), "0");
}

TEST_F(CatalogueTool, WindowWithADatabaseOpenEndsOnSigtermQuietly) {
    FreshCatalogue catalogue;
    const std::string err = dir.File("err.txt");
    const pid_t window = Start({KELM_EXCHANGE_PROGRAM, catalogue.Path(), catalogue.Path()}, "/dev/null",
                               {.err = err, .runtimeFolder = false});
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    kill(window, SIGTERM);
    EXPECT_EQ(ExitStatus(window, 2), 143);
    EXPECT_EQ(ReadText(err).find("XDG_RUNTIME_DIR"), std::string::npos) << ReadText(err);
}

// Judged before Qt starts, which without a display would end the program first.
TEST_F(CatalogueTool, WrongWindowCallIsOneLineEvenWithoutADisplay) {
    const std::string err = dir.File("err.txt");
    for (const std::string wrong : {"--bogus", "c.xml"}) {
        const pid_t window =
            Start({KELM_EXCHANGE_PROGRAM, "-style", "fusion", "a.xml", "b.xml", wrong}, "/dev/null", {.err = err, .display = false});
        EXPECT_EQ(ExitStatus(window, 10), ExitUsage);
        const std::string text = ReadText(err);
        EXPECT_NE(text.find("\"" + wrong + "\""), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    }
}

}  // namespace
}  // namespace kelm
