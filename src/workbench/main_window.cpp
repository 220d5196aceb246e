#include "workbench/main_window.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScreen>
#include <QShortcut>
#include <QStandardItemModel>
#include <QStyle>
#include <QVBoxLayout>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/exchange_file.h"
#include "core/server_source.h"
#include "formats/catalogue_file.h"
#include "workbench/catalogue_tree.h"
#include "ui/qt_dialogs.h"
#include "workbench/tree_nodes.h"

namespace kelm {

QString ScreenText(const std::string& cp1251) { return QString::fromUtf8(Utf8FromCp1251(cp1251)); }

namespace {

const char* kRootLabel = "Справочник Kelm 3";
const char* kNoPath = "Укажите путь к файлу";

}  // namespace

TForm1::TForm1(const RegionalSettings& settings, WorkbenchDialogs* dialogs)
    : settings_(settings), numbers_(settings.Numbers()), dialogs_(dialogs) {
    if (!dialogs_) {
        ownDialogs_ = std::make_unique<QtWorkbenchDialogs>(this);
        dialogs_ = ownDialogs_.get();
    }
    BuildWindow();
    BuildEditMenu();
    // FormCreate: empty trees and containers, no filters.
    leftRef_ = NewReference();
    UpdateSaveAsEnabled();
    leftWidthRatio_ = 0.5;
}

TForm1::~TForm1() = default;

CatalogueTree* TForm1::NewTree(const QString& name, CatalogueModel* model) {
    auto* filter = new CatalogueFilter(filters_, numbers_, this);
    filter->setSourceModel(model);
    auto* tree = new CatalogueTree(name, filter);
    connect(tree, &QTreeView::clicked, this, [this, tree] { LeftTreeClick(tree); });
    connect(tree, &QTreeView::doubleClicked, this, [this, tree] { LeftTreeDblClick(tree); });
    connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, this, [this, tree] {
        if (!followingSelection_) findTree_ = tree;
    });
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
    // Two rows, so that the window can be as narrow as a small screen.
    auto* filterRows = new QVBoxLayout(GroupBox3);
    auto* filterBar = new QHBoxLayout;
    auto* comparisonBar = new QHBoxLayout;
    filterRows->addLayout(filterBar);
    filterRows->addLayout(comparisonBar);
    filterBar->addWidget(new QLabel(QString::fromUtf8("Тип:")));
    cb_Type = new QComboBox;
    cb_Type->setObjectName("cb_Type");
    cb_Type->setMinimumWidth(185);
    // The longest category's caption would otherwise set the window's width.
    cb_Type->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cb_Type->setMinimumContentsLength(24);
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
    BuildComparisonBar(comparisonBar);
    cb_Show->addItem(QString::fromUtf8("не используемые в сети"));
    comparisonBar->addStretch();
    layout->addWidget(GroupBox3);

    auto pane = [&](QGroupBox*& group, const char* name, const char* caption, QPushButton*& open, const char* openName,
                    QLabel*& label, const char* labelName, CatalogueTree*& tree, const char* treeName) {
        group = new QGroupBox(QString::fromUtf8(caption));
        group->setObjectName(name);
        auto* box = new QVBoxLayout(group);
        auto* strip = new QHBoxLayout;
        open = new QPushButton(QString::fromUtf8("Открыть"));
        open->setObjectName(openName);
        label = new QLabel(QString::fromUtf8(kNoPath));
        label->setObjectName(labelName);
        // A long path is cut, not the window widened; the tooltip has all of it.
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        strip->addWidget(open);
        strip->addWidget(label, 1);
        box->addLayout(strip);
        tree = NewTree(treeName, new CatalogueModel(QString::fromUtf8(kRootLabel), numbers_, this));
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
    CatalogueTree* right = RightTree;
    right->setAcceptDrops(true);
    right->setDragDropMode(QAbstractItemView::DropOnly);
    right->dropSource = LeftTree;
    right->onDrop = [this](QAbstractItemView* source) { RightTreeDragDrop(source); };
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
    LeftTree->onRightButton = [this](QMouseEvent* event) {
        LeftTreeMouseDown(event->pos());
    };
    PopupMenuLeft = new QMenu(this);
    PopupMenuLeft->setObjectName("PopupMenuLeft");
    UpdateRight = PopupMenuLeft->addAction(QString::fromUtf8("Обновить справа"));
    UpdateRight->setObjectName("UpdateRight");
    connect(PopupMenuLeft, &QMenu::aboutToShow, this, [this] { PopupMenuLeftPopup(); });
    connect(UpdateRight, &QAction::triggered, this, [this] { UpdateRightClick(); });
    // The menu key and Shift+F10 open the left tree's menu at its current element.
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
        auto* menu = new QShortcut(keys, LeftTree, nullptr, nullptr, Qt::WidgetShortcut);
        connect(menu, &QShortcut::activated, this, [this] {
            if (!cbx_Compare->isChecked() || !LeftTree->currentIndex().isValid()) return;
            const QRect place = LeftTree->visualRect(LeftTree->currentIndex());
            PopupMenuLeft->popup(LeftTree->viewport()->mapToGlobal(place.bottomLeft()));
        });
    }
    Splitter1->addWidget(GroupBox1);
    Splitter1->addWidget(GroupBox2);
    Splitter1->setChildrenCollapsible(false);
    layout->addWidget(Splitter1, 1);
    BuildDifferencesPanel(layout);

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

    QMenu* file = menuBar()->addMenu(QString::fromUtf8("&Файл"));
    btnTemporyFile = file->addAction(QString::fromUtf8("&Создать обменный файл"));
    btnTemporyFile->setObjectName("btnTemporyFile");
    btnTemporyFile->setShortcut(QKeySequence::New);
    btnSaveAs = file->addAction(QString::fromUtf8("Сохранить &как"));
    btnSaveAs->setObjectName("btnSaveAs");
    btnSaveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    BuildMergeActions(file);
    file->addSeparator();
    btnExit = file->addAction(QString::fromUtf8("В&ыход"));
    btnExit->setObjectName("btnExit");
    btnExit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QMenu* help = menuBar()->addMenu(QString::fromUtf8("&Помощь"));
    help->addAction(QString::fromUtf8("&О программе"));
    help->addAction(QString::fromUtf8("&Справка"));
    // A button's key clicks it at once, so it asks what a click asks and does
    // nothing while the button is disabled.
    auto key = [this](QPushButton* button, const QKeySequence& keys) {
        auto* action = new QAction(button);
        action->setShortcut(keys);
        addAction(action);
        connect(action, &QAction::triggered, button, &QPushButton::click);
    };
    key(ButtonSave, QKeySequence(Qt::CTRL | Qt::Key_S));
    key(ButtonOpenRight, QKeySequence(Qt::CTRL | Qt::Key_O));
    key(Button5, QKeySequence(Qt::Key_F5));

    connect(ButtonOpenLeft, &QPushButton::clicked, this, [this] { ButtonOpenLeftClick(); });
    connect(ButtonOpenRight, &QPushButton::clicked, this, [this] { ButtonOpenRightClick(OpenSender::ButtonOpenRight); });
    connect(cb_Type, &QComboBox::activated, this, [this] { cb_TypeChange(); });
    connect(cb_Unom, &QComboBox::activated, this, [this] { cb_UnomChange(); });
    connect(Button5, &QPushButton::clicked, this, [this] { Button5Click(); });
    // Toggled, not clicked: the keyboard and assistive tools tick it too.
    connect(cbx_Sync, &QCheckBox::toggled, this, [this] { cbx_SyncClick(); });
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] { Splitter1Moved(); });
    connect(ButtonSave, &QPushButton::clicked, this, [this] { ButtonSaveClick(SaveSender::ButtonSave); });
    connect(ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    connect(btnSaveAs, &QAction::triggered, this, [this] { btnSaveAsClick(); });
    connect(btnTemporyFile, &QAction::triggered, this, [this] { btnTemporyFileClick(); });
    connect(btnExit, &QAction::triggered, this, [this] { btnExitClick(); });

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(WindowPlace(screen->availableGeometry(), size(), minimumSizeHint()));
    Splitter1->installEventFilter(this);
}

QRect WindowPlace(const QRect& screen, const QSize& wanted, const QSize& least) {
    // The frame and title bar the window manager adds come out of the screen too.
    const QSize frame(16, 40);
    QSize size = wanted.expandedTo(least).boundedTo(screen.size() - frame);
    QRect place(QPoint(), size);
    place.moveCenter(screen.center());
    return place;
}

void TForm1::Splitter1Moved() {
    leftWidthRatio_ = double(GroupBox1->width()) / std::max(1, Splitter1->width() - Splitter1->handleWidth());
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    // The left pane keeps its share of the window, the splitter's width once
    // the layout has given it one.
    if (watched == Splitter1 && event->type() == QEvent::Resize) {
        const int total = Splitter1->width() - Splitter1->handleWidth();
        const int left = static_cast<int>(std::lround(total * leftWidthRatio_));
        Splitter1->setSizes({left, std::max(0, total - left)});
    }
    return QMainWindow::eventFilter(watched, event);
}

// --- Opening a source ---------------------------------------------------------------

void TForm1::SetDataModule(TRef_DataModule* db) {
    db_ = db;
    // The server dialog keeps the login typed for a source with the connection.
    if (auto* own = dynamic_cast<QtWorkbenchDialogs*>(ownDialogs_.get())) own->SetDataModule(db);
}

void TForm1::ShowPath(QLabel* label, const QString& path) {
    // A server source is shown as typed: its host is part of what it names.
    label->setText(IsServerSource(path.toStdString()) ? path : QFileInfo(path).fileName());
    label->setToolTip(IsServerSource(path.toStdString()) ? path : QFileInfo(path).absoluteFilePath());
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
}

bool TForm1::OpenInto(Pane pane, const QString& path) {
    PaneChanges changes;
    try {
        if (pane == Pane::Left) {
            leftRef_ = OpenCatalogue(path.toStdString(), *db_);
            leftPath_ = path;
            ++leftRevision_;
        } else {
            changes = right_.Open(path.toStdString(), *db_);
        }
    } catch (const OpenError& error) {
        // The pane keeps its source, its tree and its label.
        dialogs_->Inform(QString::fromUtf8(error.what()), QString::fromStdString(error.detail));
        return false;
    }
    ShowPath(pane == Pane::Left ? Label1 : Label2, path);
    const std::string voltageBefore = filters_.VoltageFilter;
    RefreshVoltageList();
    UpdateShowEnabled();
    if (pane == Pane::Left)
        BuildTree(LeftTree, leftRef_.get());
    else
        ShowChanges(changes);
    // The voltage box fell back to "все": the other tree drops the old class too.
    if (filters_.VoltageFilter != voltageBefore) Refilter();
    FollowComparison();
    return true;
}

bool TForm1::OpenPath(Pane pane, const QString& path) { return OpenInto(pane, path); }

void TForm1::ButtonOpenLeftClick() {
    const auto path = dialogs_->ChooseSourceToOpen(Pane::Left, leftPath_);
    if (!path) return;
    OpenInto(Pane::Left, *path);
}

void TForm1::ButtonOpenRightClick(OpenSender sender) {
    QString path = RightPath();
    if (sender == OpenSender::ButtonOpenRight) {
        const auto chosen = dialogs_->ChooseSourceToOpen(Pane::Right, path);
        if (!chosen) return;
        path = *chosen;
    }
    // Unsaved changes go to the source they came from, not to the new one.
    if (sender != OpenSender::ButtonCancel && !SaveUnsavedChangesFirst()) return;
    OpenInto(Pane::Right, path);
}

// --- Trees and filters -------------------------------------------------------------

void TForm1::StepProgress(int position) {
    // Painted now and then, without handing the user's input to the window meanwhile.
    if (position % 512 != 0) return;
    Progress->setValue(position);
    Progress->repaint();
}

void TForm1::BuildTree(CatalogueTree* view, TReference* reference) {
    view->Catalogue()->Reset(reference);
    MarkTree(view);
    ShowCheckMarks(view);
}

void TForm1::Refilter() {
    const bool onlyDifferences = cb_Show->currentIndex() == kOnlyDifferences && Comparison();
    const KeptPlace place({LeftTree, RightTree});
    // Copies kept in view since a drop are shown as the filters have it from now on.
    for (CatalogueTree* view : {LeftTree, RightTree}) {
        view->Filter()->Keep({});
        view->Filter()->SetOnlyDifferences(onlyDifferences);
        view->Filter()->Refilter();
    }
}

void TForm1::RefreshVoltageList() {
    const int oldIndex = cb_Unom->currentIndex();
    const QString oldText = cb_Unom->currentText();
    cb_Unom->clear();
    cb_Unom->addItem(QString::fromUtf8("все"));
    for (double voltageClass : VoltageClassesOf(leftRef_.get(), &right_.Reference()))
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
    filters_.UnusedInNetwork = cb_Show->currentIndex() == kUnusedInNetwork;
    Refilter();
}

void TForm1::UpdateShowEnabled() {
    const bool comparing = cbx_Compare->isChecked();
    const bool network = leftRef_->Network.Known() || right_.Reference().Network.Known();
    cb_Show->setEnabled(comparing || network);
    if (auto* items = qobject_cast<QStandardItemModel*>(cb_Show->model())) {
        items->item(kOnlyDifferences)->setEnabled(comparing);
        items->item(kUnusedInNetwork)->setEnabled(network);
    }
    // An item that can no longer be chosen no longer filters.
    const int shown = cb_Show->currentIndex();
    if ((shown == kOnlyDifferences && !comparing) || (shown == kUnusedInNetwork && !network))
        cb_Show->setCurrentIndex(0);
}

void TForm1::Button5Click() {
    cb_Type->setCurrentIndex(0);
    cb_Unom->setCurrentIndex(0);
    ApplyFilters();
}

void TForm1::UpdateSaveAsEnabled() {
    // Enabled once the right catalogue holds an element, whatever the tree shows of it.
    btnSaveAs->setEnabled(right_.Reference().TotalCount() > 0);
}

void TForm1::LeftTreeClick(CatalogueTree* tree) {
    if (cbx_Sync->isChecked()) SyncTrees(tree->objectName());
}

void TForm1::cbx_SyncClick() {
    if (cbx_Sync->isChecked()) SyncTrees("LeftTree");
}

void TForm1::SyncTrees(const QString& clickedTreeName) {
    CatalogueTree* clicked = clickedTreeName != "LeftTree" ? RightTree : LeftTree;
    CatalogueTree* target = clicked == LeftTree ? RightTree : LeftTree;
    const QModelIndex selected = SelectedNode(clicked);
    const QModelIndex targetRoot = target->Root();
    if (!selected.isValid() || !targetRoot.isValid()) return;
    // The target's selection follows the clicked tree, not the other way round.
    auto select = [this, target](const QModelIndex& node) {
        const bool following = std::exchange(followingSelection_, true);
        target->GoTo(node);
        target->setFocus();
        followingSelection_ = following;
    };
    const int level = NodeLevel(selected);
    if (level == 0) {
        target->collapseAll();
        select(targetRoot);
        return;
    }
    const TXMLCustomClass* selectedCollection = CollectionOf(level == 1 ? selected : selected.parent());
    QModelIndex category;
    for (int i = 0; i < target->model()->rowCount(targetRoot) && !category.isValid(); ++i) {
        const QModelIndex candidate = target->model()->index(i, 0, targetRoot);
        if (std::strcmp(CollectionOf(candidate)->ClassName(), selectedCollection->ClassName()) == 0)
            category = candidate;
    }
    if (!category.isValid()) return;
    QModelIndex taken = category;
    if (level == 2) {
        if (const TBaseElement* same = CollectionOf(category)->FindSame(*RecordOf(selected))) taken = target->NodeOf(same);
    }
    if (taken.isValid()) select(taken);
}

}  // namespace kelm
