// The switching device dialog's checks on OK, as a plain function of the texts.
#include "dialogs/switch_gr_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

using test::W;

const EntryText kComma{NumberText(',')};

SwitchGREntries ValidEntries() {
    SwitchGREntries e;
    e.Unom = "10";
    e.AddStr = QString::fromUtf8("вакуумный");
    e.Inom = "0,63";
    e.Ioff = "20";
    e.Id = "52";
    e.It = "20";
    e.Toff = "0,05";
    e.Ton = "";
    return e;
}

TSwitchGR Device() {
    TSwitchGR r;
    r.Marka = W("ВВ/TEL-10");
    r.SwitchGType = 3;
    r.Name = W("Выключатель");
    return r;
}

struct EntryCase {
    const char* name;
    QString SwitchGREntries::*box;
    const char* text;
    EntryCheck expected;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name << " \"" << c.text << '"'; }

class SwitchGREntryLimits : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SwitchGREntryLimits, RefuseValuesAtTheirLimitsAndTextsThatAreNoNumbers) {
    const EntryCase& c = GetParam();
    SwitchGREntries e = ValidEntries();
    e.*c.box = QString::fromUtf8(c.text);
    TSwitchGR record = Device();
    EXPECT_EQ(ReadSwitchGREntries(e, nullptr, record, kComma), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, SwitchGREntryLimits,
    ::testing::Values(EntryCase{"Inom", &SwitchGREntries::Inom, "99,99", EntryCheck::Passed},
                      EntryCase{"Inom", &SwitchGREntries::Inom, "100", EntryCheck::OutOfRange},
                      EntryCase{"Toff", &SwitchGREntries::Toff, "999", EntryCheck::Passed},
                      EntryCase{"Toff", &SwitchGREntries::Toff, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Ioff", &SwitchGREntries::Ioff, "999,9", EntryCheck::Passed},
                      EntryCase{"Ioff", &SwitchGREntries::Ioff, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Id", &SwitchGREntries::Id, "1000", EntryCheck::OutOfRange},
                      EntryCase{"It", &SwitchGREntries::It, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Ton", &SwitchGREntries::Ton, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Ton", &SwitchGREntries::Ton, "1,5x", EntryCheck::NotConverted},
                      EntryCase{"It", &SwitchGREntries::It, "0.5", EntryCheck::NotConverted},  // not the user's separator
                      EntryCase{"Unom", &SwitchGREntries::Unom, "1150", EntryCheck::Passed},     // no voltage limit
                      EntryCase{"Unom", &SwitchGREntries::Unom, "", EntryCheck::NotConverted},
                      EntryCase{"AddStr", &SwitchGREntries::AddStr, "", EntryCheck::Passed}));

TEST(SwitchGREntries, BlankBoxesLeaveTheCurrentsAndTimesUnset) {
    TSwitchGR record = Device();
    record.Ton = 0.1;
    SwitchGREntries e = ValidEntries();
    e.Ioff = "  ";
    ASSERT_EQ(ReadSwitchGREntries(e, nullptr, record, kComma), EntryCheck::Passed);
    EXPECT_EQ(record.Ioff, NotSet);
    EXPECT_EQ(record.Ton, NotSet);
    EXPECT_EQ(record.Inom, 0.63);
    EXPECT_EQ(record.Toff, 0.05);
    EXPECT_EQ(record.Unom, 10);
    EXPECT_EQ(record.AddStr, W("вакуумный"));
}

TEST(SwitchGREntries, TheChosenTypeGivesIdentifierAndNameAndNoTypeKeepsBoth) {
    TSwitchGR record = Device();
    const ListedRow disconnector{5, W("Разъединитель")};
    ASSERT_EQ(ReadSwitchGREntries(ValidEntries(), &disconnector, record, kComma), EntryCheck::Passed);
    EXPECT_EQ(record.SwitchGType, 5);
    EXPECT_EQ(record.Name, W("Разъединитель"));

    record = Device();
    ASSERT_EQ(ReadSwitchGREntries(ValidEntries(), nullptr, record, kComma), EntryCheck::Passed);
    EXPECT_EQ(record.SwitchGType, 3);
    EXPECT_EQ(record.Name, W("Выключатель"));
}

TEST(SwitchGREntries, ATypeWhoseIdentifierTheDeviceCannotHoldIsRefused) {
    TSwitchGR record = Device();
    const ListedRow beyond{40000, "X"};
    EXPECT_EQ(ReadSwitchGREntries(ValidEntries(), &beyond, record, kComma), EntryCheck::OutOfRange);
}

}  // namespace
}  // namespace kelm
