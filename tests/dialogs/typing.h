#pragma once
// Typing into widgets of an offscreen dialog, key by key.

#include <QApplication>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

namespace kelm::test {

// Sends the keys of `keys` as typed; '\b' is Backspace.
inline void Type(QWidget* widget, const QString& keys) {
    for (QChar c : keys) {
        const bool backspace = c == QChar('\b');
        const int key = backspace ? int(Qt::Key_Backspace) : int(c.toUpper().unicode());
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, backspace ? QString("\b") : QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

inline void Press(QWidget* widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

}  // namespace kelm::test
