// The switching device dialog, opened offscreen as the main window opens it,
// with its type list read from a real catalogue database.
#include "dialogs/switch_gr_prop.h"

#include <gtest/gtest.h>

#include "dialogs/dialog_driver.h"

namespace kelm {
namespace {

using test::Edit;
using test::kIncorrect;
using test::List;
using test::Retype;
using test::Type;
using test::W;

const QStringList kTypes = {QString::fromUtf8("Выключатель"), QString::fromUtf8("Разъединитель"),
                            QString::fromUtf8("Отделитель")};

TSwitchGR Device(std::int16_t type) {
    TSwitchGR r;
    r.Ident = 12;
    r.Marka = W("ВВ/TEL-10");
    r.Unom = 10;
    r.SwitchGType = type;
    r.Name = W("Выключатель");
    r.Inom = 1.6;
    r.Ioff = 20;
    r.Id = 51;
    r.It = 20;
    r.Toff = 0.05;
    r.Ton = NotSet;
    return r;
}

class SwitchGRDialog : public test::DialogOnCatalogue {
protected:
    void SetUp() override {
        // The type table's trigger numbers the rows 1, 2, 3.
        for (const QString& type : kTypes)
            catalogue.Run(R"(INSERT INTO "SwitchGN" ("Name") VALUES (')" + type.toStdString() + "')");
        db.ConnectTo(catalogue.Path());
    }
};

TEST_F(SwitchGRDialog, ShowsTheDeviceWithItsTypeAmongTheTypesOfTheDatabase) {
    TSwitchGR device = Device(2);
    Open(device, false, [](TPropertyDialog& d) {
        EXPECT_EQ(d.objectName(), "TSwitchGRProp");
        EXPECT_EQ(d.windowTitle(), "Коммутационный аппарат");
        EXPECT_EQ(test::Entries(List(d, "ComboBox1")), kTypes);
        EXPECT_EQ(List(d, "ComboBox1")->currentText(), "Разъединитель");
        EXPECT_FALSE(List(d, "ComboBox1")->isEditable());
        EXPECT_FALSE(Edit(d, "EditKind")->isVisible());
        EXPECT_EQ(Edit(d, "EditKind")->text(), "Разъединитель");
        EXPECT_EQ(Edit(d, "EditMarka")->text(), "ВВ/TEL-10");
        EXPECT_EQ(Edit(d, "EditUnom")->text(), "10");
        EXPECT_TRUE(Edit(d, "EditUnom")->font().bold());
        EXPECT_TRUE(Edit(d, "EditMarka")->isReadOnly());
        EXPECT_EQ(Edit(d, "EditInom")->text(), "1,6");
        EXPECT_EQ(Edit(d, "EditToff")->text(), "0,05");
        EXPECT_EQ(Edit(d, "EditTon")->text(), "");  // not set
        EXPECT_EQ(test::TabOrder(d).join(" ").toStdString(),
                  "ComboBox1 EditAddStr EditInom EditIoff EditId EditIt EditToff EditTon BitBtn1 BitBtn2");
    });
}

TEST_F(SwitchGRDialog, UnknownTypeOpensWithTheFirstTypeAndOkStoresIt) {
    TSwitchGR device = Device(99);
    device.Name = W("Неизвестный");
    const bool changed = Open(device, false, [](TPropertyDialog& d) {
        EXPECT_EQ(List(d, "ComboBox1")->currentIndex(), 0);
        EXPECT_EQ(Edit(d, "EditKind")->text(), "Выключатель");
        EXPECT_TRUE(d.TryAccept());
    });
    EXPECT_TRUE(changed);
    EXPECT_EQ(device.SwitchGType, 1);
    EXPECT_EQ(device.Name, W("Выключатель"));
}

TEST_F(SwitchGRDialog, ConfirmedTypeAndClearedBoxReachTheDatabase) {
    catalogue.Run(R"(INSERT INTO "SwitchGR" ("Marka","Unom","SwitchGType","Inom","Ioff") VALUES ('VV',10,1,1.6,20))");
    TSwitchGRs devices;
    devices.LoadFromDatabase(db, 0, "");
    ASSERT_EQ(devices.Count(), 1);
    TSwitchGR& device = *devices.GetItem(0);
    const bool changed = Open(device, false, [](TPropertyDialog& d) {
        List(d, "ComboBox1")->setCurrentIndex(1);
        Retype(d, "EditIoff", "");
        EXPECT_TRUE(d.TryAccept());
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(device.SwitchGType, 2);
    EXPECT_EQ(device.Name, W("Разъединитель"));
    EXPECT_EQ(device.Ioff, NotSet);
    EXPECT_EQ(device.Added, 0);  // the window marks it

    device.Added = 1;
    test::SaveErrorsRecorder errors;
    devices.SaveToDatabase(db, NumberText(',')); devices.ShowSaveErrors(errors);
    EXPECT_TRUE(errors.shown.empty() || errors.shown.front().empty());
    EXPECT_EQ(catalogue.Rows(R"(select "SwitchGType", "Ioff", "Inom" from "SwitchGR")"),
              (std::vector<std::vector<std::string>>{{"2", "NULL", "1.6"}}));
    EXPECT_EQ(catalogue.Value(R"(select count(*) from "SwitchGN")"), "3");  // the chosen row, no new one
}

TEST_F(SwitchGRDialog, NumberBoxesTakeNoLettersAndARatedCurrentAtItsLimitKeepsTheDialogOpen) {
    TSwitchGR device = Device(1);
    const bool changed = Open(device, false, [](TPropertyDialog& d) {
        Retype(d, "EditAddStr", "a-1,5");
        EXPECT_EQ(Edit(d, "EditAddStr")->text(), "a-1,5");
        Retype(d, "EditInom", "10a0");
        EXPECT_EQ(Edit(d, "EditInom")->text(), "100");
        EXPECT_FALSE(d.TryAccept());
        EXPECT_TRUE(d.isVisible());
        Retype(d, "EditInom", "99,99");
        EXPECT_TRUE(d.TryAccept());
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(messages.informed, (std::vector<std::pair<QString, QString>>{{kIncorrect, ""}}));
    EXPECT_EQ(device.Inom, 99.99);
    EXPECT_EQ(device.AddStr, "a-1,5");
}

TEST_F(SwitchGRDialog, ReadOnlyViewShowsTheTypeAsTextOverTheList) {
    TSwitchGR device = Device(3);
    const bool changed = Open(device, true, [](TPropertyDialog& d) {
        QLineEdit* kind = Edit(d, "EditKind");
        EXPECT_TRUE(kind->isVisible());
        EXPECT_EQ(kind->text(), "Отделитель");
        d.layout()->activate();
        EXPECT_EQ(kind->geometry(), List(d, "ComboBox1")->geometry());
        EXPECT_EQ(List(d, "ComboBox1")->focusPolicy(), Qt::NoFocus);
        for (QLineEdit* edit : d.findChildren<QLineEdit*>()) EXPECT_TRUE(edit->isReadOnly());
        EXPECT_FALSE(d.BitBtn2->isEnabled());
        d.done(QDialog::Accepted);
    });
    EXPECT_FALSE(changed);
}

// Without a readable type table the device is still shown and keeps its type.
TEST(SwitchGRDialogWithoutTypes, ShowsTheDevicesOwnTypeNameAndOkKeepsTheType) {
    test::FreshCatalogue empty, withoutTable;
    withoutTable.Run(R"(DROP TABLE "SwitchGN")");
    TRef_DataModule unconnected, emptyDb, withoutTableDb;
    emptyDb.ConnectTo(empty.Path());
    withoutTableDb.ConnectTo(withoutTable.Path());
    const std::pair<const char*, TRef_DataModule*> cases[] = {
        {"no database", nullptr}, {"not connected", &unconnected}, {"no rows", &emptyDb}, {"no table", &withoutTableDb}};
    for (const auto& [what, db] : cases) {
        test::ScriptedDialogs messages;
        DialogContext context{nullptr, db, NumberText(','), &messages};
        TSwitchGR device = Device(7);
        device.Name = W("Выключатель нагрузки");
        const bool changed = test::OpenDialog(device, false, context, [](TPropertyDialog& d) {
            EXPECT_EQ(test::Entries(List(d, "ComboBox1")), QStringList{"Выключатель нагрузки"});
            EXPECT_EQ(Edit(d, "EditKind")->text(), "Выключатель нагрузки");
            Retype(d, "EditInom", "2");
            EXPECT_TRUE(d.TryAccept());
        });
        EXPECT_TRUE(changed) << what;
        EXPECT_EQ(device.Inom, 2) << what;
        EXPECT_EQ(device.SwitchGType, 7) << what;
        EXPECT_EQ(device.Name, W("Выключатель нагрузки")) << what;
        EXPECT_TRUE(messages.informed.empty()) << what;
    }
}

}  // namespace
}  // namespace kelm
