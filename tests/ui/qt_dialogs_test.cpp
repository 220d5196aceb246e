#include "ui/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

#include "core/codec.h"

namespace kelm {
namespace {

// What a user reads on a modal box: its title and the texts of its buttons and labels.
struct SeenBox {
    QString title;
    QStringList buttons;
    QStringList labels;
    QStringList texts;  // of its text areas
};

// Runs `open`, which shows a modal box, reads the box once it is up and closes it.
SeenBox SeeModal(const std::function<void()>& open) {
    SeenBox seen;
    QTimer::singleShot(0, [&seen] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        for (auto* button : box->findChildren<QAbstractButton*>())
            if (button->isVisible()) seen.buttons << button->text();
        for (auto* label : box->findChildren<QLabel*>())
            if (label->isVisible()) seen.labels << label->text();
        for (auto* area : box->findChildren<QPlainTextEdit*>()) seen.texts << area->toPlainText();
        box->close();
    });
    open();
    return seen;
}

TEST(QtBoxes, QuestionsNameTheirButtonsInRussian) {
    QtWorkbenchDialogs dialogs(nullptr);
    const SeenBox yesNo = SeeModal([&] { dialogs.AskYesNo(QString::fromUtf8("Сохранить изменения ?")); });
    EXPECT_TRUE(yesNo.buttons.contains(QString::fromUtf8("Да")));
    EXPECT_TRUE(yesNo.buttons.contains(QString::fromUtf8("Нет")));
    EXPECT_EQ(yesNo.buttons.size(), 2);

    const SeenBox okCancel =
        SeeModal([&] { dialogs.AskOkCancel("Kelm3", QString::fromUtf8("Удалить все элементы ?")); });
    EXPECT_EQ(okCancel.title, "Kelm3");  // nothing appended to the caption
    EXPECT_TRUE(okCancel.buttons.contains(QString::fromUtf8("ОК")));
    EXPECT_TRUE(okCancel.buttons.contains(QString::fromUtf8("Отмена")));
}

TEST(QtBoxes, InformationWithDetailsIsRussian) {
    QtWorkbenchDialogs dialogs(nullptr);
    const SeenBox seen = SeeModal([&] {
        dialogs.Inform(QString::fromUtf8("Классы точности не прочитаны из базы данных."),
                       QString::fromUtf8("нет подключенной базы данных"));
    });
    EXPECT_EQ(seen.title, "Kelm 3");
    EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("ОК")));
    EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("Показать подробности...")));
}

TEST(QtBoxes, TheErrorWindowGivesEachRecordItsReason) {
    QtWorkbenchDialogs dialogs(nullptr);
    const SeenBox seen = SeeModal([&] {
        dialogs.ShowSaveErrors({Cp1251FromUtf8("ТМ-100 (10 кВ)"), "B (6 kV)"},
                               {"string truncation\nexpected length 150", "lock conflict"});
    });
    EXPECT_EQ(seen.title, QString::fromUtf8("Ошибки при сохранении"));
    EXPECT_EQ(seen.texts, QStringList{QString::fromUtf8("ТМ-100 (10 кВ): string truncation expected length 150\n"
                                                        "B (6 kV): lock conflict\n")});
}

TEST(QtBoxes, SaveDialogIsRussian) {
    QtWorkbenchDialogs dialogs(nullptr);
    const SeenBox seen = SeeModal([&] { dialogs.ChooseExchangeFileToSave(QString()); });
    EXPECT_TRUE(seen.labels.contains(QString::fromUtf8("&Имя файла:"))) << seen.labels.join('|').toStdString();
    EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("&Сохранить"))) << seen.buttons.join('|').toStdString();
    EXPECT_TRUE(seen.buttons.contains(QString::fromUtf8("Отмена")));
    EXPECT_TRUE(QFileDialog::tr("%1 already exists.\nDo you want to replace it?").startsWith(QString::fromUtf8("%1 уже")));
}

}  // namespace
}  // namespace kelm
