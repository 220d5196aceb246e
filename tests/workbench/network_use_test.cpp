// Types the network model uses: their counts in the tooltip and the property
// dialog, the "Показывать" item, and deletes that are refused.
#include <QDialog>
#include <QLabel>

#include "core/network_use.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class NetworkUseShown : public MainWindow {
protected:
    // A right database pane with "A" used by two nodes and "B" used by none.
    void SetUp() override {
        right.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('A',10,100))");
        right.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('B',10,200))");
        AttachNode("A");
        AttachNode("A");
        ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(right.Path())));
    }
    // A node of the network with the transformer type `marka`, as another program attaches it.
    void AttachNode(const std::string& marka) {
        right.Run(R"(INSERT INTO "Nodes" ("Transf") SELECT "Ident" FROM "Transforms2" WHERE "TypeTR" = ')" + marka + "'");
    }
    void SelectRight(std::initializer_list<QString> labels) {
        window.RightTree->clearSelection();
        for (const QString& label : labels) SetSelected(window.RightTree, Find(window.RightTree, label));
    }
    // The network line of the property dialog of the element, or "none".
    QString DialogLine(CatalogueTree* tree, const QString& label) {
        QString line = "none";
        window.SetDialogExec([&line](QDialog& dialog) {
            if (auto* shown = dialog.findChild<QLabel*>("LabelNetworkUse")) line = shown->text();
            return static_cast<int>(QDialog::Rejected);
        });
        tree->clearSelection();
        tree->setCurrentIndex(Find(tree, label));
        window.LeftTreeDblClick(tree);
        return line;
    }

    FreshCatalogue right;
};

TEST_F(NetworkUseShown, TooltipAndDialogTellTheCountOnlyWhereTheSourceKnowsIt) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("C", "10", "3"))));
    EXPECT_EQ(Find(window.RightTree, "A-100 (10 кВ)").data(Qt::ToolTipRole).toString(), "Используется в сети: 2");
    EXPECT_EQ(Find(window.RightTree, "B-200 (10 кВ)").data(Qt::ToolTipRole).toString(), "Используется в сети: 0");
    EXPECT_EQ(Find(window.LeftTree, "C-3 (10 кВ)").data(Qt::ToolTipRole).toString(), "");
    EXPECT_EQ(DialogLine(window.RightTree, "A-100 (10 кВ)"), "Используется в сети: 2");
    EXPECT_EQ(DialogLine(window.LeftTree, "C-3 (10 кВ)"), "none");
}

TEST_F(NetworkUseShown, ShowingTheUnusedKeepsTheTypesNoObjectUses) {
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("C", "10", "3"))));
    ASSERT_TRUE(window.cb_Show->isEnabled());
    const int unused = window.cb_Show->findText("не используемые в сети");
    ASSERT_GT(unused, 0);
    window.cb_Show->setCurrentIndex(unused);
    window.cb_ShowChange();
    EXPECT_EQ(Elements(window.RightTree), QStringList{"B-200 (10 кВ)"});
    EXPECT_EQ(Elements(window.LeftTree), QStringList{"C-3 (10 кВ)"});  // an exchange file is not filtered

    window.cb_Show->setCurrentIndex(0);
    window.cb_ShowChange();
    EXPECT_EQ(Elements(window.RightTree), (QStringList{"A-100 (10 кВ)", "B-200 (10 кВ)"}));
}

TEST_F(NetworkUseShown, ADeleteRefusesTypesInUseInOneBoxAndMarksTheOthers) {
    SelectRight({"A-100 (10 кВ)", "B-200 (10 кВ)"});
    window.Del1Click();
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first,
              "A-100 (10 кВ): Тип используется объектами сети (2) и не может быть удалён.");
    EXPECT_EQ(ImageOf(Find(window.RightTree, "A-100 (10 кВ)")), ImageLoaded);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "B-200 (10 кВ)")), ImageDeleted);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
}

TEST_F(NetworkUseShown, ASaveRefusesADeleteTheNetworkTookMeanwhile) {
    SelectRight({"B-200 (10 кВ)"});
    window.Del1Click();
    AttachNode("B");  // another program, between the delete and the save
    dialogs.answers = {true};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    ASSERT_EQ(dialogs.saveErrors.size(), 1u);
    EXPECT_EQ(dialogs.saveErrors[0], std::vector<std::string>{W("B-200 (10 кВ)")});
    EXPECT_EQ(dialogs.saveErrorReasons[0], std::vector<std::string>{InUseReason(1)});
    EXPECT_EQ(ImageOf(Find(window.RightTree, "B-200 (10 кВ)")), ImageDeleted);
    EXPECT_EQ(right.Value(R"(select count(*) from "Transforms2")"), "2");
    EXPECT_TRUE(window.ButtonSave->isEnabled());
}

}  // namespace
}  // namespace kelm
