#include "ui/server_dialog.h"

#include <QFormLayout>
#include <QIntValidator>
#include <QPushButton>

#include "core/server_source.h"

namespace kelm {

ServerDialog::ServerDialog(QWidget* parent, const QString& currentSource, const QString& user) : QDialog(parent) {
    setObjectName("ServerDialog");
    setWindowTitle(QString::fromUtf8("Сервер"));
    auto* layout = new QFormLayout(this);
    auto edit = [&](QLineEdit*& box, const char* name, const char* caption) {
        box = new QLineEdit(this);
        box->setObjectName(name);
        layout->addRow(QString::fromUtf8(caption), box);
        connect(box, &QLineEdit::textChanged, this, [this] { EntriesChanged(); });
    };
    edit(EditHost, "EditHost", "Сервер");
    edit(EditPort, "EditPort", "Порт");
    edit(EditPath, "EditPath", "Путь или псевдоним");
    edit(EditUser, "EditUser", "Пользователь");
    edit(EditPassword, "EditPassword", "Пароль");
    EditPort->setValidator(new QIntValidator(1, 65535, EditPort));
    EditPort->setPlaceholderText(QString::fromUtf8("по умолчанию"));
    EditPath->setMinimumWidth(280);
    EditPassword->setEchoMode(QLineEdit::Password);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    // Named as in every other box, whatever Qt's translation calls them.
    Buttons->button(QDialogButtonBox::Ok)->setText(QString::fromUtf8("ОК"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromUtf8("Отмена"));
    layout->addRow(Buttons);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    ServerSourceParts parts;
    if (SplitServerSource(currentSource.toStdString(), parts)) {
        EditHost->setText(QString::fromStdString(parts.host));
        EditPort->setText(QString::fromStdString(parts.port));
        EditPath->setText(QString::fromStdString(parts.path));
    } else {
        EditHost->setText("localhost");
    }
    EditUser->setText(user);
    EntriesChanged();
}

QString ServerDialog::Source() const {
    return QString::fromStdString(ServerSourceText(EditHost->text().trimmed().toStdString(),
                                                   EditPort->text().trimmed().toStdString(),
                                                   EditPath->text().trimmed().toStdString()));
}

void ServerDialog::EntriesChanged() {
    // OK only for text that opens as a server database.
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(IsServerSource(Source().toStdString()));
}

}  // namespace kelm
