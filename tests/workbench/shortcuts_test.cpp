// The keyboard reaches the same handlers as the mouse, with the same questions.
#include <QMenuBar>
#include <QTest>

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using test::FreshCatalogue;

class Shortcuts : public test::MainWindow {
protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void Press(QKeyCombination keys) { QTest::keyClick(&window, keys.key(), keys.keyboardModifiers()); }
    // Answers the next file dialog with Cancel and says whether one was shown.
    bool AsksForAFile(QKeyCombination keys) {
        dialogs.paths = {std::nullopt};
        Press(keys);
        return dialogs.paths.empty();
    }
};

TEST_F(Shortcuts, SaveAsksLikeTheButtonAndOnlyWhenEnabled) {
    FreshCatalogue right;
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(right.Path())));
    Press(Qt::CTRL | Qt::Key_S);
    EXPECT_TRUE(dialogs.questions.empty());

    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("new", "6", "40"))));
    DropAll();
    ASSERT_TRUE(window.ButtonSave->isEnabled());
    dialogs.answers = {false};
    Press(Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Сохранить изменения в БД?"});
    EXPECT_TRUE(window.ButtonSave->isEnabled());
}

TEST_F(Shortcuts, FileShortcutsOpenTheirDialogsAndF5ResetsTheFilters) {
    EXPECT_TRUE(AsksForAFile(Qt::CTRL | Qt::Key_O));
    EXPECT_TRUE(AsksForAFile(Qt::CTRL | Qt::Key_N));
    // "Сохранить как" is enabled once the right tree holds an element.
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("right.xml", Transformer("old", "6", "40"))));
    EXPECT_TRUE(AsksForAFile(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    window.cb_Type->setCurrentIndex(3);
    Press(QKeyCombination(Qt::Key_F5));
    EXPECT_EQ(window.cb_Type->currentIndex(), 0);

    Press(Qt::CTRL | Qt::Key_Q);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Shortcuts, MenusHaveMnemonics) {
    QStringList titles;
    for (QAction* menu : window.menuBar()->actions()) titles << menu->text();
    EXPECT_EQ(titles, (QStringList{"&Файл", "&Помощь"}));
}

}  // namespace
}  // namespace kelm
