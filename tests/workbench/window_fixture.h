#pragma once
// The main window driven offscreen, its questions answered from a script.

#include <QApplication>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "catalogues/categories.h"
#include "core/exchange_file.h"
#include "support/scripted_copy_questions.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm::test {

constexpr int kCategories = 19;

// A node's label, children, and place in its tree's selection.
inline QString Text(const QModelIndex& node) { return node.data().toString(); }
inline int ChildCount(const QModelIndex& node) { return node.model()->rowCount(node); }
inline QModelIndex Child(const QModelIndex& node, int row) { return node.model()->index(row, 0, node); }
inline void SetSelected(const CatalogueTree* tree, const QModelIndex& node) {
    tree->selectionModel()->select(node, QItemSelectionModel::Select);
}
inline bool IsSelected(const CatalogueTree* tree, const QModelIndex& node) {
    return tree->selectionModel()->isSelected(node);
}

// Every node of the tree, in tree order.
inline QModelIndexList Nodes(const CatalogueTree* tree) {
    QModelIndexList nodes;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        for (int row = 0; row < tree->model()->rowCount(parent); ++row) {
            const QModelIndex node = tree->model()->index(row, 0, parent);
            nodes << node;
            walk(node);
        }
    };
    walk({});
    return nodes;
}
inline int NodeCount(const CatalogueTree* tree) { return static_cast<int>(Nodes(tree).size()); }

// The tree as text: one line per node, indented by level.
inline QStringList Lines(const CatalogueTree* tree) {
    QStringList lines;
    for (const QModelIndex& node : Nodes(tree)) lines << QString(NodeLevel(node) * 2, ' ') + Text(node);
    return lines;
}

inline QStringList Elements(const CatalogueTree* tree) {
    QStringList lines;
    for (const QModelIndex& node : Nodes(tree))
        if (NodeLevel(node) == 2) lines << Text(node);
    return lines;
}

inline QPersistentModelIndex Find(const CatalogueTree* tree, const QString& label) {
    for (const QModelIndex& node : Nodes(tree))
        if (Text(node) == label) return node;
    return {};
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
    void Click(CatalogueTree* tree, const QModelIndex& node) {
        tree->clearSelection();
        tree->setCurrentIndex(node);
        window.LeftTreeClick(tree);
    }
    void Select(std::initializer_list<QModelIndex> nodes) {
        window.LeftTree->clearSelection();
        for (const QModelIndex& node : nodes) SetSelected(window.LeftTree, node);
    }
    void DropAll() {
        Select({window.LeftTree->Root()});
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
