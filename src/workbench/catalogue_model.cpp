#include "workbench/catalogue_model.h"

#include <QColor>
#include <QMimeData>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/network_use.h"
#include "decisions/right_pane.h"
#include "workbench/tree_nodes.h"

namespace kelm {
namespace {

// The internal id of a row: the root 0, a category 1, an element 2 + its category's position.
constexpr quintptr kRootId = 0;
constexpr quintptr kCategoryId = 1;
constexpr quintptr kFirstElementId = 2;
const char* kElementsMime = "application/x-kelm-elements";

QString Screen(const std::string& cp1251) { return QString::fromUtf8(Utf8FromCp1251(cp1251)); }

// " (нет: 12, изменено: 3, конфликт: 1)", or nothing when the category holds no difference.
QString CountsText(const DifferenceCounts& counts, int conflicts) {
    QStringList parts;
    if (counts.absent > 0) parts << QString::fromUtf8("нет: %1").arg(counts.absent);
    if (counts.changed > 0) parts << QString::fromUtf8("изменено: %1").arg(counts.changed);
    if (conflicts > 0) parts << QString::fromUtf8("конфликт: %1").arg(conflicts);
    return parts.isEmpty() ? QString() : " (" + parts.join(", ") + ")";
}

const QColor kConflictColour(170, 0, 120);

}  // namespace

CatalogueModel::CatalogueModel(const QString& rootLabel, const NumberText& numbers, QObject* parent)
    : QAbstractItemModel(parent), rootLabel_(rootLabel), numbers_(numbers) {}

void CatalogueModel::Refresh(Element& element, const TXMLCustomClass& collection) const {
    element.label = Screen(collection.Label(*element.record, numbers_));
    element.comment = collection.HasComment() ? Screen(collection.CommentOf(*element.record)) : QString();
}

CatalogueModel::Element CatalogueModel::NewElement(const TXMLCustomClass& collection, TBaseElement* record) const {
    Element element{record, {}, {}, Presence::Present, std::nullopt, false};
    Refresh(element, collection);
    return element;
}

void CatalogueModel::Reset(TReference* reference) {
    beginResetModel();
    reference_ = reference;
    categories_.clear();
    comparing_ = false;
    for (int c = 0; reference && c < reference->CategoryCount(); ++c) {
        TXMLCustomClass* collection = reference->GetCollection(c);
        if (!collection) continue;
        Category category{collection, QString::fromUtf8(CategoryCaption(c)), {}, {}, 0};
        category.elements.reserve(static_cast<std::size_t>(collection->Count()));
        for (int i = 0; i < collection->Count(); ++i)
            category.elements.push_back(NewElement(*collection, collection->GetItem(i)));
        categories_.push_back(std::move(category));
    }
    endResetModel();
}

void CatalogueModel::Follow(const PaneChanges& changes) {
    if (!changes.removed.empty())
        RemoveRecords(std::unordered_set<const TBaseElement*>(changes.removed.begin(), changes.removed.end()));
    if (!changes.added.empty()) {
        std::vector<bool> touched(categories_.size());
        for (const TBaseElement* record : changes.added)
            for (std::size_t c = 0; c < categories_.size(); ++c)
                if (!touched[c] && categories_[c].collection->Holds(*record)) touched[c] = true;
        for (std::size_t c = 0; c < categories_.size(); ++c)
            if (touched[c]) InsertNewRecords(c);
    }
    if (changes.changed.empty()) return;
    // One signal per category for the span of its changed rows.
    const std::unordered_set<const TBaseElement*> changed(changes.changed.begin(), changes.changed.end());
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        int first = -1, last = -1;
        auto& elements = categories_[c].elements;
        for (std::size_t e = 0; e < elements.size(); ++e) {
            if (!changed.count(elements[e].record)) continue;
            Refresh(elements[e], *categories_[c].collection);
            if (first < 0) first = static_cast<int>(e);
            last = static_cast<int>(e);
        }
        if (first >= 0) CategoryChanged(c, first, last);
    }
}

QModelIndexList CatalogueModel::IndexesOf(const std::vector<TBaseElement*>& records) const {
    QModelIndexList found;
    if (records.empty()) return found;
    const std::unordered_set<const TBaseElement*> wanted(records.begin(), records.end());
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        const auto& elements = categories_[c].elements;
        for (std::size_t e = 0; e < elements.size(); ++e)
            if (wanted.count(elements[e].record)) found.append(createIndex(static_cast<int>(e), 0, kFirstElementId + c));
    }
    return found;
}

void CatalogueModel::RemoveRecords(const std::unordered_set<const TBaseElement*>& removed) {
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        auto& elements = categories_[c].elements;
        const QModelIndex parent = createIndex(static_cast<int>(c), 0, kCategoryId);
        // From the end, one signal per run of neighbouring rows.
        for (int row = static_cast<int>(elements.size()) - 1; row >= 0; --row) {
            if (!removed.count(elements[static_cast<std::size_t>(row)].record)) continue;
            int first = row;
            while (first > 0 && removed.count(elements[static_cast<std::size_t>(first - 1)].record)) --first;
            beginRemoveRows(parent, first, row);
            elements.erase(elements.begin() + first, elements.begin() + row + 1);
            endRemoveRows();
            row = first;
        }
    }
}

void CatalogueModel::InsertNewRecords(std::size_t c) {
    // The rows are the collection's records in its order: the records new
    // to it are inserted, one signal per run, where the collection holds them.
    Category& category = categories_[c];
    const TXMLCustomClass& collection = *category.collection;
    const QModelIndex parent = createIndex(static_cast<int>(c), 0, kCategoryId);
    const int count = collection.Count();
    for (int row = 0; row < count; ++row) {
        const std::size_t at = static_cast<std::size_t>(row);
        const TBaseElement* shown = at < category.elements.size() ? category.elements[at].record : nullptr;
        if (collection.GetItem(row) == shown) continue;
        int end = row;
        while (end < count && collection.GetItem(end) != shown) ++end;
        std::vector<Element> run;
        run.reserve(static_cast<std::size_t>(end - row));
        for (int i = row; i < end; ++i) run.push_back(NewElement(collection, collection.GetItem(i)));
        beginInsertRows(parent, row, end - 1);
        category.elements.insert(category.elements.begin() + row, std::make_move_iterator(run.begin()),
                                 std::make_move_iterator(run.end()));
        endInsertRows();
        row = end - 1;
    }
}

void CatalogueModel::CategoryChanged(std::size_t c, int first, int last, const QList<int>& roles) {
    const QModelIndex parent = createIndex(static_cast<int>(c), 0, kCategoryId);
    emit dataChanged(index(first, 0, parent), index(last, 0, parent), roles);
}

namespace {
// What a comparison's state and a check's mark change: not the label the filters read.
const QList<int> kStateRoles{Qt::DecorationRole, Qt::FontRole, Qt::ForegroundRole};
}  // namespace

void CatalogueModel::Compare(const CatalogueComparison* comparison) {
    comparing_ = comparison != nullptr;
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        Category& category = categories_[c];
        DifferenceCounts counts;
        int first = -1, last = -1;
        // The rows are the collection's records in its order, as the states are.
        const std::vector<Presence>* states = comparison ? comparison->StatesIn(*category.collection) : nullptr;
        if (states && states->size() != category.elements.size()) states = nullptr;
        for (std::size_t e = 0; e < category.elements.size(); ++e) {
            Element& element = category.elements[e];
            const bool inStep = states && category.collection->GetItem(static_cast<int>(e)) == element.record;
            const Presence state = inStep       ? (*states)[e]
                                   : comparison ? comparison->StateOf(*element.record)
                                                : Presence::Present;
            if (state == Presence::Absent) ++counts.absent;
            if (state == Presence::Changed) ++counts.changed;
            if (state == element.presence) continue;
            element.presence = state;
            if (first < 0) first = static_cast<int>(e);
            last = static_cast<int>(e);
        }
        category.counts = counts;
        UpdateCaption(c);
        if (first >= 0) CategoryChanged(c, first, last, kStateRoles);
    }
}

void CatalogueModel::UpdateCaption(std::size_t c) {
    Category& category = categories_[c];
    const QString caption = QString::fromUtf8(CaptionOfCollection(*category.collection)) +
                            CountsText(comparing_ ? category.counts : DifferenceCounts{}, category.conflicts);
    if (caption == category.caption) return;
    category.caption = caption;
    const QModelIndex row = createIndex(static_cast<int>(c), 0, kCategoryId);
    emit dataChanged(row, row);
}

void CatalogueModel::MarkConflicts(const std::unordered_set<const TBaseElement*>& conflicts) {
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        Category& category = categories_[c];
        int first = -1, last = -1;
        category.conflicts = 0;
        for (std::size_t e = 0; e < category.elements.size(); ++e) {
            Element& element = category.elements[e];
            const bool conflict = conflicts.count(element.record) > 0;
            category.conflicts += conflict;
            if (conflict == element.conflict) continue;
            element.conflict = conflict;
            if (first < 0) first = static_cast<int>(e);
            last = static_cast<int>(e);
        }
        UpdateCaption(c);
        if (first >= 0) CategoryChanged(c, first, last, {Qt::DisplayRole, Qt::ForegroundRole, ConflictRole});
    }
}

void CatalogueModel::Mark(const std::unordered_map<const TBaseElement*, Severity>& marks) {
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        int first = -1, last = -1;
        auto& elements = categories_[c].elements;
        for (std::size_t e = 0; e < elements.size(); ++e) {
            const auto found = marks.find(elements[e].record);
            const std::optional<Severity> mark =
                found == marks.end() ? std::nullopt : std::optional<Severity>(found->second);
            if (mark == elements[e].mark) continue;
            elements[e].mark = mark;
            if (first < 0) first = static_cast<int>(e);
            last = static_cast<int>(e);
        }
        if (first >= 0) CategoryChanged(c, first, last, kStateRoles);
    }
}

void CatalogueModel::Unmark(const TBaseElement* record) {
    const QModelIndex found = IndexOf(record);
    if (!found.isValid()) return;
    const auto c = static_cast<std::size_t>(found.internalId() - kFirstElementId);
    categories_[c].elements[static_cast<std::size_t>(found.row())].mark.reset();
    CategoryChanged(c, found.row(), found.row(), kStateRoles);
}

QModelIndex CatalogueModel::IndexOf(const TBaseElement* record) const {
    if (!record) return {};
    for (std::size_t c = 0; c < categories_.size(); ++c) {
        const TXMLCustomClass& collection = *categories_[c].collection;
        if (!collection.Holds(*record)) continue;
        const auto& elements = categories_[c].elements;
        // The rows follow the collection: its index is the row, unless a change is on its way.
        const int at = collection.IndexOf(record);
        if (at >= 0 && static_cast<std::size_t>(at) < elements.size() && elements[static_cast<std::size_t>(at)].record == record)
            return createIndex(at, 0, kFirstElementId + c);
        for (std::size_t e = 0; e < elements.size(); ++e)
            if (elements[e].record == record) return createIndex(static_cast<int>(e), 0, kFirstElementId + c);
    }
    return {};
}

const CatalogueModel::Category* CatalogueModel::CategoryAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.internalId() != kCategoryId) return nullptr;
    return &categories_[static_cast<std::size_t>(index.row())];
}

const CatalogueModel::Element* CatalogueModel::ElementAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.internalId() < kFirstElementId) return nullptr;
    return &categories_[index.internalId() - kFirstElementId].elements[static_cast<std::size_t>(index.row())];
}

int CatalogueModel::Level(const QModelIndex& index) const {
    const quintptr id = index.internalId();
    return id == kRootId ? 0 : id == kCategoryId ? 1 : 2;
}

QModelIndex CatalogueModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0) return {};
    if (!parent.isValid()) return reference_ && row == 0 ? createIndex(0, 0, kRootId) : QModelIndex();
    const quintptr id = parent.internalId();
    if (id == kRootId) return row < static_cast<int>(categories_.size()) ? createIndex(row, 0, kCategoryId) : QModelIndex();
    if (id != kCategoryId) return {};
    const auto& elements = categories_[static_cast<std::size_t>(parent.row())].elements;
    return row < static_cast<int>(elements.size())
               ? createIndex(row, 0, kFirstElementId + static_cast<quintptr>(parent.row()))
               : QModelIndex();
}

QModelIndex CatalogueModel::parent(const QModelIndex& index) const {
    if (!index.isValid()) return {};
    const quintptr id = index.internalId();
    if (id == kRootId) return {};
    if (id == kCategoryId) return createIndex(0, 0, kRootId);
    return createIndex(static_cast<int>(id - kFirstElementId), 0, kCategoryId);
}

int CatalogueModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return reference_ ? 1 : 0;
    if (parent.column() != 0) return 0;
    const quintptr id = parent.internalId();
    if (id == kRootId) return static_cast<int>(categories_.size());
    if (id == kCategoryId) return static_cast<int>(categories_[static_cast<std::size_t>(parent.row())].elements.size());
    return 0;
}

int CatalogueModel::columnCount(const QModelIndex&) const { return 1; }

QVariant CatalogueModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int level = Level(index);
    if (role == LevelRole) return level;
    if (level == 0) {
        switch (role) {
            case Qt::DisplayRole: return rootLabel_;
            case Qt::DecorationRole: return NodeIcon(ImageRoot, Presence::Present);
            case DataRole: return QVariant::fromValue(static_cast<void*>(reference_));
            case ImageRole: return ImageRoot;
            default: return {};
        }
    }
    if (level == 1) {
        const Category& category = categories_[static_cast<std::size_t>(index.row())];
        switch (role) {
            case Qt::DisplayRole: return category.caption;
            case Qt::DecorationRole: return NodeIcon(ImageCategory, Presence::Present);
            case DataRole: return QVariant::fromValue(static_cast<void*>(category.collection));
            case ImageRole: return ImageCategory;
            default: return {};
        }
    }
    const Element& element = *ElementAt(index);
    switch (role) {
        case Qt::DisplayRole:
            return element.conflict ? element.label + QString::fromUtf8(" — конфликт") : element.label;
        case Qt::DecorationRole: return NodeIcon(ImageOfRecord(*element.record), element.presence);
        case Qt::FontRole: return NodeFont(element.presence);
        // A check's mark outranks a conflict, and a conflict the comparison's colour.
        case Qt::ForegroundRole:
            return element.mark       ? QVariant(MarkColour(*element.mark))
                   : element.conflict ? QVariant(kConflictColour)
                                      : NodeColour(element.presence);
        case Qt::ToolTipRole:
            // Asked when the tip is shown: the counts change with every save.
            if (!reference_->Network.Known()) return {};
            return QString::fromStdString(NetworkUseText(reference_->Network.CountOf(*element.record)));
        case DataRole: return QVariant::fromValue(static_cast<void*>(element.record));
        case ImageRole: return ImageOfRecord(*element.record);
        case PresenceRole: return static_cast<int>(element.presence);
        case ConflictRole: return element.conflict;
        default: return {};
    }
}

Qt::ItemFlags CatalogueModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

// A drag carries no data: the window reads the left tree's selection at the drop.
QStringList CatalogueModel::mimeTypes() const { return {kElementsMime}; }

QMimeData* CatalogueModel::mimeData(const QModelIndexList&) const {
    auto* data = new QMimeData;
    data->setData(kElementsMime, {});
    return data;
}

// --- Filters -------------------------------------------------------------------------

CatalogueFilter::CatalogueFilter(const TreeFilters& filters, const NumberText& numbers, QObject* parent)
    : QSortFilterProxyModel(parent), filters_(filters), numbers_(numbers) {
    // A category shows while the found text is typed only through an element that has it.
    setRecursiveFilteringEnabled(true);
    // The filters read the label, comment and state of an element; the
    // state's changes come with the roles they show in, and StatesChanged.
    setFilterRole(PresenceRole);
}

// A filter hides and shows rows scattered all over a category: removed and
// inserted run by run, each run would have the view lay out all its rows
// again. One change of the layout moves them all at once.
void CatalogueFilter::Refilter() { invalidate(); }

void CatalogueFilter::StatesChanged() {
    if (onlyDifferences_) Refilter();
}

void CatalogueFilter::SetFind(const QString& text) {
    if (text == find_) return;
    find_ = text;
    Refilter();
}

void CatalogueFilter::SetOnlyDifferences(bool only) { onlyDifferences_ = only; }

void CatalogueFilter::Keep(std::unordered_set<const TBaseElement*> kept) { kept_ = std::move(kept); }

bool CatalogueFilter::Shows(const CatalogueModel::Category& category) const {
    return filters_.PassesTypeFilter(category.collection->ClassName());
}

bool CatalogueFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const CatalogueModel* model = Catalogue();
    if (!sourceParent.isValid()) return true;
    const QModelIndex source = model->index(sourceRow, 0, sourceParent);
    if (const CatalogueModel::Category* category = model->CategoryAt(source)) return find_.isEmpty() && Shows(*category);
    const CatalogueModel::Category& category = *model->CategoryAt(sourceParent);
    const CatalogueModel::Element& element = *model->ElementAt(source);
    if (!Shows(category)) return false;
    const TBaseElement& record = *element.record;
    if (category.collection->FilteredByVoltage() && !filters_.PassesVoltageFilter(record.Unom, numbers_)) return false;
    if (!filters_.PassesNetworkFilter(record, model->Reference()->Network)) return false;
    if (!find_.isEmpty() && !element.label.contains(find_, Qt::CaseInsensitive) &&
        !element.comment.contains(find_, Qt::CaseInsensitive))
        return false;
    return !onlyDifferences_ || element.presence != Presence::Present || kept_.count(&record);
}

}  // namespace kelm
