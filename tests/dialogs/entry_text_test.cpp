// What the dialogs show and read back, and how a refused entry is named.
#include "dialogs/entry_text.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

const EntryText kComma{NumberText(',')};

TEST(EntryText, UnsetOptionalValuesShowAsEmptyEditsAndBlankEditsReadAsUnset) {
    EXPECT_EQ(kComma.Number(0.32), "0,32");
    EXPECT_EQ(kComma.OptionalNumber(NotSet), "");
    EXPECT_EQ(kComma.OptionalNumber(1000.5), "1000,5");
    EXPECT_EQ(EntryText::OptionalWhole(NotSet), "");
    EXPECT_EQ(EntryText::Whole(-40), "-40");
    EXPECT_EQ(kComma.ReadOptionalNumber("  "), NotSet);
    EXPECT_EQ(kComma.ReadOptionalNumber(" 2,5 "), 2.5);
    EXPECT_EQ(EntryText::ReadOptionalWhole<std::int16_t>(""), NotSet);
    EXPECT_EQ(EntryText::ReadText(QString::fromUtf8("кабель")), test::W("кабель"));
    EXPECT_EQ(EntryText::Text(test::W("кабель")), QString::fromUtf8("кабель"));
}

TEST(EntryText, RefusalsNameWhatWasWrong) {
    EXPECT_EQ(CheckEntries([] { kComma.ReadNumber("1,5"); }), EntryCheck::Passed);
    EXPECT_EQ(CheckEntries([] { kComma.ReadNumber(""); }), EntryCheck::NotConverted);
    EXPECT_EQ(CheckEntries([] { kComma.ReadNumber("1.5"); }), EntryCheck::NotConverted);  // not the user's separator
    EXPECT_EQ(CheckEntries([] { EntryText::ReadWhole<std::int16_t>("2,5"); }), EntryCheck::NotConverted);
    EXPECT_EQ(CheckEntries([] { Below(100, 100); }), EntryCheck::OutOfRange);
    EXPECT_EQ(CheckEntries([] { Below(NotSet, 100); }), EntryCheck::Passed);
    // A whole number its field cannot hold would be stored as another one.
    EXPECT_EQ(CheckEntries([] { EntryText::ReadWhole<std::int16_t>("32767"); }), EntryCheck::Passed);
    EXPECT_EQ(CheckEntries([] { EntryText::ReadWhole<std::int16_t>("40000"); }), EntryCheck::OutOfRange);
    EXPECT_EQ(RefusalMessage(EntryCheck::OutOfRange), "Введены некорректные данные");
    EXPECT_EQ(RefusalMessage(EntryCheck::NotConverted), "Не введены обязательные данные");
}

}  // namespace
}  // namespace kelm
