// Saving the right pane, cancelling, a new exchange file and leaving.
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <regex>

#include "workbench/window_fixture.h"

namespace kelm {
namespace {

using namespace test;

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class Saving : public MainWindow {
protected:
    // A right database pane with two transformers, and a left file with one new one.
    void OpenDatabaseOnTheRight() {
        right.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('old A',10,100))");
        right.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('old B',10,200))");
        ASSERT_TRUE(window.OpenPath(Pane::Right, QString::fromStdString(right.Path())));
    }
    void OpenLeft() { ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer("new", "6", "40")))); }
    void MarkDeleted(const QString& label) {
        window.RightTree->clearSelection();
        SetSelected(window.RightTree, Find(window.RightTree, label));
        window.Del1Click();
    }
    int RowCount() { return std::stoi(right.Value(R"(select count(*) from "Transforms2")")); }

    FreshCatalogue right;
};

TEST_F(Saving, NoToTheDatabaseQuestionChangesNothing) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    dialogs.answers = {false};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Сохранить изменения в БД?"});
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_TRUE(window.ButtonCancel->isEnabled());
    EXPECT_EQ(RowCount(), 2);
}

TEST_F(Saving, ADatabaseSaveWritesCopiesAndDeletionsAndCorrectsTheTree) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    MarkDeleted("old A-100 (10 кВ)");
    MarkDeleted("old B-200 (10 кВ)");
    dialogs.answers = {true};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(right.Rows(R"(select "TypeTR" from "Transforms2")"), (std::vector<std::vector<std::string>>{{"new"}}));
    EXPECT_EQ(Elements(window.RightTree), QStringList{"new-40 (6 кВ)"});
    const QPersistentModelIndex saved = Find(window.RightTree, "new-40 (6 кВ)");
    EXPECT_EQ(ImageOf(saved), ImageLoaded);
    EXPECT_GT(RecordOf(saved)->Ident, 0);
    EXPECT_FALSE(window.ButtonSave->isEnabled());
    EXPECT_FALSE(window.ButtonCancel->isEnabled());
    EXPECT_EQ(window.RightRef()->SourceKind, DatabaseSource);
}

TEST_F(Saving, SaveAsOnADatabasePaneProposesAnExchangeFileBesideIt) {
    OpenDatabaseOnTheRight();
    dialogs.paths = {std::nullopt};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::btnSaveAs));
    const QFileInfo database(QString::fromStdString(right.Path()));
    ASSERT_EQ(dialogs.proposedSavePaths.size(), 1u);
    EXPECT_EQ(dialogs.proposedSavePaths[0], database.dir().filePath(database.completeBaseName() + ".xml"));
}

TEST_F(Saving, RecordsThatFailAreListedInTheErrorWindowAndStayUnsaved) {
    OpenDatabaseOnTheRight();
    ASSERT_TRUE(window.OpenPath(Pane::Left, File("left.xml", Transformer(std::string(150, 'x'), "6", "40"))));
    DropAll();
    dialogs.answers = {true};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    ASSERT_EQ(dialogs.saveErrors.size(), 1u);
    EXPECT_EQ(dialogs.saveErrors[0], std::vector<std::string>{std::string(150, 'x') + "-40 (6 " + W("кВ") + ")"});
    ASSERT_EQ(dialogs.saveErrorReasons[0].size(), 1u);
    EXPECT_NE(dialogs.saveErrorReasons[0][0].find("truncation"), std::string::npos) << dialogs.saveErrorReasons[0][0];
    EXPECT_TRUE(window.ButtonSave->isEnabled());  // closing the window asks again
    // The drop of the record still unsaved can be taken back, and then nothing is left to save.
    ASSERT_TRUE(window.btnUndo->isEnabled());
    window.btnUndo->trigger();
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Saving, ADatabaseThatTakesNoWritesIsOneBoxAndTheChangesStay) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    db.SQLConnection.Disconnect();  // gfix wants the file to itself; the save connects again
    ASSERT_EQ(std::system(("gfix -user sysdba -password quillaxen -mode read_only '" + right.Path() + "'").c_str()), 0);
    dialogs.answers = {true};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_TRUE(dialogs.saveErrors.empty());
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(dialogs.informed[0].first, "Не удалось сохранить изменения в базе данных.");
    EXPECT_FALSE(dialogs.informed[0].second.isEmpty());
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(ImageOf(Find(window.RightTree, "new-40 (6 кВ)")), ImageCopied);
}

TEST_F(Saving, ADatabaseReplacedAfterLoadingIsRefusedAndLeftAlone) {
    OpenDatabaseOnTheRight();
    MarkDeleted("old A-100 (10 кВ)");
    MarkDeleted("old B-200 (10 кВ)");
    // Another catalogue, its rows under the same identifiers, moved over the file.
    FreshCatalogue other;
    other.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('other C',10,300))");
    other.Run(R"(INSERT INTO "Transforms2" ("TypeTR","Unom","Snom") VALUES ('other D',10,400))");
    std::filesystem::copy_file(other.Path(), right.Path() + ".tmp");
    std::filesystem::rename(right.Path() + ".tmp", right.Path());
    dialogs.answers = {true};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_TRUE(dialogs.informed[0].second.contains("заменена другой")) << dialogs.informed[0].second.toStdString();
    const std::vector<std::vector<std::string>> others = {{"other C"}, {"other D"}};
    EXPECT_EQ(right.Rows(R"(select "TypeTR" from "Transforms2" order by "Ident")"), others);
    EXPECT_EQ(other.Rows(R"(select "TypeTR" from "Transforms2" order by "Ident")"), others);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(ImageOf(Find(window.RightTree, "old A-100 (10 кВ)")), ImageDeleted);
}

TEST_F(Saving, AnExchangeFilePaneIsRewrittenSilentlyAndSaveAsAlwaysAsks) {
    const QString path = File("right.xml", Transformer("kept", "10", "1"));
    ASSERT_TRUE(window.OpenPath(Pane::Right, path));
    OpenLeft();
    DropAll();
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));  // no question, no dialog
    EXPECT_TRUE(dialogs.questions.empty());
    const std::string written = ReadText(path.toStdString());
    EXPECT_NE(written.find("<Marka>new</Marka>"), std::string::npos);
    EXPECT_NE(written.find("<Marka>kept</Marka>"), std::string::npos);
    EXPECT_TRUE(std::regex_search(written, std::regex("<modification>\\d\\d\\.\\d\\d\\.\\d{4}  \\d\\d:\\d\\d:\\d\\d</modification>")));
    EXPECT_EQ(ImageOf(Find(window.RightTree, "new-40 (6 кВ)")), ImageLoaded);

    const QString other = QString::fromStdString(dir.File("other.xml"));
    dialogs.paths = {other};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::btnSaveAs));  // asks even with nothing to save
    EXPECT_TRUE(dialogs.paths.empty());
    EXPECT_EQ(window.RightPath(), other);
    EXPECT_EQ(window.Label2->text(), "other.xml");
}

TEST_F(Saving, ASpreadsheetPaneIsRewrittenInItsOwnFormat) {
    ASSERT_TRUE(window.OpenPath(Pane::Right, File("right.xml", Transformer("kept", "10", "1"))));
    OpenLeft();
    DropAll();
    const std::string csv = dir.File("right.csv");
    dialogs.paths = {QString::fromStdString(csv)};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::btnSaveAs));
    EXPECT_EQ(window.Label2->text(), "right.csv");
    EXPECT_NE(ReadText(csv).find("\r\nТрансформаторы двухобмоточные;new;6;"), std::string::npos) << ReadText(csv);

    MarkDeleted("new-40 (6 кВ)");
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));  // no dialog: the same file, as CSV
    EXPECT_TRUE(dialogs.proposedSavePaths.size() == 1u);
    EXPECT_EQ(ReadText(csv).find(";new;"), std::string::npos);
    ASSERT_TRUE(window.OpenPath(Pane::Left, QString::fromStdString(csv)));
    EXPECT_EQ(Elements(window.LeftTree), QStringList{"kept-1 (10 кВ)"});
}

TEST_F(Saving, ANeverOpenedPaneAsksForANameOnceThenSavesSilently) {
    OpenLeft();
    DropAll();
    const QString path = QString::fromStdString(dir.File("saved.xml"));
    dialogs.paths = {path};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));
    EXPECT_EQ(window.Label2->text(), "saved.xml");
    EXPECT_TRUE(window.Label2->font().bold());
    EXPECT_EQ(window.RightRef()->SourceKind, ExchangeFileSource);

    MarkDeleted("new-40 (6 кВ)");
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::ButtonSave));  // no dialog this time
    EXPECT_EQ(ReadText(path.toStdString()).find("<Marka>new</Marka>"), std::string::npos);
    EXPECT_TRUE(Elements(window.RightTree).isEmpty());
}

TEST_F(Saving, ANameWithoutXmlIsRefusedAndNothingCountsAsSaved) {
    OpenLeft();
    DropAll();
    dialogs.paths = {QString::fromStdString(dir.File("catalogue.txt"))};
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_TRUE(window.RightPath().isEmpty());
}

TEST_F(Saving, AFileThatCannotBeWrittenKeepsEverything) {
    const QString path = File("right.xml", Transformer("kept", "10", "1"));
    ASSERT_TRUE(window.OpenPath(Pane::Right, path));
    OpenLeft();
    DropAll();
    MarkDeleted("kept-1 (10 кВ)");
    const std::string before = ReadText(path.toStdString());
    std::filesystem::remove(path.toStdString());
    std::filesystem::create_directory(path.toStdString());  // a folder now stands where the file was
    EXPECT_FALSE(window.ButtonSaveClick(SaveSender::ButtonSave));
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_TRUE(window.ButtonSave->isEnabled());
    EXPECT_EQ(window.RightRef()->GetCollection(1)->Count(), 2);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "kept-1 (10 кВ)")), ImageDeleted);
    EXPECT_EQ(ImageOf(Find(window.RightTree, "new-40 (6 кВ)")), ImageCopied);
}

TEST_F(Saving, CancelReloadsTheDatabaseAndEmptiesANeverSavedPane) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    dialogs.answers = {true};
    window.ButtonCancelClick();
    EXPECT_EQ(Elements(window.RightTree), (QStringList{"old A-100 (10 кВ)", "old B-200 (10 кВ)"}));
    EXPECT_FALSE(window.ButtonSave->isEnabled());
    EXPECT_EQ(RowCount(), 2);

    TForm1 fresh(settings, &dialogs);
    fresh.SetDataModule(&db);
    fresh.SetCopyQuestions(&copyQuestions);
    ASSERT_TRUE(fresh.OpenPath(Pane::Left, File("l2.xml", Transformer("x", "10", "1"))));
    SetSelected(fresh.LeftTree, fresh.LeftTree->Root());
    fresh.RightTreeDragDrop(fresh.LeftTree);
    dialogs.answers = {true};
    fresh.ButtonCancelClick();
    EXPECT_EQ(NodeCount(fresh.RightTree), 20);
    EXPECT_EQ(fresh.RightRef()->TotalCount(), 0);
}

TEST_F(Saving, ClosingWithChangesSavesADatabasePaneWithoutTheSecondQuestion) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    dialogs.answers = {true};
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_TRUE(close.isAccepted());
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Сохранить изменения ?"});
    EXPECT_EQ(RowCount(), 3);
}

TEST_F(Saving, ClosingStaysOpenWhenTheAskedForSaveDoesNotHappen) {
    OpenLeft();
    DropAll();
    dialogs.answers = {true};
    dialogs.paths = {std::nullopt};  // the save dialog is cancelled
    QCloseEvent close;
    QApplication::sendEvent(&window, &close);
    EXPECT_FALSE(close.isAccepted());
    EXPECT_TRUE(window.ButtonSave->isEnabled());

    dialogs.answers = {false};  // "Нет": leave without saving
    QCloseEvent again;
    QApplication::sendEvent(&window, &again);
    EXPECT_TRUE(again.isAccepted());
}

TEST_F(Saving, ExitAsksAsClosingDoes) {
    OpenLeft();
    DropAll();
    window.show();
    dialogs.answers = {false};
    window.btnExit->trigger();
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Сохранить изменения ?"});
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Saving, OpeningAnotherSourceSavesToTheOldOne) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    const QString other = File("other.xml", Transformer("other", "35", "1"));
    dialogs.paths = {other};
    dialogs.answers = {true};  // "Сохранить изменения ?"
    window.ButtonOpenRightClick(OpenSender::ButtonOpenRight);
    EXPECT_EQ(RowCount(), 3);  // saved into the database, without a second question
    EXPECT_EQ(ReadText(other.toStdString()).find("<Marka>new</Marka>"), std::string::npos);
    EXPECT_EQ(Elements(window.RightTree), QStringList{"other-1 (35 кВ)"});
    EXPECT_FALSE(window.ButtonSave->isEnabled());
}

TEST_F(Saving, AFailedOpeningAfterTheSaveShowsWhatIsInMemory) {
    OpenDatabaseOnTheRight();
    MarkDeleted("old A-100 (10 кВ)");
    dialogs.paths = {File("broken.xml", "<KelmTransfor><Unom>x</Unom>")};
    dialogs.answers = {true};
    window.ButtonOpenRightClick(OpenSender::ButtonOpenRight);
    ASSERT_EQ(dialogs.informed.size(), 1u);
    EXPECT_EQ(Elements(window.RightTree), QStringList{"old B-200 (10 кВ)"});
    EXPECT_EQ(RowCount(), 1);
}

TEST_F(Saving, TheNodesOfRecordsASaveDroppedGoWithThemOnEveryPath) {
    OpenDatabaseOnTheRight();
    MarkDeleted("old A-100 (10 кВ)");
    dialogs.answers = {true};        // "Сохранить изменения ?" before a new file
    dialogs.paths = {std::nullopt};  // then the file dialog is cancelled
    window.btnTemporyFileClick();
    EXPECT_EQ(RowCount(), 1);
    EXPECT_EQ(Elements(window.RightTree), QStringList{"old B-200 (10 кВ)"});
    window.RightTree->selectAll();
    window.UndeleteClick();  // touches only records that are still there
    EXPECT_EQ(window.RightRef()->GetCollection(1)->GetItem(0)->Deleted, 0);
}

TEST_F(Saving, ANewExchangeFileAsksAboutUnsavedChangesFirst) {
    OpenDatabaseOnTheRight();
    OpenLeft();
    DropAll();
    const QString path = QString::fromStdString(dir.File("new.xml"));
    dialogs.answers = {false};  // do not save the copies
    dialogs.paths = {path};
    window.btnTemporyFileClick();
    EXPECT_EQ(dialogs.questions, std::vector<QString>{"Сохранить изменения ?"});
    EXPECT_EQ(NodeCount(window.RightTree), 20);
    EXPECT_EQ(window.Label2->text(), "new.xml");
    EXPECT_EQ(window.RightPath(), path);
    EXPECT_EQ(window.RightRef()->SourceKind, ExchangeFileSource);
    EXPECT_FALSE(window.btnSaveAs->isEnabled());
    EXPECT_EQ(RowCount(), 2);
    EXPECT_NE(ReadText(path.toStdString()).find("<modification>"), std::string::npos);
}

TEST_F(Saving, SaveAsAFileShowsProgressAndLetsTheDatabaseGo) {
    OpenDatabaseOnTheRight();
    int shown = 0;
    QObject::connect(window.Progress, &QProgressBar::valueChanged, [&](int value) {
        if (!window.Progress->isHidden()) shown = std::max(shown, value);
    });
    dialogs.paths = {QString::fromStdString(dir.File("as.xml"))};
    ASSERT_TRUE(window.ButtonSaveClick(SaveSender::btnSaveAs));
    EXPECT_EQ(shown, window.Progress->maximum());
    EXPECT_TRUE(window.Progress->isHidden());
    EXPECT_FALSE(db.Connected());  // another program may have the database now
}

TEST_F(Saving, ANewExchangeFileIsNeverTheOpenCatalogue) {
    const QString open = File("open.xml", Transformer("kept", "10", "1"));
    ASSERT_TRUE(window.OpenPath(Pane::Right, open));
    File("Новый справочник.xml", "");
    dialogs.paths = {open};
    window.btnTemporyFileClick();
    ASSERT_EQ(dialogs.proposedSavePaths.size(), 1u);
    EXPECT_EQ(dialogs.proposedSavePaths[0], QString::fromStdString(dir.File("Новый справочник 2.xml")));
    ASSERT_EQ(dialogs.informed.size(), 1u);  // the open file was chosen all the same: refused
    EXPECT_NE(ReadText(open.toStdString()).find("<Marka>kept</Marka>"), std::string::npos);
    EXPECT_EQ(window.RightRef()->TotalCount(), 1);
}

}  // namespace
}  // namespace kelm
