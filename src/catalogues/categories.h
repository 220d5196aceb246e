#pragma once
// The 19 categories in their fixed order, with the names the tree, the type
// filter and the command-line tool show for them.

#include <array>
#include <memory>

#include "core/reference.h"

namespace kelm {

struct CategoryEntry {
    int index;
    const char* collectionClass;  // "TProvods", ...
    const char* caption;          // category node of the tree (UTF-8)
    const char* typeItem;         // item of the type filter box (UTF-8)
    std::unique_ptr<TXMLCustomClass> (*make)();
};

inline constexpr int kCategoryCount = 19;
inline constexpr int kMetersCategory = 16;

const std::array<CategoryEntry, kCategoryCount>& Categories();

// An empty container with every category's collection.
std::unique_ptr<TReference> NewReference();

// The caption of a category index, or of a collection by its class name;
// empty for anything else.
const char* CategoryCaption(int index);
const char* CaptionOfCollection(const TXMLCustomClass& collection);

}  // namespace kelm
