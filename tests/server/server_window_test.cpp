// The window on a catalogue database of the private server.
#include "server/own_server.h"
#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

class ServerWindow : public MainWindow {
protected:
    QString Source() const { return QString::fromStdString(right.Source()); }
    ServerCatalogue right;
};

TEST_F(ServerWindow, OpensAServerSourceShowsItAsTypedAndSavesToIt) {
    right.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('old A',10,100))");
    dialogs.paths = {Source()};
    window.ButtonOpenRightClick(OpenSender::ButtonOpenRight);
    ASSERT_TRUE(dialogs.informed.empty()) << dialogs.informed.front().second.toStdString();
    EXPECT_EQ(window.Label2->text(), Source());
    EXPECT_EQ(Elements(window.RightTree), QStringList{"old A-100 (10 кВ)"});

    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("new", "6", "40"))));
    DropAll();
    dialogs.answers = {true};
    EXPECT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(right.Rows(R"(select "TypeTR" from "Transforms2" order by "Ident")"),
              (std::vector<std::vector<std::string>>{{"old A"}, {"new"}}));
}

TEST_F(ServerWindow, ARefusedLoginLeavesThePaneAsItWas) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("right.xml", Transformer("kept", "6", "40"))));
    db.RememberLogin(right.Source(), "sysdba", "wrong");
    EXPECT_FALSE(window.OpenPath(Pane::Right, Source()));
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first, "Ошибка в файле.");
    EXPECT_TRUE(dialogs.informed[0].second.contains("password")) << dialogs.informed[0].second.toStdString();
    EXPECT_EQ(window.Label2->text(), "right.xml");
    EXPECT_EQ(Elements(window.RightTree), QStringList{"kept-40 (6 кВ)"});
}

TEST_F(MainWindow, AServerStoppedBetweenOpeningAndSavingIsOneBoxAndTheChangesStay) {
    OwnServer server;
    FreshCatalogue catalogue;
    ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(server.Source(catalogue))));
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("new", "6", "40"))));
    DropAll();
    server.Stop();
    dialogs.answers = {true};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_TRUE(dialogs.saveErrors.empty());
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first, "Не удалось сохранить изменения в базе данных.");
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(ImageOf(Find(window.RightTree, "new-40 (6 кВ)")), ImageCopied);
}

}  // namespace
}  // namespace kelm
