#pragma once
// The real boxes and file dialogs of the workbench.

#include <QWidget>

#include "ui/workbench_dialogs.h"

namespace kelm {

class TRef_DataModule;

class QtWorkbenchDialogs : public WorkbenchDialogs {
public:
    explicit QtWorkbenchDialogs(QWidget* parent) : parent_(parent) {}
    // The connection that keeps the logins typed in the server dialog.
    void SetDataModule(TRef_DataModule* db) { db_ = db; }
    // The open dialog offers local files and, through "Сервер…", a server database.
    std::optional<QString> ChooseSourceToOpen(Pane pane, const QString& currentPath) override;
    std::optional<QString> ChooseExchangeFileToSave(const QString& currentPath) override;
    std::optional<QString> ChooseCatalogueFileToSave(const QString& currentPath) override;
    bool AskYesNo(const QString& text) override;
    bool AskOkCancel(const QString& caption, const QString& text) override;
    void Inform(const QString& text, const QString& detail) override;
    void ShowSaveErrors(const std::vector<std::string>& lines, const std::vector<std::string>& reasons) override;

private:
    std::optional<QString> ChooseServerSource(const QString& currentPath);

    QWidget* parent_;
    TRef_DataModule* db_ = nullptr;
};

}  // namespace kelm
