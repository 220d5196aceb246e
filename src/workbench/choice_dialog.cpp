#include "workbench/choice_dialog.h"

#include <QKeyEvent>

namespace kelm {

int WidthChDg(const QFontMetrics& metrics, const QStringList& captions, int width) {
    for (const QString& caption : captions) width = std::max(width, metrics.horizontalAdvance(caption) + 8);
    return width;
}

TChDg::TChDg(QWidget* parent, const QString& caption, const QString& message, const QStringList& buttons,
             const QString& checkCaption, const std::vector<int>& states)
    : QDialog(parent) {
    setObjectName("TChDg");
    QFont font("Arial", 10);
    setFont(font);
    const int w = WidthChDg(QFontMetrics(font), buttons, 217);
    const int formWidth = w + 25;
    setWindowTitle(caption);

    Label2 = new QLabel(message, this);
    Label2->setObjectName("Label2");
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignCenter);
    const int labelHeight = Label2->heightForWidth(formWidth) > 0 ? Label2->heightForWidth(formWidth) : 20;
    Label2->setGeometry(0, 0, formWidth, labelHeight);

    const int top = labelHeight + 5;
    const int formHeight = top + 30 * static_cast<int>(buttons.size()) + 50;
    setFixedSize(formWidth, formHeight);

    CheckBoxAll = new QCheckBox(checkCaption, this);
    CheckBoxAll->setObjectName("CheckBoxAll");
    CheckBoxAll->setGeometry(8, formHeight - 26, formWidth - 8, 20);
    CheckBoxAll->installEventFilter(this);

    QPushButton* focused = nullptr;
    for (int i = 0; i < buttons.size(); ++i) {
        auto* button = new QPushButton(buttons[i], this);
        button->setObjectName(QString("bs%1").arg(i));
        button->setGeometry(5, top + 30 * i, w + 10, 23);
        button->setAutoDefault(false);
        const int tag = i + 1;
        connect(button, &QPushButton::clicked, this, [this, tag] {
            Answer = tag;
            accept();
        });
        const int state = i < static_cast<int>(states.size()) ? states[static_cast<std::size_t>(i)] : ButtonEnabled;
        button->setEnabled(state != ButtonDisabled);
        if (state == ButtonFocused) {
            focused = button;
            safeAnswer_ = tag;
        }
        button->installEventFilter(this);
        Buttons.push_back(button);
    }
    setTabOrder(Buttons.empty() ? nullptr : Buttons.back(), CheckBoxAll);
    if (focused) focused->setFocus();
}

bool TChDg::HandleKey(QKeyEvent* key) {
    if (key->key() == Qt::Key_Escape) {
        Answer = 0;
        reject();
        return true;
    }
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (auto* button = qobject_cast<QPushButton*>(focusWidget()); button && button->isEnabled()) {
        button->click();
    } else {
        // Enter elsewhere (on the check box) takes the safe answer, "Пропустить",
        // the one focused at first.
        Answer = safeAnswer_;
        accept();
    }
    return true;
}

bool TChDg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event))) return true;
    return QDialog::eventFilter(watched, event);
}

void TChDg::keyPressEvent(QKeyEvent* event) {
    if (!HandleKey(event)) QDialog::keyPressEvent(event);
}

ChoiceShown ShowChoiceDialog(QWidget* parent, const QString& caption, const QString& message,
                             const QStringList& buttons, const QString& checkCaption, const std::vector<int>& states) {
    TChDg dialog(parent, caption, message, buttons, checkCaption, states);
    const bool closedByButton = dialog.exec() == QDialog::Accepted;
    return {closedByButton ? dialog.Answer : 0, dialog.CheckBoxAll->isChecked()};
}

}  // namespace kelm
