// The main window: saving, cancelling, a new exchange file, leaving, and
// showing what each of the right pane's operations changed.

#include "workbench/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <ctime>

#include "core/codec.h"
#include "core/exchange_file.h"
#include "workbench/tree_nodes.h"

namespace kelm {

std::vector<TBaseElement*> TForm1::RecordsOf(const QModelIndexList& nodes) const {
    std::vector<TBaseElement*> records;
    records.reserve(static_cast<std::size_t>(nodes.size()));
    for (const QModelIndex& node : nodes) records.push_back(RecordOf(node));
    return records;
}

void TForm1::ShowRightPaneState() {
    ForgetStaleHistory();
    UpdateShowEnabled();  // a save as an exchange file no longer tells the use by the network
    ButtonSave->setEnabled(right_.HasUnsavedChanges());
    ButtonCancel->setEnabled(right_.HasUnsavedChanges());
    UpdateSaveAsEnabled();
}

void TForm1::ShowChanges(const PaneChanges& changes) {
    if (changes.Empty()) return;
    if (changes.replaced) {
        BuildTree(RightTree, &right_.Reference());
    } else {
        const KeptPlace place({RightTree});
        RightTree->Catalogue()->Follow(changes);
    }
    FollowComparison();
    ShowRightPaneState();
}

// "Сохранить изменения ?" before the right pane's changes would be replaced.
// False when the user said yes but the save did not happen (cancelled or
// failed): then the changes must stay where they are.
bool TForm1::SaveUnsavedChangesFirst() {
    if (!right_.HasUnsavedChanges()) return true;
    if (!dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения ?"))) return true;
    return ButtonSaveClick(SaveSender::Other);
}

std::optional<QString> TForm1::AskExchangeFilePath() {
    // A database pane proposes an exchange file of the database's name beside
    // it, never the database file itself.
    QString proposed = RightPath();
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
    if (sender != SaveSender::btnSaveAs && !right_.HasUnsavedChanges()) return false;
    PaneChanges changes;
    const bool toDatabase = sender != SaveSender::btnSaveAs && right_.IsDatabase();
    try {
        if (toDatabase) {
            if (sender == SaveSender::ButtonSave &&
                !dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения в БД?")))
                return false;
            Progress->setMaximum(right_.Reference().CategoryCount());
            Progress->setVisible(true);
            changes = right_.SaveToDatabase(*db_, numbers_, [this](int category) {
                Progress->setValue(category + 1);
                Progress->repaint();
            });
            Progress->setVisible(false);
            for (int i = 0; i < right_.Reference().CategoryCount(); ++i)
                right_.Reference().GetCollection(i)->ShowSaveErrors(*dialogs_);
        } else {
            std::string target = right_.Path();
            if (target.empty() || !IsExchangeFilePath(target) || sender == SaveSender::btnSaveAs) {
                const auto chosen = AskExchangeFilePath();
                if (!chosen) return false;
                target = chosen->toStdString();
            }
            changes = right_.SaveToFile(target, settings_, std::time(nullptr));
            ShowPath(Label2, QString::fromStdString(target));
        }
    } catch (const std::exception& error) {
        // The database or file could not be written; the pane keeps everything.
        Progress->setVisible(false);
        const QString reason = QString::fromStdString(DisplayText(error.what()));
        if (toDatabase)
            dialogs_->Inform(QString::fromUtf8("Не удалось сохранить изменения в базе данных."),
                             reason);
        else
            dialogs_->Inform(reason, QString());
        return false;
    }
    ShowChanges(changes);
    ShowRightPaneState();  // also after a save that changed no record
    return !right_.HasUnsavedChanges();
}

void TForm1::btnTemporyFileClick() {
    if (!SaveUnsavedChangesFirst()) return;
    const auto path = AskExchangeFilePath();
    if (!path) return;
    PaneChanges changes;
    try {
        changes = right_.NewExchangeFile(path->toStdString(), *db_, settings_, std::time(nullptr));
    } catch (const OpenError& error) {
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return;
    } catch (const std::exception& error) {
        dialogs_->Inform(QString::fromStdString(DisplayText(error.what())), QString());
        return;
    }
    RefreshVoltageList();
    ShowChanges(changes);
    ShowPath(Label2, *path);
}

void TForm1::ButtonCancelClick() {
    if (!dialogs_->AskYesNo(QString::fromUtf8("Отменить изменения?"))) return;
    if (!right_.Path().empty()) {
        ButtonOpenRightClick(OpenSender::ButtonCancel);
        return;
    }
    ShowChanges(right_.Cancel(*db_));
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
