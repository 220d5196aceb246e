// The equipment dialogs, opened offscreen as the main window opens them and
// driven like a user would.
#include "dialogs/equipment_prop.h"

#include <gtest/gtest.h>

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"
#include "dialogs/dialog_driver.h"
#include "dialogs/motors_prop.h"
#include "support/test_support.h"

namespace kelm {
namespace {

using namespace test;

template <class R>
R Named(const char* marka, double unom) {
    R r;
    r.Ident = 17;
    r.Marka = W(marka);
    r.Unom = unom;
    return r;
}

TBusbar Busbar() {
    auto r = Named<TBusbar>("ШМА-4", 0.4);
    r.R = 0.03;
    r.X = 0.02;
    return r;
}

TShuntReactor ShuntReactor() {
    auto r = Named<TShuntReactor>("РТД", 500);
    r.Snom = 180;
    r.Inom = 630;
    r.dP = 420;
    return r;
}

template <class R>
R Compensator() {
    auto r = Named<R>("КСВ", 10);
    r.Snom = 50;
    r.dP = 0.5;
    return r;
}

template <class R>
R Motor() {
    auto r = Named<R>("СДН", 6);
    r.Pnom = 1600;
    r.Performance = 0.96;
    r.CosFi = 0.9;
    r.n = 1000;
    if constexpr (std::is_same_v<R, TAsyncMotor>) r.Slip = 1.5;
    return r;
}

TCurrentLimitReactorsRef Reactor() {
    auto r = Named<TCurrentLimitReactorsRef>("РБ", 10);
    r.Snom = "1000";
    r.Inom = 630;
    r.dP = 7.2;
    r.IsDouble = 1;
    return r;
}

// The rows a dialog shows, as "label: box" from top to bottom.
QStringList Rows(TPropertyDialog& d) {
    QStringList rows;
    auto* grid = d.findChild<QGridLayout*>();
    for (int row = 0; row < grid->rowCount(); ++row) {
        auto* label = grid->itemAtPosition(row, 0) ? qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget()) : nullptr;
        auto* box = grid->itemAtPosition(row, 1) ? grid->itemAtPosition(row, 1)->widget() : nullptr;
        if (label && label->isVisible()) rows << label->text() + ": " + box->objectName();
    }
    return rows;
}

using EquipmentDialogs = DialogDriver;

TEST_F(EquipmentDialogs, BusbarDialogShowsResistancesUnderTheirOwnLabels) {
    TBusbar busbar = Busbar();
    Open(busbar, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TPropMin");
        EXPECT_EQ(d.windowTitle(), "Шинопровод");
        EXPECT_EQ(Rows(d).join("\n"), "Номинальное напряжение, кВ: EditUnom\n"
                                      "Марка: EditMarka\n"
                                      "Активное сопротивление, Ом/км: EditSnom\n"
                                      "Реактивное сопротивление, Ом/км: EditDp");
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "ШМА-4");
        EXPECT_EQ(Edit(d, "EditUnom")->text(), "0,4");
        EXPECT_EQ(Edit(d, "EditSnom")->text(), "0,03");
        EXPECT_EQ(Edit(d, "EditDp")->text(), "0,02");
        // The longer labels push the boxes to the right instead of running under them.
        d.layout()->activate();
        EXPECT_GE(Edit(d, "EditSnom")->x(), Child<QLabel>(d, "LabelSnom")->geometry().right());
        EXPECT_EQ(TabOrder(d).join(" "), "EditSnom EditDp BitBtn1 BitBtn2");
    });
}

TEST_F(EquipmentDialogs, BusbarResistanceOf100IsRefusedAndTheRecordKeepsItsValues) {
    TBusbar busbar = Busbar();
    const bool changed = Open(busbar, false, [this](TPropertyDialog& d) {
        Retype(d, "EditSnom", "99,99");
        Retype(d, "EditDp", "100");
        EXPECT_FALSE(d.TryAccept());
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(messages.informed.back().first, kIncorrect);
        Retype(d, "EditDp", "99,99");
        EXPECT_TRUE(d.TryAccept());
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(busbar.R, 99.99);
    EXPECT_EQ(busbar.X, 99.99);
    EXPECT_EQ(busbar.Marka, W("ШМА-4"));
    EXPECT_EQ(busbar.Unom, 0.4);
    EXPECT_EQ(busbar.Added, 0);  // the caller marks it
}

TEST_F(EquipmentDialogs, ASynchronousCompensatorOf100000IsRefusedButACapacitorBankOfItAccepted) {
    auto condenser = Compensator<TSyncCondenser>();
    auto bank = Compensator<TCapacitorBank>();
    QString condenserTitle, bankTitle, bankLosses;
    Open(condenser, false, [&](TPropertyDialog& d) {
        condenserTitle = d.windowTitle();
        Retype(d, "EditSnom", "100000");
        d.BitBtn2->click();
        EXPECT_TRUE(d.isVisible());
        d.BitBtn1->click();
    });
    EXPECT_TRUE(Open(bank, false, [&](TPropertyDialog& d) {
        bankTitle = d.windowTitle();
        bankLosses = Child<QLabel>(d, "LabelDp")->text();
        Retype(d, "EditSnom", "100000");
        d.BitBtn2->click();
    }));
    EXPECT_EQ(condenserTitle, "Синхронный комперсатор");
    EXPECT_EQ(bankTitle, "Батарея конденсаторов");
    EXPECT_EQ(bankLosses, "Удельные потери мощности, кВт/квар");
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}}));
    EXPECT_EQ(condenser.Snom, 50);
    EXPECT_EQ(bank.Snom, 100000);
}

template <class R>
class TwoValueDialogs : public DialogDriver {};
using TwoValueRecords = ::testing::Types<TBusbar, TSyncCondenser, TCapacitorBank, TTiristorCondenser>;
TYPED_TEST_SUITE(TwoValueDialogs, TwoValueRecords);

TYPED_TEST(TwoValueDialogs, AnEmptyLossesBoxIsMissingData) {
    TypeParam record = Named<TypeParam>("Т", 10);
    const bool changed = this->Open(record, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TPropMin");
        Retype(d, "EditDp", "");
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(this->messages.informed, (Informed{{kMissing, ""}}));
}

TEST_F(EquipmentDialogs, ShuntReactorDialogShowsTheMarkWithItsPowerAndAddsTheCurrent) {
    TShuntReactor reactor = ShuntReactor();
    const bool changed = Open(reactor, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TProp");
        EXPECT_EQ(d.windowTitle(), "Шунтирующий реактор");
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "РТД-180");
        EXPECT_EQ(Edit(d, "EditInom")->text(), "630");
        EXPECT_EQ(Rows(d).join("\n"), "Номинальное напряжение, кВ: EditUnom\n"
                                      "Марка: EditMarka\n"
                                      "Номинальная мощность, МВА: EditSnom\n"
                                      "Номинальный ток, А: EditInom\n"
                                      "Потери активной мощности, кВт: EditDp");
        EXPECT_EQ(TabOrder(d).join(" "), "EditSnom EditInom EditDp BitBtn1 BitBtn2");
        Retype(d, "EditInom", "1000000");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditInom", "999999");
        Retype(d, "EditDp", "450,5");
        EXPECT_TRUE(d.TryAccept());
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(reactor.Inom, 999999);
    EXPECT_EQ(reactor.dP, 450.5);
    EXPECT_EQ(reactor.Snom, 180);
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}}));
}

// The mark box is wider than the value boxes, so long marks show whole; a busbar's by 27 pixels more.
TEST_F(EquipmentDialogs, TheMarkBoxShowsLongMarksWhole) {
    auto markWidth = [](TPropertyDialog& d) {
        d.layout()->activate();
        QLineEdit* mark = Edit(d, "EditMarka");
        EXPECT_GT(mark->width(), Edit(d, "EditDp")->width());
        EXPECT_LE(mark->fontMetrics().horizontalAdvance(mark->text()) + 10, mark->width()) << mark->text().toStdString();
        return mark->width();
    };
    TShuntReactor reactor = ShuntReactor();
    reactor.Marka = W("РОМ-110000/500");
    reactor.Snom = 110;
    Open(reactor, false, [&](TPropertyDialog& d) { markWidth(d); });
    auto limiting = Named<TCurrentLimitReactorsRef>("РБСДГ-10-2х2500-0,20У3", 10);
    limiting.Snom = "2500";
    Open(limiting, false, [&](TPropertyDialog& d) { markWidth(d); });

    int busbarMark = 0, condenserMark = 0;
    TBusbar busbar = Busbar();
    Open(busbar, false, [&](TPropertyDialog& d) { busbarMark = markWidth(d); });
    auto condenser = Compensator<TSyncCondenser>();
    Open(condenser, false, [&](TPropertyDialog& d) { condenserMark = markWidth(d); });
    EXPECT_EQ(busbarMark - condenserMark, 27);
}

TEST_F(EquipmentDialogs, ArresterDialogsShowOnlyTheLosses) {
    auto arrester = Named<TValveArrester>("РВС-110", 110);
    arrester.dP = 0.3;
    auto suppressor = Named<TExcessVoltageSuppressor>("ОПН-10", 10);
    QString suppressorTitle;
    EXPECT_TRUE(Open(arrester, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TRazrProp");
        EXPECT_EQ(d.windowTitle(), "Вентильный разрядник");
        EXPECT_EQ(Rows(d).join("\n"), "Номинальное напряжение, кВ: EditUnom\n"
                                      "Марка: EditMarka\n"
                                      "Потери активной мощности, кВт: EditDp");
        EXPECT_EQ(Edit(d, "EditDp")->text(), "0,3");
        EXPECT_EQ(TabOrder(d).join(" "), "EditDp BitBtn1 BitBtn2");
        Retype(d, "EditDp", "1000000");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditDp", "0,25");
        d.BitBtn2->click();
    }));
    EXPECT_EQ(arrester.dP, 0.25);
    Open(suppressor, false, [&](TPropertyDialog& d) { suppressorTitle = d.windowTitle(); });
    EXPECT_EQ(suppressorTitle, "Ограничитель перенапряжения");
}

TEST_F(EquipmentDialogs, SynchronousMotorDialogHasNoSlipRow) {
    auto sync = Motor<TSyncMotor>();
    auto async = Motor<TAsyncMotor>();
    QStringList syncRows, asyncRows;
    int syncHeight = 0, asyncHeight = 0;
    Open(sync, false, [&](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TMotors");
        EXPECT_EQ(d.windowTitle(), "Синхронный двигатель");
        EXPECT_FALSE(static_cast<TMotors&>(d).IsAsync);
        syncRows = Rows(d);
        syncHeight = d.height();
        EXPECT_EQ(TabOrder(d).join(" "), "EditPerfomance EditCosFi EditN BitBtn1 BitBtn2");
    });
    Open(async, false, [&](TPropertyDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Асинхронный двигатель");
        asyncRows = Rows(d);
        asyncHeight = d.height();
        EXPECT_EQ(Edit(d, "EditSlipe")->text(), "1,5");
        EXPECT_EQ(TabOrder(d).join(" "), "EditPerfomance EditCosFi EditN EditSlipe BitBtn1 BitBtn2");
    });
    EXPECT_EQ(syncRows.join("\n"), "Номинальное напряжение, кВ: EditUnom\n"
                                   "Марка: EditMarka\n"
                                   "Номинальная мощность, кВт: EditPnom\n"
                                   "КДП, о.е.: EditPerfomance\n"
                                   "Коэффициент мощности: EditCosFi\n"
                                   "Частота вращения, об./мин: EditN");
    EXPECT_EQ(asyncRows.last(), "Номинальное скольжение, %: EditSlipe");
    EXPECT_LT(syncHeight, asyncHeight);
}

TEST_F(EquipmentDialogs, MotorWithPowerFactorOneIsAcceptedAndEfficiencyTenRefused) {
    auto motor = Motor<TSyncMotor>();
    EXPECT_TRUE(Open(motor, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Edit(d, "EditPnom")->text(), "1600");
        EXPECT_TRUE(Edit(d, "EditPnom")->isReadOnly());
        EXPECT_TRUE(Edit(d, "EditPnom")->font().bold());
        Retype(d, "EditCosFi", "1");
        Retype(d, "EditPerfomance", "10");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditPerfomance", "9.99");  // "." types the user's separator
        EXPECT_EQ(Edit(d, "EditPerfomance")->text(), "9,99");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}}));
    EXPECT_EQ(motor.CosFi, 1);
    EXPECT_EQ(motor.Performance, 9.99);
    EXPECT_EQ(motor.Pnom, 1600);
    EXPECT_EQ(motor.n, 1000);
}

TEST_F(EquipmentDialogs, ClearedRunningValuesAreStoredUnsetAndShowEmptyNextTime) {
    auto motor = Motor<TAsyncMotor>();
    ASSERT_TRUE(Open(motor, false, [](TPropertyDialog& d) {
        for (const char* box : {"EditPerfomance", "EditN", "EditSlipe"}) Retype(d, box, "");
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(motor.Performance, NotSet);
    EXPECT_EQ(motor.n, NotSet);
    EXPECT_EQ(motor.Slip, NotSet);
    EXPECT_EQ(motor.CosFi, 0.9);
    Open(motor, false, [](TPropertyDialog& d) {
        EXPECT_EQ(Edit(d, "EditPerfomance")->text(), "");
        EXPECT_EQ(Edit(d, "EditN")->text(), "");
        EXPECT_EQ(Edit(d, "EditSlipe")->text(), "");
        EXPECT_EQ(Edit(d, "EditCosFi")->text(), "0,9");
    });
}

TEST_F(EquipmentDialogs, ASpeedThatIsNotAWholeNumberOfItsFieldIsRefused) {
    auto motor = Motor<TSyncMotor>();
    const bool changed = Open(motor, false, [](TPropertyDialog& d) {
        Retype(d, "EditN", "1500,5");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditN", "40000");
        EXPECT_FALSE(d.TryAccept());
        d.reject();
    });
    EXPECT_FALSE(changed);
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}, {kIncorrect, ""}}));
    EXPECT_EQ(motor.n, 1000);
}

TEST_F(EquipmentDialogs, ReactorDialogTakesAnyTextAsRatedValueAndRefusesACurrentOf1000) {
    auto reactor = Reactor();
    EXPECT_TRUE(Open(reactor, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TReactorProp");
        EXPECT_EQ(d.windowTitle(), "Токоограничивающий реактор");
        EXPECT_EQ(Rows(d).join("\n"), "Номинальное напряжение, кВ: EditUnom\n"
                                      "Обозначение: EditMarka\n"
                                      "Номинальная мощность, МВА: EditSnom\n"
                                      "Номинальный ток, А: EditInom\n"
                                      "Потери мощности, кВт: EditDp\n"
                                      "Сдвоенный: ComboBox1");
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "РБ-1000");
        EXPECT_EQ(Child<QComboBox>(d, "ComboBox1")->currentText(), "Да");
        EXPECT_EQ(TabOrder(d).join(" "), "EditSnom EditInom EditDp ComboBox1 BitBtn1 BitBtn2");
        Retype(d, "EditSnom", "два по 630");
        EXPECT_EQ(Edit(d, "EditSnom")->text(), "два по 630");
        Retype(d, "EditInom", "1000");
        EXPECT_FALSE(d.TryAccept());
        Retype(d, "EditInom", "999,9");
        Child<QComboBox>(d, "ComboBox1")->setCurrentIndex(0);
        EXPECT_TRUE(d.TryAccept());
    }));
    EXPECT_EQ(messages.informed, (Informed{{kIncorrect, ""}}));
    EXPECT_EQ(reactor.Snom, W("два по 630"));
    EXPECT_EQ(reactor.Inom, 999.9);
    EXPECT_EQ(reactor.IsDouble, 0);
    EXPECT_EQ(reactor.Ident, 17);
}

TEST_F(EquipmentDialogs, ReadOnlyViewsOnlyShowTheElement) {
    auto busbar = Busbar();
    auto motor = Motor<TAsyncMotor>();
    auto reactor = Reactor();
    for (TBaseElement* record : std::initializer_list<TBaseElement*>{&busbar, &motor, &reactor}) {
        const bool changed = Open(*record, true, [](TPropertyDialog& d) {
            ExpectOnlyShows(d);
        });
        EXPECT_FALSE(changed) << record->ClassName();
    }
}

TEST_F(EquipmentDialogs, ReadOnlyReactorShowsItsTwinFlagInPlaceOfTheList) {
    auto reactor = Reactor();
    Open(reactor, true, [](TPropertyDialog& d) {
        EXPECT_TRUE(Edit(d, "EditDouble")->isVisible());
        EXPECT_EQ(Edit(d, "EditDouble")->text(), "Да");
        EXPECT_EQ(Child<QComboBox>(d, "ComboBox1")->focusPolicy(), Qt::NoFocus);
    });
}

}  // namespace
}  // namespace kelm
