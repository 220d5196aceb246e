// The equipment dialogs' checks on OK, as plain functions of the texts.
#include "dialogs/equipment_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

const EntryText kComma{NumberText(',')};

struct RatedCase {
    EquipmentKind kind;
    const char* snom;
    const char* dp;
    EntryCheck expected;
};

void PrintTo(const RatedCase& c, std::ostream* os) {
    *os << "kind " << static_cast<int>(c.kind) << ": " << c.snom << " / " << c.dp;
}

class RatedEntryLimits : public ::testing::TestWithParam<RatedCase> {};

TEST_P(RatedEntryLimits, DependOnTheCategoryShown) {
    const RatedCase& c = GetParam();
    RatedValues values;
    EXPECT_EQ(ReadRatedEntries(c.kind, {c.snom, "", c.dp}, values, kComma), c.expected) << c.snom << " " << c.dp;
}

using enum EquipmentKind;
constexpr EntryCheck kPassed = EntryCheck::Passed;
constexpr EntryCheck kOutOfRange = EntryCheck::OutOfRange;
constexpr EntryCheck kNotConverted = EntryCheck::NotConverted;

INSTANTIATE_TEST_SUITE_P(
    EveryCategory, RatedEntryLimits,
    ::testing::Values(RatedCase{Busbar, "99,99", "99,99", kPassed}, RatedCase{Busbar, "99,99", "100", kOutOfRange},
                      RatedCase{Busbar, "100", "0", kOutOfRange}, RatedCase{SyncCondenser, "99999", "999999", kPassed},
                      RatedCase{SyncCondenser, "100000", "0", kOutOfRange},
                      RatedCase{SyncCondenser, "0", "1000000", kOutOfRange},
                      RatedCase{CapacitorBank, "100000", "0,5", kPassed},
                      RatedCase{CapacitorBank, "1000000", "0,5", kOutOfRange},
                      RatedCase{TiristorCondenser, "999999", "999999", kPassed},
                      RatedCase{TiristorCondenser, "5", "1000000", kOutOfRange},
                      RatedCase{ShuntReactor, "999999", "999999", kPassed},
                      RatedCase{Busbar, "1", "", kNotConverted}, RatedCase{SyncCondenser, "1", "", kNotConverted},
                      RatedCase{CapacitorBank, "1", " ", kNotConverted},
                      RatedCase{TiristorCondenser, "", "1", kNotConverted},
                      RatedCase{Busbar, "1.5", "1", kNotConverted}));  // not the user's separator

TEST(RatedEntries, ReadTheNumbersOfTheBoxes) {
    RatedValues values;
    ASSERT_EQ(ReadRatedEntries(Busbar, {"0,12", "", "0,4"}, values, kComma), kPassed);
    EXPECT_EQ(values.Snom, 0.12);
    EXPECT_EQ(values.Dp, 0.4);
}

TEST(RatedEntries, TheShuntReactorChecksItsCurrentAndThenItsOwnLimits) {
    RatedValues values;
    EXPECT_EQ(ReadShuntReactorEntries({"180", "999999", "300"}, values, kComma), kPassed);
    EXPECT_EQ(values.Inom, 999999);
    EXPECT_EQ(values.Snom, 180);
    EXPECT_EQ(ReadShuntReactorEntries({"180", "1000000", "300"}, values, kComma), kOutOfRange);
    EXPECT_EQ(ReadShuntReactorEntries({"180", "", "300"}, values, kComma), kNotConverted);
    // A compensator's limit of 100000 does not apply to a reactor.
    EXPECT_EQ(ReadShuntReactorEntries({"100000", "10", "1000000"}, values, kComma), kOutOfRange);
    EXPECT_EQ(ReadShuntReactorEntries({"100000", "10", "999999"}, values, kComma), kPassed);
}

TEST(RatedEntries, ArrestersCheckTheirLossesOnly) {
    double dp = 0;
    EXPECT_EQ(ReadLossesEntry("999999,9", dp, kComma), kPassed);
    EXPECT_EQ(dp, 999999.9);
    EXPECT_EQ(ReadLossesEntry("1000000", dp, kComma), kOutOfRange);
    EXPECT_EQ(ReadLossesEntry("", dp, kComma), kNotConverted);
}

TEST(ReactorEntries, TakeTheRatedValueAsTextAndLimitCurrentAndLosses) {
    TCurrentLimitReactorsRef record;
    EXPECT_EQ(ReadReactorEntries({QString::fromUtf8("2x630"), "999,9", "12"}, 1, record, kComma), kPassed);
    EXPECT_EQ(record.Snom, "2x630");
    EXPECT_EQ(record.Inom, 999.9);
    EXPECT_EQ(record.dP, 12);
    EXPECT_EQ(record.IsDouble, 1);
    EXPECT_EQ(ReadReactorEntries({"10", "1000", "12"}, 0, record, kComma), kOutOfRange);
    EXPECT_EQ(ReadReactorEntries({"10", "10", "1000000"}, 0, record, kComma), kOutOfRange);
    EXPECT_EQ(ReadReactorEntries({"", "", "12"}, 0, record, kComma), kNotConverted);
    // A flag the list does not offer is shown with nothing chosen and kept.
    record.IsDouble = 2;
    EXPECT_EQ(ReadReactorEntries({"10", "10", "12"}, -1, record, kComma), kPassed);
    EXPECT_EQ(record.IsDouble, 2);
}

MotorEntries Motor(const char* performance, const char* cosFi, const char* n = "1500", const char* slip = "") {
    return {"250", performance, cosFi, n, slip};
}

TEST(MotorEntries, PowerFactorOneItselfPassesAndEfficiencyTenIsRefused) {
    MotorValues values;
    EXPECT_EQ(ReadMotorEntries(Motor("9,99", "1"), false, values, kComma), kPassed);
    EXPECT_EQ(values.Performance, 9.99);
    EXPECT_EQ(values.CosFi, 1);
    EXPECT_EQ(values.n, 1500);
    EXPECT_EQ(ReadMotorEntries(Motor("10", "1"), false, values, kComma), kOutOfRange);
    EXPECT_EQ(ReadMotorEntries(Motor("0,9", "1,01"), false, values, kComma), kOutOfRange);
    MotorEntries big = Motor("0,9", "0,8");
    big.Pnom = "1000000";
    EXPECT_EQ(ReadMotorEntries(big, false, values, kComma), kOutOfRange);
}

TEST(MotorEntries, BlankRunningValuesAreUnset) {
    MotorValues values;
    ASSERT_EQ(ReadMotorEntries(Motor(" ", "", "", ""), true, values, kComma), kPassed);
    EXPECT_EQ(values.Performance, NotSet);
    EXPECT_EQ(values.CosFi, NotSet);
    EXPECT_EQ(values.n, NotSet);
    EXPECT_EQ(values.Slip, NotSet);
    EXPECT_EQ(ReadMotorEntries(Motor(",", ""), false, values, kComma), kNotConverted);
}

TEST(MotorEntries, OnlyTheAsynchronousMotorReadsAndLimitsItsSlip) {
    MotorValues values;
    EXPECT_EQ(ReadMotorEntries(Motor("0,9", "0,8", "1500", "999,9"), true, values, kComma), kPassed);
    EXPECT_EQ(values.Slip, 999.9);
    EXPECT_EQ(ReadMotorEntries(Motor("0,9", "0,8", "1500", "1000"), true, values, kComma), kOutOfRange);
    values = MotorValues();
    EXPECT_EQ(ReadMotorEntries(Motor("0,9", "0,8", "1500", "1000"), false, values, kComma), kPassed);
    EXPECT_EQ(values.Slip, NotSet);
}

TEST(MotorEntries, TheSpeedMustBeAWholeNumberItsFieldHolds) {
    MotorValues values;
    for (const char* speed : {"32767", "-32768", " 750 "})
        EXPECT_EQ(ReadMotorEntries(Motor("0,9", "0,8", speed), false, values, kComma), kPassed) << speed;
    EXPECT_EQ(values.n, 750);
    for (const char* speed : {"1500,5", ",", "32768", "99999999999999999999"})
        EXPECT_EQ(ReadMotorEntries(Motor("0,9", "0,8", speed), false, values, kComma), kOutOfRange) << speed;
}

}  // namespace
}  // namespace kelm
