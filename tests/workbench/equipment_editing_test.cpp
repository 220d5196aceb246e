// Every station equipment and instrument transformer element opens its dialog
// from the right tree, and the value changed there reaches the exchange file.
#include <QLineEdit>

#include "catalogues/arresters.h"
#include "catalogues/busbars.h"
#include "catalogues/compensators.h"
#include "catalogues/current_limit_reactors.h"
#include "catalogues/instrument_transforms.h"
#include "catalogues/motors.h"
#include "catalogues/shunt_reactors.h"
#include "dialogs/property_dialog.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

struct EditedElement {
    const char* element;  // the record in the exchange file
    int category;
    const char* dialog;   // the dialog it opens
    const char* box;      // the box changed to 0,5
    double (*value)(const TBaseElement&);  // the field that box holds
};

void PrintTo(const EditedElement& e, std::ostream* os) { *os << e.dialog << " " << e.box; }

template <class R, auto member>
double Field(const TBaseElement& record) {
    return static_cast<double>(dynamic_cast<const R&>(record).*member);
}

const EditedElement kElements[] = {
    {"<KelmBusbar><Marka>Sh</Marka><Unom>10</Unom><R>0.1</R><X>0.2</X></KelmBusbar>", 5, "TPropMin", "EditDp",
     Field<TBusbar, &TBusbar::X>},
    {"<KelmShuntReactorsRef><Marka>R</Marka><Unom>500</Unom><Snom>180</Snom><Inom>630</Inom><dP>420</dP>"
     "</KelmShuntReactorsRef>",
     6, "TProp", "EditDp", Field<TShuntReactor, &TShuntReactor::dP>},
    {"<KelmSyncCondeser><Marka>K</Marka><Unom>10</Unom><Snom>50</Snom><dP>1</dP></KelmSyncCondeser>", 7, "TPropMin",
     "EditSnom", Field<TSyncCondenser, &TSyncCondenser::Snom>},
    {"<KelmCapacitorBank><Marka>B</Marka><Unom>10</Unom><Snom>5</Snom><dP>1</dP></KelmCapacitorBank>", 8, "TPropMin",
     "EditDp", Field<TCapacitorBank, &TCapacitorBank::dP>},
    {"<KelmTiristorCondenser><Marka>T</Marka><Unom>10</Unom><Snom>5</Snom><dP>1</dP></KelmTiristorCondenser>", 9,
     "TPropMin", "EditDp", Field<TTiristorCondenser, &TTiristorCondenser::dP>},
    {"<KelmSyncMotor><Marka>S</Marka><Unom>6</Unom><Pnom>1600</Pnom><CosFi>0.9</CosFi></KelmSyncMotor>", 10,
     "TMotors", "EditCosFi", Field<TSyncMotor, &TSyncMotor::CosFi>},
    {"<KelmAsyncMotor><Marka>A</Marka><Unom>6</Unom><Pnom>800</Pnom><Slip>2</Slip></KelmAsyncMotor>", 11, "TMotors",
     "EditSlipe", Field<TAsyncMotor, &TAsyncMotor::Slip>},
    {"<KelmValveArrester><Marka>V</Marka><Unom>110</Unom><dP>1</dP></KelmValveArrester>", 12, "TRazrProp", "EditDp",
     Field<TValveArrester, &TValveArrester::dP>},
    {"<KelmExcessVoltageSuppressor><Marka>O</Marka><Unom>10</Unom><dP>1</dP></KelmExcessVoltageSuppressor>", 13,
     "TRazrProp", "EditDp", Field<TExcessVoltageSuppressor, &TExcessVoltageSuppressor::dP>},
    {"<KelmCurrentLimitReactorsRef><Marka>RB</Marka><Unom>10</Unom><Snom>1000</Snom><Inom>630</Inom><dP>7</dP>"
     "<IsDouble>0</IsDouble></KelmCurrentLimitReactorsRef>",
     14, "TReactorProp", "EditDp", Field<TCurrentLimitReactorsRef, &TCurrentLimitReactorsRef::dP>},
    {"<KelmTransformsIRef><Marka>TPL</Marka><Unom>10</Unom><AccuracyClass>4</AccuracyClass><I1nom>600</I1nom>"
     "<I2nom>5</I2nom></KelmTransformsIRef>",
     17, "TTransformsIRefProp", "EditC", Field<TTransformsIRef, &TTransformsIRef::RatedLoad>},
    {"<KelmTransformsVRef><Marka>NOM</Marka><Unom>10</Unom><AccuracyClass>4</AccuracyClass><UnomB>10000</UnomB>"
     "<UnomH>100</UnomH></KelmTransformsVRef>",
     18, "TTransformsVRefProp", "EditC", Field<TTransformsVRef, &TTransformsVRef::VoltageDrop>},
};

class EquipmentEditing : public MainWindow, public ::testing::WithParamInterface<EditedElement> {};

TEST_P(EquipmentEditing, ChangedValueIsMarkedForSavingAndReachesTheExchangeFile) {
    const EditedElement& e = GetParam();
    // The accuracy classes come from the database the connection is open on.
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "MeterACs" ("Ident","Name","MeterType") VALUES (4,'0,5',1))");
    ASSERT_TRUE(window.OpenPath(Pane::Left, QString::fromStdString(catalogue.Path())));
    const QString path = File("right.xml", e.element);
    ASSERT_TRUE(window.OpenPath(Pane::Right, path));

    QString shown;
    window.SetDialogExec([&](QDialog& dialog) {
        dialog.show();
        shown = dialog.objectName();
        dialog.findChild<QLineEdit*>(e.box)->setText("0,5");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    });
    window.RightTree->setCurrentIndex(Child(Child(window.RightTree->Root(), e.category), 0));
    window.LeftTreeDblClick(window.RightTree);

    EXPECT_EQ(shown, e.dialog);
    EXPECT_TRUE(dialogs.informed.empty());
    const TBaseElement* record = window.RightRef()->GetCollection(e.category)->GetItem(0);
    EXPECT_EQ(record->Added, 1);
    EXPECT_EQ(e.value(*record), 0.5);
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));

    ASSERT_TRUE(window.OpenPath(Pane::Left, path));
    EXPECT_EQ(e.value(*window.LeftRef()->GetCollection(e.category)->GetItem(0)), 0.5);
}

INSTANTIATE_TEST_SUITE_P(EveryCategory, EquipmentEditing, ::testing::ValuesIn(kElements),
                         [](const auto& info) { return std::string(info.param.dialog) + std::to_string(info.param.category); });

}  // namespace
}  // namespace kelm
