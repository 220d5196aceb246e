// Every category's fields through the collection contract: captions,
// identity, values as text, the rule of equal values and the dialogs' limits.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogues/categories.h"
#include "core/number_text.h"

namespace kelm {
namespace {

// A value every field can take, different in each field, with more digits
// than a file keeps.
std::string SampleText(const FieldFacts& field, int index) {
    switch (field.kind) {
    case FieldKind::Text: return "Тип «" + std::to_string(index) + "»; \"x\"";
    case FieldKind::Number: return std::to_string(index) + ".12345678901234567";
    case FieldKind::Whole: return std::to_string(index + 1);
    case FieldKind::Choice: break;
    }
    return field.items.back().text;
}

// A record of the collection's category with every field but the row
// identifiers set to its sample.
TBaseElement* Filled(TXMLCustomClass& c) {
    pugi::xml_document doc;
    c.LoadRecordFromXml(doc.append_child(c.RecordElement()));
    TBaseElement* record = c.GetItem(c.Count() - 1);
    for (int f = 0; f < c.FieldCount(); ++f)
        if (!c.Field(f).Is(RowId)) c.SetFieldText(*record, f, SampleText(c.Field(f), f));
    return record;
}

std::vector<std::string> Elements(const TXMLCustomClass& c, const std::vector<int>& fields) {
    std::vector<std::string> names;
    for (int f : fields) names.push_back(c.Field(f).element);
    return names;
}

TEST(CategoryFields, EveryFieldHasACaptionOfItsOwnAndAKind) {
    const auto reference = NewReference();
    for (int i = 0; i < kCategoryCount; ++i) {
        const TXMLCustomClass& c = *reference->GetCollection(i);
        SCOPED_TRACE(c.ClassName());
        std::set<std::string> captions;
        for (int f = 0; f < c.FieldCount(); ++f) {
            const FieldFacts& field = c.Field(f);
            ASSERT_NE(field.caption, nullptr) << field.element;
            EXPECT_TRUE(captions.insert(field.caption).second) << field.caption;
            EXPECT_EQ(field.kind == FieldKind::Choice, !field.items.empty()) << field.element;
        }
        EXPECT_EQ(c.CommentField() >= 0, c.HasComment());
    }
    const TXMLCustomClass& transformers = *reference->GetCollection(1);
    EXPECT_STREQ(transformers.Field(transformers.FieldIndex("Ukz")).caption, "Напряжение короткого замыкания, %");
    EXPECT_STREQ(transformers.Field(transformers.FieldIndex("Pxx")).caption, "Мощность холостого хода, кВт");
    const TXMLCustomClass& meters = *reference->GetCollection(kMetersCategory);
    const FieldFacts& power = meters.Field(meters.FieldIndex("Power"));
    EXPECT_EQ(power.kind, FieldKind::Choice);
    EXPECT_STREQ(power.ItemOf(2)->text, "реактивная");
    EXPECT_EQ(meters.Field(meters.FieldIndex("AccuracyClass")).kind, FieldKind::Whole);
}

TEST(CategoryFields, IdentityIsWhatTheDialogShowsAsTheType) {
    const std::map<std::string, std::vector<std::string>> expected = {
        {"TProvods", {"Marka", "F", "Unom", "Name", "CableFlags"}},
        {"TTransforms", {"Marka", "Unom", "Snom", "UhiV", "UlowV"}},
        {"TTransforms3", {"Marka", "Unom", "Snom", "UnomB", "UnomC", "UnomH"}},
        {"TTransformsSS", {"Marka", "Unom", "Snom", "UnomB", "UnomH1", "UnomH2"}},
        {"TTransformsA", {"Marka", "Unom", "Snom", "UnomB", "UnomC", "UnomH"}},
        {"TShuntReactors", {"Marka", "Unom", "Snom"}},
        {"TSyncMotors", {"Marka", "Unom", "Pnom"}},
        {"TAsyncMotors", {"Marka", "Unom", "Pnom"}},
        {"TMetersRefs", {"Marka", "Unom"}},
    };
    const auto reference = NewReference();
    for (int i = 0; i < kCategoryCount; ++i) {
        TXMLCustomClass& c = *reference->GetCollection(i);
        SCOPED_TRACE(c.ClassName());
        const auto found = expected.find(c.ClassName());
        const std::vector<std::string> named =
            found != expected.end() ? found->second : std::vector<std::string>{"Marka", "Unom"};
        EXPECT_EQ(Elements(c, c.IdentityFields()), named);
        for (int f : c.IdentityFields()) EXPECT_FALSE(c.Field(f).Is(RowId));

        // The same identity whatever the other values; another as soon as one of its fields differs.
        TBaseElement& a = *Filled(c);
        TBaseElement& b = *Filled(c);
        for (int f = 0; f < c.FieldCount(); ++f)
            if (c.Field(f).kind == FieldKind::Number) c.SetFieldText(b, f, "0,5");
        const std::vector<int>& identity = c.IdentityFields();
        const bool numberInIdentity = std::any_of(identity.begin(), identity.end(),
                                                  [&](int f) { return c.Field(f).kind == FieldKind::Number; });
        EXPECT_EQ(c.IdentityKey(a) == c.IdentityKey(b), !numberInIdentity);
        c.SetFieldText(b, identity.front(), "другой");
        EXPECT_NE(c.IdentityKey(a), c.IdentityKey(b));
    }
}

TEST(CategoryFields, EveryValueReadBackFromAWrittenFileEqualsItself) {
    const NumberText numbers(',');
    const auto written = NewReference();
    for (int i = 0; i < kCategoryCount; ++i) Filled(*written->GetCollection(i));
    pugi::xml_document doc;
    written->WriteXml(doc.append_child("KelmReference_v1"), numbers);
    const auto back = NewReference();
    back->LoadFromXml(doc);
    for (int i = 0; i < kCategoryCount; ++i) {
        const TXMLCustomClass& c = *written->GetCollection(i);
        SCOPED_TRACE(c.ClassName());
        ASSERT_EQ(back->GetCollection(i)->Count(), 1);
        const TBaseElement& original = *c.GetItem(0);
        const TBaseElement& read = *back->GetCollection(i)->GetItem(0);
        for (int f = 0; f < c.FieldCount(); ++f) {
            EXPECT_TRUE(c.SameField(original, read, f)) << c.Field(f).element;
            EXPECT_EQ(c.FieldText(original, f, numbers), c.FieldText(read, f, numbers)) << c.Field(f).element;
        }
        EXPECT_EQ(c.IdentityKey(original), c.IdentityKey(read));
    }
}

TEST(CategoryFields, ValuesAreEqualWhenAFileWritesThemAlike) {
    EXPECT_TRUE(WrittenAlike(0.1 + 0.2, 0.3));  // beyond fifteen digits
    EXPECT_TRUE(WrittenAlike(0.0, -0.0) == (NumberText().Format(-0.0) == "0"));
    EXPECT_FALSE(WrittenAlike(0.249, 0.9));
    EXPECT_FALSE(WrittenAlike(1.0, 1.0000000001));
    EXPECT_FALSE(WrittenAlike(double(NotSet), 0.0));
    EXPECT_TRUE(WrittenAlike(double(NotSet), double(NotSet)));
    EXPECT_TRUE(WrittenAlike(std::string(" \t"), std::string()));  // blank is unset
    EXPECT_FALSE(WrittenAlike(std::string("a"), std::string("a ")));
    EXPECT_FALSE(WrittenAlike(std::string("Тип"), std::string("тип")));
}

TEST(CategoryFields, TextIsReadAsTheFileAndTheDialogsShowIt) {
    const auto reference = NewReference();
    TXMLCustomClass& meters = *reference->GetCollection(kMetersCategory);
    TBaseElement& meter = *Filled(meters);
    const int power = meters.FieldIndex("Power");
    meters.SetFieldText(meter, power, "активная/реактивная");
    EXPECT_EQ(meters.FieldText(meter, power, NumberText(',')), "3");
    EXPECT_EQ(meters.ShownFieldText(meter, power, NumberText(',')), "активная/реактивная");
    meters.SetFieldText(meter, power, "1");
    EXPECT_EQ(meters.ShownFieldText(meter, power, NumberText(',')), "активная");
    EXPECT_THROW(meters.SetFieldText(meter, power, "полная"), ConversionError);

    TXMLCustomClass& lines = *reference->GetCollection(0);
    TBaseElement& line = *Filled(lines);
    const int b0 = lines.FieldIndex("B0");
    lines.SetFieldText(line, b0, " 1,5 ");
    EXPECT_EQ(lines.FieldText(line, b0, NumberText(',')), "1,5");
    lines.SetFieldText(line, b0, "");
    EXPECT_FALSE(lines.IsFieldSet(line, b0));
    EXPECT_EQ(lines.FieldText(line, b0, NumberText(',')), "");
    EXPECT_THROW(lines.SetFieldText(line, lines.FieldIndex("Idop"), "70000"), ConversionError);
    EXPECT_THROW(lines.SetFieldText(line, lines.FieldIndex("R0"), "много"), ConversionError);
}

// Each case: a value the property dialog refuses on OK, and the field Check names.
struct Refused {
    int category;
    const char* element;
    const char* value;
    ViolationKind kind;
    const char* named = nullptr;  // the field named, when another than `element`
};

TEST(CategoryFields, CheckReportsWhatTheDialogRefusesWithItsMessage) {
    using enum ViolationKind;
    const std::vector<Refused> cases = {
        {0, "R0", "100", OutOfRange},
        {0, "G0", "1000000", OutOfRange},
        {0, "PhaseNull_X0", "100", OutOfRange},
        {1, "Ukz", "1000", OutOfRange},
        {1, "UlowV", "10000", OutOfRange},
        {1, "Snom", "-1000", Missing},
        {1, "UhiV", "35", OutOfRange},  // not of the rated voltage's class
        {2, "PkzBC", "10000", OutOfRange},
        {3, "UnomH1", "1000", OutOfRange},
        {5, "R", "100", OutOfRange},
        {7, "Snom", "100000", OutOfRange},
        {8, "Snom", "1000000", OutOfRange},
        {11, "CosFi", "1,01", OutOfRange},
        {11, "Slip", "1000", OutOfRange},
        {14, "Inom", "1000", OutOfRange},
        {15, "Inom", "100", OutOfRange},
        {16, "Sensitivity", "100", OutOfRange},
        {16, "WorkTemperatureLow", "5", OutOfRange, "WorkTemperatureHigh"},  // no upper bound under a lower one
        {18, "UnomH", "10000", OutOfRange},
    };
    const auto reference = NewReference();
    for (const Refused& refused : cases) {
        TXMLCustomClass& c = *reference->GetCollection(refused.category);
        SCOPED_TRACE(std::string(c.ClassName()) + " " + refused.element + " " + refused.value);
        TBaseElement& record = *Filled(c);
        // A valid record of its category: within every limit, of the class of its winding.
        for (int f = 0; f < c.FieldCount(); ++f)
            if (c.Field(f).kind == FieldKind::Number) c.SetFieldText(record, f, "0,5");
        for (const char* element : {"Unom", "UhiV", "UnomB"})
            if (c.FieldIndex(element) >= 0) c.SetFieldText(record, c.FieldIndex(element), "10");
        if (c.FieldIndex("WorkTemperatureLow") >= 0) c.SetFieldText(record, c.FieldIndex("WorkTemperatureLow"), "");
        if (c.FieldIndex("WorkTemperatureHigh") >= 0) c.SetFieldText(record, c.FieldIndex("WorkTemperatureHigh"), "");
        ASSERT_TRUE(c.Check(record).empty());

        c.SetFieldText(record, c.FieldIndex(refused.element), refused.value);
        const std::vector<FieldViolation> violations = c.Check(record);
        ASSERT_EQ(violations.size(), 1u);
        EXPECT_STREQ(c.Field(violations[0].field).element, refused.named ? refused.named : refused.element);
        EXPECT_EQ(violations[0].kind, refused.kind);
    }
    EXPECT_STREQ(ViolationMessage(ViolationKind::OutOfRange), "Введены некорректные данные");
    EXPECT_STREQ(ViolationMessage(ViolationKind::Missing), "Не введены обязательные данные");
}

}  // namespace
}  // namespace kelm
