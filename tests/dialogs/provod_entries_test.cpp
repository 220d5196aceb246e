// The line and cable dialogs' checks on OK, as plain functions of the texts.
#include "dialogs/provod_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

const EntryText kComma{NumberText(',')};

// What a user leaves in the boxes of a 0.4 kV cable without null-conductor values.
ProvodEntries ValidEntries() {
    ProvodEntries e;
    e.F = "50";
    e.R0 = "0,32";
    e.X0 = "0,06";
    e.B0 = "";
    e.Idop = "200";
    e.G0 = "";
    e.AddStr = QString::fromUtf8("медь");
    e.TgDelta = "";
    e.CabF = "25";
    e.CabR0 = "0,64";
    e.CabX0 = "0,07";
    e.CabB0 = "";
    e.CabIdop = "120";
    return e;
}

TProvod LowVoltageCable() {
    TProvod r;
    r.Unom = 0.4;
    r.CableFlags = kCableFlag;
    r.B0 = r.G0 = r.TgDelta = NotSet;
    r.PhaseNull_F = r.PhaseNull_R0 = r.PhaseNull_X0 = r.PhaseNull_B0 = NotSet;
    r.PhaseNull_Idop = NotSet;
    return r;
}

using Reader = EntryCheck (*)(const ProvodEntries&, TProvod&, const EntryText&);

struct EntryCase {
    QString ProvodEntries::*box;
    const char* text;
    EntryCheck expected;
};

class ProvodEntryLimits : public ::testing::TestWithParam<std::tuple<Reader, EntryCase>> {};

TEST_P(ProvodEntryLimits, RefuseValuesAtTheirLimitsAndMissingRequiredOnes) {
    const auto [read, c] = GetParam();
    ProvodEntries e = ValidEntries();
    e.*c.box = QString::fromUtf8(c.text);
    TProvod record = LowVoltageCable();
    EXPECT_EQ(read(e, record, kComma), c.expected) << c.text;
}

const std::string kThreeHundredThirtyNines(330, '9');

const EntryCase kPhaseCases[] = {
    {&ProvodEntries::F, "999,9", EntryCheck::Passed},
    {&ProvodEntries::F, "1000", EntryCheck::OutOfRange},
    {&ProvodEntries::F, "", EntryCheck::NotConverted},
    {&ProvodEntries::R0, "99,99", EntryCheck::Passed},
    {&ProvodEntries::R0, "100", EntryCheck::OutOfRange},
    {&ProvodEntries::R0, "0.5", EntryCheck::NotConverted},
    {&ProvodEntries::X0, "100", EntryCheck::OutOfRange},
    {&ProvodEntries::X0, "  ", EntryCheck::NotConverted},
    {&ProvodEntries::B0, "999,9", EntryCheck::Passed},
    {&ProvodEntries::B0, "1000", EntryCheck::OutOfRange},
    {&ProvodEntries::B0, "x", EntryCheck::NotConverted},
    {&ProvodEntries::G0, "999999", EntryCheck::Passed},
    {&ProvodEntries::G0, "1000000", EntryCheck::OutOfRange},
    {&ProvodEntries::Idop, "", EntryCheck::NotConverted},
    {&ProvodEntries::Idop, "12,5", EntryCheck::NotConverted},
    {&ProvodEntries::Idop, "40000", EntryCheck::OutOfRange},
    {&ProvodEntries::Idop, "99999999999999999999", EntryCheck::OutOfRange},  // beyond any whole number
    {&ProvodEntries::R0, kThreeHundredThirtyNines.c_str(), EntryCheck::OutOfRange},  // beyond any double
    {&ProvodEntries::AddStr, "", EntryCheck::Passed},
};

const EntryCase kNullColumnCases[] = {
    {&ProvodEntries::CabF, "1000", EntryCheck::OutOfRange},
    {&ProvodEntries::CabF, "", EntryCheck::NotConverted},
    {&ProvodEntries::CabR0, "100", EntryCheck::OutOfRange},
    {&ProvodEntries::CabX0, "abc", EntryCheck::NotConverted},
    {&ProvodEntries::CabB0, "1000", EntryCheck::OutOfRange},
    {&ProvodEntries::CabB0, "", EntryCheck::Passed},
    {&ProvodEntries::CabIdop, "", EntryCheck::NotConverted},
    {&ProvodEntries::TgDelta, "x", EntryCheck::NotConverted},
    {&ProvodEntries::TgDelta, "5000", EntryCheck::Passed},  // the loss factor has no limit
    {&ProvodEntries::TgDelta, kThreeHundredThirtyNines.c_str(), EntryCheck::OutOfRange},
};

INSTANTIATE_TEST_SUITE_P(LineAndCable, ProvodEntryLimits,
                         ::testing::Combine(::testing::Values<Reader>(ReadLineEntries, ReadCableEntries),
                                            ::testing::ValuesIn(kPhaseCases)));
INSTANTIATE_TEST_SUITE_P(CableNullColumn, ProvodEntryLimits,
                         ::testing::Combine(::testing::Values<Reader>(ReadCableEntries),
                                            ::testing::ValuesIn(kNullColumnCases)));

TEST(ProvodEntries, BlankOptionalBoxesKeepTheValuesUnset) {
    for (Reader read : {ReadLineEntries, ReadCableEntries}) {
        TProvod record = LowVoltageCable();
        record.B0 = 0.5;
        ASSERT_EQ(read(ValidEntries(), record, kComma), EntryCheck::Passed);
        EXPECT_EQ(record.B0, NotSet);
        EXPECT_EQ(record.G0, NotSet);
        EXPECT_EQ(record.F, 50);
        EXPECT_EQ(record.R0, 0.32);
        EXPECT_EQ(record.Idop, 200);
        EXPECT_EQ(record.AddStr, test::W("медь"));
    }
}

TEST(ProvodEntries, LineDialogTakesThePhaseValuesForTheNullConductor) {
    TProvod line;
    line.Unom = 6;
    line.PhaseNull_F = 25;  // at 6 kV a null conductor of its own does not count
    ASSERT_EQ(ReadLineEntries(ValidEntries(), line, kComma), EntryCheck::Passed);
    EXPECT_EQ(line.PhaseNull_F, 50);
    EXPECT_EQ(line.PhaseNull_R0, 0.32);
    EXPECT_EQ(line.PhaseNull_X0, 0.06);
    EXPECT_EQ(line.PhaseNull_Idop, 200);
    EXPECT_EQ(line.PhaseNull_B0, NotSet);

    // Below 1 kV an existing null conductor keeps its section.
    TProvod lowVoltage;
    lowVoltage.Unom = 0.4;
    lowVoltage.PhaseNull_F = 25;
    ASSERT_EQ(ReadLineEntries(ValidEntries(), lowVoltage, kComma), EntryCheck::Passed);
    EXPECT_EQ(lowVoltage.PhaseNull_F, 25);
    EXPECT_EQ(lowVoltage.PhaseNull_R0, 0.32);
}

TEST(ProvodEntries, CableDialogReadsTheNullColumnOnlyBelowOneKilovolt) {
    TProvod cable = LowVoltageCable();
    ASSERT_EQ(ReadCableEntries(ValidEntries(), cable, kComma), EntryCheck::Passed);
    EXPECT_EQ(cable.PhaseNull_F, 25);
    EXPECT_EQ(cable.PhaseNull_R0, 0.64);
    EXPECT_EQ(cable.PhaseNull_Idop, 120);
    EXPECT_EQ(cable.PhaseNull_B0, NotSet);

    TProvod highVoltage = LowVoltageCable();
    highVoltage.Unom = 10;
    ProvodEntries e = ValidEntries();
    e.CabF = "";  // not read, so not missing
    ASSERT_EQ(ReadCableEntries(e, highVoltage, kComma), EntryCheck::Passed);
    EXPECT_EQ(highVoltage.PhaseNull_F, NotSet);
}

}  // namespace
}  // namespace kelm
