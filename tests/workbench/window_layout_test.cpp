// The window on the screen: where it opens, how narrow it can be, the panes' shares.
#include <QFileInfo>
#include <QScreen>

#include <filesystem>

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

TEST_F(MainWindow, FitsSmallScreensCentred) {
    const QSize least = window.minimumSizeHint();
    EXPECT_LE(least.width(), 1024 - 16);
    EXPECT_LE(least.height(), 768 - 40 - 40);  // a panel and the title bar
    const QSize wanted(613, 590);
    for (const QRect& screen : {QRect(0, 0, 1024, 728), QRect(0, 0, 1366, 728), QRect(0, 24, 1280, 1000)}) {
        const QRect place = WindowPlace(screen, wanted, least);
        EXPECT_TRUE(screen.contains(place)) << screen.width();
        EXPECT_LE((place.center() - screen.center()).manhattanLength(), 1);
        EXPECT_EQ(place.size(), wanted.expandedTo(least));
    }
    // A screen smaller than the window still holds all of it.
    EXPECT_TRUE(QRect(0, 0, 800, 600).contains(WindowPlace(QRect(0, 0, 800, 600), {1200, 900}, least)));
    // As opened: on the screen it was opened on.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(window.geometry(), WindowPlace(screen, wanted, least));
}

TEST_F(MainWindow, PanesStartHalfAndHalfAndKeepTheirShares) {
    window.show();
    window.resize(1100, 700);
    QApplication::processEvents();
    EXPECT_LE(std::abs(window.GroupBox1->width() - window.GroupBox2->width()), 2);
    window.resize(1024, 700);
    QApplication::processEvents();
    EXPECT_EQ(window.width(), 1024);
    EXPECT_LE(std::abs(window.GroupBox1->width() - window.GroupBox2->width()), 2);
}

TEST_F(MainWindow, PaneTooltipNamesTheWholePath) {
    const QString file = File("named.xml", "");
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir.Path());
    const bool opened = window.OpenPath(Pane::Right, "named.xml");
    std::filesystem::current_path(before);
    ASSERT_TRUE(opened);
    EXPECT_EQ(window.Label2->text(), "named.xml");
    EXPECT_EQ(window.Label2->toolTip(), QFileInfo(file).absoluteFilePath());
}

}  // namespace
}  // namespace kelm
