#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/codec.h"

namespace kelm {
namespace {

// The open filter of both panes and the save filter, in Qt's syntax.
const char* kOpenFilter =
    "Файлы Kelm3 (*.gdb *.xml *.fdb *.ib);;Обменный файл (*.xml);;Базы Kelm 3  (*.gdb *.fdb *.ib)";
const char* kSaveFilter = "Обменный файл (*.xml)";

}  // namespace

std::optional<QString> QtWorkbenchDialogs::ChooseSourceToOpen(Pane, const QString& currentPath) {
    const QString path = QFileDialog::getOpenFileName(parent_, QString(), currentPath, QString::fromUtf8(kOpenFilter));
    if (path.isEmpty()) return std::nullopt;
    return path;
}

std::optional<QString> QtWorkbenchDialogs::ChooseExchangeFileToSave(const QString& currentPath) {
    QFileDialog dialog(parent_, QString(), currentPath, QString::fromUtf8(kSaveFilter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("xml");
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

bool QtWorkbenchDialogs::AskYesNo(const QString& text) {
    return QMessageBox::question(parent_, QApplication::applicationDisplayName(), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool QtWorkbenchDialogs::AskOkCancel(const QString& caption, const QString& text) {
    return QMessageBox::question(parent_, caption, text, QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void QtWorkbenchDialogs::Inform(const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent_);
    if (!detail.isEmpty()) box.setDetailedText(detail);
    box.exec();
}

void QtWorkbenchDialogs::ShowSaveErrors(const std::vector<std::string>& lines) {
    QDialog window(parent_);
    window.setObjectName("TfrmErrors");
    window.setWindowTitle(QString::fromUtf8("Ошибки при сохранении"));
    auto* layout = new QVBoxLayout(&window);
    auto* memo = new QPlainTextEdit(&window);
    memo->setObjectName("Memo1");
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QString text;
    for (const auto& line : lines) text += QString::fromUtf8(Utf8FromCp1251(line)) + "\n";
    memo->setPlainText(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(memo);
    layout->addWidget(buttons);
    window.resize(420, 300);
    window.exec();
}

}  // namespace kelm
