#pragma once
// The real boxes and file dialogs of the workbench.

#include <QWidget>

#include "ui/workbench_dialogs.h"

namespace kelm {

class QtWorkbenchDialogs : public WorkbenchDialogs {
public:
    explicit QtWorkbenchDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<QString> ChooseSourceToOpen(Pane pane, const QString& currentPath) override;
    std::optional<QString> ChooseExchangeFileToSave(const QString& currentPath) override;
    bool AskYesNo(const QString& text) override;
    bool AskOkCancel(const QString& caption, const QString& text) override;
    void Inform(const QString& text, const QString& detail) override;
    void ShowSaveErrors(const std::vector<std::string>& lines) override;

private:
    QWidget* parent_;
};

}  // namespace kelm
