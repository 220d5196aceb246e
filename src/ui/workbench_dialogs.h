#pragma once
// Everything the main window asks or tells the user in a modal box: one small
// interface, so that tests answer the questions the user would.

#include <QString>
#include <optional>

#include "core/collection.h"

namespace kelm {

enum class Pane { Left, Right };

class WorkbenchDialogs : public SaveErrorsDisplay {
public:
    // A source for a pane (the open dialog), or none when cancelled.
    virtual std::optional<QString> ChooseSourceToOpen(Pane pane, const QString& currentPath) = 0;
    // A new exchange file's path (the save dialog, asking before overwriting), or none.
    virtual std::optional<QString> ChooseExchangeFileToSave(const QString& currentPath) = 0;
    // A file to save the catalogue to as an exchange file, XLSX or CSV (the
    // save dialog, asking before overwriting), or none.
    virtual std::optional<QString> ChooseCatalogueFileToSave(const QString& currentPath) {
        return ChooseExchangeFileToSave(currentPath);
    }
    // A confirmation box with Yes and No.
    virtual bool AskYesNo(const QString& text) = 0;
    // A box with OK and Cancel.
    virtual bool AskOkCancel(const QString& caption, const QString& text) = 0;
    // An information box; `detail` (may be empty) is available on request.
    virtual void Inform(const QString& text, const QString& detail) = 0;
};

}  // namespace kelm
