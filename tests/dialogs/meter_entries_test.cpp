// The meter dialog's checks on OK, as a plain function of the texts and list positions.
#include "dialogs/meter_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

using test::W;

const EntryText kComma{NumberText(',')};
const ListedRow kClass{12, "1,0"};

MeterEntries ValidEntries() {
    MeterEntries e;
    e.UnomText = "0,4";
    e.Manufacturer = QString::fromUtf8("Энергомера");
    e.PowerPosition = 0;
    e.ReversePosition = 1;
    e.RevoCount = "";
    e.NumberCount = "6";
    e.CalibrationInterval = "16";
    e.ServiceLife = "30";
    e.Inom = "5";
    e.TariffCount = "";
    e.WorkTemperatureLow = "-40";
    e.WorkTemperatureHigh = "55";
    e.Sensitivity = "0,4";
    e.Capacity = "";
    e.Pu = "2";
    e.Si = "0,2";
    return e;
}

struct EntryCase {
    const char* name;
    QString MeterEntries::*box;
    const char* text;
    EntryCheck expected;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name << " \"" << c.text << '"'; }

class MeterEntryLimits : public ::testing::TestWithParam<EntryCase> {};

TEST_P(MeterEntryLimits, RefuseValuesAtTheirLimitsAndTextsThatAreNoNumbers) {
    const EntryCase& c = GetParam();
    MeterEntries e = ValidEntries();
    e.*c.box = QString::fromUtf8(c.text);
    TMetersRef record;
    EXPECT_EQ(ReadMeterEntries(e, &kClass, record, kComma), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MeterEntryLimits,
    ::testing::Values(EntryCase{"Sensitivity", &MeterEntries::Sensitivity, "99,9", EntryCheck::Passed},
                      EntryCase{"Sensitivity", &MeterEntries::Sensitivity, "100", EntryCheck::OutOfRange},
                      EntryCase{"Capacity", &MeterEntries::Capacity, "999,9", EntryCheck::Passed},
                      EntryCase{"Capacity", &MeterEntries::Capacity, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Pu", &MeterEntries::Pu, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Si", &MeterEntries::Si, "1000", EntryCheck::OutOfRange},
                      EntryCase{"Si", &MeterEntries::Si, "x", EntryCheck::NotConverted},
                      EntryCase{"Inom", &MeterEntries::Inom, "2,5", EntryCheck::NotConverted},
                      EntryCase{"Inom", &MeterEntries::Inom, "40000", EntryCheck::OutOfRange},  // beyond its 16 bits
                      EntryCase{"RevoCount", &MeterEntries::RevoCount, "32767", EntryCheck::Passed},
                      EntryCase{"WorkTemperatureLow", &MeterEntries::WorkTemperatureLow, "-", EntryCheck::NotConverted}));

struct RangeCase {
    const char* low;
    const char* high;
    EntryCheck expected;
};

void PrintTo(const RangeCase& c, std::ostream* os) { *os << '"' << c.low << "\" .. \"" << c.high << '"'; }

class TemperatureRange : public ::testing::TestWithParam<RangeCase> {};

TEST_P(TemperatureRange, UpperBoundMayNotLieUnderTheLowerAsStored) {
    const RangeCase& c = GetParam();
    MeterEntries e = ValidEntries();
    e.WorkTemperatureLow = c.low;
    e.WorkTemperatureHigh = c.high;
    TMetersRef record;
    EXPECT_EQ(ReadMeterEntries(e, &kClass, record, kComma), c.expected) << c.low << " .. " << c.high;
}

INSTANTIATE_TEST_SUITE_P(Bounds, TemperatureRange,
                         ::testing::Values(RangeCase{"-40", "", EntryCheck::OutOfRange},  // unset is -1000
                                           RangeCase{"", "", EntryCheck::Passed},
                                           RangeCase{"", "55", EntryCheck::Passed},
                                           RangeCase{"-40", "-40", EntryCheck::Passed},
                                           RangeCase{"-20", "-40", EntryCheck::OutOfRange}));

TEST(MeterEntries, ListPositionsGiveMeasurementAndDirectionAndBlankBoxesAreUnset) {
    TMetersRef record;
    record.TariffCount = 2;
    MeterEntries e = ValidEntries();
    e.PowerPosition = 1;
    e.ReversePosition = 0;
    ASSERT_EQ(ReadMeterEntries(e, &kClass, record, kComma), EntryCheck::Passed);
    EXPECT_EQ(record.Power, 2);  // "реактивная"
    EXPECT_EQ(record.Reverse, 0);
    EXPECT_EQ(record.AccuracyClass, 12);
    EXPECT_EQ(record.TariffCount, NotSet);
    EXPECT_EQ(record.RevoCount, NotSet);
    EXPECT_EQ(record.Capacity, NotSet);
    EXPECT_EQ(record.WorkTemperatureLow, -40);
    EXPECT_EQ(record.Sensitivity, 0.4);
    EXPECT_EQ(record.UnomText, "0,4");
    EXPECT_EQ(record.Manufacturer, W("Энергомера"));
}

TEST(MeterEntries, AValueTheListsDoNotOfferStaysAsItIs) {
    TMetersRef record;
    record.Power = 7;
    record.Reverse = 4;
    MeterEntries e = ValidEntries();
    e.PowerPosition = e.ReversePosition = -1;
    ASSERT_EQ(ReadMeterEntries(e, &kClass, record, kComma), EntryCheck::Passed);
    EXPECT_EQ(record.Power, 7);
    EXPECT_EQ(record.Reverse, 4);
}

TEST(MeterEntries, NoAccuracyClassToChooseRefusesTheEntries) {
    TMetersRef record;
    record.AccuracyClass = 3;
    EXPECT_EQ(ReadMeterEntries(ValidEntries(), nullptr, record, kComma), EntryCheck::NotConverted);
    EXPECT_EQ(record.AccuracyClass, 3);
}

}  // namespace
}  // namespace kelm
