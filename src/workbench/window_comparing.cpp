// The main window: comparing the two panes ("Сравнить", "Показывать") and
// finding elements by their label ("Найти").

#include <QShortcut>

#include "catalogues/categories.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

constexpr int kOnlyDifferences = 1;  // item of "Показывать"
constexpr int kFindPauseMs = 250;     // a tree build per typed letter would lag behind the typing

// " (нет: 12, комментарий: 3)", or nothing when the category holds no difference.
QString CountsText(const DifferenceCounts& counts) {
    QStringList parts;
    if (counts.absent > 0) parts << QString::fromUtf8("нет: %1").arg(counts.absent);
    if (counts.commentOnly > 0) parts << QString::fromUtf8("комментарий: %1").arg(counts.commentOnly);
    return parts.isEmpty() ? QString() : " (" + parts.join(", ") + ")";
}

}  // namespace

void TForm1::BuildComparisonBar(QHBoxLayout* filterBar) {
    cbx_Compare = new QCheckBox(QString::fromUtf8("Сравнить"));
    cbx_Compare->setObjectName("cbx_Compare");
    filterBar->addWidget(cbx_Compare);
    filterBar->addWidget(new QLabel(QString::fromUtf8(" Показывать:")));
    cb_Show = new QComboBox;
    cb_Show->setObjectName("cb_Show");
    cb_Show->addItem(QString::fromUtf8("все"));
    cb_Show->addItem(QString::fromUtf8("только различия"));
    cb_Show->setEnabled(false);  // only a comparison tells the differences
    filterBar->addWidget(cb_Show);
    filterBar->addWidget(new QLabel(QString::fromUtf8(" Найти:")));
    ed_Find = new QLineEdit;
    ed_Find->setObjectName("ed_Find");
    ed_Find->setClearButtonEnabled(true);
    ed_Find->setMinimumWidth(120);
    filterBar->addWidget(ed_Find);

    findTimer_ = new QTimer(this);
    findTimer_->setSingleShot(true);
    findTimer_->setInterval(kFindPauseMs);
    connect(findTimer_, &QTimer::timeout, this, [this] { ed_FindChange(); });
    connect(ed_Find, &QLineEdit::textChanged, findTimer_, qOverload<>(&QTimer::start));
    connect(cbx_Compare, &QCheckBox::clicked, this, [this] {
        cb_Show->setEnabled(cbx_Compare->isChecked());
        cbx_CompareClick();
    });
    connect(cb_Show, &QComboBox::activated, this, [this] { cb_ShowChange(); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        ed_Find->setFocus(Qt::ShortcutFocusReason);
        ed_Find->selectAll();
    });
    auto* clear = new QShortcut(QKeySequence(Qt::Key_Escape), ed_Find, nullptr, nullptr, Qt::WidgetShortcut);
    connect(clear, &QShortcut::activated, this, [this] { ClearFind(); });
}

void TForm1::ed_FindChange() {
    findTimer_->stop();
    if (ed_Find->text() == findText_) return;
    findText_ = ed_Find->text();
    ApplyFilters();
}

void TForm1::ClearFind() {
    ed_Find->clear();
    ed_FindChange();
}

const CatalogueComparison* TForm1::Comparison() {
    if (!cbx_Compare->isChecked()) {
        comparison_.reset();
        return nullptr;
    }
    if (!comparison_ || comparedFor_ != CurrentComparisonKey()) {
        comparison_ = std::make_unique<CatalogueComparison>(*leftRef_, right_.Reference());
        comparedFor_ = CurrentComparisonKey();
    }
    return comparison_.get();
}

bool TForm1::ShowsElement(const TBaseElement& record, const QString& label) {
    if (!findText_.isEmpty() && !label.contains(findText_, Qt::CaseInsensitive)) return false;
    if (cb_Show->currentIndex() != kOnlyDifferences) return true;
    const CatalogueComparison* comparison = Comparison();
    return !comparison || comparison->StateOf(record) != Presence::Present;
}

void TForm1::MarkTree(QTreeWidget* view) {
    const CatalogueComparison* comparison = Comparison();
    (view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) = CurrentComparisonKey();
    QTreeWidgetItem* root = view->topLevelItem(0);
    if (!root) return;
    for (int c = 0; c < root->childCount(); ++c) {
        QTreeWidgetItem* category = root->child(c);
        DifferenceCounts counts;
        for (int e = 0; e < category->childCount(); ++e) {
            QTreeWidgetItem* node = category->child(e);
            const Presence state = comparison ? comparison->StateOf(*RecordOf(node)) : Presence::Present;
            SetPresence(node, state);
            if (state == Presence::Absent) ++counts.absent;
            if (state == Presence::CommentOnly) ++counts.commentOnly;
        }
        QString label = QString::fromUtf8(CaptionOfCollection(*CollectionOf(category)));
        if (comparison) label += CountsText(counts);
        if (category->text(0) != label) category->setText(0, label);
    }
}

void TForm1::FollowComparison() {
    if (!cbx_Compare->isChecked()) return;
    const ComparisonKey now = CurrentComparisonKey();
    const bool hides = cb_Show->currentIndex() == kOnlyDifferences;
    for (QTreeWidget* view : {LeftTree, RightTree}) {
        if ((view == LeftTree ? leftMarkedFor_ : rightMarkedFor_) == now) continue;
        if (!hides) {
            MarkTree(view);
            continue;
        }
        // Elements that became equal leave the tree, ones that became different join it.
        const int reselect = ReselectIndex;
        ReselectIndex = -1;
        BuildTree(view, view == LeftTree ? leftRef_.get() : &right_.Reference());
        ReselectIndex = reselect;
    }
}

}  // namespace kelm
