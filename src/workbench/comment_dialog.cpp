#include "workbench/comment_dialog.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kelm {

TFrmComment::TFrmComment(QWidget* parent) : QDialog(parent) {
    setObjectName("TFrmComment");
    setWindowTitle(QString::fromUtf8("Комментарий"));
    auto* layout = new QVBoxLayout(this);
    EditComment = new QLineEdit(this);
    EditComment->setObjectName("EditComment");
    EditComment->setMinimumWidth(313);
    layout->addWidget(EditComment);
    auto* buttons = new QHBoxLayout;
    BitBtn1 = new QPushButton(QString::fromUtf8("П&рервать"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtnOk = new QPushButton(QString::fromUtf8("&Сохранить"), this);
    BitBtnOk->setObjectName("BitBtnOk");
    BitBtnOk->setDefault(true);
    BitBtnNo = new QPushButton(QString::fromUtf8("&Пропустить"), this);
    BitBtnNo->setObjectName("BitBtnNo");
    BitBtnNo->setAutoDefault(false);
    BitBtn1->setAutoDefault(false);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtnOk);
    buttons->addWidget(BitBtnNo);
    layout->addLayout(buttons);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { done(AbortResult); });
    connect(BitBtnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtnNo, &QPushButton::clicked, this, &QDialog::reject);
    connect(EditComment, &QLineEdit::textChanged, this, [this] { EditCommentChange(); });
    setFixedSize(sizeHint());
}

void TFrmComment::SetQuestion(const QString& initial, std::function<bool(const QString&)> distinct) {
    distinct_ = nullptr;  // filling the box is not an edit
    EditComment->setText(initial);
    distinct_ = std::move(distinct);
}

void TFrmComment::FormShow() {
    EditComment->setFocus();
    BitBtnOk->setEnabled(false);
}

void TFrmComment::EditCommentChange() {
    if (distinct_) BitBtnOk->setEnabled(distinct_(EditComment->text()));
}

void TFrmComment::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

}  // namespace kelm
