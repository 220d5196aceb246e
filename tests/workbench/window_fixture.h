#pragma once
// The main window driven offscreen, its questions answered from a script.

#include <QApplication>
#include <gtest/gtest.h>

#include <fstream>

#include "catalogues/categories.h"
#include "core/exchange_file.h"
#include "support/scripted_copy_questions.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm::test {

constexpr int kCategories = 19;

// The tree as text: one line per node, indented by level.
inline QStringList Lines(const QTreeWidget* tree) {
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        lines << QString(NodeLevel(*it) * 2, ' ') + (*it)->text(0);
    return lines;
}

inline QStringList Elements(const QTreeWidget* tree) {
    QStringList lines;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        if (NodeLevel(*it) == 2) lines << (*it)->text(0);
    return lines;
}

inline QTreeWidgetItem* Find(const QTreeWidget* tree, const QString& label) {
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it)
        if ((*it)->text(0) == label) return *it;
    return nullptr;
}

class MainWindow : public ::testing::Test {
protected:
    MainWindow() : window(settings, &dialogs) {
        window.SetDataModule(&db);
        window.SetCopyQuestions(&copyQuestions);
    }

    QString File(const std::string& name, const std::string& records) {
        const std::string path = dir.File(name);
        std::ofstream(path) << "<KelmStorage><KelmReference_v1>" << records << "</KelmReference_v1></KelmStorage>";
        return QString::fromStdString(path);
    }
    static std::string Transformer(const std::string& marka, const std::string& unom, const std::string& snom) {
        return "<KelmTransfor><Marka>" + marka + "</Marka><Unom>" + unom + "</Unom><Snom>" + snom +
               "</Snom></KelmTransfor>";
    }
    void Click(QTreeWidget* tree, QTreeWidgetItem* node) {
        tree->clearSelection();
        tree->setCurrentItem(node);
        node->setSelected(true);
        window.LeftTreeClick(tree);
    }
    void Select(std::initializer_list<QTreeWidgetItem*> nodes) {
        window.LeftTree->clearSelection();
        for (QTreeWidgetItem* node : nodes) node->setSelected(true);
    }
    void DropAll() {
        Select({window.LeftTree->topLevelItem(0)});
        window.RightTreeDragDrop(window.LeftTree);
    }
    // Opens on the right a catalogue holding one line, "AC-70-70 (10 кВ)".
    void OpenOneLineOnTheRight(const FreshCatalogue& catalogue) {
        catalogue.Run(R"(INSERT INTO "ProvodTypes" ("Unom","Name","CableFlags") VALUES (10,'ac',0))");
        catalogue.Run(R"(INSERT INTO "Provods" ("ProvodType","Marka",F,R0,X0,"Idop") VALUES (1,'AC-70',70,0.42,0.44,265))");
        ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(catalogue.Path())));
    }
    void ChooseVoltage(const QString& text) {
        window.cb_Unom->setCurrentIndex(window.cb_Unom->findText(text));
        window.cb_UnomChange();
    }

    RegionalSettings settings{',', "%d.%m.%Y", "%H:%M:%S"};
    test::ScriptedDialogs dialogs;
    test::ScriptedCopyQuestions copyQuestions;
    TRef_DataModule db;
    TForm1 window;
    test::TempDir dir;
};

}  // namespace kelm::test
