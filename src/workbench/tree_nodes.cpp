#include "workbench/tree_nodes.h"

#include <QBrush>
#include <QFont>
#include <QScrollBar>
#include <QPainter>
#include <QPixmap>

#include <utility>

#include "decisions/right_pane.h"

namespace kelm {
namespace {

constexpr int kDataRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kPresenceRole = Qt::UserRole + 2;
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
QIcon IconFor(int image, Presence presence) {
    static QIcon icons[7][3];
    QIcon& icon = icons[image][static_cast<int>(presence)];
    if (icon.isNull()) {
        const int selectedImage = (image == ImageRoot || image == ImageCategory) ? image + 1 : image;
        icon.addPixmap(WithMark(Draw(image, false), presence), QIcon::Normal);
        icon.addPixmap(WithMark(Draw(selectedImage, true), presence), QIcon::Selected);
    }
    return icon;
}

QVariant FontFor(Presence presence) {
    static const QVariant absent = [] {
        QFont font;
        font.setBold(true);
        return QVariant(font);
    }();
    return presence == Presence::Absent ? absent : QVariant();
}

QVariant ColourFor(Presence presence) {
    static const QVariant changed = QVariant(QBrush(kChangedColour));
    return presence == Presence::Changed ? changed : QVariant();
}

QVariant NetworkToolTip(const QTreeWidgetItem& node);

// A node keeps its label, data and image in members of its own: a tree
// item's general store of values costs several hundred bytes a node, which
// counts with a hundred thousand elements in each tree.
class CatalogueNode : public QTreeWidgetItem {
public:
    CatalogueNode(const QString& label, void* data, int image)
        : QTreeWidgetItem(UserType), label_(label), data_(data), image_(image) {}

    QVariant data(int column, int role) const override {
        if (column == 0) {
            switch (role) {
                case Qt::DisplayRole:
                case Qt::EditRole: return label_;
                case Qt::DecorationRole: return IconFor(image_, presence_);
                case Qt::FontRole: return FontFor(presence_);
                case Qt::ForegroundRole: {
                    // A check's mark, kept in the item's own store, outranks the comparison's colour.
                    const QVariant marked = QTreeWidgetItem::data(column, role);
                    return marked.isValid() ? marked : ColourFor(presence_);
                }
                case Qt::ToolTipRole: {
                    const QVariant use = NetworkToolTip(*this);
                    if (use.isValid()) return use;
                    break;
                }
                case kDataRole: return QVariant::fromValue(data_);
                case kImageRole: return image_;
                case kPresenceRole: return static_cast<int>(presence_);
                default: break;
            }
        }
        return QTreeWidgetItem::data(column, role);
    }

    void setData(int column, int role, const QVariant& value) override {
        if (column != 0 || (role != Qt::DisplayRole && role != Qt::EditRole && role != kDataRole &&
                            role != kImageRole && role != kPresenceRole)) {
            QTreeWidgetItem::setData(column, role, value);
            return;
        }
        if (role == kDataRole)
            data_ = value.value<void*>();
        else if (role == kImageRole)
            image_ = value.toInt();
        else if (role == kPresenceRole)
            presence_ = static_cast<Presence>(value.toInt());
        else
            label_ = value.toString();
        emitDataChanged();
    }

private:
    QString label_;
    void* data_;
    int image_;
    Presence presence_ = Presence::Present;
};

QTreeWidgetItem* NewNode(const QString& label, void* data, int image) { return new CatalogueNode(label, data, image); }

void* DataOf(const QTreeWidgetItem* node) { return node ? node->data(0, kDataRole).value<void*>() : nullptr; }

// An element tells how many network objects use it, asked when the tip is
// shown: the counts change with every save and no node has to follow them.
QVariant NetworkToolTip(const QTreeWidgetItem& node) {
    const QTreeWidgetItem* category = node.parent();
    const TReference* reference = category ? ReferenceOf(category->parent()) : nullptr;
    if (!reference || !reference->Network.Known()) return {};
    const auto* record = static_cast<const TBaseElement*>(DataOf(&node));
    return QString::fromStdString(NetworkUseText(reference->Network.CountOf(*record)));
}

}  // namespace

int NodeLevel(const QTreeWidgetItem* node) {
    int level = 0;
    for (const QTreeWidgetItem* p = node ? node->parent() : nullptr; p; p = p->parent()) ++level;
    return level;
}

TReference* ReferenceOf(const QTreeWidgetItem* root) {
    return NodeLevel(root) == 0 ? static_cast<TReference*>(DataOf(root)) : nullptr;
}
TXMLCustomClass* CollectionOf(const QTreeWidgetItem* category) {
    return category && NodeLevel(category) == 1 ? static_cast<TXMLCustomClass*>(DataOf(category)) : nullptr;
}
TBaseElement* RecordOf(const QTreeWidgetItem* element) {
    return element && NodeLevel(element) == 2 ? static_cast<TBaseElement*>(DataOf(element)) : nullptr;
}

QTreeWidgetItem* NewRootNode(const QString& label, TReference* reference) { return NewNode(label, reference, ImageRoot); }
QTreeWidgetItem* NewCategoryNode(const QString& label, TXMLCustomClass* collection) {
    return NewNode(label, collection, ImageCategory);
}
QTreeWidgetItem* NewElementNode(const QString& label, TBaseElement* record, int image) {
    return NewNode(label, record, image);
}

void SelectNodeUnder(QTreeWidget* tree, const QPoint& position) {
    QTreeWidgetItem* node = tree->itemAt(position);
    if (!node) return;
    if (!node->isSelected()) {
        tree->clearSelection();
        node->setSelected(true);
    }
    tree->setCurrentItem(node, 0, QItemSelectionModel::NoUpdate);
}

int ImageOfRecord(const TBaseElement& record) {
    if (record.Deleted == 1) return ImageDeleted;
    return record.Ident == kUnsavedCopy ? ImageCopied : ImageLoaded;
}

int ImageOf(const QTreeWidgetItem* node) { return node->data(0, kImageRole).toInt(); }

void SetImage(QTreeWidgetItem* node, int image) { node->setData(0, kImageRole, image); }

Presence PresenceOf(const QTreeWidgetItem* node) { return static_cast<Presence>(node->data(0, kPresenceRole).toInt()); }

void SetPresence(QTreeWidgetItem* node, Presence presence) {
    if (PresenceOf(node) != presence) node->setData(0, kPresenceRole, static_cast<int>(presence));
}

int NodeCount(const QTreeWidget* tree) {
    int count = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) ++count;
    return count;
}

QTreeWidgetItem* NodeAt(const QTreeWidget* tree, int absoluteIndex) {
    int index = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it, ++index)
        if (index == absoluteIndex) return *it;
    return nullptr;
}

int AbsoluteIndex(const QTreeWidget* tree, const QTreeWidgetItem* node) {
    int index = 0;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it, ++index)
        if (*it == node) return index;
    return -1;
}

TreeViewState SaveViewState(const QTreeWidget* tree) {
    TreeViewState state;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
        if ((*it)->isExpanded()) state.expanded.insert(DataOf(*it));
        if ((*it)->isSelected()) state.selected.insert(DataOf(*it));
    }
    state.current = DataOf(tree->currentItem());
    state.top = DataOf(tree->itemAt(0, 0));
    state.scroll = tree->verticalScrollBar()->value();
    return state;
}

void RestoreViewState(QTreeWidget* tree, const TreeViewState& state) {
    QTreeWidgetItem *current = nullptr, *top = nullptr;
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        void* data = DataOf(*it);
        if (state.expanded.count(data)) (*it)->setExpanded(true);
        if (state.selected.count(data)) (*it)->setSelected(true);
        if (data == state.current && state.current) current = *it;
        if (data == state.top && state.top) top = *it;
    }
    if (current) tree->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    if (top)
        tree->scrollToItem(top, QAbstractItemView::PositionAtTop);
    else
        tree->verticalScrollBar()->setValue(state.scroll);
}

QTreeWidgetItem* SelectedNode(const QTreeWidget* tree) {
    QTreeWidgetItem* current = tree->currentItem();
    if (current && current->isSelected()) return current;
    const auto selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

}  // namespace kelm
