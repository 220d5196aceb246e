#include "core/reference.h"

#include <cstring>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace kelm {

TReference::TReference(std::vector<std::unique_ptr<TXMLCustomClass>> collections)
    : collections_(std::move(collections)) {}

TXMLCustomClass* TReference::GetCollection(int index) const {
    if (index < 0 || index >= CategoryCount()) return nullptr;
    return collections_[static_cast<std::size_t>(index)].get();
}

void TReference::ClearAll() {
    for (auto& collection : collections_)
        if (collection) collection->Clear();
}

int TReference::TotalCount() const {
    int total = 0;
    for (const auto& collection : collections_)
        if (collection) total += collection->Count();
    return total;
}

void TReference::LoadFromXml(pugi::xml_node node) {
    // One walk of the document hands each record element to its category:
    // the same records, in the same order, as one walk per category.
    std::unordered_map<std::string_view, TXMLCustomClass*> byElement;
    std::optional<std::string_view> prefix;  // that every record element's name begins with
    for (const auto& collection : collections_) {
        if (!collection) continue;
        const std::string_view name = collection->RecordElement();
        byElement.emplace(name, collection.get());
        if (!prefix) prefix = name;
        while (name.substr(0, prefix->size()) != *prefix) prefix->remove_suffix(1);
    }
    // Most elements are fields: those not named as a record could be are passed over cheaply.
    const std::string_view start = prefix.value_or("");
    ForEachElement(node, [&](pugi::xml_node element) {
        const char* name = element.name();
        if (std::strncmp(name, start.data(), start.size()) != 0) return true;
        const auto found = byElement.find(name);
        return found == byElement.end() || !found->second->LoadRecordFromXml(element);
    });
}

void TReference::SaveToXml(pugi::xml_node node, const NumberText& numbers) {
    WriteXml(node, numbers);
    FinishXmlSave();
}

void TReference::WriteXml(pugi::xml_node node, const NumberText& numbers) const {
    for (const auto& collection : collections_)
        if (collection && collection->Count() > 0) collection->WriteXml(node, numbers);
}

void TReference::FinishXmlSave() {
    for (const auto& collection : collections_)
        if (collection) collection->FinishXmlSave();
}

bool TReference::LoadFromDatabase(TRef_DataModule& db, int byOwners, const std::string& owners,
                                  std::vector<std::string>* failures) {
    bool allLoaded = true;
    for (const auto& collection : collections_) {
        if (!collection) continue;
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
