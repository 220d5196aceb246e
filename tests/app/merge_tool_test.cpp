// kelm-catalogue merge over three exchange files and catalogue databases.
#include <gtest/gtest.h>

#include <fstream>

#include "app/catalogue_tool_fixture.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::FreshCatalogue;
using test::ReadText;

// Since the exchange we corrected the Uk of ТМ-250; they corrected it
// otherwise, corrected R0 of АС-70, added АС-95 and deleted ТМ-100.
class MergeTool : public test::CatalogueToolRun {
protected:
    void SetUp() override {
        Write(base, Line("АС-70", "70", "0.43") + Transformer("ТМ-100", "100", "4.5") +
                        Transformer("ТМ-250", "250", "4.5") + Transformer("ТМ-400", "400", "4.5"));
        Write(ours, Line("АС-70", "70", "0.43") + Transformer("ТМ-100", "100", "4.5") +
                        Transformer("ТМ-250", "250", "4.7") + Transformer("ТМ-400", "400", "4.5"));
        Write(theirs, Line("АС-70", "70", "0.42") + Line("АС-95", "95", "0.31") + Transformer("ТМ-250", "250", "4.6") +
                          Transformer("ТМ-400", "400", "4.5"));
    }
    static std::string Transformer(const char* marka, const char* snom, const char* uk) {
        return std::string("<KelmTransfor><Marka>") + marka + "</Marka><Unom>10</Unom><Snom>" + snom + "</Snom><Ukz>" +
               uk + "</Ukz></KelmTransfor>";
    }
    static std::string Line(const char* marka, const char* f, const char* r0) {
        return std::string("<KelmProvod><Marka>") + marka + "</Marka><Unom>10</Unom><F>" + f + "</F><R0>" + r0 +
               "</R0></KelmProvod>";
    }
    static void Write(const std::string& path, const std::string& records) {
        std::ofstream(path) << "<KelmStorage><KelmReference_v1>" << records << "</KelmReference_v1></KelmStorage>";
    }
    // The catalogue's elements with the Uk of its transformers, as dump lists them.
    std::string Dumped(const std::string& path) {
        EXPECT_EQ(Run({"dump", path}), ExitOk) << err.str();
        const std::string all = out.str();
        return all.substr(0, all.find("Трансформаторы трехобмоточные"));
    }
    // ТМ-100 stays in the database for the network's node; ТМ-250 keeps its row.
    void UsedDatabase(const FreshCatalogue& database) {
        ASSERT_EQ(Run({"copy", ours, database.Path()}), ExitOk) << err.str();
        database.Run(R"(INSERT INTO "Nodes" ("Transf") SELECT "Ident" FROM "Transforms2" WHERE "TypeTR" = 'ТМ-100')");
    }
    std::vector<std::vector<std::string>> Transformers(const FreshCatalogue& database) const {
        return database.Rows(R"(select "TypeTR", "Uk" from "Transforms2" order by "Snom")");
    }

    const std::string base = dir.File("base.xml"), ours = dir.File("ours.xml"), theirs = dir.File("theirs.xml");
    static constexpr const char* kListed =
        "Провода и кабели\n"
        "  ~ АС-70-70 (10 кВ)\n"
        "      Активное сопротивление, Ом/км: 0,43 → 0,42\n"
        "  + АС-95-95 (10 кВ)\n"
        "Трансформаторы двухобмоточные\n"
        "  - ТМ-100-100 (10 кВ)\n"
        "  ! ТМ-250-250 (10 кВ)\n"
        "      Напряжение короткого замыкания, %: 4,5 → 4,7 | 4,6\n";
    static constexpr const char* kMerged =
        "Справочник Kelm 3\nПровода и кабели\n  АС-70-70 (10 кВ)\n  АС-95-95 (10 кВ)\n"
        "Трансформаторы двухобмоточные\n  ТМ-250-250 (10 кВ)\n  ТМ-400-400 (10 кВ)\n";
};

TEST_F(MergeTool, ConflictsLeftOpenWriteNothingAndExit6) {
    const std::string before = ReadText(ours);
    EXPECT_EQ(Run({"merge", base, ours, theirs}), ExitConflicts);
    EXPECT_EQ(out.str(), kListed);
    EXPECT_NE(err.str().find("Конфликтов: 1"), std::string::npos) << err.str();
    EXPECT_EQ(ReadText(ours), before);
    EXPECT_EQ(Run({"merge", base, ours, theirs, "-o", dir.File("out.xml")}), ExitConflicts);
    EXPECT_FALSE(std::filesystem::exists(dir.File("out.xml")));

    EXPECT_EQ(Run({"merge", base, ours}), ExitUsage);
    EXPECT_EQ(Run({"merge", base, ours, theirs, "--ours", "--theirs"}), ExitUsage);
    EXPECT_EQ(Run({"merge", base, ours, theirs, "-o", theirs}), ExitUsage);
    EXPECT_EQ(Run({"merge", base, dir.File("missing.xml"), theirs}), ExitBadFile);
}

TEST_F(MergeTool, OursDecidesInPlaceAndTheirsIntoAnotherFile) {
    ASSERT_EQ(Run({"merge", base, ours, theirs, "--theirs", "-o", dir.File("out.xml")}), ExitOk) << err.str();
    EXPECT_EQ(out.str(), kListed);
    EXPECT_EQ(Dumped(dir.File("out.xml")), kMerged);
    EXPECT_NE(ReadText(dir.File("out.xml")).find("<Ukz>4,6</Ukz>"), std::string::npos);

    ASSERT_EQ(Run({"merge", base, ours, theirs, "--ours"}), ExitOk) << err.str();
    EXPECT_EQ(Dumped(ours), kMerged);
    EXPECT_NE(ReadText(ours).find("<Ukz>4,7</Ukz>"), std::string::npos);
    // Merged once, only the conflict decided ours is left to tell.
    EXPECT_EQ(Run({"merge", base, ours, theirs, "--ours"}), ExitOk) << err.str();
    EXPECT_EQ(out.str(),
              "Трансформаторы двухобмоточные\n"
              "  ! ТМ-250-250 (10 кВ)\n"
              "      Напряжение короткого замыкания, %: 4,5 → 4,7 | 4,6\n");
}

TEST_F(MergeTool, IntoADatabaseTypesKeepTheirRowsAndTypesInUseStay) {
    FreshCatalogue inPlace, other;
    UsedDatabase(inPlace);
    UsedDatabase(other);
    const std::string row = inPlace.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='ТМ-250')");

    ASSERT_EQ(Run({"merge", base, inPlace.Path(), theirs, "--theirs"}), ExitOk) << err.str();
    EXPECT_EQ(out.str(), std::string(kListed) + "Не удалён, используется в сети: ТМ-100-100 (10 кВ) (1)\n");
    const std::vector<std::vector<std::string>> merged{
        {test::W("ТМ-100"), "4.5"}, {test::W("ТМ-250"), "4.6"}, {test::W("ТМ-400"), "4.5"}};
    EXPECT_EQ(Transformers(inPlace), merged);
    EXPECT_EQ(inPlace.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='ТМ-250')"), row);

    // Another database is made to hold the result, its rows kept where it can.
    const std::string otherRow = other.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='ТМ-250')");
    ASSERT_EQ(Run({"merge", base, ours, theirs, "--theirs", "-o", other.Path()}), ExitOk) << err.str();
    EXPECT_NE(out.str().find("Не удалён, используется в сети: ТМ-100-100 (10 кВ) (1)\n"), std::string::npos);
    EXPECT_EQ(Transformers(other), merged);
    EXPECT_EQ(other.Value(R"(select "Ident" from "Transforms2" where "TypeTR"='ТМ-250')"), otherRow);
    EXPECT_EQ(other.Value(R"(select count(*) from "Provods")"), "2");
}

}  // namespace
}  // namespace kelm
