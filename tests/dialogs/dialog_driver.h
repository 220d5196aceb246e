#pragma once
// Property dialogs opened offscreen as the main window opens them, and their
// boxes found and filled as a user would.

#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "dialogs/property_dialogs.h"
#include "dialogs/typing.h"
#include "support/scripted_dialogs.h"
#include "support/test_support.h"

namespace kelm::test {

inline const QString kIncorrect = QString::fromUtf8("Введены некорректные данные");
inline const QString kMissing = QString::fromUtf8("Не введены обязательные данные");
// The information boxes shown, as text and detail.
using Informed = std::vector<std::pair<QString, QString>>;

template <class Widget = QLineEdit>
Widget* Child(QObject& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    if (!widget) throw std::logic_error(std::string("no widget ") + name);
    return widget;
}

inline QLineEdit* Edit(QObject& dialog, const char* name) { return Child<QLineEdit>(dialog, name); }
inline QComboBox* List(QObject& dialog, const char* name) { return Child<QComboBox>(dialog, name); }

inline void Retype(QObject& dialog, const char* name, const char* keys) {
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

// A read-only view: every edit read-only and "Сохранить" disabled, so that
// even a dialog ending with OK changes nothing.
inline void ExpectOnlyShows(TPropertyDialog& d) {
    for (QLineEdit* edit : d.findChildren<QLineEdit*>())
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
    EXPECT_FALSE(d.BitBtn2->isEnabled());
    EXPECT_FALSE(d.TryAccept());
    d.done(QDialog::Accepted);  // whatever it ends with
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

// Dialogs without a database.
class DialogDriver : public ::testing::Test {
protected:
    bool Open(TBaseElement& record, bool readOnly, const std::function<void(TPropertyDialog&)>& user) {
        return OpenDialog(record, readOnly, context, user);
    }
    ScriptedDialogs messages;
    DialogContext context{nullptr, nullptr, NumberText(','), &messages};
};

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
