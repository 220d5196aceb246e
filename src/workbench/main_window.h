#pragma once
// The program's main window: two catalogue trees side by side, the filter bar
// above them and the save and cancel buttons below.

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <unordered_map>

#include "core/data_module.h"
#include "core/reference.h"
#include "core/regional.h"
#include "core/voltage_class.h"
#include "decisions/comparison.h"
#include "decisions/copy_run.h"
#include "decisions/merge.h"
#include "decisions/right_pane.h"
#include "ui/workbench_dialogs.h"
#include "workbench/catalogue_tree.h"

namespace kelm {

// Who asks a right pane to open (or reopen) its source.
enum class OpenSender { ButtonOpenRight, ButtonCancel, Other };
// Who asks for the right pane to be saved: the save button, "Сохранить как",
// or another command that has asked its own question (closing, opening).
enum class SaveSender { ButtonSave, btnSaveAs, Other };

// Items of "Показывать" after "все".
inline constexpr int kOnlyDifferences = 1;
inline constexpr int kUnusedInNetwork = 2;

class TFrmComment;
class PaneCommand;

class TForm1 : public QMainWindow {
    Q_OBJECT

public:
    // `dialogs` answers the window's questions; none means the real boxes.
    explicit TForm1(const RegionalSettings& settings, WorkbenchDialogs* dialogs = nullptr);
    ~TForm1() override;

    // The one database connection, created at start-up after the window.
    void SetDataModule(TRef_DataModule* db);
    // The comment dialog, created once at start-up after the data module.
    void SetCommentDialog(TFrmComment* comment);
    // Who answers the questions of a drop (tests answer from a script).
    void SetCopyQuestions(CopyQuestions* questions) { copyQuestions_ = questions; }
    // Opens `path` in a pane as its "Открыть" button would after the dialog.
    bool OpenPath(Pane pane, const QString& path);

    // Handlers and operations, named after the window's components.
    void ButtonOpenLeftClick();
    void ButtonOpenRightClick(OpenSender sender);
    void cb_TypeChange() { ApplyFilters(); }
    void cb_UnomChange() { ApplyFilters(); }
    void Button5Click();
    void LeftTreeClick(CatalogueTree* tree);
    void cbx_SyncClick();
    void Splitter1Moved();
    // Shows a catalogue newly opened in the pane of `view`.
    void BuildTree(CatalogueTree* view, TReference* reference);
    void RefreshVoltageList();
    void ApplyFilters();
    void UpdateSaveAsEnabled();
    void SyncTrees(const QString& clickedTreeName);
    // Comparing the two panes and finding elements by their label.
    void cbx_CompareClick();
    void cb_ShowChange();
    // The typed text, applied once typing pauses: the trees show what has it
    // and the first of it is selected.
    void ed_FindChange();
    void ClearFind();
    // Enter and F3 go to the next element found, Shift+F3 to the one before,
    // across categories and round again.
    void FindNext(bool backwards = false);
    // The comparison of the two panes as they are now while "Сравнить" is
    // ticked; none otherwise.
    const CatalogueComparison* Comparison();
    // Whether the comparison of the panes as they are is still being made ahead.
    bool ComparingAhead() const { return aheadTimer_->isActive(); }
    // The left tree's pop-up menu, while comparing: "Обновить справа" gives
    // the partners of the selected changed elements their values, as a drop
    // answered "Обновить" would.
    void LeftTreeMouseDown(const QPoint& position);
    void PopupMenuLeftPopup();
    void UpdateRightClick();
    void RightTreeDragDrop(QAbstractItemView* source);
    // "Файл" → "Слияние с базой…": brings into the right pane (ours) what the
    // left one (theirs) changed since the base, the catalogue both had at
    // their last exchange, as one step; the conflicts are marked in both trees.
    void btnMergeClick();
    // The selected conflicts of `tree`, decided: "Обновить справа" takes
    // theirs (one step), "Оставить" keeps ours.
    // True when the selection held a conflict.
    bool ResolveConflicts(CatalogueTree* tree, MergeDecision decision);
    // The last merge while both panes hold the catalogues it was made for; none otherwise.
    CatalogueMerge* Merge();
    // Saves the right pane; true when everything was saved (not stopped, not failed).
    bool ButtonSaveClick(SaveSender sender);
    void btnSaveAsClick() { ButtonSaveClick(SaveSender::btnSaveAs); }
    void btnTemporyFileClick();
    void ButtonCancelClick();
    void btnExitClick() { close(); }

    // The right tree's keys, mouse and pop-up menu: delete, undelete, properties.
    void RightTreeKeyUp(int key);
    void RightTreeMouseDown(const QPoint& position);
    void PopupMenu1Popup();
    void DblClick1Click();
    // Opens the element's property dialog: read-only from the left tree.
    void LeftTreeDblClick(CatalogueTree* sender);
    // How property dialogs are shown (tests drive them without a modal loop).
    void SetDialogExec(std::function<int(QDialog&)> exec) { dialogExec_ = std::move(exec); }
    void Del1Click();
    void UndeleteClick();
    // "Правка" → "Проверить": checks the catalogue of the pane with the focus,
    // lists the findings in "Проверка справочника" and marks their elements.
    void btnCheckClick();
    // A row of the findings: a click selects its element, a double click opens it.
    void CheckFindingsClick(QTreeWidgetItem* row, bool open);
    void CollectSelection(CatalogueTree* view);

    TReference* LeftRef() const { return leftRef_.get(); }
    TReference* RightRef() const { return &right_.Reference(); }
    const RightPane& Right() const { return right_; }
    const QString& LeftPath() const { return leftPath_; }  // the left open dialog's file name
    QString RightPath() const { return QString::fromStdString(right_.Path()); }
    const TreeFilters& Filters() const { return filters_; }
    const NumberText& Numbers() const { return numbers_; }
    double LeftWidthRatio() const { return leftWidthRatio_; }

    // Components, with the names the rest of the program knows them by.
    QGroupBox* GroupBox3;
    QComboBox* cb_Type;
    QComboBox* cb_Unom;
    QPushButton* Button5;
    QCheckBox* cbx_Sync;
    QCheckBox* cbx_Compare;
    QComboBox* cb_Show;
    QLineEdit* ed_Find;
    QLabel* lb_FindStatus;  // "не найдено"
    // "Различия": the selected element's fields beside its partner's, while comparing.
    QGroupBox* GroupBoxDiff;
    QTableWidget* DifferencesTable;
    QSplitter* Splitter1;
    QGroupBox* GroupBox1;
    QPushButton* ButtonOpenLeft;
    QLabel* Label1;
    CatalogueTree* LeftTree;
    QGroupBox* GroupBox2;
    QPushButton* ButtonOpenRight;
    QLabel* Label2;
    CatalogueTree* RightTree;
    QProgressBar* Progress;
    QPushButton* ButtonCancel;
    QPushButton* ButtonSave;
    QAction* btnTemporyFile;
    QAction* btnSaveAs;
    QAction* btnExit;
    // "Правка": takes the right pane's changes back one by one, and makes them again.
    QAction* btnUndo;
    QAction* btnRedo;
    QAction* btnCheck;
    QDialog* CheckWindow = nullptr;         // made at the first check, not modal
    QTreeWidget* CheckFindings = nullptr;   // its list: severity, element, message
    QUndoStack* History;
    QMenu* PopupMenu1;
    QAction* DblClick1;
    QAction* Del1;
    QAction* Undelete;
    QMenu* PopupMenuLeft;
    QAction* UpdateRight;
    QAction* btnMerge;
    QAction* KeepLeft;          // "Оставить" in the left tree's menu
    QAction* UpdateConflict;    // "Обновить справа" and "Оставить" in the right tree's menu
    QAction* KeepConflict;

    QModelIndexList WorkNodes;  // element nodes a selection stands for

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormClose

private:
    friend class PaneCommand;
    void BuildWindow();
    void BuildEditMenu();
    void BuildCheckWindow();
    void BuildMergeActions(QMenu* file);
    // The open conflicts of the merge among the elements selected in `tree`.
    std::vector<std::size_t> SelectedConflicts(CatalogueTree* tree);
    // Gives both trees the marks of the merge's open conflicts (none without a merge).
    void MarkConflicts();
    // Fills "Различия" with base, left and right for an open conflict of
    // `record` (may be none); false, with the panel's usual columns, otherwise.
    bool ShowConflictOf(const TBaseElement* record);
    // The findings of the last check of each pane mark their elements until the
    // next check, until they are edited, or until the pane holds another catalogue.
    struct CheckMarks {
        std::uint64_t catalogue = 0;  // the key of the catalogue they were found in
        std::unordered_map<const TBaseElement*, Severity> marks;
    };
    CheckMarks& MarksOf(CatalogueTree* view);
    std::uint64_t CatalogueKey(CatalogueTree* view) const;
    void ShowCheckMarks(CatalogueTree* view);
    void ForgetCheckMark(const TBaseElement* record);
    // Puts a change of the right pane on the history; `label` names an edited element.
    void Remember(PaneChanges& changes, const QString& label = {});
    // Shows a step taken back or made again, with the voltage list and the filters.
    void ShowStep(const PaneChanges& changes);
    // A new catalogue, or a saved one, has no history: what is saved cannot be unsaved.
    void ForgetStaleHistory();
    void BuildComparisonBar(QHBoxLayout* filterBar);
    void BuildDifferencesPanel(QVBoxLayout* layout);
    // "Показывать" offers the differences while comparing and the use by the
    // network while a pane's source tells it.
    void UpdateShowEnabled();
    // Fills "Различия" for the element selected in `tree` and selects its partner in the other tree.
    void ShowDifferencesOf(CatalogueTree* tree, bool selectPartner = true);
    void SelectPartner(CatalogueTree* tree, const TBaseElement& partner);
    // Gives the element nodes of `view` their states and the category nodes their counts.
    void MarkTree(CatalogueTree* view);
    // Hands the filters to both trees' proxies.
    void Refilter();
    void ShowFindStatus();
    // Brings both trees in line with the comparison after a change of either pane.
    void FollowComparison();
    // The comparison of the panes as they are now, whether comparing or not.
    const CatalogueComparison* ComparisonNow();
    void CompareAhead();
    // The selected elements of the left tree that the comparison finds changed, with their partners.
    std::vector<ElementUpdate> ChangedInSelection();
    CatalogueTree* NewTree(const QString& name, CatalogueModel* model);
    bool OpenInto(Pane pane, const QString& path);
    void ShowPath(QLabel* label, const QString& path);
    void StepProgress(int position);
    // Shows the progress bar for a save of `steps` steps; the bar follows the returned step.
    std::function<void(int step)> ShowProgress(int steps);
    bool SaveUnsavedChangesFirst();
    // A file to save the right pane to: any writable format, or an exchange file.
    std::optional<QString> AskExchangeFilePath(bool anyFormat);
    std::optional<QString> AskExchangeFilePath(const QString& proposed, bool anyFormat);
    // A name for "Создать обменный файл" that no file has.
    QString NewExchangeFileName() const;
    // Brings the right tree and the buttons in line with what the pane did.
    void ShowChanges(const PaneChanges& changes);
    void ShowRightPaneState();
    std::vector<TBaseElement*> RecordsOf(const QModelIndexList& nodes) const;

    RegionalSettings settings_;
    NumberText numbers_;
    std::unique_ptr<WorkbenchDialogs> ownDialogs_;
    WorkbenchDialogs* dialogs_;
    TRef_DataModule* db_ = nullptr;
    std::unique_ptr<CopyQuestions> ownCopyQuestions_;
    CopyQuestions* copyQuestions_ = nullptr;
    std::unique_ptr<TReference> leftRef_;
    RightPane right_;
    QString leftPath_;
    TreeFilters filters_;
    std::uint64_t historyGeneration_ = 0;  // the pane's catalogue the history belongs to
    double leftWidthRatio_ = 0.5;
    std::function<int(QDialog&)> dialogExec_;
    CheckMarks leftMarks_, rightMarks_;

    // Which catalogues a comparison or a tree's marks were made for: the
    // left pane's openings and the right pane's revision.
    using ComparisonKey = std::pair<std::uint64_t, std::uint64_t>;
    ComparisonKey CurrentComparisonKey() const { return {leftRevision_, right_.Revision()}; }
    std::uint64_t leftRevision_ = 0;
    std::unique_ptr<CatalogueComparison> comparison_;
    ComparisonKey comparedFor_, leftMarkedFor_, rightMarkedFor_;
    // The comparison is made ahead, a category per turn of the event loop
    // while nothing else happens, so that "Сравнить" finds it ready.
    std::unique_ptr<ComparisonInSteps> ahead_;
    ComparisonKey aheadFor_;
    QTimer* aheadTimer_ = nullptr;
    CatalogueTree* differencesTree_ = nullptr;  // whose selection "Различия" shows
    CatalogueTree* findTree_ = nullptr;         // the tree "Найти" goes through: the last one in use
    bool followingSelection_ = false;          // the window itself is selecting nodes
    // The last merge with its base; made for the left pane's opening and the right pane's catalogue.
    std::unique_ptr<TReference> mergeBase_;
    std::unique_ptr<CatalogueMerge> merge_;
    std::pair<std::uint64_t, std::uint64_t> mergedFor_;
    bool conflictsShown_ = false;
    QTimer* findTimer_ = nullptr;
};

// Where the window opens on a screen's free area: at the size it asks for,
// or the least its controls need, within the screen and centred on it.
QRect WindowPlace(const QRect& screen, const QSize& wanted, const QSize& least);

// One box for the elements a delete left alone, each named with its reason.
void TellRefused(const PaneChanges& changes, const TReference& reference, const NumberText& numbers,
                 WorkbenchDialogs& dialogs);

// Windows-1251 text of the catalogue for the screen.
QString ScreenText(const std::string& cp1251);

}  // namespace kelm
