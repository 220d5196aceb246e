#pragma once
// "Сервер…": a catalogue database on a database server, typed as its parts.
// The dialog builds the source text; the login typed here is used for that
// source while the program runs and is never written anywhere.

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

namespace kelm {

class ServerDialog : public QDialog {
public:
    // Filled from `currentSource` when it is a server source; `user` is the
    // login the connection would use.
    ServerDialog(QWidget* parent, const QString& currentSource, const QString& user);

    QString Source() const;  // "host:path" or "host/port:path"
    QString User() const { return EditUser->text().trimmed(); }
    QString Password() const { return EditPassword->text(); }

    QLineEdit* EditHost;      // "Сервер"
    QLineEdit* EditPort;      // "Порт": empty for the server's default one
    QLineEdit* EditPath;      // "Путь или псевдоним"
    QLineEdit* EditUser;      // "Пользователь"
    QLineEdit* EditPassword;  // "Пароль"
    QDialogButtonBox* Buttons;

private:
    void EntriesChanged();
};

}  // namespace kelm
