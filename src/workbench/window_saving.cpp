// The main window: saving, cancelling, a new exchange file, leaving.

#include "workbench/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <ctime>
#include <unordered_set>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "workbench/tree_nodes.h"

namespace kelm {

// "Сохранить изменения ?" before the right pane's changes would be replaced.
// False when the user said yes but the save did not happen (cancelled or
// failed): then the changes must stay where they are.
bool TForm1::SaveUnsavedChangesFirst() {
    if (!ButtonSave->isEnabled()) return true;
    if (!dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения ?"))) return true;
    return ButtonSaveClick(SaveSender::Other);
}

std::optional<QString> TForm1::AskExchangeFilePath() {
    // A database pane proposes an exchange file of the database's name beside
    // it, never the database file itself.
    QString proposed = rightPath_;
    if (!proposed.isEmpty() && !IsExchangeFilePath(proposed.toStdString())) {
        const QFileInfo database(proposed);
        proposed = database.dir().filePath(database.completeBaseName() + ".xml");
    }
    const auto chosen = dialogs_->ChooseExchangeFileToSave(proposed);
    if (!chosen) return std::nullopt;
    if (!IsExchangeFilePath(chosen->toStdString())) {
        // Nothing would be written under another name, yet the changes would count as saved.
        dialogs_->Inform(QString::fromUtf8("Обменный файл должен иметь расширение .xml."), *chosen);
        return std::nullopt;
    }
    return chosen;
}

bool TForm1::ButtonSaveClick(SaveSender sender) {
    if (sender != SaveSender::btnSaveAs && !ButtonSave->isEnabled()) return false;
    try {
        if (sender != SaveSender::btnSaveAs && rightRef_->SourceKind == DatabaseSource) {
            if (sender == SaveSender::ButtonSave &&
                !dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения в БД?")))
                return false;
            db_->ConnectTo(rightPath_.toStdString());
            SaveRightToDatabase();
        } else {
            QString target = rightPath_;
            if (rightPath_.isEmpty() || !IsExchangeFilePath(rightPath_.toStdString()) ||
                sender == SaveSender::btnSaveAs) {
                const auto chosen = AskExchangeFilePath();
                if (!chosen) return false;
                target = *chosen;
            }
            WriteExchangeFile(*rightRef_, target.toStdString(), settings_, std::time(nullptr));
            rightPath_ = target;
            ShowPath(Label2, target);
        }
    } catch (const std::exception& error) {
        // The database or file could not be written; the window keeps everything.
        dialogs_->Inform(QString::fromStdString(DisplayText(error.what())), QString());
        if (rightRef_->SourceKind == DatabaseSource) CorrectRightTree();
        return false;
    }
    ReselectIndex = AbsoluteIndex(RightTree, SelectedNode(RightTree));
    if (sender != SaveSender::Other) CorrectRightTree();
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
    return true;
}

void TForm1::SaveRightToDatabase() {
    Progress->setMaximum(rightRef_->CategoryCount());
    Progress->setVisible(true);
    SaveDatabase(*rightRef_, *db_, numbers_, [this](int category) {
        Progress->setValue(category + 1);
        Progress->repaint();
    });
    for (int i = 0; i < rightRef_->CategoryCount(); ++i)
        if (const TXMLCustomClass* collection = rightRef_->GetCollection(i)) collection->ShowSaveErrors(*dialogs_);
    Progress->setVisible(false);
}

// Brings the right tree in line with the saved catalogue without rebuilding
// it: nodes of records that left their collection go, the others show their
// record as it now is. (A record whose delete failed is still there, unmarked.)
void TForm1::CorrectRightTree() {
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root) return;
    Progress->setMaximum(std::max(1, rightRef_->TotalCount()));
    Progress->setVisible(true);
    int position = 0;
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        const TXMLCustomClass* collection = CollectionOf(category);
        std::unordered_set<const TBaseElement*> live;
        for (int i = 0; i < collection->Count(); ++i) live.insert(collection->GetItem(i));
        for (int i = 0; i < category->childCount();) {
            StepProgress(++position);
            QTreeWidgetItem* node = category->child(i);
            if (!live.count(static_cast<const TBaseElement*>(RecordOf(node)))) {
                delete category->takeChild(i);
                continue;
            }
            SetImage(node, RecordOf(node)->Deleted == 1 ? ImageDeleted : ImageLoaded);
            ++i;
        }
    }
    Progress->setVisible(false);
}

void TForm1::btnTemporyFileClick() {
    if (!SaveUnsavedChangesFirst()) return;
    const auto path = AskExchangeFilePath();
    if (!path) return;
    std::unique_ptr<TReference> created;
    try {
        CreateExchangeFile(path->toStdString(), settings_, std::time(nullptr));
        created = OpenSource(path->toStdString(), *db_, NewReference);
    } catch (const OpenError& error) {
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return;
    } catch (const std::exception& error) {
        dialogs_->Inform(QString::fromStdString(DisplayText(error.what())), QString());
        return;
    }
    rightPath_ = *path;
    rightRef_ = std::move(created);
    RefreshVoltageList();
    ReselectIndex = -1;
    BuildTree(RightTree, rightRef_.get());
    ShowPath(Label2, *path);
    UpdateSaveAsEnabled();
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
}

void TForm1::ButtonCancelClick() {
    if (!dialogs_->AskYesNo(QString::fromUtf8("Отменить изменения?"))) return;
    ReselectIndex = -1;
    if (!rightPath_.isEmpty()) {
        ButtonOpenRightClick(OpenSender::ButtonCancel);
    } else {
        rightRef_->ClearAll();
        BuildTree(RightTree, rightRef_.get());
    }
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A save that was asked for and did not happen keeps the window open, so
    // that nothing is lost.
    if (!SaveUnsavedChangesFirst()) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace kelm
