#include "dialogs/key_filters.h"

#include <QKeyEvent>

namespace kelm {
namespace {

constexpr QChar kBackspace('\b');

bool IsDigit(QChar key) { return key >= QChar('0') && key <= QChar('9'); }

// The character a key press types, if it types one: Backspace or a single
// printable character without Ctrl or Alt (those are shortcuts).
bool TypedCharacter(const QKeyEvent& event, QChar& key) {
    if (event.key() == Qt::Key_Backspace) {
        key = kBackspace;
        return true;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString text = event.text();
    if (text.isEmpty() || !text[0].isPrint()) return false;
    // Several characters at once (a composed key) are never a valid entry.
    key = text.size() == 1 ? text[0] : QChar();
    return true;
}

}  // namespace

TypedKeyFilter::TypedKeyFilter(QLineEdit* edit) : QObject(edit) { edit->installEventFilter(this); }

bool TypedKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (event->type() != QEvent::KeyPress || !edit || edit->isReadOnly()) return false;
    QChar key;
    if (!TypedCharacter(*static_cast<QKeyEvent*>(event), key)) return false;
    return Take(*edit, key);
}

DecimalKeyFilter::DecimalKeyFilter(QLineEdit* edit, char decimalSeparator)
    : TypedKeyFilter(edit), separator_(QChar::fromLatin1(decimalSeparator)) {}

bool DecimalKeyFilter::Take(QLineEdit& edit, QChar key) {
    if (key == kBackspace || IsDigit(key)) return false;
    if ((key == QChar('.') || key == QChar(',')) && !edit.text().contains(separator_)) edit.insert(separator_);
    return true;
}

bool DigitKeyFilter::Take(QLineEdit&, QChar key) { return !(key == kBackspace || IsDigit(key)); }

bool TemperatureKeyFilter::Take(QLineEdit& edit, QChar key) {
    const QChar minus('-');
    if (key == minus) {
        if (!edit.text().contains(minus)) {
            const int caret = edit.cursorPosition();
            edit.setText(minus + edit.text());
            edit.setCursorPosition(caret + 1);
        }
        return true;
    }
    if (key == kBackspace || IsDigit(key)) return edit.cursorPosition() == 0 && edit.text().contains(minus);
    return true;
}

}  // namespace kelm
