// The transformer dialogs' checks on OK, as plain functions of the texts.
#include "dialogs/transform_entries.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace kelm {
namespace {

const EntryText kComma{NumberText(',')};

enum class Kind { TwoWinding, ThreeWinding, SplitWinding };

// What a user leaves in the boxes of a 110 kV transformer of each kind.
EditTexts ValidTexts(Kind kind) {
    switch (kind) {
    case Kind::TwoWinding:
        return {{"EditAddStr", QString::fromUtf8("масляный")}, {"EditUnom", "110"}, {"EditSnom", "16000"},
                {"EditUkz", "10,5"}, {"EditPxx", "18"}, {"EditPkz", "85"}, {"EditIxx", "0,7"},
                {"EditUhv", "115"}, {"EditUlv", "11"}, {"EditNumberOtp", "9"}, {"EditDeltaUotp", "1,78"}};
    case Kind::ThreeWinding:
        return {{"EditAddStr", ""}, {"EditUnom", "110"}, {"EditSnom", "25000"}, {"EditUB", "115"},
                {"EditUC", "38,5"}, {"EditUH", "11"}, {"EditPxx", "28,5"}, {"EditIxx", "0,7"},
                {"EditPkzVC", "140"}, {"EditPkzVN", "140"}, {"EditPkzCN", "140"}, {"EditUkzVC", "10,5"},
                {"EditUkzVN", "17,5"}, {"EditUkzCN", "6,5"}, {"EditSB", "100"}, {"EditSC", "100"},
                {"EditSH", "100"}, {"EditNumberOtpB", "9"}, {"EditDeltaUotpB", "1,78"}, {"EditNumberOtpC", ""},
                {"EditDeltaUotpC", ""}};
    case Kind::SplitWinding:
        return {{"EditAddStr", ""}, {"EditUnom", "110"}, {"EditSnom", "40000"}, {"EditUkBH", "10,5"},
                {"EditUkHH", "30"}, {"EditPxx", "34"}, {"EditPkz", "170"}, {"EditIxx", "0,55"},
                {"EditUnomB", "115"}, {"EditUnomH1", "10,5"}, {"EditUnomH2", "10,5"}, {"EditNumberOtp", "9"},
                {"EditDeltaUotp", "1,78"}};
    }
    return {};
}

// Reads the texts into a fresh record of the kind, as OK does.
EntryCheck Read(Kind kind, const EditTexts& texts) {
    switch (kind) {
    case Kind::TwoWinding: {
        TTransform record;
        return ReadTransformEntries(texts, record, kComma);
    }
    case Kind::ThreeWinding: {
        TTransform3 record;
        return ReadTransform3Entries(texts, record, kComma);
    }
    case Kind::SplitWinding: {
        TTransformSS record;
        return ReadTransformSSEntries(texts, record, kComma);
    }
    }
    return EntryCheck::Passed;
}

struct EntryCase {
    Kind kind;
    std::vector<std::pair<const char*, const char*>> typed;  // edit and its text
    EntryCheck expected;
};

std::ostream& operator<<(std::ostream& out, const EntryCase& c) {
    out << int(c.kind);
    for (const auto& [edit, text] : c.typed) out << " " << edit << "=" << text;
    return out;
}

class TransformEntryChecks : public ::testing::TestWithParam<EntryCase> {};

TEST_P(TransformEntryChecks, RefuseValuesAtTheirLimitsWrongClassesAndMissingRequiredOnes) {
    const EntryCase& c = GetParam();
    EditTexts texts = ValidTexts(c.kind);
    for (const auto& [edit, text] : c.typed) texts[edit] = QString::fromUtf8(text);
    EXPECT_EQ(Read(c.kind, texts), c.expected);
}

constexpr auto Passed = EntryCheck::Passed;
constexpr auto OutOfRange = EntryCheck::OutOfRange;
constexpr auto NotConverted = EntryCheck::NotConverted;

INSTANTIATE_TEST_SUITE_P(
    TwoWinding, TransformEntryChecks,
    ::testing::ValuesIn(std::vector<EntryCase>{
        {Kind::TwoWinding, {}, Passed},
        {Kind::TwoWinding, {{"EditPxx", "999,9"}}, Passed},
        {Kind::TwoWinding, {{"EditPxx", "1000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditUkz", "1000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditPkz", "1000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditIxx", "1000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditUlv", "9999,9"}}, Passed},
        {Kind::TwoWinding, {{"EditUlv", "10000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditUnom", "1150"}, {"EditUhv", "9999"}}, Passed},
        {Kind::TwoWinding, {{"EditUnom", "1150"}, {"EditUhv", "10000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditDeltaUotp", "999,9"}}, Passed},
        {Kind::TwoWinding, {{"EditDeltaUotp", "1000"}}, OutOfRange},
        {Kind::TwoWinding, {{"EditDeltaUotp", " "}, {"EditNumberOtp", ""}}, Passed},
        {Kind::TwoWinding, {{"EditNumberOtp", "2,5"}}, NotConverted},
        {Kind::TwoWinding, {{"EditNumberOtp", "100000"}}, Passed},  // tap counts are not bounded
        {Kind::TwoWinding, {{"EditPxx", ""}}, NotConverted},
        {Kind::TwoWinding, {{"EditUlv", "11,0,1"}}, NotConverted},
        {Kind::TwoWinding, {{"EditUnom", ""}}, NotConverted},
        {Kind::TwoWinding, {{"EditAddStr", ""}}, Passed},
        {Kind::TwoWinding, {{"EditUhv", "35"}}, OutOfRange},  // 35 kV winding on a 110 kV type
        {Kind::TwoWinding, {{"EditUnom", "10"}, {"EditUhv", "10,5"}}, Passed},
        {Kind::TwoWinding, {{"EditUnom", "0"}, {"EditUhv", "0"}}, Passed},
    }));

INSTANTIATE_TEST_SUITE_P(
    ThreeWinding, TransformEntryChecks,
    ::testing::ValuesIn(std::vector<EntryCase>{
        {Kind::ThreeWinding, {}, Passed},
        {Kind::ThreeWinding, {{"EditPxx", "1000"}}, Passed},
        {Kind::ThreeWinding, {{"EditPxx", "10000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditIxx", "10000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditPkzCN", "9999"}}, Passed},
        {Kind::ThreeWinding, {{"EditPkzCN", "10000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditUkzVC", "10000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditUnom", "750"}, {"EditUB", "999"}}, Passed},
        {Kind::ThreeWinding, {{"EditUnom", "1150"}, {"EditUB", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditUC", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditUH", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditSB", "999"}}, Passed},
        {Kind::ThreeWinding, {{"EditSB", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditSH", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditSB", ""}, {"EditSC", ""}, {"EditSH", ""}}, Passed},
        {Kind::ThreeWinding, {{"EditDeltaUotpB", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditDeltaUotpC", "1000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditNumberOtpB", "a"}}, NotConverted},
        {Kind::ThreeWinding, {{"EditNumberOtpC", "1,5"}}, NotConverted},
        {Kind::ThreeWinding, {{"EditDeltaUotpB", "x"}}, NotConverted},
        {Kind::ThreeWinding, {{"EditNumberOtpB", "-8"}}, Passed},
        // The record keeps tap counts in 16 bits; a larger count would come back as another number.
        {Kind::ThreeWinding, {{"EditNumberOtpB", "40000"}}, OutOfRange},
        {Kind::ThreeWinding, {{"EditPkzVC", ""}}, NotConverted},
        {Kind::ThreeWinding, {{"EditUkzCN", "abc"}}, NotConverted},
        {Kind::ThreeWinding, {{"EditUnom", "10"}, {"EditUB", "10,5"}}, Passed},
        {Kind::ThreeWinding, {{"EditUnom", "0"}, {"EditUB", "0"}}, Passed},
        {Kind::ThreeWinding, {{"EditUB", "35"}}, OutOfRange},
    }));

INSTANTIATE_TEST_SUITE_P(
    SplitWinding, TransformEntryChecks,
    ::testing::ValuesIn(std::vector<EntryCase>{
        {Kind::SplitWinding, {}, Passed},
        {Kind::SplitWinding, {{"EditPkz", "1000"}}, Passed},
        {Kind::SplitWinding, {{"EditPkz", "10000"}}, OutOfRange},
        {Kind::SplitWinding, {{"EditUkHH", "10000"}}, OutOfRange},
        {Kind::SplitWinding, {{"EditUnomH2", "999"}}, Passed},
        {Kind::SplitWinding, {{"EditUnomH2", "1000"}}, OutOfRange},
        {Kind::SplitWinding, {{"EditDeltaUotp", "1000"}}, OutOfRange},
        {Kind::SplitWinding, {{"EditNumberOtp", "x"}}, NotConverted},
        {Kind::SplitWinding, {{"EditNumberOtp", ""}, {"EditDeltaUotp", ""}}, Passed},
        {Kind::SplitWinding, {{"EditUkBH", ""}}, NotConverted},
        {Kind::SplitWinding, {{"EditUnomB", "230"}}, OutOfRange},
    }));

TEST(TransformEntries, AWindingOfAnotherClassIsRefusedEveryTime) {
    TTransform record;
    EditTexts texts = ValidTexts(Kind::TwoWinding);
    texts["EditUhv"] = "35";
    EXPECT_EQ(ReadTransformEntries(texts, record, kComma), OutOfRange);
    EXPECT_EQ(ReadTransformEntries(texts, record, kComma), OutOfRange);
    texts["EditUhv"] = "115";  // the class of 115 kV is 110 kV
    EXPECT_EQ(ReadTransformEntries(texts, record, kComma), Passed);
}

TEST(TransformEntries, TwoWindingReadsEveryBoxAndBlankTapsAsUnset) {
    TTransform record;
    ASSERT_EQ(ReadTransformEntries(ValidTexts(Kind::TwoWinding), record, kComma), Passed);
    EXPECT_EQ(record.AddStr, test::W("масляный"));
    EXPECT_EQ(record.Unom, 110);
    EXPECT_EQ(record.Snom, 16000);
    EXPECT_EQ(record.Uk, 10.5);
    EXPECT_EQ(record.Pxx, 18);
    EXPECT_EQ(record.Pkz, 85);
    EXPECT_EQ(record.Ixx, 0.7);
    EXPECT_EQ(record.UnomB, 115);
    EXPECT_EQ(record.UnomH, 11);
    EXPECT_EQ(record.NumberOtp, 9);
    EXPECT_EQ(record.DeltaUotp, 1.78);

    EditTexts texts = ValidTexts(Kind::TwoWinding);
    texts["EditNumberOtp"] = "";
    texts["EditDeltaUotp"] = "  ";
    ASSERT_EQ(ReadTransformEntries(texts, record, kComma), Passed);
    EXPECT_EQ(record.NumberOtp, NotSet);
    EXPECT_EQ(record.DeltaUotp, NotSet);
}

TEST(TransformEntries, ThreeWindingReadsEveryBoxAndBlankOptionalOnesAsUnset) {
    TTransformA record;  // the autotransformer dialog reads the same boxes
    EditTexts texts = ValidTexts(Kind::ThreeWinding);
    texts["EditSB"] = "";
    ASSERT_EQ(ReadTransform3Entries(texts, record, kComma), Passed);
    EXPECT_EQ(record.UnomC, 38.5);
    EXPECT_EQ(record.PkzBH, 140);
    EXPECT_EQ(record.UkBH, 17.5);
    EXPECT_EQ(record.UkCH, 6.5);
    EXPECT_EQ(record.SobmB, NotSet);
    EXPECT_EQ(record.SobmC, 100);
    EXPECT_EQ(record.NumberOtpB, 9);
    EXPECT_EQ(record.DeltaUotpB, 1.78);
    EXPECT_EQ(record.NumberOtpC, NotSet);
    EXPECT_EQ(record.DeltaUotpC, NotSet);
}

TEST(TransformEntries, SplitWindingReadsEveryBox) {
    TTransformSS record;
    ASSERT_EQ(ReadTransformSSEntries(ValidTexts(Kind::SplitWinding), record, kComma), Passed);
    EXPECT_EQ(record.UkHH, 30);
    EXPECT_EQ(record.Pkz, 170);
    EXPECT_EQ(record.Ixx, 0.55);
    EXPECT_EQ(record.UnomH1, 10.5);
    EXPECT_EQ(record.UnomH2, 10.5);
    EXPECT_EQ(record.NumberOtp, 9);
}

TEST(TransformEntries, UnsetValuesShowAsBlankBoxesAndTheTypeCarriesItsPower) {
    TTransform record;
    record.Marka = test::W("ТМ");
    record.Snom = 1000;
    record.NumberOtp = NotSet;
    record.DeltaUotp = NotSet;
    record.Ixx = 2.5;
    QStringList shown;
    for (const auto& edit : TransformEdits()) shown << QString(edit.edit) + "=" + ShownText(edit, record, kComma);
    EXPECT_EQ(shown.join(" ").toStdString(),
              "EditAddStr= EditUnom=0 EditSnom=1000 EditUkz=0 EditPxx=0 EditPkz=0 EditIxx=2,5 EditUhv=0 "
              "EditUlv=0 EditDeltaUotp= EditNumberOtp=");
    EXPECT_EQ(TypeWithPower(record.Marka, record.Snom, kComma), QString::fromUtf8("ТМ-1000"));
    EXPECT_EQ(TypeWithPower(record.Marka, 2.5, kComma), QString::fromUtf8("ТМ-2,5"));
}

}  // namespace
}  // namespace kelm
