#include "core/reference.h"

#include <string_view>
#include <unordered_map>

namespace kelm {

TReference::TReference(std::vector<std::unique_ptr<TXMLCustomClass>> collections)
    : collections_(std::move(collections)) {}

TXMLCustomClass* TReference::GetCollection(int index) const {
    if (index < 0 || index >= CategoryCount()) return nullptr;
    return collections_[static_cast<std::size_t>(index)].get();
}

int TReference::CategoryOf(const TBaseElement& record) const {
    for (int i = 0; i < CategoryCount(); ++i)
        if (collections_[static_cast<std::size_t>(i)]->Holds(record)) return i;
    return -1;
}

void TReference::ClearAll() {
    for (auto& collection : collections_)
        collection->Clear();
}

int TReference::TotalCount() const {
    int total = 0;
    for (const auto& collection : collections_)
        total += collection->Count();
    return total;
}

void TReference::LoadFromXml(pugi::xml_node node) {
    // One walk of the document hands each record element to its category:
    // the same records, in the same order, as one walk per category.
    std::unordered_map<std::string_view, TXMLCustomClass*> byElement;
    for (const auto& collection : collections_)
        byElement.emplace(collection->RecordElement(), collection.get());
    TXMLCustomClass* last = nullptr;  // a category's records stand together: try it first
    ForEachElement(node, [&](pugi::xml_node element) {
        const char* name = element.name();
        if (!last || !SameName(last->RecordElement(), name)) {
            const auto found = byElement.find(name);
            if (found == byElement.end()) return true;
            last = found->second;
        }
        return !last->LoadRecordFromXml(element);
    });
}

void TReference::SaveToXml(pugi::xml_node node, const NumberText& numbers) {
    WriteXml(node, numbers);
    FinishXmlSave();
}

void TReference::WriteXml(pugi::xml_node node, const NumberText& numbers,
                          const std::function<void(int category)>& progress) const {
    for (std::size_t i = 0; i < collections_.size(); ++i) {
        if (collections_[i]->Count() > 0) collections_[i]->WriteXml(node, numbers);
        if (progress) progress(static_cast<int>(i));
    }
}

void TReference::FinishXmlSave() {
    for (const auto& collection : collections_)
        collection->FinishXmlSave();
}

bool TReference::LoadFromDatabase(TRef_DataModule& db, int byOwners, const std::string& owners,
                                  std::vector<std::string>* failures) {
    bool allLoaded = true;
    for (const auto& collection : collections_) {
        try {
            collection->LoadFromDatabase(db, byOwners, owners);
        } catch (const std::exception& error) {
            allLoaded = false;
            if (failures) failures->push_back(std::string(collection->ClassName()) + ": " + error.what());
        }
    }
    return allLoaded;
}

}  // namespace kelm
