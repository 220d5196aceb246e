// "Сервер…" in the open step: the dialog builds the source text, and the
// login typed there is kept for that source.
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "core/data_module.h"
#include "ui/qt_dialogs.h"
#include "ui/server_dialog.h"

namespace kelm {
namespace {

// Runs `step` on each modal dialog as it comes up, in order.
void AnswerModals(std::vector<std::function<void(QWidget*)>> steps) {
    auto remaining = std::make_shared<std::vector<std::function<void(QWidget*)>>>(std::move(steps));
    auto last = std::make_shared<QWidget*>(nullptr);
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [=] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == *last) return;
        *last = modal;
        auto step = remaining->front();
        remaining->erase(remaining->begin());
        if (remaining->empty()) timer->deleteLater();
        step(modal);
    });
    timer->start(20);
}

TEST(ServerDialog, BuildsTheSourceFromItsParts) {
    ServerDialog dialog(nullptr, "db/3051:/srv/k.fdb", "sysdba");
    EXPECT_EQ(dialog.EditHost->text(), "db");
    EXPECT_EQ(dialog.EditPort->text(), "3051");
    EXPECT_EQ(dialog.EditUser->text(), "sysdba");
    EXPECT_EQ(dialog.Source(), "db/3051:/srv/k.fdb");
    dialog.EditPort->clear();
    dialog.EditPath->setText("kelm");
    EXPECT_EQ(dialog.Source(), "db:kelm");
    EXPECT_TRUE(dialog.Buttons->button(QDialogButtonBox::Ok)->isEnabled());
    dialog.EditHost->clear();
    EXPECT_FALSE(dialog.Buttons->button(QDialogButtonBox::Ok)->isEnabled());
    EXPECT_EQ(dialog.EditPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(dialog.Buttons->button(QDialogButtonBox::Ok)->text(), QString::fromUtf8("ОК"));
    EXPECT_EQ(dialog.Buttons->button(QDialogButtonBox::Cancel)->text(), QString::fromUtf8("Отмена"));
}

TEST(ServerDialog, IsReachedFromTheOpenStepAndKeepsTheTypedLogin) {
    QWidget parent;
    TRef_DataModule db;
    QtWorkbenchDialogs dialogs(&parent);
    dialogs.SetDataModule(&db);
    AnswerModals({
        [](QWidget* files) { files->findChild<QPushButton*>("ButtonServer")->click(); },
        [](QWidget* modal) {
            auto* server = dynamic_cast<ServerDialog*>(modal);
            ASSERT_NE(server, nullptr);
            server->EditHost->setText("db.example.org");
            server->EditPath->setText("/srv/kelm/catalogue.fdb");
            server->EditUser->setText("ivanov");
            server->EditPassword->setText("secret");
            server->accept();
        },
    });
    const auto chosen = dialogs.ChooseSourceToOpen(Pane::Right, "/home/user/catalogue.fdb");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(*chosen, "db.example.org:/srv/kelm/catalogue.fdb");
    EXPECT_EQ(db.SettingsFor("db.example.org:/srv/kelm/catalogue.fdb").user, "ivanov");
    EXPECT_EQ(db.SettingsFor("db.example.org:/srv/kelm/catalogue.fdb").password, "secret");
    EXPECT_EQ(db.SettingsFor("/home/user/catalogue.fdb").password, TRef_DataModule::CatalogueSettings().password);
}

}  // namespace
}  // namespace kelm
