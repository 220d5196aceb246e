// The catalogue check: each rule against one record that breaks it and the
// sound record it was made from, across the categories.

#include "decisions/catalogue_check.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "catalogues/categories.h"
#include "core/number_text.h"

namespace kelm {
namespace {

using Values = std::vector<std::pair<const char*, const char*>>;

// A sound type of each kind of element the rules speak of, by field element.
const std::map<int, Values>& SoundTypes() {
    static const std::map<int, Values> types = {
        {0, {{"Marka", "АС"}, {"Unom", "10"}, {"F", "70"}, {"R0", "0,42"}, {"X0", "0,4"}, {"B0", "2,7"}, {"Idop", "265"}}},
        {1, {{"Marka", "ТМ"}, {"Unom", "10"}, {"UhiV", "10"}, {"UlowV", "0,4"}, {"Snom", "1000"}, {"Ukz", "5,5"},
             {"Pkz", "10,8"}, {"Pxx", "1,6"}, {"Ixx", "1,2"}}},
        {2, {{"Marka", "ТДТН"}, {"Unom", "110"}, {"UnomB", "115"}, {"UnomC", "38,5"}, {"UnomH", "11"}, {"Snom", "40000"},
             {"Pxx", "43"}, {"Ixx", "0,6"}, {"PkzBC", "200"}, {"PkzBH", "200"}, {"PkzCH", "200"}, {"UkBC", "10,5"},
             {"UkBH", "17,5"}, {"UkCH", "6,5"}}},
        {3, {{"Marka", "ТРДН"}, {"Unom", "110"}, {"UnomB", "115"}, {"UnomH1", "10,5"}, {"UnomH2", "10,5"},
             {"Snom", "25000"}, {"UkBH", "10,5"}, {"UkHH", "30"}, {"Pxx", "25"}, {"Pkz", "120"}, {"Ixx", "0,65"}}},
    };
    return types;
}

struct Case {
    int category;
    Values changes;  // to the sound type, which passes every rule
    const char* message;
    Severity severity = Severity::Error;
    const Values* base = nullptr;  // changed first, sound still
};

// Category 4, the autotransformers, shares the three-winding rules and is
// checked through them; a low-voltage cable is a line with the cable flag below 1 kV.
const Values kCable = {{"Unom", "0,4"}, {"CableFlags", "2"}, {"PhaseNull_F", "35"}, {"PhaseNull_R0", "0,87"},
                       {"PhaseNull_X0", "0,09"}, {"PhaseNull_Idop", "120"}};

class CatalogueCheck : public ::testing::Test {
protected:
    // A record of the category: a sound type, then `changes`.
    TBaseElement& Add(int category, const Values& changes, int kind = -1) {
        TXMLCustomClass& c = *reference->GetCollection(category);
        pugi::xml_document doc;
        c.LoadRecordFromXml(doc.append_child(c.RecordElement()));
        TBaseElement& record = *c.GetItem(c.Count() - 1);
        for (const Values* values : {&SoundTypes().at(kind < 0 ? category : kind), &changes})
            for (const auto& [element, text] : *values) c.SetFieldText(record, c.FieldIndex(element), text);
        c.RecordsChanged();
        return record;
    }
    std::vector<Finding> Findings() const { return CheckCatalogue(*reference, numbers); }

    std::unique_ptr<TReference> reference = NewReference();
    NumberText numbers{','};
};

TEST_F(CatalogueCheck, EveryRuleFindsTheRecordThatBreaksItAndPassesTheSoundOne) {
    const std::vector<Case> cases = {
        // What the dialogs refuse, in their words.
        {1, {{"Ukz", "1000"}}, "Напряжение короткого замыкания, %: Введены некорректные данные"},
        {1, {{"Snom", "-1000"}}, "Номинальная мощность, кВ·А: Не введены обязательные данные"},
        // Transformers.
        {1, {{"Snom", "0"}}, "Номинальная мощность 0 кВ·А не больше 0 кВ·А"},
        {1, {{"Ukz", "0"}}, "Напряжение короткого замыкания 0 % не больше 0 %"},
        {1, {{"Ukz", "100"}}, "Напряжение короткого замыкания 100 % не меньше 100 %"},
        {1, {{"Ixx", "100"}}, "Ток холостого хода 100 % не меньше 100 %"},
        {1, {{"Pxx", "-1"}}, "Мощность холостого хода -1 кВт меньше 0 кВт"},
        {1, {{"Pkz", "-1"}}, "Мощность короткого замыкания -1 кВт меньше 0 кВт"},
        {1, {{"Ukz", "4,5"}, {"Pkz", "52"}}, "Активная составляющая Uк 5,2 % больше Uк 4,5 % (Pк.з. 52 кВт, Sном 1000 кВ·А)"},
        {1, {{"UlowV", "10"}}, "Uвн 10 кВ не больше Uнн 10 кВ"},
        {1, {{"Pxx", "15"}}, "Потери холостого хода 1,5 % больше Iх.х. 1,2 % (Pх.х. 15 кВт, Sном 1000 кВ·А)",
         Severity::Warning},
        {2, {{"UkBH", "0"}}, "Напряжение короткого замыкания Uк.з.(вн) 0 % не больше 0 %"},
        {4, {{"UkCH", "100"}}, "Напряжение короткого замыкания Uк.з.(сн) 100 % не меньше 100 %"},
        {2, {{"PkzCH", "-1"}}, "Мощность короткого замыкания Pк.з.(сн) -1 кВт меньше 0 кВт"},
        {2, {{"PkzBC", "5000"}},
         "Активная составляющая Uк.з.(вс) 12,5 % больше Uк.з.(вс) 10,5 % (Pк.з.(вс) 5000 кВт, S(вс) 40000 кВ·А)"},
        // The pair's losses at its smaller winding's power: 1500 kW over 40000 kV·A would pass.
        {4, {{"SobmC", "100"}, {"SobmH", "50"}, {"PkzCH", "1500"}},
         "Активная составляющая Uк.з.(сн) 7,5 % больше Uк.з.(сн) 6,5 % (Pк.з.(сн) 1500 кВт, S(сн) 20000 кВ·А)"},
        {2, {{"UnomC", "115"}}, "Uн.в. 115 кВ не больше Uн.с. 115 кВ"},
        {4, {{"Pxx", "400"}}, "Потери холостого хода 1 % больше Iх.х. 0,6 % (Pх.х. 400 кВт, Sном 40000 кВ·А)",
         Severity::Warning},
        {3, {{"UkHH", "0"}}, "Напряжение короткого замыкания Uк.з.(нн) 0 % не больше 0 %"},
        {3, {{"UnomH2", "115"}}, "UномВ 115 кВ не больше UномН2 115 кВ"},
        {3, {{"Pkz", "3000"}},
         "Активная составляющая Uк.з.(вн) 12 % больше Uк.з.(вн) 10,5 % (Pк.з. 3000 кВт, Sном 25000 кВ·А)"},
        // Lines and cables.
        {0, {{"R0", "-0,1"}}, "Активное сопротивление -0,1 Ом/км меньше 0 Ом/км"},
        {0, {{"X0", "-0,1"}}, "Реактивное сопротивление -0,1 Ом/км меньше 0 Ом/км"},
        {0, {{"R0", "0"}, {"X0", "0"}}, "Полное сопротивление 0 Ом/км не больше 0 Ом/км (R0 0 Ом/км, X0 0 Ом/км)"},
        {0, {{"B0", "-1"}}, "Проводимость -1 мкСм/км меньше 0 мкСм/км"},
        {0, {{"G0", "-1"}}, "Проводимость Go -1 гк/км меньше 0 гк/км"},
        {0, {{"F", "0"}}, "Сечение 0 мм² не больше 0 мм²"},
        {0, {{"Idop", "0"}}, "Допустимый ток 0 А не больше 0 А"},
        {0, {{"PhaseNull_R0", "0"}, {"PhaseNull_X0", "0"}}, "Полное сопротивление нулевого провода 0 Ом/км не больше 0 Ом/км (R0 0 Ом/км, X0 0 Ом/км)", Severity::Error, &kCable},
        {0, {{"PhaseNull_F", "0"}}, "Сечение нулевого провода 0 мм² не больше 0 мм²", Severity::Error, &kCable},
        {0, {{"PhaseNull_Idop", "0"}}, "Допустимый ток нулевого провода 0 А не больше 0 А", Severity::Error, &kCable},
        {0, {{"PhaseNull_B0", "-1"}}, "Проводимость нулевого провода -1 мкСм/км меньше 0 мкСм/км", Severity::Error, &kCable},
    };
    for (const Case& broken : cases) {
        SCOPED_TRACE(broken.message);
        reference = NewReference();
        const int kind = broken.category == 4 ? 2 : broken.category;
        const Values base = broken.base ? *broken.base : Values{};
        Add(broken.category, base, kind);
        EXPECT_TRUE(Findings().empty()) << Findings().front().message;

        reference = NewReference();
        Values changes = base;
        changes.insert(changes.end(), broken.changes.begin(), broken.changes.end());
        const TBaseElement& record = Add(broken.category, changes, kind);
        bool found = false;
        for (const Finding& finding : Findings()) {
            EXPECT_EQ(finding.record, &record);
            EXPECT_EQ(finding.category, broken.category);
            if (finding.message == broken.message) found = finding.severity == broken.severity;
        }
        EXPECT_TRUE(found);
    }
}

TEST_F(CatalogueCheck, NullConductorCountsOnlyInLowVoltageCables) {
    // The same null conductor on a 10 kV cable is none of its values.
    Values changes = kCable;
    changes.insert(changes.end(), {{"Unom", "10"}, {"PhaseNull_F", "0"}, {"PhaseNull_Idop", "0"}});
    Add(0, changes);
    EXPECT_TRUE(Findings().empty()) << Findings().front().message;
}

TEST_F(CatalogueCheck, RepeatedIdentityWarnsEveryRecordOfItButNotDeletedOnes) {
    const TBaseElement& first = Add(1, {});
    const TBaseElement& second = Add(1, {{"Pkz", "11"}});  // another value, the same identity
    Add(1, {{"Marka", "ТМГ"}});
    std::vector<Finding> findings = Findings();
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(findings[0].record, &first);
    EXPECT_EQ(findings[1].record, &second);
    for (const Finding& finding : findings) {
        EXPECT_EQ(finding.message, kRepeatedIdentity);
        EXPECT_EQ(finding.severity, Severity::Warning);
    }
    reference->GetCollection(1)->MarkDeleted(const_cast<TBaseElement*>(&second));
    EXPECT_TRUE(Findings().empty());
}

}  // namespace
}  // namespace kelm
