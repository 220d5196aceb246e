#include "dialogs/property_dialog.h"

#include <QHBoxLayout>
#include <QShowEvent>
#include <QVBoxLayout>

#include "core/network_use.h"
#include "dialogs/key_filters.h"
#include "dialogs/property_dialogs.h"

namespace kelm {

TPropertyDialog::TPropertyDialog(const DialogContext& context, const char* className, const QString& caption)
    : QDialog(context.parent), entries_(context.numbers), db_(context.db), messages_(context.messages) {
    setObjectName(className);
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    // The form takes the size of its rows and cannot be resized.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Form = new QGridLayout;
    layout->addLayout(Form);

    Panel1 = new QWidget(this);
    Panel1->setObjectName("Panel1");
    auto* buttons = new QHBoxLayout(Panel1);
    if (context.networkUse) {
        LabelNetworkUse = new QLabel(QString::fromStdString(NetworkUseText(*context.networkUse)), Panel1);
        LabelNetworkUse->setObjectName("LabelNetworkUse");
        buttons->addWidget(LabelNetworkUse);
    }
    buttons->addStretch();
    BitBtn1 = new QPushButton(QString::fromUtf8("Отмена"), Panel1);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(QString::fromUtf8("Сохранить"), Panel1);
    BitBtn2->setObjectName("BitBtn2");
    BitBtn2->setDefault(true);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    layout->addWidget(Panel1);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this, &TPropertyDialog::TryAccept);
}

bool TPropertyDialog::TryAccept() {
    if (!BitBtn2->isEnabled()) return false;
    const EntryCheck check = FormCloseQuery();
    if (check != EntryCheck::Passed) {
        messages_->Inform(RefusalMessage(check), QString());
        return false;
    }
    QDialog::accept();
    return true;
}

void TPropertyDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        FillCells();
        // The panel was made before the rows, so Tab reaches the buttons after
        // the last row; the dialog opens in the first box Tab reaches after them.
        if (!focusWidget()) {
            for (QWidget* w = BitBtn2->nextInFocusChain(); w != BitBtn1; w = w->nextInFocusChain()) {
                if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->isHidden()) {
                    w->setFocus();
                    break;
                }
            }
        }
    }
    QDialog::showEvent(event);
}

QLineEdit* TPropertyDialog::NewEdit(const char* name, EditUse use, Keys keys) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    if (use != EditUse::Editable) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::ClickFocus);
    }
    if (use == EditUse::ShownBold) {
        QFont bold = edit->font();
        bold.setBold(true);
        edit->setFont(bold);
    }
    switch (keys) {
    case Keys::Any: break;
    case Keys::Decimal: new DecimalKeyFilter(edit, entries_.Numbers().DecimalSeparator()); break;
    case Keys::Digits: new DigitKeyFilter(edit); break;
    case Keys::Temperature: new TemperatureKeyFilter(edit); break;
    }
    return edit;
}

QLabel* TPropertyDialog::NewLabel(const char* name, const QString& caption) {
    auto* label = new QLabel(caption, this);
    label->setObjectName(name);
    return label;
}

QComboBox* TPropertyDialog::NewList(const char* name, const QStringList& entries) {
    auto* list = new QComboBox(this);
    list->setObjectName(name);
    list->addItems(entries);
    return list;
}

QLineEdit* TPropertyDialog::NewStandBy(QComboBox* list, const char* name) {
    QLineEdit* edit = NewEdit(name, EditUse::Shown);
    edit->setProperty(kTagProperty, 1);
    edit->hide();
    int row = 0, column = 0, rows = 0, columns = 0;
    const int index = Form->indexOf(list);
    if (index >= 0) {
        Form->getItemPosition(index, &row, &column, &rows, &columns);
        Form->addWidget(edit, row, column, rows, columns);
    }
    edit->raise();  // over the list when shown
    return edit;
}

void TPropertyDialog::AddRow(int row, QLabel* label, QWidget* box, int column) {
    if (label) Form->addWidget(label, row, 0);
    if (box) Form->addWidget(box, row, column);
}

void MakeReadOnly(QDialog& dialog) {
    for (QLineEdit* edit : dialog.findChildren<QLineEdit*>()) {
        edit->setReadOnly(true);
        if (edit->property(kTagProperty).toInt() > 0) edit->show();
    }
    for (QComboBox* list : dialog.findChildren<QComboBox*>()) list->setFocusPolicy(Qt::NoFocus);
}

}  // namespace kelm
