// Opening property dialogs from the trees and writing their values back.
#include <QLineEdit>

#include "dialogs/property_dialog.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

std::string Cable(const std::string& marka, const std::string& unom) {
    return "<KelmProvod><Marka>" + marka + "</Marka><Unom>" + unom +
           "</Unom><F>50</F><CableFlags>2</CableFlags><R0>0.6</R0><X0>0.06</X0><Idop>100</Idop></KelmProvod>";
}

class Editing : public MainWindow {
protected:
    void SetUp() override {
        window.SetDialogExec([this](QDialog& dialog) {
            dialog.show();  // as the modal loop would, which fills the boxes
            shown.push_back(dialog.objectName());
            return act ? act(dialog) : static_cast<int>(QDialog::Rejected);
        });
    }
    void DoubleClick(QTreeWidget* tree, const QString& label) {
        tree->clearSelection();
        QTreeWidgetItem* node = Find(tree, label);
        tree->setCurrentItem(node);
        node->setSelected(true);
        window.LeftTreeDblClick(tree);
    }
    std::vector<QString> shown;
    std::function<int(QDialog&)> act;
};

TEST_F(Editing, ALowVoltageCableOpensTheCableDialogAndAHigherOneTheLineDialog) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Cable("AVVG", "0.4") + Cable("AVVG", "6"))));
    DoubleClick(window.RightTree, "AVVG-50 (0,4 кВ)");
    DoubleClick(window.RightTree, "AVVG-50 (6 кВ)");
    EXPECT_EQ(shown, (std::vector<QString>{"TCabelProp", "TProvodProp"}));
}

TEST_F(Editing, TheLeftTreeOnlyShowsTheElement) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Cable("AVVG", "0.4"))));
    bool everyEditReadOnly = true, saveDisabled = false;
    act = [&](QDialog& dialog) {
        for (auto* edit : dialog.findChildren<QLineEdit*>()) everyEditReadOnly &= edit->isReadOnly();
        saveDisabled = !dialog.findChild<QPushButton*>("BitBtn2")->isEnabled();
        static_cast<TPropertyDialog&>(dialog).TryAccept();  // nothing happens
        return dialog.result();
    };
    DoubleClick(window.LeftTree, "AVVG-50 (0,4 кВ)");
    EXPECT_TRUE(everyEditReadOnly);
    EXPECT_TRUE(saveDisabled);
    EXPECT_EQ(window.LeftRef()->GetCollection(0)->GetItem(0)->Added, 0);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Editing, ConfirmedValuesGoBackAndAreSavedToTheDatabase) {
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (10,'ac',0))");
    catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop") VALUES (1,'AC-70',70,0.42,0.44,265))");
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(catalogue.Path())));
    act = [](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("EditR0")->setText("0,5");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    };
    DoubleClick(window.RightTree, "AC-70-70 (10 кВ)");
    EXPECT_TRUE(dialogs.informed.empty());
    const TBaseElement* record = RecordOf(Find(window.RightTree, "AC-70-70 (10 кВ)"));
    EXPECT_EQ(record->Added, 1);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    dialogs.answers = {true};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(catalogue.Value(R"(select R0 from "Provods")"), "0.5");
}

TEST_F(Editing, CancelChangesNothingAndCategoriesOpenNothing) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", Cable("AVVG", "0.4"))));
    DoubleClick(window.RightTree, "AVVG-50 (0,4 кВ)");
    EXPECT_EQ(window.RightRef()->GetCollection(0)->GetItem(0)->Added, 0);
    DoubleClick(window.RightTree, "Провода и кабели");
    DoubleClick(window.RightTree, "Справочник Kelm 3");
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

}  // namespace
}  // namespace kelm
