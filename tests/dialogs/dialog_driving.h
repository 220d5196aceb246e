#pragma once
// Property dialogs opened offscreen as the main window opens them, and their
// edits found, retyped and tabbed through like a user would.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>
#include <QStringList>
#include <functional>
#include <stdexcept>
#include <string>

#include "dialogs/property_dialogs.h"
#include "dialogs/typing.h"
#include "support/scripted_dialogs.h"

namespace kelm::test {

inline const QString kIncorrect = QString::fromUtf8("Введены некорректные данные");
inline const QString kMissing = QString::fromUtf8("Не введены обязательные данные");

inline QLineEdit* Edit(QDialog& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(name);
    if (!edit) throw std::logic_error(std::string("no edit ") + name);
    return edit;
}

// Clears the edit and types `keys` (UTF-8) into it, through its key filter.
inline void Retype(QDialog& dialog, const char* name, const char* keys) {
    Edit(dialog, name)->clear();
    Type(Edit(dialog, name), QString::fromUtf8(keys));
}

// The names of the widgets Tab visits, from the one the dialog opens in.
inline QStringList TabOrder(QWidget& dialog) {
    QStringList names;
    QWidget* first = dialog.focusWidget();
    if (!first) return names;
    QWidget* w = first;
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible()) names << w->objectName();
        w = w->nextInFocusChain();
    } while (w != first);
    return names;
}

class PropertyDialogTest : public ::testing::Test {
protected:
    // Opens the record's dialog as the window does; `user` plays the user on
    // the shown dialog, and the dialog's result is what the modal run returns.
    bool Open(TBaseElement& record, bool readOnly, const std::function<void(TPropertyDialog&)>& user) {
        context.exec = [&](QDialog& dialog) {
            dialog.show();
            user(static_cast<TPropertyDialog&>(dialog));
            return dialog.result();
        };
        DialogOpener open = DialogFor(record);
        if (!open) throw std::logic_error(std::string("no dialog for ") + record.ClassName());
        return open(record, readOnly, context);
    }

    ScriptedDialogs messages;
    DialogContext context{nullptr, nullptr, NumberText(','), &messages};
};

}  // namespace kelm::test
