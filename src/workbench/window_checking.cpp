// The main window: checking the catalogue of a pane, the list of findings
// and the marks they leave in the tree.

#include <QDialog>
#include <QHeaderView>
#include <QVBoxLayout>

#include "catalogues/categories.h"
#include "decisions/catalogue_check.h"
#include "workbench/main_window.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

constexpr int kFindingPaneRole = Qt::UserRole;
constexpr int kFindingRecordRole = Qt::UserRole + 1;

}  // namespace

TForm1::CheckMarks& TForm1::MarksOf(CatalogueTree* view) { return view == LeftTree ? leftMarks_ : rightMarks_; }

std::uint64_t TForm1::CatalogueKey(CatalogueTree* view) const {
    return view == LeftTree ? leftRevision_ : right_.Generation();
}

void TForm1::BuildCheckWindow() {
    CheckWindow = new QDialog(this);
    CheckWindow->setObjectName("CheckWindow");
    CheckWindow->setWindowTitle(QString::fromUtf8("Проверка справочника"));
    CheckWindow->setModal(false);
    CheckWindow->resize(900, 400);
    CheckFindings = new QTreeWidget(CheckWindow);
    CheckFindings->setObjectName("CheckFindings");
    CheckFindings->setRootIsDecorated(false);
    CheckFindings->setUniformRowHeights(true);
    CheckFindings->setHeaderLabels({QString::fromUtf8("Вид"), QString::fromUtf8("Элемент"),
                                    QString::fromUtf8("Сообщение")});
    CheckFindings->header()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(CheckWindow);
    layout->addWidget(CheckFindings);
    connect(CheckFindings, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* row) { CheckFindingsClick(row, false); });
    connect(CheckFindings, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* row) { CheckFindingsClick(row, true); });
}

void TForm1::btnCheckClick() {
    CatalogueTree* view = focusWidget() == LeftTree ? LeftTree : RightTree;
    const TReference& reference = view == LeftTree ? *leftRef_ : right_.Reference();
    const std::vector<Finding> findings = CheckCatalogue(reference, numbers_);

    CheckMarks& marks = MarksOf(view);
    marks.catalogue = CatalogueKey(view);
    marks.marks.clear();
    for (const Finding& finding : findings) {
        auto [mark, added] = marks.marks.emplace(finding.record, finding.severity);
        if (!added && finding.severity == Severity::Error) mark->second = Severity::Error;
    }
    // The marks of the previous check go as well.
    ShowCheckMarks(view);

    if (findings.empty()) {
        if (CheckWindow) CheckWindow->hide();
        dialogs_->Inform(QString::fromUtf8("Ошибок и предупреждений в справочнике нет."), QString());
        return;
    }
    if (!CheckWindow) BuildCheckWindow();
    CheckFindings->clear();
    QList<QTreeWidgetItem*> rows;
    for (const Finding& finding : findings) {
        const TXMLCustomClass& collection = *reference.GetCollection(finding.category);
        auto* row = new QTreeWidgetItem({QString::fromUtf8(SeverityText(finding.severity)),
                                         ScreenText(collection.Label(*finding.record, numbers_)),
                                         QString::fromStdString(finding.message)});
        row->setData(0, kFindingPaneRole, view == LeftTree ? 0 : 1);
        row->setData(0, kFindingRecordRole, QVariant::fromValue(const_cast<void*>(static_cast<const void*>(finding.record))));
        row->setForeground(0, MarkColour(finding.severity));
        rows.append(row);
    }
    CheckFindings->addTopLevelItems(rows);
    CheckFindings->resizeColumnToContents(0);
    CheckFindings->resizeColumnToContents(1);
    CheckWindow->show();
    CheckWindow->raise();
}

void TForm1::CheckFindingsClick(QTreeWidgetItem* row, bool open) {
    if (!row) return;
    CatalogueTree* view = row->data(0, kFindingPaneRole).toInt() == 0 ? LeftTree : RightTree;
    // A finding of a catalogue the pane no longer holds names nothing there.
    if (MarksOf(view).catalogue != CatalogueKey(view)) return;
    const auto* record = static_cast<const TBaseElement*>(row->data(0, kFindingRecordRole).value<void*>());
    const QModelIndex node = view->NodeOf(record);
    if (!node.isValid()) return;
    view->GoTo(node);
    if (open) LeftTreeDblClick(view);
}

void TForm1::ShowCheckMarks(CatalogueTree* view) {
    CheckMarks& marks = MarksOf(view);
    if (marks.catalogue != CatalogueKey(view)) marks.marks.clear();
    view->Catalogue()->Mark(marks.marks);
}

void TForm1::ForgetCheckMark(const TBaseElement* record) {
    if (rightMarks_.marks.erase(record) > 0) RightTree->Catalogue()->Unmark(record);
}

}  // namespace kelm
