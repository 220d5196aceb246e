// Opening property dialogs from the trees and writing their values back.
#include <QLineEdit>

#include "dialogs/dialog_driver.h"
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
    void DoubleClick(CatalogueTree* tree, const QString& label) {
        tree->clearSelection();
        tree->setCurrentIndex(Find(tree, label));
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
    OpenOneLineOnTheRight(catalogue);
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

// The right collection indexes its records' values for the duplicate search
// of a drop; values written back by a dialog must be seen there.
TEST_F(Editing, ADropFindsAnElementByTheValuesItsDialogGaveIt) {
    auto tap = [](const char* steps) {
        return "<KelmTransfor><Marka>T</Marka><Unom>10</Unom><Pxx>0.33</Pxx><Pkz>1.97</Pkz><UhiV>10</UhiV>"
               "<UlowV>0.4</UlowV><Snom>100</Snom><Ukz>4.5</Ukz><Ixx>2.6</Ixx><Notv>" +
               std::string(steps) + "</Notv><DeltaOtv>2.5</DeltaOtv></KelmTransfor>";
    };
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("r.xml", tap("2"))));
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", tap("9"))));
    const TXMLCustomClass& right = *window.RightRef()->GetCollection(1);
    ASSERT_EQ(right.FindSame(*window.LeftRef()->GetCollection(1)->GetItem(0)), nullptr);
    act = [](QDialog& dialog) {
        Retype(dialog, "EditNumberOtp", "9");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    };
    DoubleClick(window.RightTree, "T-100 (10 кВ)");
    ASSERT_EQ(right.GetItem(0)->Added, 1);
    copyQuestions.choices = {{Skip, false}};
    DropAll();
    EXPECT_EQ(copyQuestions.asked.size(), 1u);  // the same element: asked, not copied
    EXPECT_EQ(right.Count(), 1);
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

TEST_F(Editing, AnAutotransformerEditedOnTheRightIsSavedToTheDatabase) {
    FreshCatalogue catalogue;
    catalogue.Run(R"(INSERT INTO "TransformsA" ("TypeTR","Unom","Snom","UnomB","UnomC","UnomH","Pxx","SobmB") )"
                  R"(VALUES ('AT',220,63000,230,121,11,45,100))");
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(catalogue.Path())));
    act = [](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Автотрансформатор");
        Retype(dialog, "EditPxx", "37,5");
        Retype(dialog, "EditSB", "");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    };
    DoubleClick(window.RightTree, "AT-63000 (220 кВ)");
    EXPECT_EQ(shown, std::vector<QString>{"TTransfPropA"});
    EXPECT_TRUE(dialogs.informed.empty());
    EXPECT_EQ(RecordOf(Find(window.RightTree, "AT-63000 (220 кВ)"))->Added, 1);
    EXPECT_TRUE(window.ButtonSave->isEnabled());

    dialogs.answers = {true};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(catalogue.Rows(R"(select "Pxx","SobmB","UnomB" from "TransformsA")"),
              (std::vector<std::vector<std::string>>{{"37.5", "NULL", "230"}}));
}

TEST_F(Editing, ASplitWindingTransformerEditedOnTheRightIsWrittenToTheExchangeFile) {
    const QString path = File("r.xml", "<KelmTransforSS><Marka>TRDN</Marka><Unom>110</Unom><Snom>40000</Snom>"
                                       "<UnomB>115</UnomB><UnomH1>10.5</UnomH1><UnomH2>10.5</UnomH2></KelmTransforSS>");
    ASSERT_TRUE(window.OpenPath(Pane::Right, path));
    act = [](QDialog& dialog) {
        Retype(dialog, "EditPkz", "170");
        Retype(dialog, "EditNumberOtp", "9");
        static_cast<TPropertyDialog&>(dialog).TryAccept();
        return dialog.result();
    };
    DoubleClick(window.RightTree, "TRDN-40000 (110 кВ)");
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    std::ifstream in(path.toStdString());
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(written.find("<Pkz>170</Pkz>"), std::string::npos) << written;
    EXPECT_NE(written.find("<NumberOtp>9</NumberOtp>"), std::string::npos) << written;
    EXPECT_EQ(written.find("<DeltaUotp>"), std::string::npos) << written;  // still not set
}

TEST_F(Editing, TheLeftTreeOnlyShowsTransformers) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("l.xml", Transformer("T", "10", "1000") +
                                                              "<KelmTransfor3><Marka>T3</Marka><Unom>110</Unom>"
                                                              "<Snom>25000</Snom></KelmTransfor3>")));
    int readOnlyDialogs = 0;
    act = [&](QDialog& dialog) {
        bool everyEditReadOnly = true;
        for (auto* edit : dialog.findChildren<QLineEdit*>()) everyEditReadOnly &= edit->isReadOnly();
        if (everyEditReadOnly && !dialog.findChild<QPushButton*>("BitBtn2")->isEnabled()) ++readOnlyDialogs;
        static_cast<TPropertyDialog&>(dialog).TryAccept();  // nothing happens
        return static_cast<int>(QDialog::Accepted);
    };
    DoubleClick(window.LeftTree, "T-1000 (10 кВ)");
    DoubleClick(window.LeftTree, "T3-25000 (110 кВ)");
    EXPECT_EQ(shown, (std::vector<QString>{"TTransfProp", "TTransfProp3"}));
    EXPECT_EQ(readOnlyDialogs, 2);
    EXPECT_EQ(RecordOf(Find(window.LeftTree, "T-1000 (10 кВ)"))->Added, 0);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

}  // namespace
}  // namespace kelm
