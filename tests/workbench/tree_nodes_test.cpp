// What a catalogue tree's node carries and shows.
#include "workbench/tree_nodes.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

#include "catalogues/transforms.h"

namespace kelm {
namespace {

TEST(TreeNodes, ANodeShowsItsLabelAndImageAndCarriesItsRecord) {
    QTreeWidget tree;
    TTransforms collection;
    TTransform* record = collection.NewElement();
    QTreeWidgetItem* category = NewCategoryNode("category", &collection);
    QTreeWidgetItem* element = NewElementNode("element", record, ImageLoaded);
    tree.addTopLevelItem(NewRootNode("root", nullptr));
    tree.topLevelItem(0)->addChild(category);
    category->addChild(element);

    EXPECT_EQ(element->text(0), "element");
    EXPECT_EQ(RecordOf(element), record);
    EXPECT_EQ(CollectionOf(category), &collection);
    EXPECT_EQ(ImageOf(element), ImageLoaded);
    const qint64 loadedIcon = element->icon(0).cacheKey();

    int changed = 0;
    QObject::connect(tree.model(), &QAbstractItemModel::dataChanged, [&] { ++changed; });
    SetImage(element, ImageDeleted);
    EXPECT_EQ(ImageOf(element), ImageDeleted);
    EXPECT_NE(element->icon(0).cacheKey(), loadedIcon);
    element->setText(0, "renamed");
    EXPECT_EQ(element->text(0), "renamed");
    EXPECT_EQ(changed, 2);  // the view repaints both
    element->setToolTip(0, "other roles are kept as usual");
    EXPECT_EQ(element->toolTip(0), "other roles are kept as usual");
}

}  // namespace
}  // namespace kelm
