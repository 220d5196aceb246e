// The instrument transformer dialogs' checks on OK, as plain functions of the texts.
#include "dialogs/instrument_transform_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

const EntryText kComma{NumberText(',')};
const std::vector<std::int32_t> kClasses{4, 5, 6};

// What a user leaves in the boxes of a current transformer 600/5.
InstrumentTransformEntries ValidEntries() {
    InstrumentTransformEntries e;
    e.ClassPosition = 1;
    e.A = "600";
    e.B = "5";
    e.C = "";
    e.Manufacturer = QString::fromUtf8("Электрощит");
    e.Low = "";
    e.High = "";
    return e;
}

TTransformsIRef CurrentTransformer() {
    TTransformsIRef r;
    r.PrefailureLife = 250000;
    return r;
}

TEST(InstrumentTransformEntries, BlankOptionalValuesStayUnsetAndTheRestIsRead) {
    TTransformsIRef r = CurrentTransformer();
    ASSERT_EQ(ReadCurrentTransformEntries(ValidEntries(), kClasses, r, kComma), EntryCheck::Passed);
    EXPECT_EQ(r.AccuracyClass, 5);
    EXPECT_EQ(r.I1nom, 600);
    EXPECT_EQ(r.I2nom, 5);
    EXPECT_EQ(r.RatedLoad, NotSet);
    EXPECT_EQ(r.WorkTemperatureLow, NotSet);
    EXPECT_EQ(r.WorkTemperatureHigh, NotSet);
    EXPECT_EQ(r.Manufacturer, test::W("Электрощит"));
    EXPECT_EQ(r.PrefailureLife, 250000);  // not in the dialog
}

struct EntryCase {
    QString InstrumentTransformEntries::*box;
    const char* text;
    EntryCheck expected;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class CurrentTransformEntryLimits : public ::testing::TestWithParam<EntryCase> {};

TEST_P(CurrentTransformEntryLimits, RefuseValuesAtTheirLimitsAndMissingRequiredOnes) {
    const EntryCase& c = GetParam();
    InstrumentTransformEntries e = ValidEntries();
    e.*c.box = QString::fromUtf8(c.text);
    TTransformsIRef r = CurrentTransformer();
    EXPECT_EQ(ReadCurrentTransformEntries(e, kClasses, r, kComma), c.expected) << c.text;
}

using E = InstrumentTransformEntries;
INSTANTIATE_TEST_SUITE_P(
    Boxes, CurrentTransformEntryLimits,
    ::testing::Values(EntryCase{&E::C, "999,9", EntryCheck::Passed}, EntryCase{&E::C, "1000", EntryCheck::OutOfRange},
                      EntryCase{&E::A, "", EntryCheck::NotConverted}, EntryCase{&E::B, "", EntryCheck::NotConverted},
                      EntryCase{&E::A, "32767", EntryCheck::Passed}, EntryCase{&E::A, "32768", EntryCheck::OutOfRange},
                      EntryCase{&E::B, "40000", EntryCheck::OutOfRange},
                      EntryCase{&E::Low, "-40", EntryCheck::OutOfRange},  // under a blank upper bound (-1000)
                      EntryCase{&E::High, "40", EntryCheck::Passed},      // over a blank lower bound
                      EntryCase{&E::Low, "-", EntryCheck::NotConverted},
                      EntryCase{&E::High, "-40000", EntryCheck::OutOfRange}));

TEST(InstrumentTransformEntries, TheUpperTemperatureMayNotLieBelowTheLowerOne) {
    InstrumentTransformEntries e = ValidEntries();
    TTransformsIRef r = CurrentTransformer();
    e.Low = "-40";
    e.High = "40";
    ASSERT_EQ(ReadCurrentTransformEntries(e, kClasses, r, kComma), EntryCheck::Passed);
    EXPECT_EQ(r.WorkTemperatureLow, -40);
    EXPECT_EQ(r.WorkTemperatureHigh, 40);
    e.Low = e.High = "0";
    EXPECT_EQ(ReadCurrentTransformEntries(e, kClasses, r, kComma), EntryCheck::Passed);
    e.Low = "1";
    EXPECT_EQ(ReadCurrentTransformEntries(e, kClasses, r, kComma), EntryCheck::OutOfRange);
}

TEST(InstrumentTransformEntries, WithoutAnAccuracyClassToChooseOkIsRefused) {
    InstrumentTransformEntries e = ValidEntries();
    TTransformsIRef r = CurrentTransformer();
    e.ClassPosition = -1;
    EXPECT_EQ(ReadCurrentTransformEntries(e, {}, r, kComma), EntryCheck::NotConverted);
    // A class whose identifier the record's 16 bits cannot hold.
    e.ClassPosition = 0;
    EXPECT_EQ(ReadCurrentTransformEntries(e, {70000}, r, kComma), EntryCheck::OutOfRange);
}

TEST(InstrumentTransformEntries, TheVoltageTransformerReadsAFractionalSecondaryVoltageUnder10000) {
    InstrumentTransformEntries e = ValidEntries();
    TTransformsVRef r;
    e.A = "10000";
    e.B = "100";
    e.C = "2,5";
    ASSERT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::Passed);
    EXPECT_EQ(r.UnomB, 10000);
    EXPECT_EQ(r.UnomH, 100);
    EXPECT_EQ(r.VoltageDrop, 2.5);
    e.B = "100/3";
    EXPECT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::NotConverted);
    e.B = "57,7";
    EXPECT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::Passed);
    EXPECT_EQ(r.UnomH, 57.7);
    e.B = "10000";
    EXPECT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::OutOfRange);
    e.B = "100";
    e.C = "1000";
    EXPECT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::OutOfRange);
    // The primary voltage stays a whole number although its box takes a separator.
    e.C = "";
    e.A = "6000,5";
    EXPECT_EQ(ReadVoltageTransformEntries(e, kClasses, r, kComma), EntryCheck::NotConverted);
}

}  // namespace
}  // namespace kelm
