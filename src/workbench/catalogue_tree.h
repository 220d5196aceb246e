#pragma once
// A catalogue tree view whose drops and keys are handled by the main window:
// a drop from the left tree onto the right one copies elements, it never
// moves tree items by itself.

#include <QTreeWidget>
#include <functional>

namespace kelm {

class CatalogueTree : public QTreeWidget {
public:
    explicit CatalogueTree(const QString& name);

    // Adds the nodes to the selection in one step.
    void SelectNodes(const QList<QTreeWidgetItem*>& nodes);

    // Drops are taken only from this tree; none means no drops at all.
    QTreeWidget* dropSource = nullptr;
    std::function<void(QTreeWidget* source)> onDrop;
    std::function<void(int key)> onKeyUp;
    std::function<void(QMouseEvent* event)> onRightButton;

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace kelm
