// FindSame, FindSameWithComment, InsertPosition and AddCopy answer from an
// index of the collection; these tests hold them to the plain scans through
// random records and random changes of the collection.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "catalogue_fixture.h"
#include "catalogues/busbars.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/meters.h"
#include "catalogues/provods.h"
#include "catalogues/switch_gr.h"
#include "catalogues/transforms.h"

namespace kelm {
namespace {

using test::RecordOf;
using test::W;

// Few distinct values, so that equal records and equal keys are common;
// voltages within SameValue of each other, zeros of both signs, values not
// set, and now and then a value that is not a number at all.
class RandomValues {
public:
    explicit RandomValues(unsigned seed) : random_(seed) {}
    int Below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    std::string Text() {
        static const std::vector<std::string> texts = {"", "T", "TM", W("ТМ"), W("ТМ-1"), "t", " "};
        return texts[static_cast<std::size_t>(Below(static_cast<int>(texts.size())))];
    }
    double Number() {
        static const std::vector<double> numbers = {0, -0.0, 0.4, 6, 10, 10 + 1e-13, 10 - 2e-13, 35, 110,
                                                    110.0000001, 1e-13, NotSet};
        if (Below(3000) == 0)
            return Below(2) ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
        return numbers[static_cast<std::size_t>(Below(static_cast<int>(numbers.size())))];
    }
    int Whole() {
        static const int wholes[] = {0, 1, 2, 7, NotSet};
        return wholes[Below(5)];
    }

    // Every field of the category, the voltage and the comment.
    template <class R>
    void Fill(const Category<R>& category, R& record) {
        for (const auto& field : category.fields) std::visit([&](auto member) { Set(record.*member); }, field.member);
        record.Unom = Number();
        if (category.comment) record.*category.comment = Text();
    }

private:
    void Set(std::string& value) { value = Text(); }
    void Set(double& value) { value = Number(); }
    template <class Int>
    void Set(Int& value) { value = static_cast<Int>(Whole()); }

    std::mt19937 random_;
};

template <class C>
class CollectionLookup : public ::testing::Test {
protected:
    using R = RecordOf<C>;
    static constexpr bool kCommented = std::is_base_of_v<TXMLClass, C>;

    // The plain scans the index stands in for.
    const TBaseElement* ScanFind(const R& x, bool withComment) const {
        for (int i = 0; i < c.Count(); ++i)
            if (c.Same(*c.GetItem(i), x, withComment)) return c.GetItem(i);
        return nullptr;
    }
    int ScanPosition(const R& x, int count) const {
        for (int i = 0; i < count; ++i)
            if (c.SortsBefore(x, *c.GetItem(i))) return i;
        return count;
    }

    // A record to ask about: a new one, or one like a record already there.
    R Probe(RandomValues& values) {
        R x;
        if (c.Count() > 0 && values.Below(2) == 0) {
            x = *c.GetItem(values.Below(c.Count()));
            if (values.Below(3) == 0 && c.Definition().comment) x.*c.Definition().comment = values.Text();
        } else {
            values.Fill(c.Definition(), x);
        }
        return x;
    }

    void ExpectSameAnswers(const R& x, const std::string& where) {
        EXPECT_EQ(c.FindSame(x), ScanFind(x, false)) << where;
        if constexpr (kCommented) {
            EXPECT_EQ(c.FindSameWithComment(x), ScanFind(x, true)) << where;
        }
    }

    C c;
};

using Collections = ::testing::Types<TTransforms, TProvods, TSwitchGRs, TMetersRefs, TCurrentLimitReactorsRefs,
                                     TTransformsVRefs, TBusbars>;
TYPED_TEST_SUITE(CollectionLookup, Collections);

TYPED_TEST(CollectionLookup, AnswersAsThePlainScansThroughRandomChanges) {
    using R = typename TestFixture::R;
    auto& c = this->c;
    RandomValues values(7);
    for (int step = 0; step < 3000; ++step) {
        const std::string where = "step " + std::to_string(step);
        const R x = this->Probe(values);
        this->ExpectSameAnswers(x, where);
        switch (values.Below(12)) {
            case 0: {  // placed by hand after an append, as the contract allows
                c.NewElement();
                EXPECT_EQ(c.InsertPosition(x), this->ScanPosition(x, c.Count() - 1)) << where;
                c.RemoveElement(c.GetItem(c.Count() - 1));
                break;
            }
            case 1:  // loaded records come in any order
                values.Fill(c.Definition(), *c.NewElement());
                break;
            case 2:
                if (c.Count() > 0) c.RemoveElement(c.GetItem(values.Below(c.Count())));
                break;
            case 3:
                c.Sort();
                break;
            case 4:  // a property dialog writes values back and says so
                if (c.Count() > 0) {
                    values.Fill(c.Definition(), *c.GetItem(values.Below(c.Count())));
                    c.RecordsChanged();
                }
                break;
            case 5:  // a copy run gives its copy a comment; the collection need not be told
                if (c.Count() > 0 && c.Definition().comment)
                    c.GetItem(values.Below(c.Count()))->*c.Definition().comment = values.Text();
                break;
            case 6:  // deleted records leave with the exchange-file save
                if (c.Count() > 0) {
                    c.MarkDeleted(c.GetItem(values.Below(c.Count())));
                    pugi::xml_document doc;
                    c.SaveToXml(doc, NumberText('.'));
                }
                break;
            default: {
                const int expected = this->ScanPosition(x, c.Count());
                int index = -1;
                TBaseElement* copy = c.AddCopy(x, index);
                ASSERT_EQ(index, expected) << where;
                ASSERT_EQ(c.GetItem(index), copy) << where;
            }
        }
        if (c.Count() > 400) c.Clear();
    }
}

TYPED_TEST(CollectionLookup, CopiesPlacedAgainAndAgainAtTheFrontKeepTheirOrder) {
    using R = typename TestFixture::R;
    auto& c = this->c;
    RandomValues values(11);
    std::vector<R> sources;
    for (int i = 0; i < 200; ++i) {
        R x;
        values.Fill(c.Definition(), x);
        x.Unom = 1000 - i;  // each sorts before all the others
        x.Marka = "";
        sources.push_back(x);
        const int expected = this->ScanPosition(x, c.Count());
        int index = -1;
        c.AddCopy(x, index);
        ASSERT_EQ(index, expected) << i;
    }
    for (const R& x : sources) this->ExpectSameAnswers(x, "front");
}

TEST(CollectionLookup, RecordEditedFromOutsideIsFoundByItsNewValuesOnceTold) {
    TTransforms c;
    for (const char* marka : {"A", "B", "C"}) test::Add(c, marka, 10, 100);
    TTransform probe = *c.GetItem(0);
    probe.Marka = "Z";
    EXPECT_EQ(c.FindSame(probe), nullptr);
    c.GetItem(1)->Marka = "Z";
    c.RecordsChanged();
    EXPECT_EQ(c.FindSame(probe), c.GetItem(1));
    int index = -1;
    c.AddCopy(probe, index);
    EXPECT_EQ(index, 3);  // after "Z", which now stands out of order
}

}  // namespace
}  // namespace kelm
