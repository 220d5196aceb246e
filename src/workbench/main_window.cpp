#include "workbench/main_window.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <ctime>
#include <unordered_set>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/exchange_file.h"
#include "dialogs/property_dialogs.h"
#include "workbench/catalogue_tree.h"
#include "workbench/copy_dialogs.h"
#include "workbench/qt_dialogs.h"
#include "workbench/tree_nodes.h"

namespace kelm {

QString ScreenText(const std::string& cp1251) { return QString::fromUtf8(Utf8FromCp1251(cp1251)); }

namespace {

const char* kRootLabel = "Справочник Kelm 3";
const char* kNoPath = "Укажите путь к файлу";
constexpr int kCategoryNodesAndRoot = 20;

}  // namespace

TForm1::TForm1(const RegionalSettings& settings, WorkbenchDialogs* dialogs)
    : settings_(settings), numbers_(settings.Numbers()), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtWorkbenchDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    BuildWindow();
    // FormCreate: empty trees and containers, no filters.
    leftRef_ = NewReference();
    rightRef_ = NewReference();
    UpdateSaveAsEnabled();
    leftWidthRatio_ = 0.5;
}

TForm1::~TForm1() = default;

QTreeWidget* TForm1::NewTree(const QString& name) {
    auto* tree = new CatalogueTree(name);
    connect(tree, &QTreeWidget::itemClicked, this, [this, tree] { LeftTreeClick(tree); });
    connect(tree, &QTreeWidget::itemDoubleClicked, this, [this, tree] { LeftTreeDblClick(tree); });
    return tree;
}

void TForm1::BuildWindow() {
    setWindowTitle(QString::fromUtf8("Обмен справочниками Kelm 3"));
    resize(613, 590);

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);

    GroupBox3 = new QGroupBox(QString::fromUtf8("Фильтр"));
    GroupBox3->setObjectName("GroupBox3");
    auto* filterBar = new QHBoxLayout(GroupBox3);
    filterBar->addWidget(new QLabel(QString::fromUtf8("Тип:")));
    cb_Type = new QComboBox;
    cb_Type->setObjectName("cb_Type");
    cb_Type->setMinimumWidth(185);
    cb_Type->addItem(QString::fromUtf8("все"));
    for (const auto& category : Categories()) cb_Type->addItem(QString::fromUtf8(category.typeItem));
    filterBar->addWidget(cb_Type);
    filterBar->addWidget(new QLabel(QString::fromUtf8(" Напряжение, кВ:")));
    cb_Unom = new QComboBox;
    cb_Unom->setObjectName("cb_Unom");
    cb_Unom->setMinimumWidth(70);
    cb_Unom->addItem(QString::fromUtf8("все"));
    filterBar->addWidget(cb_Unom);
    Button5 = new QPushButton(QString::fromUtf8("сбросить"));
    Button5->setObjectName("Button5");
    filterBar->addWidget(Button5);
    cbx_Sync = new QCheckBox(QString::fromUtf8("Синхронизировать окна"));
    cbx_Sync->setObjectName("cbx_Sync");
    filterBar->addWidget(cbx_Sync);
    filterBar->addStretch();
    layout->addWidget(GroupBox3);

    auto pane = [&](QGroupBox*& group, const char* name, const char* caption, QPushButton*& open, const char* openName,
                    QLabel*& label, const char* labelName, QTreeWidget*& tree, const char* treeName) {
        group = new QGroupBox(QString::fromUtf8(caption));
        group->setObjectName(name);
        auto* box = new QVBoxLayout(group);
        auto* strip = new QHBoxLayout;
        open = new QPushButton(QString::fromUtf8("Открыть"));
        open->setObjectName(openName);
        label = new QLabel(QString::fromUtf8(kNoPath));
        label->setObjectName(labelName);
        strip->addWidget(open);
        strip->addWidget(label, 1);
        box->addLayout(strip);
        tree = NewTree(treeName);
        box->addWidget(tree);
    };
    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName("Splitter1");
    pane(GroupBox1, "GroupBox1", "Левое дерево (xml или gdb)", ButtonOpenLeft, "ButtonOpenLeft", Label1, "Label1",
         LeftTree, "LeftTree");
    pane(GroupBox2, "GroupBox2", "Правое дерево (xml или gdb)", ButtonOpenRight, "ButtonOpenRight", Label2, "Label2",
         RightTree, "RightTree");
    // Elements are dragged from the left tree and dropped only on the right one.
    LeftTree->setDragEnabled(true);
    LeftTree->setDragDropMode(QAbstractItemView::DragOnly);
    auto* right = static_cast<CatalogueTree*>(RightTree);
    right->setAcceptDrops(true);
    right->setDragDropMode(QAbstractItemView::DropOnly);
    right->dropSource = LeftTree;
    right->onDrop = [this](QTreeWidget* source) { RightTreeDragDrop(source); };
    right->onKeyUp = [this](int key) { RightTreeKeyUp(key); };
    right->onRightButton = [this](QMouseEvent* event) { RightTreeMouseDown(event->pos()); };
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    DblClick1 = PopupMenu1->addAction(QString::fromUtf8("Свойства (DblClick)"));
    DblClick1->setObjectName("DblClick1");
    Del1 = PopupMenu1->addAction(QString::fromUtf8("Удалить (Del)"));
    Del1->setObjectName("Del1");
    Undelete = PopupMenu1->addAction(QString::fromUtf8("Отменить удаление (Ins)"));
    Undelete->setObjectName("Undelete");
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { PopupMenu1Popup(); });
    connect(Del1, &QAction::triggered, this, [this] { Del1Click(); });
    connect(Undelete, &QAction::triggered, this, [this] { UndeleteClick(); });
    connect(DblClick1, &QAction::triggered, this, [this] { DblClick1Click(); });
    Splitter1->addWidget(GroupBox1);
    Splitter1->addWidget(GroupBox2);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1, 1);

    auto* bottom = new QWidget;
    bottom->setObjectName("Panel1");
    bottom->setFixedHeight(40);
    auto* strip = new QHBoxLayout(bottom);
    Progress = new QProgressBar;
    Progress->setObjectName("Progress");
    Progress->setFixedWidth(297);
    Progress->setVisible(false);
    strip->addWidget(Progress);
    strip->addStretch();
    ButtonCancel = new QPushButton(QString::fromUtf8("Отмена"));
    ButtonCancel->setObjectName("ButtonCancel");
    ButtonCancel->setEnabled(false);
    ButtonSave = new QPushButton(QString::fromUtf8("Сохранить"));
    ButtonSave->setObjectName("ButtonSave");
    ButtonSave->setEnabled(false);
    strip->addWidget(ButtonCancel);
    strip->addWidget(ButtonSave);
    layout->addWidget(bottom);
    setCentralWidget(central);

    QMenu* file = menuBar()->addMenu(QString::fromUtf8("Файл"));
    btnTemporyFile = file->addAction(QString::fromUtf8("Создать обменный файл"));
    btnTemporyFile->setObjectName("btnTemporyFile");
    btnSaveAs = file->addAction(QString::fromUtf8("Сохранить как"));
    btnSaveAs->setObjectName("btnSaveAs");
    file->addSeparator();
    btnExit = file->addAction(QString::fromUtf8("Выход"));
    btnExit->setObjectName("btnExit");
    QMenu* help = menuBar()->addMenu(QString::fromUtf8("Помощь"));
    help->addAction(QString::fromUtf8("О программе"));
    help->addAction(QString::fromUtf8("Справка"));

    connect(ButtonOpenLeft, &QPushButton::clicked, this, [this] { ButtonOpenLeftClick(); });
    connect(ButtonOpenRight, &QPushButton::clicked, this, [this] { ButtonOpenRightClick(OpenSender::ButtonOpenRight); });
    connect(cb_Type, &QComboBox::activated, this, [this] { cb_TypeChange(); });
    connect(cb_Unom, &QComboBox::activated, this, [this] { cb_UnomChange(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    connect(cbx_Sync, &QCheckBox::clicked, this, [this] { cbx_SyncClick(); });
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });
    connect(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(SaveSender::ButtonSave); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    connect(btnSaveAs, &QAction::triggered, this, [this] { btnSaveAsClick(); });
    connect(btnTemporyFile, &QAction::triggered, this, [this] { btnTemporyFileClick(); });
    connect(btnExit, &QAction::triggered, this, [this] { btnExitClick(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TForm1::Splitter1Moved() { leftWidthRatio_ = double(GroupBox1->width()) / std::max(1, width()); }

void TForm1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    // The left pane keeps its share of the window.
    const int total = Splitter1->width();
    const int left = static_cast<int>(std::lround(width() * leftWidthRatio_));
    Splitter1->setSizes({left, std::max(0, total - left - Splitter1->handleWidth())});
}

// --- Opening a source ---------------------------------------------------------------

void TForm1::ShowPath(QLabel* label, const QString& path) {
    label->setText(QFileInfo(path).fileName());
    label->setToolTip(path);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

bool TForm1::OpenInto(Pane pane, const QString& path) {
    QString& currentPath = pane == Pane::Left ? leftPath_ : rightPath_;
    std::unique_ptr<TReference>& reference = pane == Pane::Left ? leftRef_ : rightRef_;
    currentPath = path;
    std::unique_ptr<TReference> opened;
    try {
        opened = OpenSource(path.toStdString(), *db_, NewReference);
    } catch (const OpenError& error) {
        // The pane keeps its source, its tree and its label.
        currentPath = QString::fromStdString(reference->FileName);
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return false;
    }
    reference = std::move(opened);
    ShowPath(pane == Pane::Left ? Label1 : Label2, path);
    RefreshVoltageList();
    ReselectIndex = -1;
    BuildTree(pane == Pane::Left ? LeftTree : RightTree, reference.get());
    return true;
}

bool TForm1::OpenPath(Pane pane, const QString& path) {
    if (pane == Pane::Left) return OpenInto(Pane::Left, path);
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
    const bool opened = OpenInto(Pane::Right, path);
    UpdateSaveAsEnabled();
    return opened;
}

void TForm1::ButtonOpenLeftClick() {
    const auto path = dialogs_->ChooseSourceToOpen(Pane::Left, leftPath_);
    if (!path) return;
    OpenInto(Pane::Left, *path);
}

void TForm1::ButtonOpenRightClick(OpenSender sender) {
    QString path = rightPath_;
    if (sender == OpenSender::ButtonOpenRight) {
        const auto chosen = dialogs_->ChooseSourceToOpen(Pane::Right, rightPath_);
        if (!chosen) return;
        path = *chosen;
    }
    // Unsaved changes go to the source they came from, not to the new one.
    const bool saved = sender != OpenSender::ButtonCancel && ButtonSave->isEnabled();
    if (saved && !SaveUnsavedChangesFirst()) return;
    if (!OpenPath(Pane::Right, path) && saved) {
        // The save dropped the records of deleted nodes: show what is in memory.
        ReselectIndex = -1;
        BuildTree(RightTree, rightRef_.get());
    }
}

// --- Trees and filters -------------------------------------------------------------

void TForm1::StepProgress(int position) {
    // Painted now and then, without handing the user's input to the window meanwhile.
    if (position % 512 != 0) return;
    Progress->setValue(position);
    Progress->repaint();
}

void TForm1::BuildTree(QTreeWidget* view, TReference* reference) {
    Progress->setMaximum(std::max(1, reference->TotalCount()));
    Progress->setValue(0);
    Progress->setVisible(true);
    view->setUpdatesEnabled(false);
    view->clear();
    QTreeWidgetItem* root = NewRootNode(QString::fromUtf8(kRootLabel), reference);
    view->addTopLevelItem(root);
    int position = 0;
    for (int index = 0; index < reference->CategoryCount(); ++index) {
        TXMLCustomClass* collection = reference->GetCollection(index);
        if (!collection || !filters_.PassesTypeFilter(collection->ClassName())) continue;
        QTreeWidgetItem* category = NewCategoryNode(QString::fromUtf8(CategoryCaption(index)), collection);
        QList<QTreeWidgetItem*> elements;
        for (int i = 0; i < collection->Count(); ++i) {
            StepProgress(++position);
            TBaseElement* record = collection->GetItem(i);
            // Meters keep their voltage as text and are never filtered by voltage.
            if (index != kMetersCategory && !filters_.PassesVoltageFilter(record->Unom, numbers_)) continue;
            const int image = record->Deleted == 1 ? ImageDeleted : (record->Ident == -2 ? ImageCopied : ImageLoaded);
            elements.append(NewElementNode(ScreenText(collection->Label(*record, numbers_)), record, image));
        }
        category->addChildren(elements);
        root->addChild(category);
    }
    if (ReselectIndex >= 0) {
        if (QTreeWidgetItem* node = NodeAt(view, ReselectIndex)) {
            view->setCurrentItem(node);
            node->setSelected(true);
        }
    }
    view->setUpdatesEnabled(true);
    Progress->setVisible(false);
}

void TForm1::RefreshVoltageList() {
    const int oldIndex = cb_Unom->currentIndex();
    const QString oldText = cb_Unom->currentText();
    cb_Unom->clear();
    cb_Unom->addItem(QString::fromUtf8("все"));
    for (double voltageClass : VoltageClassesOf(leftRef_.get(), rightRef_.get()))
        cb_Unom->addItem(QString::fromStdString(numbers_.Format(voltageClass)));
    const int found = oldIndex > 0 ? cb_Unom->findText(oldText) : -1;
    cb_Unom->setCurrentIndex(found >= 1 ? found : 0);
    if (cb_Unom->currentIndex() == 0) filters_.VoltageFilter = "all";
}

void TForm1::ApplyFilters() {
    const int type = cb_Type->currentIndex();
    if (type == 0)
        filters_.TypeFilter = "all";
    else if (type > 0)
        filters_.TypeFilter = Categories()[static_cast<std::size_t>(type - 1)].collectionClass;
    filters_.VoltageFilter = cb_Unom->currentIndex() == 0 ? "all" : cb_Unom->currentText().toStdString();
    ReselectIndex = -1;
    BuildTree(LeftTree, leftRef_.get());
    BuildTree(RightTree, rightRef_.get());
}

void TForm1::Button5Click() {
    cb_Type->setCurrentIndex(0);
    cb_Unom->setCurrentIndex(0);
    ApplyFilters();
}

void TForm1::UpdateSaveAsEnabled() {
    // Enabled once the right tree holds an element besides the root and the 19 categories.
    int count = 0;
    for (QTreeWidgetItemIterator it(RightTree); *it && count <= kCategoryNodesAndRoot; ++it) ++count;
    btnSaveAs->setEnabled(count > kCategoryNodesAndRoot);
}

void TForm1::LeftTreeClick(QTreeWidget* tree) {
    if (cbx_Sync->isChecked()) SyncTrees(tree->objectName());
}

void TForm1::cbx_SyncClick() {
    if (cbx_Sync->isChecked()) SyncTrees("LeftTree");
}

void TForm1::SyncTrees(const QString& clickedTreeName) {
    QTreeWidget* clicked = clickedTreeName != "LeftTree" ? RightTree : LeftTree;
    QTreeWidget* target = clicked == LeftTree ? RightTree : LeftTree;
    QTreeWidgetItem* selected = SelectedNode(clicked);
    QTreeWidgetItem* targetRoot = target->topLevelItem(0);
    if (!selected || !targetRoot) return;
    auto select = [target](QTreeWidgetItem* node) {
        target->clearSelection();
        target->setCurrentItem(node);
        node->setSelected(true);
        target->scrollToItem(node);
        target->setFocus();
    };
    const int level = NodeLevel(selected);
    if (level == 0) {
        target->collapseAll();
        select(targetRoot);
        return;
    }
    const TXMLCustomClass* selectedCollection = CollectionOf(level == 1 ? selected : selected->parent());
    QTreeWidgetItem* category = nullptr;
    for (int i = 0; i < targetRoot->childCount() && !category; ++i) {
        QTreeWidgetItem* candidate = targetRoot->child(i);
        if (std::strcmp(CollectionOf(candidate)->ClassName(), selectedCollection->ClassName()) == 0)
            category = candidate;
    }
    if (!category) return;
    QTreeWidgetItem* taken = category;
    if (level == 2) {
        if (const TBaseElement* same = CollectionOf(category)->FindSame(*RecordOf(selected))) {
            taken = nullptr;
            for (int i = 0; i < category->childCount() && !taken; ++i)
                if (RecordOf(category->child(i)) == same) taken = category->child(i);
        }
    }
    if (taken) select(taken);
}

// --- Copying -----------------------------------------------------------------------

void TForm1::SetCommentDialog(TFrmComment* comment) {
    ownCopyQuestions_ = std::make_unique<QtCopyQuestions>(this, *comment);
    if (!copyQuestions_) copyQuestions_ = ownCopyQuestions_.get();
}

void TForm1::CollectSelection(QTreeWidget* view) {
    WorkNodes.clear();
    QTreeWidgetItem* root = view->topLevelItem(0);
    if (!root) return;
    if (root->isSelected()) {
        for (int c = 0; c < root->childCount(); ++c)
            for (int e = 0; e < root->child(c)->childCount(); ++e) WorkNodes.append(root->child(c)->child(e));
        return;
    }
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        if (!category->isSelected()) continue;
        for (int e = 0; e < category->childCount(); ++e) WorkNodes.append(category->child(e));
    }
    for (QTreeWidgetItem* node : view->selectedItems())
        if (NodeLevel(node) >= 2 && !node->parent()->isSelected()) WorkNodes.append(node);
}

void TForm1::RightTreeDragDrop(QTreeWidget* source) {
    if (source->selectedItems().isEmpty()) return;
    // A drop onto a pane with nothing opened goes into the bare catalogue tree.
    if (!RightTree->topLevelItem(0)) BuildTree(RightTree, rightRef_.get());
    CopyRun run(*copyQuestions_);
    RightTree->setUpdatesEnabled(false);
    CollectSelection(LeftTree);
    Progress->setMaximum(std::max<int>(1, WorkNodes.size()));
    Progress->setValue(0);
    Progress->setVisible(true);
    QList<QTreeWidgetItem*> copies;
    for (int i = 0; i < WorkNodes.size() && !run.AbortCopy(); ++i) {
        StepProgress(i);
        if (QTreeWidgetItem* copied = CopyNode(WorkNodes[i], run)) copies.append(copied);
    }
    // Selected together at the end: every row inserted while copies are
    // selected would have to update the whole selection.
    static_cast<CatalogueTree*>(RightTree)->SelectNodes(copies);
    RightTree->setUpdatesEnabled(true);
    Progress->setVisible(false);
    UpdateSaveAsEnabled();
    WorkNodes.clear();
}

QTreeWidgetItem* TForm1::CopyNode(QTreeWidgetItem* node, CopyRun& run) {
    if (!node || NodeLevel(node) < 2) return nullptr;
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root) return nullptr;
    const char* className = CollectionOf(node->parent())->ClassName();
    QTreeWidgetItem* category = nullptr;
    for (int c = 0; c < root->childCount() && !category; ++c)
        if (std::strcmp(CollectionOf(root->child(c))->ClassName(), className) == 0) category = root->child(c);
    if (!category) return nullptr;  // hidden by the type filter: not copied

    const CopyOutcome outcome = run.CopyRecord(*CollectionOf(category), *RecordOf(node), node->text(0).toStdString());
    if (!outcome.copy) return nullptr;
    outcome.copy->Ident = -2;  // the mark of a copy not yet saved
    QTreeWidgetItem* copied = NewElementNode(node->text(0), outcome.copy, ImageCopied);
    category->insertChild(std::min(outcome.position, category->childCount()), copied);
    ButtonSave->setEnabled(true);
    ButtonCancel->setEnabled(true);
    return copied;
}

// --- Saving --------------------------------------------------------------------

// "Сохранить изменения ?" before the right pane's changes would be replaced.
// False when the user said yes but the save did not happen (cancelled or
// failed): then the changes must stay where they are.
bool TForm1::SaveUnsavedChangesFirst() {
    if (!ButtonSave->isEnabled()) return true;
    if (!dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения ?"))) return true;
    return ButtonSaveClick(SaveSender::Other);
}

std::optional<QString> TForm1::AskExchangeFilePath() {
    const auto chosen = dialogs_->ChooseExchangeFileToSave(rightPath_);
    if (!chosen) return std::nullopt;
    if (!IsExchangeFilePath(chosen->toStdString())) {
        // Nothing would be written under another name, yet the changes would count as saved.
        dialogs_->Inform(QString::fromUtf8("Обменный файл должен иметь расширение .xml."), *chosen);
        return std::nullopt;
    }
    return chosen;
}

bool TForm1::ButtonSaveClick(SaveSender sender) {
    if (sender != SaveSender::btnSaveAs && !ButtonSave->isEnabled()) return false;
    try {
        if (sender != SaveSender::btnSaveAs && rightRef_->SourceKind == DatabaseSource) {
            if (sender == SaveSender::ButtonSave &&
                !dialogs_->AskYesNo(QString::fromUtf8("Сохранить изменения в БД?")))
                return false;
            db_->ConnectTo(rightPath_.toStdString());
            SaveRightToDatabase();
        } else {
            QString target = rightPath_;
            if (rightPath_.isEmpty() || !IsExchangeFilePath(rightPath_.toStdString()) ||
                sender == SaveSender::btnSaveAs) {
                const auto chosen = AskExchangeFilePath();
                if (!chosen) return false;
                target = *chosen;
            }
            WriteExchangeFile(*rightRef_, target.toStdString(), settings_, std::time(nullptr));
            rightPath_ = target;
            ShowPath(Label2, target);
        }
    } catch (const std::exception& error) {
        // The database or file could not be written; the window keeps everything.
        dialogs_->Inform(QString::fromStdString(DisplayText(error.what())), QString());
        if (rightRef_->SourceKind == DatabaseSource) CorrectRightTree();
        return false;
    }
    ReselectIndex = AbsoluteIndex(RightTree, SelectedNode(RightTree));
    if (sender != SaveSender::Other) CorrectRightTree();
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
    return true;
}

void TForm1::SaveRightToDatabase() {
    Progress->setMaximum(rightRef_->CategoryCount());
    Progress->setVisible(true);
    for (int i = 0; i < rightRef_->CategoryCount(); ++i) {
        Progress->setValue(i + 1);
        Progress->repaint();
        if (TXMLCustomClass* collection = rightRef_->GetCollection(i))
            collection->SaveToDatabase(*db_, numbers_, *dialogs_);
    }
    Progress->setVisible(false);
}

// Brings the right tree in line with the saved catalogue without rebuilding
// it: nodes of records that left their collection go, the others show their
// record as it now is. (A record whose delete failed is still there, unmarked.)
void TForm1::CorrectRightTree() {
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root) return;
    Progress->setMaximum(std::max(1, rightRef_->TotalCount()));
    Progress->setVisible(true);
    int position = 0;
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        const TXMLCustomClass* collection = CollectionOf(category);
        std::unordered_set<const TBaseElement*> live;
        for (int i = 0; i < collection->Count(); ++i) live.insert(collection->GetItem(i));
        for (int i = 0; i < category->childCount();) {
            StepProgress(++position);
            QTreeWidgetItem* node = category->child(i);
            if (!live.count(static_cast<const TBaseElement*>(RecordOf(node)))) {
                delete category->takeChild(i);
                continue;
            }
            SetImage(node, RecordOf(node)->Deleted == 1 ? ImageDeleted : ImageLoaded);
            ++i;
        }
    }
    Progress->setVisible(false);
}

void TForm1::btnTemporyFileClick() {
    if (!SaveUnsavedChangesFirst()) return;
    const auto path = AskExchangeFilePath();
    if (!path) return;
    std::unique_ptr<TReference> created;
    try {
        CreateExchangeFile(path->toStdString(), settings_, std::time(nullptr));
        created = OpenSource(path->toStdString(), *db_, NewReference);
    } catch (const OpenError& error) {
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return;
    } catch (const std::exception& error) {
        dialogs_->Inform(QString::fromStdString(DisplayText(error.what())), QString());
        return;
    }
    rightPath_ = *path;
    rightRef_ = std::move(created);
    RefreshVoltageList();
    ReselectIndex = -1;
    BuildTree(RightTree, rightRef_.get());
    ShowPath(Label2, *path);
    UpdateSaveAsEnabled();
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
}

void TForm1::ButtonCancelClick() {
    if (!dialogs_->AskYesNo(QString::fromUtf8("Отменить изменения?"))) return;
    ReselectIndex = -1;
    if (!rightPath_.isEmpty()) {
        ButtonOpenRightClick(OpenSender::ButtonCancel);
    } else {
        rightRef_->ClearAll();
        BuildTree(RightTree, rightRef_.get());
    }
    ButtonSave->setEnabled(false);
    ButtonCancel->setEnabled(false);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // A save that was asked for and did not happen keeps the window open, so
    // that nothing is lost.
    if (!SaveUnsavedChangesFirst()) {
        event->ignore();
        return;
    }
    event->accept();
}

// --- Delete, undelete ----------------------------------------------------------

namespace {

int ImageOfRecord(const TBaseElement& record) {
    return record.Deleted == 1 ? ImageDeleted : (record.Ident == -2 ? ImageCopied : ImageLoaded);
}

}  // namespace

void TForm1::RightTreeKeyUp(int key) {
    if (key == Qt::Key_Delete) Del1Click();
    if (key == Qt::Key_Insert) UndeleteClick();
}

void TForm1::RightTreeMouseDown(const QPoint& position) {
    // The node under the pointer is selected (by the tree itself) before the menu opens.
    if (QTreeWidgetItem* node = RightTree->itemAt(position)) {
        if (!node->isSelected()) {
            RightTree->clearSelection();
            node->setSelected(true);
        }
        RightTree->setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
    }
    PopupMenu1->popup(RightTree->viewport()->mapToGlobal(position));
}

void TForm1::PopupMenu1Popup() {
    CollectSelection(RightTree);
    if (WorkNodes.isEmpty()) {
        DblClick1->setEnabled(false);
        Del1->setEnabled(false);
        Undelete->setEnabled(false);
        return;
    }
    DblClick1->setEnabled(WorkNodes.size() == 1);
    // UniformDeletedMark: one mark for the whole selection, or a mix.
    const int first = RecordOf(WorkNodes.first())->Deleted;
    const bool uniform = std::all_of(WorkNodes.begin(), WorkNodes.end(),
                                     [first](QTreeWidgetItem* node) { return RecordOf(node)->Deleted == first; });
    Undelete->setEnabled(!uniform || first == 1);
    Del1->setEnabled(!uniform || first == 0);
    WorkNodes.clear();
}

void TForm1::RemoveOrMarkNode(QTreeWidgetItem* node) {
    if (!node || NodeLevel(node) != 2) return;
    TXMLCustomClass* collection = CollectionOf(node->parent());
    if (ImageOf(node) == ImageCopied) {  // a copy made in this pane is taken back at once
        collection->RemoveElement(RecordOf(node));
        delete node;
        return;
    }
    collection->MarkDeleted(RecordOf(node));
    SetImage(node, ImageDeleted);
}

void TForm1::Del1Click() {
    QTreeWidgetItem* root = RightTree->topLevelItem(0);
    if (!root) return;
    Progress->setValue(0);
    Progress->setVisible(true);
    QList<QTreeWidgetItem*> doomed;
    bool changed = false;
    if (root->isSelected()) {
        if (dialogs_->AskOkCancel("Kelm3", QString::fromUtf8("Удалить все элементы ?"))) {
            for (int c = 0; c < root->childCount(); ++c)
                for (int e = 0; e < root->child(c)->childCount(); ++e) doomed.append(root->child(c)->child(e));
            changed = true;
        }
    } else {
        CollectSelection(RightTree);
        // Elements of a selected category go only with the category's confirmation.
        for (int c = 0; c < root->childCount(); ++c) {
            QTreeWidgetItem* category = root->child(c);
            if (!category->isSelected() || category->childCount() == 0) continue;
            const QString text = QString::fromUtf8("Удалить все \"") +
                                 QString::fromUtf8(CaptionOfCollection(*CollectionOf(category))) + "\" ?";
            if (!dialogs_->AskOkCancel("Kelm3", text)) continue;
            for (int e = 0; e < category->childCount(); ++e) doomed.append(category->child(e));
        }
        for (QTreeWidgetItem* node : WorkNodes)
            if (!node->parent()->isSelected()) doomed.append(node);
        changed = !doomed.isEmpty();
    }
    Progress->setMaximum(std::max<int>(1, doomed.size()));
    for (int i = 0; i < doomed.size(); ++i) {
        StepProgress(i);
        RemoveOrMarkNode(doomed[i]);
    }
    if (changed) {
        ButtonSave->setEnabled(true);
        ButtonCancel->setEnabled(true);
    }
    UpdateSaveAsEnabled();
    Progress->setVisible(false);
    WorkNodes.clear();
}

void TForm1::UndeleteClick() {
    CollectSelection(RightTree);
    Progress->setMaximum(std::max<int>(1, WorkNodes.size()));
    Progress->setVisible(true);
    for (int i = 0; i < WorkNodes.size(); ++i) {
        StepProgress(i);
        TBaseElement* record = RecordOf(WorkNodes[i]);
        record->Deleted = 0;
        SetImage(WorkNodes[i], ImageOfRecord(*record));
    }
    Progress->setVisible(false);
    WorkNodes.clear();
}

// --- Property dialogs ------------------------------------------------------------

void TForm1::DblClick1Click() {
    QTreeWidgetItem* node = SelectedNode(RightTree);
    if (node && NodeLevel(node) == 2) LeftTreeDblClick(RightTree);
}

void TForm1::LeftTreeDblClick(QTreeWidget* sender) {
    QTreeWidgetItem* node = SelectedNode(sender);
    if (!node || NodeLevel(node) != 2) return;
    TBaseElement* record = RecordOf(node);
    const DialogOpener open = DialogFor(*record);
    if (!open) return;
    DialogContext context{this, db_, numbers_, dialogs_};
    if (dialogExec_) context.exec = dialogExec_;
    const bool readOnly = sender == LeftTree;
    if (!open(*record, readOnly, context) || readOnly) return;
    CollectionOf(node->parent())->RecordsChanged();  // its look-ups index the values written back
    // Written at the next database save; the label shows the new values after the next tree build.
    record->Added = 1;
    ButtonSave->setEnabled(true);
    ButtonCancel->setEnabled(true);
}

}  // namespace kelm
