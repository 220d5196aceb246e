#include "workbench/tree_nodes.h"

#include <QAbstractItemView>
#include <QBrush>
#include <QFont>
#include <QScrollBar>
#include <QPainter>
#include <QPixmap>

#include <utility>

#include "decisions/right_pane.h"
#include "workbench/catalogue_model.h"

namespace kelm {
namespace {

const QColor kChangedColour(20, 90, 200);

QPixmap Draw(int image, bool selected) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor frame = selected ? QColor(0, 70, 160) : QColor(60, 60, 60);
    switch (image) {
        case ImageLoaded:  // a sheet
            p.setPen(frame);
            p.setBrush(QColor(250, 250, 250));
            p.drawRect(3, 1, 10, 13);
            p.drawLine(5, 5, 11, 5);
            p.drawLine(5, 8, 11, 8);
            p.drawLine(5, 11, 9, 11);
            break;
        case ImageCopied:  // a sheet with a green plus: new, not yet saved
            p.setPen(frame);
            p.setBrush(QColor(250, 250, 250));
            p.drawRect(1, 1, 10, 13);
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(20, 150, 40));
            p.drawRect(9, 5, 3, 11);
            p.drawRect(5, 9, 11, 3);
            break;
        case ImageRoot:
        case ImageRoot + 1:  // a book
            p.setPen(frame);
            p.setBrush(image == ImageRoot ? QColor(70, 110, 190) : QColor(120, 170, 250));
            p.drawRect(2, 1, 12, 14);
            p.setPen(QColor(255, 255, 255));
            p.drawLine(5, 4, 11, 4);
            p.drawLine(5, 7, 11, 7);
            break;
        case ImageCategory:
        case ImageCategory + 1:  // a folder
            p.setPen(frame);
            p.setBrush(image == ImageCategory ? QColor(230, 190, 70) : QColor(255, 225, 120));
            p.drawRect(1, 4, 14, 10);
            p.drawRect(1, 2, 6, 2);
            break;
        case ImageDeleted:  // a grey sheet crossed out in red: marked for deletion
            p.setPen(QColor(150, 150, 150));
            p.setBrush(QColor(225, 225, 225));
            p.drawRect(3, 1, 10, 13);
            p.setPen(QPen(QColor(210, 20, 20), 2.5));
            p.drawLine(2, 2, 14, 14);
            p.drawLine(14, 2, 2, 14);
            break;
    }
    return pixmap;
}

// A small orange dot in the lower right corner: the element the other catalogue lacks.
QPixmap WithAbsentMark(QPixmap pixmap) {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(QColor(235, 110, 0));
    p.drawEllipse(QRectF(9, 9, 6.5, 6.5));
    return pixmap;
}

// A small blue diamond in the lower right corner: the element the other catalogue holds with other values.
QPixmap WithChangedMark(QPixmap pixmap) {
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(255, 255, 255), 1));
    p.setBrush(kChangedColour);
    const QPointF diamond[] = {{12.5, 8.5}, {16, 12}, {12.5, 15.5}, {9, 12}};
    p.drawPolygon(diamond, 4);
    return pixmap;
}

QPixmap WithMark(QPixmap pixmap, Presence presence) {
    if (presence == Presence::Absent) return WithAbsentMark(std::move(pixmap));
    if (presence == Presence::Changed) return WithChangedMark(std::move(pixmap));
    return pixmap;
}

// Each node shows its image, and for the root and categories the selected
// variant while it is selected.
}  // namespace

QIcon NodeIcon(int image, Presence presence) {
    static QIcon icons[7][3];
    QIcon& icon = icons[image][static_cast<int>(presence)];
    if (icon.isNull()) {
        const int selectedImage = (image == ImageRoot || image == ImageCategory) ? image + 1 : image;
        icon.addPixmap(WithMark(Draw(image, false), presence), QIcon::Normal);
        icon.addPixmap(WithMark(Draw(selectedImage, true), presence), QIcon::Selected);
    }
    return icon;
}

QVariant NodeFont(Presence presence) {
    static const QVariant absent = [] {
        QFont font;
        font.setBold(true);
        return QVariant(font);
    }();
    return presence == Presence::Absent ? absent : QVariant();
}

QVariant NodeColour(Presence presence) {
    static const QVariant changed = QVariant(QBrush(kChangedColour));
    return presence == Presence::Changed ? changed : QVariant();
}


QColor MarkColour(Severity severity) { return severity == Severity::Error ? QColor(Qt::red) : QColor(200, 120, 0); }

int ImageOfRecord(const TBaseElement& record) {
    if (record.Deleted == 1) return ImageDeleted;
    return record.Ident == kUnsavedCopy ? ImageCopied : ImageLoaded;
}

int NodeLevel(const QModelIndex& node) { return node.isValid() ? node.data(LevelRole).toInt() : -1; }

namespace {
void* DataOf(const QModelIndex& node, int level) {
    return NodeLevel(node) == level ? node.data(DataRole).value<void*>() : nullptr;
}
}  // namespace

TReference* ReferenceOf(const QModelIndex& root) { return static_cast<TReference*>(DataOf(root, 0)); }
TXMLCustomClass* CollectionOf(const QModelIndex& category) {
    return static_cast<TXMLCustomClass*>(DataOf(category, 1));
}
TBaseElement* RecordOf(const QModelIndex& element) { return static_cast<TBaseElement*>(DataOf(element, 2)); }
int ImageOf(const QModelIndex& node) { return node.data(ImageRole).toInt(); }
Presence PresenceOf(const QModelIndex& node) { return static_cast<Presence>(node.data(PresenceRole).toInt()); }

void SelectNodeUnder(QAbstractItemView* tree, const QPoint& position) {
    const QModelIndex node = tree->indexAt(position);
    if (!node.isValid()) return;
    if (!tree->selectionModel()->isSelected(node)) tree->selectionModel()->select(node, QItemSelectionModel::ClearAndSelect);
    tree->selectionModel()->setCurrentIndex(node, QItemSelectionModel::NoUpdate);
}

QModelIndex SelectedNode(const QAbstractItemView* tree) {
    const QModelIndex current = tree->currentIndex();
    if (current.isValid() && tree->selectionModel()->isSelected(current)) return current;
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

QModelIndex NextElement(const QAbstractItemModel& model, const QModelIndex& from, bool backwards) {
    const QModelIndex root = model.index(0, 0);
    const int categories = model.rowCount(root);
    if (categories == 0) return {};
    const int level = NodeLevel(from);
    // Where the walk starts: before the first category (or after the last) unless at a node.
    int category = level >= 1 ? (level == 1 ? from.row() : from.parent().row()) : (backwards ? categories : -1);
    const int element = level == 2 ? from.row() : -1;
    // A category stands before its elements: back from it is the category before.
    if (level == 2 || (level == 1 && !backwards)) {
        const QModelIndex here = model.index(category, 0, root);
        const int step = backwards ? element - 1 : element + 1;
        if (step >= 0 && step < model.rowCount(here)) return model.index(step, 0, here);
    }
    for (int k = 1; k <= categories; ++k) {
        const int c = ((backwards ? category - k : category + k) % categories + categories) % categories;
        const QModelIndex there = model.index(c, 0, root);
        const int count = model.rowCount(there);
        if (count > 0) return model.index(backwards ? count - 1 : 0, 0, there);
    }
    return {};
}

}  // namespace kelm
