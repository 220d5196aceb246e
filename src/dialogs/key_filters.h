#pragma once
// Key filters of the dialogs' number edits. They see typed keys only (a
// printable character or Backspace); navigation, shortcuts and pasted text
// pass untouched, and the check on OK catches what gets through. A filter
// belongs to the edit it is attached to.

#include <QChar>
#include <QLineEdit>
#include <QObject>

namespace kelm {

class TypedKeyFilter : public QObject {
public:
    explicit TypedKeyFilter(QLineEdit* edit);

protected:
    // A key typed into the edit (Backspace as '\b'): true when the filter took
    // it, dropped or turned into something else; false lets the edit have it.
    virtual bool Take(QLineEdit& edit, QChar key) = 0;

private:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Backspace, digits and one decimal separator: "." and "," both type the
// user's separator, and nothing when the text holds it already. No sign.
class DecimalKeyFilter : public TypedKeyFilter {
public:
    DecimalKeyFilter(QLineEdit* edit, char decimalSeparator);

protected:
    bool Take(QLineEdit& edit, QChar key) override;

private:
    QChar separator_;
};

// Backspace and digits.
class DigitKeyFilter : public TypedKeyFilter {
public:
    using TypedKeyFilter::TypedKeyFilter;

protected:
    bool Take(QLineEdit& edit, QChar key) override;
};

// Whole temperatures: Backspace and digits, and "-", which puts the sign in
// front of the text wherever the caret is. Nothing goes in front of the sign.
class TemperatureKeyFilter : public TypedKeyFilter {
public:
    using TypedKeyFilter::TypedKeyFilter;

protected:
    bool Take(QLineEdit& edit, QChar key) override;
};

}  // namespace kelm
