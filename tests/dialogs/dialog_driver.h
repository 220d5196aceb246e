#pragma once
// Opening property dialogs offscreen as the main window opens them, and
// finding and filling their boxes like a user would.

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

#include "dialogs/property_dialogs.h"
#include "dialogs/typing.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace kelm::test {

template <class Widget = QLineEdit>
Widget* Child(QDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    if (!widget) throw std::logic_error(std::string("no widget ") + name);
    return widget;
}

inline QLineEdit* Edit(QDialog& dialog, const char* name) { return Child<QLineEdit>(dialog, name); }
inline QComboBox* List(QDialog& dialog, const char* name) { return Child<QComboBox>(dialog, name); }

inline void Retype(QDialog& dialog, const char* name, const char* keys) {
    Edit(dialog, name)->clear();
    Type(Edit(dialog, name), QString::fromUtf8(keys));
}

inline QStringList Entries(QComboBox* list) {
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
    return entries;
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

// Opens the record's dialog through DialogFor as the window does; `user`
// plays the user on the shown dialog, and the dialog's result is what the
// modal run returns. True when the record was changed.
inline bool OpenDialog(TBaseElement& record, bool readOnly, DialogContext& context,
                       const std::function<void(TPropertyDialog&)>& user) {
    context.exec = [&](QDialog& dialog) {
        dialog.show();
        user(static_cast<TPropertyDialog&>(dialog));
        return dialog.result();
    };
    DialogOpener open = DialogFor(record);
    if (!open) throw std::logic_error(std::string("no dialog for ") + record.ClassName());
    return open(record, readOnly, context);
}

// Dialogs whose lists come from the connected catalogue database: a fresh
// one, to be given its rows and then connected, and the window's messages.
class DialogOnCatalogue : public ::testing::Test {
protected:
    bool Open(TBaseElement& record, bool readOnly, const std::function<void(TPropertyDialog&)>& user) {
        return OpenDialog(record, readOnly, context, user);
    }

    FreshCatalogue catalogue;
    TRef_DataModule db;
    ScriptedDialogs messages;
    DialogContext context{nullptr, &db, NumberText(','), &messages};
};

}  // namespace kelm::test
