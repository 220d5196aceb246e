// Opening sources into a container and writing exchange files.
#include "core/exchange_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "catalogues/categories.h"
#include "catalogues/transforms.h"
#include "core/data_module.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::TempDir;
using test::W;

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// The walk that finds record elements anywhere, held to a plain recursive
// one; elements whose name ends in "7" are not looked into.
bool LooksInside(pugi::xml_node element) { return std::string(element.name()).back() != '7'; }

void ElementsRecursively(pugi::xml_node node, std::vector<pugi::xml_node>& out) {
    if (node.type() == pugi::node_element) {
        out.push_back(node);
        if (!LooksInside(node)) return;
    }
    for (pugi::xml_node child : node.children()) ElementsRecursively(child, out);
}

TEST(ForEachElement, VisitsTheElementsARecursiveWalkVisitsInTheSameOrder) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        pugi::xml_document doc;
        std::vector<pugi::xml_node> elements = {doc.append_child("root")};
        for (int i = 0; i < 60; ++i) {
            pugi::xml_node parent = elements[random() % elements.size()];
            switch (random() % 4) {
                case 0: parent.append_child(pugi::node_pcdata).set_value("text"); break;
                case 1: parent.append_child(pugi::node_comment).set_value("note"); break;
                default: elements.push_back(parent.append_child(("e" + std::to_string(i)).c_str()));
            }
        }
        const pugi::xml_node start = round % 5 == 0 ? doc : elements[random() % elements.size()];
        std::vector<pugi::xml_node> expected, visited;
        ElementsRecursively(start, expected);
        ForEachElement(start, [&](pugi::xml_node element) {
            visited.push_back(element);
            return LooksInside(element);
        });
        ASSERT_EQ(visited, expected) << "round " << round;
    }
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TTransforms& Transformers(TReference& r) { return static_cast<TTransforms&>(*r.GetCollection(1)); }

RegionalSettings Russian() {
    RegionalSettings settings;
    settings.decimalSeparator = ',';
    settings.shortDateFormat = "%d.%m.%Y";
    settings.longTimeFormat = "%H:%M:%S";
    return settings;
}

class ExchangeFile : public ::testing::Test {
protected:
    std::unique_ptr<TReference> Open(const std::string& path) { return OpenSource(path, db, NewReference); }
    OpenError OpenFailure(const std::string& path) {
        try {
            Open(path);
        } catch (const OpenError& error) {
            return error;
        }
        ADD_FAILURE() << path << " opened";
        return OpenError(OpenError::Kind::BadFile, "");
    }
    TempDir dir;
    TRef_DataModule db;
};

TEST_F(ExchangeFile, KindOfSourceFollowsTheLowerCasedExtension) {
    EXPECT_TRUE(IsExchangeFilePath("/a/b/c.xml"));
    EXPECT_TRUE(IsExchangeFilePath("/a/b/C.XML"));
    EXPECT_FALSE(IsExchangeFilePath("/a/b/c.fdb"));
    EXPECT_FALSE(IsExchangeFilePath("/a/b.xml/catalogue"));
    EXPECT_FALSE(IsExchangeFilePath("catalogue"));
}

TEST_F(ExchangeFile, AnUpperCaseXmlFileOpensAsAnExchangeFile) {
    const std::string path = dir.File("CATALOGUE.XML");
    WriteText(path, "<KelmStorage><KelmTransfor><Marka>T</Marka></KelmTransfor></KelmStorage>");
    auto reference = Open(path);
    EXPECT_EQ(reference->SourceKind, ExchangeFileSource);
    EXPECT_EQ(reference->FileName, path);
    EXPECT_EQ(Transformers(*reference).Count(), 1);
}

TEST_F(ExchangeFile, DatabasesOpenWhateverTheirExtension) {
    for (const char* name : {"catalogue.FDB", "catalogue"}) {
        FreshCatalogue catalogue("", name);
        catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('T',10,100))");
        auto reference = Open(catalogue.Path());
        EXPECT_EQ(reference->SourceKind, DatabaseSource);
        EXPECT_EQ(Transformers(*reference).Count(), 1) << name;
    }
}

TEST_F(ExchangeFile, ReadingIsLenientAboutWhereRecordsStand) {
    const std::string path = dir.File("loose.xml");
    WriteText(path,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Whatever>\n"
              "  <KelmTransfor><Marka>direct</Marka><Unom>10,5</Unom></KelmTransfor>\n"
              "  <Other><KelmTransforms><KelmTransfor><Marka>nested</Marka><Unom>6.3</Unom></KelmTransfor></KelmTransforms></Other>\n"
              "  <Unknown>ignored</Unknown>\n</Whatever>\n");
    auto reference = Open(path);
    TTransforms& t = Transformers(*reference);
    ASSERT_EQ(t.Count(), 2);
    EXPECT_EQ(t.GetItem(0)->Marka, "direct");  // document order, not sorted
    EXPECT_EQ(t.GetItem(0)->Unom, 10.5);
    EXPECT_EQ(t.GetItem(1)->Unom, 6.3);
}

TEST_F(ExchangeFile, RecordsInsideRecordsAreFoundToo) {
    const std::string path = dir.File("inside.xml");
    WriteText(path,
              "<KelmStorage><KelmTransfor><Marka>outer</Marka><KelmTransfor><Marka>inner</Marka></KelmTransfor>"
              "<KelmBusbar/></KelmTransfor>"
              "<KelmTransfor><Snom><KelmTransfor><Marka>in a field</Marka></KelmTransfor>25</Snom></KelmTransfor>"
              "</KelmStorage>");
    auto reference = Open(path);
    TTransforms& t = Transformers(*reference);
    ASSERT_EQ(t.Count(), 4);
    EXPECT_EQ(t.GetItem(0)->Marka, "outer");
    EXPECT_EQ(t.GetItem(1)->Marka, "inner");
    EXPECT_EQ(t.GetItem(2)->Snom, 25);
    EXPECT_EQ(t.GetItem(3)->Marka, "in a field");
    EXPECT_EQ(reference->GetCollection(5)->Count(), 1);  // the empty busbar, with its defaults
}

TEST_F(ExchangeFile, AFieldIsAllItsTextInDocumentOrder) {
    const std::string path = dir.File("pieces.xml");
    WriteText(path,
              "<KelmStorage><KelmTransfor><Marka>a<!--note-->b<![CDATA[c<]]>d</Marka><Unom>1<?pi?>0</Unom>"
              "<AddStr><![CDATA[only]]></AddStr><Snom><inner/>25</Snom></KelmTransfor></KelmStorage>");
    auto reference = Open(path);
    ASSERT_EQ(Transformers(*reference).Count(), 1);
    const TTransform& t = *Transformers(*reference).GetItem(0);
    EXPECT_EQ(t.Marka, "abc<d");
    EXPECT_EQ(t.Unom, 10);
    EXPECT_EQ(t.AddStr, "only");
    EXPECT_EQ(t.Snom, 25);
}

TEST_F(ExchangeFile, ANewFileOpensAsAnEmptyCatalogue) {
    const std::string path = dir.File("new.xml");
    CreateExchangeFile(path, Russian(), 0);
    auto reference = Open(path);
    EXPECT_EQ(reference->CategoryCount(), 19);
    EXPECT_EQ(reference->TotalCount(), 0);
    EXPECT_EQ(ReadText(path).rfind("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\" ?> \n<KelmStorage>", 0), 0u);
    EXPECT_EQ(ReadText(path).find("KelmReference_v1"), std::string::npos);
}

TEST_F(ExchangeFile, WritesOnlyCategoriesThatHaveRecords) {
    auto reference = NewReference();
    TTransform* t = Transformers(*reference).NewElement();
    t->Marka = W("ТМ-100");
    t->Unom = 10.5;
    t->Snom = 100;
    const std::string path = dir.File("out.xml");
    WriteExchangeFile(*reference, path, Russian(), 0);
    EXPECT_EQ(reference->SourceKind, ExchangeFileSource);
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    pugi::xml_node root = doc.document_element();
    EXPECT_STREQ(root.name(), "KelmStorage");
    EXPECT_STREQ(root.first_child().name(), "modification");
    pugi::xml_node catalogue = root.child("KelmReference_v1");
    ASSERT_TRUE(catalogue);
    EXPECT_EQ(std::distance(catalogue.begin(), catalogue.end()), 1);
    EXPECT_STREQ(catalogue.first_child().name(), "KelmTransforms");
    EXPECT_STREQ(catalogue.first_child().first_child().child("Marka").text().get(), "ТМ-100");
    EXPECT_STREQ(catalogue.first_child().first_child().child("Unom").text().get(), "10,5");
}

TEST_F(ExchangeFile, ModificationHoldsDateTwoBlanksAndTime) {
    const std::string path = dir.File("stamped.xml");
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 11;
    when.tm_mday = 6;
    when.tm_hour = 14;
    when.tm_min = 5;
    when.tm_sec = 31;
    when.tm_isdst = -1;
    CreateExchangeFile(path, Russian(), std::mktime(&when));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(path.c_str()));
    EXPECT_STREQ(doc.document_element().child("modification").text().get(), "06.12.2026  14:05:31");
}

TEST_F(ExchangeFile, AllDeletedCategoryIsWrittenAsAnEmptyElement) {
    auto reference = NewReference();
    Transformers(*reference).NewElement()->Deleted = 1;
    const std::string path = dir.File("empty.xml");
    WriteExchangeFile(*reference, path, Russian(), 0);
    EXPECT_NE(ReadText(path).find("<KelmTransforms />"), std::string::npos) << ReadText(path);
    EXPECT_EQ(Transformers(*reference).Count(), 0);
}

TEST_F(ExchangeFile, RoundTripChangesNothingButTheStamp) {
    const std::string first = dir.File("first.xml"), second = dir.File("second.xml");
    auto reference = NewReference();
    for (int i = 0; i < 3; ++i) {
        TTransform* t = Transformers(*reference).NewElement();
        t->Marka = W("ТДН \"№") + std::to_string(i) + "\" <&>";
        t->AddStr = W("  пробелы  и\tтабуляция ");
        t->Unom = 0.1 * (i + 1);
        t->Ident = i + 1;
        t->NumberOtp = i == 1 ? NotSet : i;
    }
    WriteExchangeFile(*reference, first, Russian(), 1000);
    auto reopened = Open(first);
    WriteExchangeFile(*reopened, second, Russian(), 1000);
    EXPECT_EQ(ReadText(first), ReadText(second));
}

TEST_F(ExchangeFile, CharactersWithoutAWindows1251CodeBecomeQuestionMarks) {
    const std::string path = dir.File("unicode.xml");
    WriteText(path, "<r><KelmTransfor><Marka>ТМ 日本</Marka></KelmTransfor></r>");
    auto reference = Open(path);
    EXPECT_EQ(Transformers(*reference).GetItem(0)->Marka, W("ТМ ??"));
}

// Such text is no value when written: read as it stands, it would show in
// the tree and then vanish from the next file.
TEST_F(ExchangeFile, TextOfOnlyBlanksAndControlCharactersIsReadAsNoValue) {
    const std::string path = dir.File("control.xml");
    WriteText(path, "<r><KelmTransfor><Marka>\x1b\x1b</Marka><AddStr> \x01 </AddStr><Unom>10</Unom></KelmTransfor></r>");
    auto reference = Open(path);
    const TTransform& read = *Transformers(*reference).GetItem(0);
    EXPECT_EQ(read.Marka, "");
    EXPECT_EQ(read.AddStr, "");
}

// Whatever a record holds, the file is XML 1.0 that reads back: identifiers
// below zero go as -1, a carriage return as a reference, control characters
// as "?", the largest doubles with enough digits to stay finite.
TEST_F(ExchangeFile, EveryWrittenFileIsWellFormedAndReadsBack) {
    const std::string path = dir.File("odd.xml");
    auto reference = NewReference();
    TTransform* t = Transformers(*reference).NewElement();
    t->Ident = NotSet;
    t->Marka = W("ТМ\r\nстрока") + std::string("\x01\x1f") + W("конец");
    t->Unom = 1.7976931348623157e308;
    t->Snom = -1.7976931348623157e308;
    WriteExchangeFile(*reference, path, Russian(), 1000);

    pugi::xml_document strict;
    ASSERT_TRUE(strict.load_file(path.c_str(), pugi::parse_default | pugi::parse_wnorm_attribute));
    EXPECT_EQ(ReadText(path).find("&#1;"), std::string::npos);
    EXPECT_EQ(ReadText(path).find("&#01;"), std::string::npos);
    EXPECT_EQ(std::string(strict.first_element_by_path("KelmStorage/KelmReference_v1").first_child().first_child()
                              .child_value("Ident")),
              "-1");

    auto reopened = Open(path);
    const TTransform& back = *Transformers(*reopened).GetItem(0);
    EXPECT_EQ(back.Ident, -1);
    EXPECT_EQ(back.Marka, W("ТМ\r\nстрока??конец"));
    EXPECT_EQ(back.Unom, 1.7976931348623157e308);
    EXPECT_EQ(back.Snom, -1.7976931348623157e308);
}

TEST_F(ExchangeFile, AFileDeclaredWindows1251IsReadInThatEncoding) {
    const std::string path = dir.File("cp1251.xml");
    WriteText(path, "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<r><KelmTransfor><Marka>" + W("ТМН-6300") +
                        "</Marka></KelmTransfor></r>");
    auto reference = Open(path);
    EXPECT_EQ(Transformers(*reference).GetItem(0)->Marka, W("ТМН-6300"));
    const std::string rewritten = dir.File("rewritten.xml");
    WriteExchangeFile(*reference, rewritten, Russian(), 1000);
    EXPECT_NE(ReadText(rewritten).find("ТМН-6300"), std::string::npos);  // written in UTF-8
}

TEST_F(ExchangeFile, BadFilesAreReportedPrecisely) {
    struct Case {
        const char* name;
        std::string content;
        std::string expected;  // part of the detail
    };
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    const std::vector<Case> cases = {
        {"not-xml.xml", "this is not a catalogue", "строка 1: в файле нет ни одного элемента"},
        {"empty.xml", "", "в файле нет ни одного элемента"},
        {"truncated.xml", "<r>\n<KelmTransfor><Marka>T</Marka>", "строка 2: закрывающий тег"},
        {"number.xml", "<r>\n\n<KelmTransfor>\n<Unom>ten</Unom></KelmTransfor></r>",
         "строка 4: элемент \"KelmTransfor\", поле \"Unom\": \"ten\" не является числом"},
        {"utf8.xml", "<r><KelmTransfor><Marka>\xFF\xFE</Marka></KelmTransfor></r>", "Marka"},
        {"range.xml", "<r><KelmTransfor><Ident>99999999999</Ident></KelmTransfor></r>", "99999999999"},
        {"deep.xml", deep, "строка 1"},
        {"null.xml", "<r>\n<KelmTransfor><Marka>T<![CDATA[&#0;]]>&#x00;cut</Marka></KelmTransfor></r>", "строка 2: ссылка"},
    };
    for (const auto& c : cases) {
        const std::string path = dir.File(c.name);
        WriteText(path, c.content);
        const OpenError error = OpenFailure(path);
        EXPECT_EQ(error.kind, OpenError::Kind::BadFile) << c.name;
        EXPECT_STREQ(error.what(), "Ошибка в файле.");
        EXPECT_NE(error.detail.find(path), std::string::npos) << error.detail;
        EXPECT_NE(error.detail.find(c.expected), std::string::npos) << c.name << ": " << error.detail;
    }
    EXPECT_EQ(OpenFailure(dir.File("missing.xml")).kind, OpenError::Kind::BadFile);
    EXPECT_NE(OpenFailure(dir.File("missing.xml")).detail.find("нет такого файла"), std::string::npos);
}

TEST_F(ExchangeFile, DeepAndHugeFilesOpenWithoutHarm) {
    std::string text;
    for (int i = 0; i < 100000; ++i) text += "<a>";
    text += "<KelmTransfor><Marka>" + std::string(20'000'000, 'x') + "</Marka></KelmTransfor>";
    for (int i = 0; i < 100000; ++i) text += "</a>";
    const std::string path = dir.File("deep.xml");
    WriteText(path, text);
    auto reference = Open(path);
    EXPECT_EQ(Transformers(*reference).GetItem(0)->Marka.size(), 20'000'000u);
}

TEST_F(ExchangeFile, AFailedWriteLeavesThePreviousFileIntact) {
    const std::string path = dir.File("precious.xml");
    WriteText(path, "the previous catalogue");
    auto reference = NewReference();
    for (int i = 0; i < 2000; ++i) Transformers(*reference).NewElement()->Marka = "T";
    Transformers(*reference).GetItem(0)->Deleted = 1;
    Transformers(*reference).GetItem(1)->Ident = -2;

    // Files may grow to 4 KiB only: the new catalogue cannot be written whole.
    signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limited);
    EXPECT_THROW(WriteExchangeFile(*reference, path, Russian(), 0), FileWriteError);
    setrlimit(RLIMIT_FSIZE, &previous);

    EXPECT_EQ(ReadText(path), "the previous catalogue");
    EXPECT_EQ(Transformers(*reference).Count(), 2000);  // nothing in memory is lost either
    EXPECT_EQ(Transformers(*reference).GetItem(0)->Deleted, 1);
    EXPECT_EQ(Transformers(*reference).GetItem(1)->Ident, -2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no leftovers
    EXPECT_THROW(WriteExchangeFile(*reference, dir.File("no/such/folder.xml"), Russian(), 0), FileWriteError);
}

TEST_F(ExchangeFile, AWriteReplacesTheLinkedFileAndClearsAKilledWritesLeftovers) {
    auto reference = NewReference();
    Transformers(*reference).NewElement()->Marka = "T";
    std::filesystem::create_directory(dir.File("real"));
    const std::string real = dir.File("real/catalogue.xml");
    WriteText(real, "old");
    const std::string link = dir.File("link.xml");
    std::filesystem::create_symlink(real, link);
    WriteExchangeFile(*reference, link, Russian(), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadText(real).find("<Marka>T</Marka>"), std::string::npos);

    const std::string stale = dir.File("real/.catalogue.xml.kelm-a1b2c3");  // a write killed part-way
    WriteText(stale, "half");
    WriteExchangeFile(*reference, real, Russian(), 0);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("real")), {}), 1);
}

TEST_F(ExchangeFile, ANameAtTheFileSystemsLimitCanBeWritten) {
    auto reference = NewReference();
    Transformers(*reference).NewElement()->Marka = "T";
    const std::string path = dir.File(std::string(251, 'n') + ".xml");  // 255 bytes
    WriteExchangeFile(*reference, path, Russian(), 0);
    EXPECT_NE(ReadText(path).find("<Marka>T</Marka>"), std::string::npos);
}

TEST_F(ExchangeFile, OnlyRegularFilesAreReadOrReplaced) {
    std::filesystem::create_directory(dir.File("x.xml"));
    EXPECT_EQ(OpenFailure(dir.File("x.xml")).kind, OpenError::Kind::BadFile);
    EXPECT_THROW(OpenExchangeFile(*NewReference(), "/dev/zero"), OpenError);
    const std::string fifo = dir.File("fifo.xml");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_NE(OpenFailure(fifo).detail.find("не обычный файл"), std::string::npos);  // not waited on

    auto reference = NewReference();
    Transformers(*reference).NewElement()->Marka = "T";
    auto refused = [&](const std::string& path) {
        try {
            WriteExchangeFile(*reference, path, Russian(), 0);
        } catch (const FileWriteError& error) {
            return std::string(error.what()).starts_with("Ошибка в файле.");
        }
        return false;
    };
    const std::string device = dir.File("device.xml"), loop = dir.File("loop.xml");
    std::filesystem::create_symlink("/dev/null", device);
    std::filesystem::create_symlink(loop, loop);
    EXPECT_TRUE(refused(device));
    EXPECT_TRUE(refused(loop));
    EXPECT_TRUE(refused(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(device));
    EXPECT_TRUE(std::filesystem::is_symlink(loop));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));

    // A dangling link is written through: its target is created, the link stays.
    const std::string dangling = dir.File("dangling.xml");
    std::filesystem::create_symlink("made.xml", dangling);
    WriteExchangeFile(*reference, dangling, Russian(), 0);
    EXPECT_TRUE(std::filesystem::is_symlink(dangling));
    EXPECT_NE(ReadText(dir.File("made.xml")).find("<Marka>T</Marka>"), std::string::npos);
}

TEST_F(ExchangeFile, DatabaseThatCannotBeOpenedIsABadFile) {
    const std::string path = dir.File("not-a-database.fdb");
    WriteText(path, "garbage");
    const OpenError error = OpenFailure(path);
    EXPECT_EQ(error.kind, OpenError::Kind::BadFile);
    EXPECT_NE(error.detail.find(path), std::string::npos);
}

// isql, a program of its own, holding a database open until told to quit.
class HeldByIsql {
public:
    explicit HeldByIsql(const std::string& path, const std::string& log) {
        input_ = popen(("isql-fb -q -user SYSDBA -password x '" + path + "' >'" + log + "' 2>&1").c_str(), "w");
        std::fputs("select 'ready' from rdb$database;\n", input_);
        std::fflush(input_);
        for (int wait = 0; wait < 400 && ReadAll(log).find("ready") == std::string::npos; ++wait) usleep(50000);
    }
    ~HeldByIsql() {
        std::fputs("quit;\n", input_);
        pclose(input_);
    }

private:
    static std::string ReadAll(const std::string& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    FILE* input_;
};

TEST_F(ExchangeFile, ADatabaseAnotherProgramHoldsIsABadFileSayingSo) {
    FreshCatalogue catalogue;
    HeldByIsql isql(catalogue.Path(), dir.File("isql.log"));
    const OpenError error = OpenFailure(catalogue.Path());
    EXPECT_EQ(error.kind, OpenError::Kind::BadFile);
    EXPECT_NE(error.detail.find(kDatabaseInUseDetail), std::string::npos) << error.detail;
}

TEST_F(ExchangeFile, DatabaseMissingATableIsOlderAndTheOthersStillLoad) {
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('T',10,100))");
    catalogue.Run(R"(ALTER TABLE "Transforms2" DROP "Pkz")");
    const OpenError error = OpenFailure(catalogue.Path());
    EXPECT_EQ(error.kind, OpenError::Kind::OlderDatabase);
    EXPECT_STREQ(error.what(), "Файл БД имеет более раннюю версию.");
    EXPECT_NE(error.detail.find("TTransforms"), std::string::npos) << error.detail;
    EXPECT_NE(error.detail.find("Pkz"), std::string::npos) << error.detail;

    auto reference = NewReference();
    EXPECT_FALSE(reference->LoadFromDatabase(db, 0, ""));
}

}  // namespace
}  // namespace kelm
