// The main window: saving, cancelling, a new exchange file, leaving, and
// showing what each of the right pane's operations changed.

#include "workbench/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <ctime>

#include "core/codec.h"
#include "core/exchange_file.h"
#include "core/server_source.h"
#include "formats/catalogue_file.h"
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

std::optional<QString> TForm1::AskExchangeFilePath(bool anyFormat) {
    // A database pane proposes an exchange file of the database's name beside
    // it, never the database file itself; an ODS pane, which is only read, a
    // workbook of its name.
    QString proposed = RightPath();
    const bool writable = anyFormat ? IsWritableFilePath(proposed.toStdString()) : IsExchangeFilePath(proposed.toStdString());
    if (!proposed.isEmpty() && !writable) {
        const QFileInfo source(proposed);
        const bool ods = anyFormat && FormatOfPath(proposed.toStdString()) == SourceFormat::Ods;
        proposed = source.dir().filePath(source.completeBaseName() + (ods ? ".xlsx" : ".xml"));
    }
    return AskExchangeFilePath(proposed, anyFormat);
}

QString TForm1::NewExchangeFileName() const {
    // Beside the pane's source, under a name no file has yet.
    const QString source = RightPath().isEmpty() || IsServerSource(RightPath().toStdString()) ? leftPath_ : RightPath();
    const QDir folder = source.isEmpty() || IsServerSource(source.toStdString()) ? QDir::current()
                                                                                  : QFileInfo(source).absoluteDir();
    const QString name = QString::fromUtf8("Новый справочник");
    QString path = folder.filePath(name + ".xml");
    for (int n = 2; QFileInfo::exists(path); ++n) path = folder.filePath(QString("%1 %2.xml").arg(name).arg(n));
    return path;
}

std::optional<QString> TForm1::AskExchangeFilePath(const QString& proposed, bool anyFormat) {
    const auto chosen = anyFormat ? dialogs_->ChooseCatalogueFileToSave(proposed) : dialogs_->ChooseExchangeFileToSave(proposed);
    if (!chosen) return std::nullopt;
    // Nothing would be written under another name, yet the changes would count as saved.
    if (!anyFormat && !IsExchangeFilePath(chosen->toStdString())) {
        dialogs_->Inform(QString::fromUtf8("Обменный файл должен иметь расширение .xml."), *chosen);
        return std::nullopt;
    }
    if (anyFormat && !IsWritableFilePath(chosen->toStdString())) {
        dialogs_->Inform(QString::fromUtf8("Справочник сохраняется в файл с расширением .xml, .xlsx или .csv."), *chosen);
        return std::nullopt;
    }
    return chosen;
}

std::function<void(int step)> TForm1::ShowProgress(int steps) {
    Progress->setMaximum(steps);
    Progress->setValue(0);
    Progress->setVisible(true);
    return [this](int step) {
        Progress->setValue(step + 1);
        Progress->repaint();
    };
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
            changes = right_.SaveToDatabase(*db_, numbers_, ShowProgress(right_.Reference().CategoryCount()));
            Progress->setVisible(false);
            for (int i = 0; i < right_.Reference().CategoryCount(); ++i)
                right_.Reference().GetCollection(i)->ShowSaveErrors(*dialogs_);
        } else {
            std::string target = right_.Path();
            // A pane saves back to its own file in its own format; one it cannot write asks.
            if (target.empty() || !IsWritableFilePath(target) || sender == SaveSender::btnSaveAs) {
                const auto chosen = AskExchangeFilePath(true);
                if (!chosen) return false;
                target = chosen->toStdString();
            }
            const std::string database = right_.IsDatabase() ? right_.Path() : std::string();
            changes = right_.SaveToFile(target, settings_, std::time(nullptr),
                                        ShowProgress(right_.Reference().CategoryCount() + 1));
            Progress->setVisible(false);
            // The database is no longer the pane's source: another program may have it now.
            if (!database.empty() && db_->Connected() && db_->DatabasePath() == database)
                db_->SQLConnection.Disconnect();
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
    const auto path = AskExchangeFilePath(NewExchangeFileName(), false);
    if (!path) return;
    // An empty file over a catalogue that is open would throw that catalogue away.
    for (const QString& open : {RightPath(), leftPath_}) {
        if (!open.isEmpty() && QFileInfo(open) == QFileInfo(*path)) {
            dialogs_->Inform(QString::fromUtf8("Этот файл открыт в окне: новый обменный файл нужно назвать иначе."),
                             *path);
            return;
        }
    }
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
