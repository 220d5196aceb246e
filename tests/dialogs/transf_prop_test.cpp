// The transformer dialogs, opened offscreen as the main window opens them and
// driven like a user would.
#include "dialogs/transf_prop.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_driver.h"
#include "dialogs/key_filters.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using test::Edit;
using test::kIncorrect;
using test::kMissing;
using test::Retype;
using test::TabOrder;
using test::Type;
using test::W;

TTransform TwoWinding() {
    TTransform r;
    r.Ident = 5;
    r.Marka = W("ТДН");
    r.Unom = 110;
    r.Snom = 16000;
    r.Uk = 10.5;
    r.Pxx = 18;
    r.Pkz = 85;
    r.Ixx = 0.7;
    r.UnomB = 115;
    r.UnomH = 11;
    r.NumberOtp = 9;
    r.DeltaUotp = 1.78;
    return r;
}

template <class R>
R ThreeWinding() {
    R r;
    r.Ident = 6;
    r.Marka = W("ТДТН");
    r.Unom = 110;
    r.Snom = 25000;
    r.UnomB = 115;
    r.UnomC = 38.5;
    r.UnomH = 11;
    r.Pxx = 28.5;
    r.Ixx = 0.7;
    r.PkzBC = r.PkzBH = r.PkzCH = 140;
    r.UkBC = 10.5;
    r.UkBH = 17.5;
    r.UkCH = 6.5;
    r.SobmB = 100;
    r.SobmC = 66.7;
    r.SobmH = NotSet;
    r.NumberOtpB = 9;
    r.DeltaUotpB = 1.78;
    r.NumberOtpC = NotSet;
    r.DeltaUotpC = NotSet;
    return r;
}

TTransformSS SplitWinding() {
    TTransformSS r;
    r.Ident = 7;
    r.Marka = W("ТРДН");
    r.Unom = 110;
    r.Snom = 40000;
    r.UkBH = 10.5;
    r.UkHH = 30;
    r.Pxx = 34;
    r.Pkz = 170;
    r.Ixx = 0.55;
    r.UnomB = 115;
    r.UnomH1 = r.UnomH2 = 10.5;
    r.NumberOtp = NotSet;
    r.DeltaUotp = NotSet;
    return r;
}

// An edit as the dialog's tables describe it: name, bold, read-only and key filter.
QString Described(QLineEdit* edit) {
    QString filter = "any";
    for (QObject* child : edit->children()) {
        if (dynamic_cast<DecimalKeyFilter*>(child)) filter = "decimal";
        if (dynamic_cast<DigitKeyFilter*>(child)) filter = "digits";
    }
    return edit->objectName() + (edit->font().bold() ? " bold" : "") + (edit->isReadOnly() ? " shown" : "") + " " +
           filter;
}

class TransformerDialogs : public test::DialogDriver {
protected:
    // Opens the record's dialog and gives what `look` finds in it.
    template <class R, class Look>
    auto Seen(R record, Look look) {
        decltype(look(std::declval<TPropertyDialog&>())) seen{};
        Open(record, false, [&](TPropertyDialog& d) { seen = look(d); });
        return seen;
    }
    template <class R>
    QString Controls(const R& record) {
        return Seen(record, [](TPropertyDialog& d) {
            QStringList edits;
            for (QLineEdit* edit : d.findChildren<QLineEdit*>()) edits << Described(edit);
            return edits.join(", ");
        });
    }
    template <class R>
    QString Labels(const R& record) {
        return Seen(record, [](TPropertyDialog& d) {
            // In reading order: row by row, left to right.
            d.layout()->activate();
            QList<QLabel*> labels = d.findChildren<QLabel*>();
            std::stable_sort(labels.begin(), labels.end(), [](QLabel* a, QLabel* b) {
                return std::pair(a->geometry().center().y(), a->x()) < std::pair(b->geometry().center().y(), b->x());
            });
            QStringList captions;
            for (QLabel* label : labels) captions << label->text();
            return captions.join(" | ");
        });
    }
};

TEST_F(TransformerDialogs, EachKindOpensItsOwnDialog) {
    auto name = [](TPropertyDialog& d) { return d.objectName() + " " + d.windowTitle(); };
    EXPECT_EQ(Seen(TwoWinding(), name), "TTransfProp Двухобмоточный трансформатор");
    EXPECT_EQ(Seen(ThreeWinding<TTransform3>(), name), "TTransfProp3 Трехобмоточный трансформатор");
    EXPECT_EQ(Seen(ThreeWinding<TTransformA>(), name), "TTransfPropA Автотрансформатор");
    EXPECT_EQ(Seen(SplitWinding(), name), "TTransfPropSS Трансформатор с расщепленной обмоткой");
}

TEST_F(TransformerDialogs, IdentityIsBoldAndShownOnlyAndKeyFiltersFollowEachDialog) {
    EXPECT_EQ(Controls(TwoWinding()).toStdString(),
              "EditUnom bold shown decimal, EditTypeTr bold shown any, EditSnom bold shown decimal, EditAddStr any, "
              "EditUkz decimal, EditPxx decimal, EditPkz decimal, EditIxx decimal, EditUhv bold shown decimal, "
              "EditUlv bold shown decimal, EditNumberOtp decimal, EditDeltaUotp decimal");
    const std::string threeWinding =
        "EditUnom bold shown any, EditTypeTr bold shown any, EditSnom bold shown any, EditAddStr any, "
        "EditUB bold shown decimal, EditUC bold shown decimal, EditUH bold shown decimal, EditPxx any, EditIxx any, "
        "EditPkzVC decimal, EditPkzVN decimal, EditPkzCN decimal, EditUkzVC decimal, EditUkzVN decimal, "
        "EditUkzCN decimal, EditNumberOtpB any, EditDeltaUotpB any, EditNumberOtpC any, EditDeltaUotpC any, "
        "EditSB decimal, EditSC decimal, EditSH decimal";
    EXPECT_EQ(Controls(ThreeWinding<TTransform3>()).toStdString(), threeWinding);
    EXPECT_EQ(Controls(ThreeWinding<TTransformA>()).toStdString(), threeWinding);
    EXPECT_EQ(Controls(SplitWinding()).toStdString(),
              "EditUnom bold shown any, EditTypeTr bold shown any, EditSnom bold shown any, EditAddStr any, "
              "EditUnomB bold shown decimal, EditUnomH1 bold shown decimal, EditUnomH2 bold shown decimal, "
              "EditPxx any, EditPkz any, EditIxx any, EditUkBH decimal, EditUkHH decimal, EditNumberOtp any, "
              "EditDeltaUotp any");
}

TEST_F(TransformerDialogs, EveryBoxHasItsCaption) {
    const std::string identity =
        "Номинальное напряжение, кВ | Тип | Номинальная мощность, кВ·А | Дополнительная информация | ";
    const std::string taps = "± | Х | %";
    EXPECT_EQ(Labels(TwoWinding()).toStdString(),
              identity + "Напряжение короткого замыкания, % | Мощность холостого хода, кВт | "
                         "Мощность короткого замыкания, кВт | Ток холостого хода, % | "
                         "Номинальное напряжение высшее, кВ | Номинальное напряжение низшее, кВ | "
                         "Пределы регулирования | " + taps);
    const std::string threeWinding =
        identity + "Номинальное напряжение обмоток: | Uн.в., кВ | Uн.с., кВ | Uн.н., кВ | "
                   "Мощность холостого хода, кВт | Ток холостого хода, % | "
                   "Мощность короткого замыкания, кВт: | Pк.з.(вс): | Pк.з.(вн): | Pк.з.(сн): | "
                   "Напряжение короткого замыкания, %: | Uк.з.(вс): | Uк.з.(вн): | Uк.з.(сн): | "
                   "Пределы регулирования: | на обмотке высокого напряжения | " + taps +
        " | на обмотке низкого напряжения | " + taps +
        " | Соотношение между мощностями обмоток, % | Sобм.в: | Sобм.с: | Sобм.н:";
    EXPECT_EQ(Labels(ThreeWinding<TTransform3>()).toStdString(), threeWinding);
    EXPECT_EQ(Labels(ThreeWinding<TTransformA>()).toStdString(), threeWinding);
    EXPECT_EQ(Labels(SplitWinding()).toStdString(),
              identity + "Номинальное напряжение обмоток, кВ: | UномВ | UномН1 | UномН2 | "
                         "Мощность холостого хода, кВт | Мощность короткого замыкания, кВт | "
                         "Ток холостого хода, % | Напряжение короткого замыкания, %: | Uк.з.(вн) | Uк.з.(нн) | "
                         "Пределы регулирования | " + taps);
}

TEST_F(TransformerDialogs, TabSkipsTheIdentityAndOnlyTheTwoWindingDialogStopsAtWindingVoltages) {
    auto tabs = [](TPropertyDialog& d) { return TabOrder(d).join(" ").toStdString(); };
    EXPECT_EQ(Seen(TwoWinding(), tabs), "EditAddStr EditUkz EditPxx EditPkz EditIxx EditUhv EditUlv EditNumberOtp "
                                        "EditDeltaUotp BitBtn1 BitBtn2");
    const std::string threeWinding = "EditAddStr EditPxx EditIxx EditPkzVC EditPkzVN EditPkzCN EditUkzVC EditUkzVN "
                                     "EditUkzCN EditNumberOtpB EditDeltaUotpB EditNumberOtpC EditDeltaUotpC EditSB "
                                     "EditSC EditSH BitBtn1 BitBtn2";
    EXPECT_EQ(Seen(ThreeWinding<TTransform3>(), tabs), threeWinding);
    EXPECT_EQ(Seen(ThreeWinding<TTransformA>(), tabs), threeWinding);
    EXPECT_EQ(Seen(SplitWinding(), tabs), "EditAddStr EditPxx EditPkz EditIxx EditUkBH EditUkHH EditNumberOtp "
                                          "EditDeltaUotp BitBtn1 BitBtn2");
}

// The texts of the named boxes, separated by blanks.
auto Texts(std::vector<const char*> names) {
    return [names](TPropertyDialog& d) {
        QStringList shown;
        for (const char* name : names) shown << Edit(d, name)->text();
        return shown.join(" ").toStdString();
    };
}

TEST_F(TransformerDialogs, BoxesShowTheRecordWithUnsetValuesBlank) {
    const auto twoWinding = Texts({"EditTypeTr", "EditUnom", "EditSnom", "EditUkz", "EditIxx", "EditUhv", "EditUlv",
                                   "EditNumberOtp", "EditDeltaUotp"});
    EXPECT_EQ(Seen(TwoWinding(), twoWinding), "ТДН-16000 110 16000 10,5 0,7 115 11 9 1,78");
    const auto threeWinding = Texts({"EditTypeTr", "EditUC", "EditPxx", "EditPkzVN", "EditUkzCN", "EditSB", "EditSC",
                                     "EditNumberOtpB", "EditDeltaUotpB"});
    EXPECT_EQ(Seen(ThreeWinding<TTransformA>(), threeWinding), "ТДТН-25000 38,5 28,5 140 6,5 100 66,7 9 1,78");
    EXPECT_EQ(Seen(ThreeWinding<TTransform3>(), Texts({"EditSH", "EditNumberOtpC", "EditDeltaUotpC"})), "  ");
    const auto splitWinding =
        Texts({"EditTypeTr", "EditUnomH2", "EditUkHH", "EditPkz", "EditNumberOtp", "EditDeltaUotp"});
    EXPECT_EQ(Seen(SplitWinding(), splitWinding), "ТРДН-40000 10,5 30 170  ");
}

TEST_F(TransformerDialogs, AWindingOfAnotherClassIsRefusedUntilCancelled) {
    TTransform record = TwoWinding();
    record.UnomB = 35;
    const bool changed = Open(record, false, [](TPropertyDialog& d) {
        Retype(d, "EditPxx", "20");
        d.BitBtn2->click();
        d.BitBtn2->click();
        EXPECT_TRUE(d.isVisible());
        d.BitBtn1->click();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(messages.informed, (std::vector<std::pair<QString, QString>>{{kIncorrect, ""}, {kIncorrect, ""}}));
    EXPECT_EQ(record.Pxx, 18);  // the refused value stayed in the dialog
}

TEST_F(TransformerDialogs, NumbersThatAreNotWholeOrMissingAreRefusedAsNotEntered) {
    TTransform two = TwoWinding();
    TTransform3 three = ThreeWinding<TTransform3>();
    const bool changedTwo = Open(two, false, [](TPropertyDialog& d) {
        Retype(d, "EditNumberOtp", "2,5");
        EXPECT_EQ(Edit(d, "EditNumberOtp")->text(), "2,5");  // the decimal filter lets it in
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    const bool changedThree = Open(three, false, [](TPropertyDialog& d) {
        Retype(d, "EditNumberOtpB", "x");
        EXPECT_EQ(Edit(d, "EditNumberOtpB")->text(), "x");  // no filter here
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditNumberOtpB", "9");
        Retype(d, "EditPkzVC", "");
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    EXPECT_FALSE(changedTwo);
    EXPECT_FALSE(changedThree);
    EXPECT_EQ(messages.informed,
              (std::vector<std::pair<QString, QString>>{{kMissing, ""}, {kMissing, ""}, {kMissing, ""}}));
    EXPECT_EQ(two.NumberOtp, 9);
    EXPECT_EQ(three.PkzBC, 140);
}

TEST_F(TransformerDialogs, AClearedTapStepIsSavedAsNull) {
    test::FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom","NumberOtp","DeltaUotp") )"
                  R"(VALUES ('T',110,16000,9,1.78))");
    TTransform record = TwoWinding();
    record.Ident = std::stoi(catalogue.Value(R"(select "Ident" from "Transforms2")"));
    ASSERT_TRUE(Open(record, false, [](TPropertyDialog& d) {
        Retype(d, "EditDeltaUotp", "");
        Retype(d, "EditPkz", "90.5");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(record.DeltaUotp, NotSet);
    EXPECT_EQ(record.NumberOtp, 9);
    EXPECT_EQ(record.Pkz, 90.5);

    TRef_DataModule db;
    db.ConnectTo(catalogue.Path());
    record.Added = 1;
    EXPECT_EQ(WriteRecord(TransformsCategory(), record, db), RecordWrite::Written);
    EXPECT_EQ(catalogue.Rows(R"(select "NumberOtp","DeltaUotp","Pkz" from "Transforms2")"),
              (std::vector<std::vector<std::string>>{{"9", "NULL", "90.5"}}));
}

TEST_F(TransformerDialogs, AnEmptyWindingPowerIsUnset) {
    TTransform3 record = ThreeWinding<TTransform3>();
    ASSERT_TRUE(Open(record, false, [](TPropertyDialog& d) {
        Retype(d, "EditSB", "");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(record.SobmB, NotSet);
    EXPECT_EQ(record.SobmC, 66.7);
}

TEST_F(TransformerDialogs, AnAutotransformersValuesGoBackIntoItsOwnRecord) {
    TTransformA record = ThreeWinding<TTransformA>();
    record.Deleted = 1;
    const bool changed = Open(record, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Автотрансформатор");
        Retype(d, "EditPxx", "31,5");
        Retype(d, "EditUkzVN", "18");
        Retype(d, "EditNumberOtpC", "6");
        Retype(d, "EditAddStr", "новый");
        EXPECT_TRUE(d.TryAccept());
    });
    EXPECT_TRUE(changed);
    EXPECT_TRUE(messages.informed.empty());
    EXPECT_EQ(record.Pxx, 31.5);
    EXPECT_EQ(record.UkBH, 18);
    EXPECT_EQ(record.NumberOtpC, 6);
    EXPECT_EQ(record.AddStr, W("новый"));
    EXPECT_EQ(record.Ident, 6);
    EXPECT_EQ(record.Deleted, 1);
    EXPECT_EQ(record.Added, 0);  // the caller marks it
}

TEST_F(TransformerDialogs, LeftPaneDialogsOnlyShowTheRecord) {
    auto viewOnly = [this](auto record) {
        const auto before = record;
        const bool changed = Open(record, true, [](TPropertyDialog& d) {
            for (QLineEdit* edit : d.findChildren<QLineEdit*>())
                EXPECT_TRUE(edit->isReadOnly()) << d.objectName().toStdString() << " " << edit->objectName().toStdString();
            EXPECT_FALSE(d.BitBtn2->isEnabled());
            Type(Edit(d, "EditPxx"), "7");
            EXPECT_FALSE(d.TryAccept());
            d.done(QDialog::Accepted);  // whatever it ends with
        });
        EXPECT_FALSE(changed);
        EXPECT_EQ(record.Pxx, before.Pxx);
    };
    viewOnly(TwoWinding());
    viewOnly(ThreeWinding<TTransform3>());
    viewOnly(ThreeWinding<TTransformA>());
    viewOnly(SplitWinding());
    EXPECT_TRUE(messages.informed.empty());
}

}  // namespace
}  // namespace kelm
