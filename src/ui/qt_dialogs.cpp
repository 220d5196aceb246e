#include "ui/qt_dialogs.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/codec.h"
#include "core/data_module.h"
#include "core/server_source.h"
#include "ui/server_dialog.h"

namespace kelm {
namespace {

// The open filter of both panes and the save filter, in Qt's syntax.
const char* kOpenFilter =
    "Файлы Kelm3 (*.gdb *.xml *.fdb *.ib *.xlsx *.ods *.csv);;Обменный файл (*.xml);;"
    "Электронные таблицы (*.xlsx *.ods *.csv);;Базы Kelm 3  (*.gdb *.fdb *.ib)";
const char* kSaveFilter = "Обменный файл (*.xml)";
// The formats a catalogue is saved in, each with the extension its name gets.
const struct {
    const char* filter;
    const char* suffix;
} kCatalogueSaveFilters[] = {
    {"Обменный файл (*.xml)", "xml"},
    {"Книга XLSX (*.xlsx)", "xlsx"},
    {"Таблица CSV (*.csv)", "csv"},
};

// The caption of the questions and information boxes that name none of their own.
const char* kBoxCaption = "Kelm 3";

// The buttons named in the boxes' texts get their Russian names even where
// Qt's translation has none of its own ("OK") or is not installed.
void NameButtonsInRussian(QMessageBox& box) {
    static const struct {
        QMessageBox::StandardButton button;
        const char* name;
    } kNames[] = {{QMessageBox::Yes, "Да"},
                  {QMessageBox::No, "Нет"},
                  {QMessageBox::Ok, "ОК"},
                  {QMessageBox::Cancel, "Отмена"}};
    for (const auto& entry : kNames)
        if (QAbstractButton* button = box.button(entry.button)) button->setText(QString::fromUtf8(entry.name));
}

}  // namespace

std::optional<QString> QtWorkbenchDialogs::ChooseSourceToOpen(Pane, const QString& currentPath) {
    const bool onServer = IsServerSource(currentPath.toStdString());
    QFileDialog dialog(parent_, QString(), onServer ? QString() : currentPath, QString::fromUtf8(kOpenFilter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);  // it gains a button of ours
    dialog.setFileMode(QFileDialog::ExistingFile);
    constexpr int kServerChosen = 2;
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* server = buttons->addButton(QString::fromUtf8("Сервер…"), QDialogButtonBox::ActionRole);
        server->setObjectName("ButtonServer");
        QObject::connect(server, &QPushButton::clicked, &dialog, [&dialog] { static_cast<QDialog&>(dialog).done(kServerChosen); });
    }
    const int result = dialog.exec();
    if (result == kServerChosen) return ChooseServerSource(currentPath);
    if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtWorkbenchDialogs::ChooseServerSource(const QString& currentPath) {
    const std::string user = db_ ? db_->SettingsFor(currentPath.toStdString()).user : std::string();
    ServerDialog dialog(parent_, currentPath, QString::fromStdString(user));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QString source = dialog.Source();
    if (db_) db_->RememberLogin(source.toStdString(), dialog.User().toStdString(), dialog.Password().toStdString());
    return source;
}

std::optional<QString> QtWorkbenchDialogs::ChooseExchangeFileToSave(const QString& currentPath) {
    QFileDialog dialog(parent_, QString(), currentPath, QString::fromUtf8(kSaveFilter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("xml");
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtWorkbenchDialogs::ChooseCatalogueFileToSave(const QString& currentPath) {
    QStringList filters;
    for (const auto& format : kCatalogueSaveFilters) filters << QString::fromUtf8(format.filter);
    QFileDialog dialog(parent_, QString(), currentPath);
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    // A name typed without an extension gets the one of the chosen format;
    // the current file's format is chosen first.
    auto follow = [&dialog](const QString& filter) {
        for (const auto& format : kCatalogueSaveFilters)
            if (filter == QString::fromUtf8(format.filter)) dialog.setDefaultSuffix(format.suffix);
    };
    const QString suffix = QFileInfo(currentPath).suffix().toLower();
    QString chosen = filters.first();
    for (const auto& format : kCatalogueSaveFilters)
        if (suffix == format.suffix) chosen = QString::fromUtf8(format.filter);
    dialog.selectNameFilter(chosen);
    follow(chosen);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, follow);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first();
}

bool QtWorkbenchDialogs::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, QString::fromUtf8(kBoxCaption), text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    NameButtonsInRussian(box);
    return box.exec() == QMessageBox::Yes;
}

bool QtWorkbenchDialogs::AskOkCancel(const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Ok | QMessageBox::Cancel, parent_);
    NameButtonsInRussian(box);
    return box.exec() == QMessageBox::Ok;
}

void QtWorkbenchDialogs::Inform(const QString& text, const QString& detail) {
    QMessageBox box(QMessageBox::Information, QString::fromUtf8(kBoxCaption), text, QMessageBox::Ok, parent_);
    if (!detail.isEmpty()) box.setDetailedText(detail);
    NameButtonsInRussian(box);
    box.exec();
}

void QtWorkbenchDialogs::ShowSaveErrors(const std::vector<std::string>& lines,
                                        const std::vector<std::string>& reasons) {
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
    for (std::size_t i = 0; i < lines.size(); ++i) {
        text += QString::fromUtf8(Utf8FromCp1251(lines[i]));
        // The database's messages come in several lines; the window has one per record.
        if (i < reasons.size()) text += ": " + QString::fromStdString(DisplayText(reasons[i])).replace('\n', ' ');
        text += "\n";
    }
    memo->setPlainText(text);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &window);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("BitBtn1");
    buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("ОК"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, &QDialog::accept);
    layout->addWidget(memo);
    layout->addWidget(buttons);
    window.resize(420, 300);
    window.exec();
}

}  // namespace kelm
