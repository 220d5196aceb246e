#pragma once
// One loaded catalogue source: an exchange file or a catalogue database, with
// one collection per category at its fixed index.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/collection.h"
#include "core/network_use.h"

namespace kelm {

class TRef_DataModule;

enum SourceKindValue : short { NothingLoaded = -1, ExchangeFileSource = 1, DatabaseSource = 2, SpreadsheetSource = 3 };

class TReference {
public:
    // `collections` in category order.
    explicit TReference(std::vector<std::unique_ptr<TXMLCustomClass>> collections);
    TReference(const TReference&) = delete;
    TReference& operator=(const TReference&) = delete;

    std::string FileName;
    short SourceKind = NothingLoaded;
    // The loaded database's Database::Identity: a save goes only into that
    // database, never into another one put at the same path meanwhile.
    std::string DatabaseIdentity;
    // How many network objects use each element: read with the database and
    // again by each save; nothing is known of an exchange file.
    NetworkUse Network;

    int CategoryCount() const { return static_cast<int>(collections_.size()); }
    TXMLCustomClass* GetCollection(int index) const;  // none outside 0..18
    // The index of the category `record` belongs to, or -1.
    int CategoryOf(const TBaseElement& record) const;
    void ClearAll();
    int TotalCount() const;  // records of all categories, marked ones included

    // Every collection picks its record elements from the whole tree below `node`.
    void LoadFromXml(pugi::xml_node node);
    // Appends the element of each category that has records, in index order.
    void SaveToXml(pugi::xml_node node, const NumberText& numbers);
    // SaveToXml in two halves, so that nothing changes until the file is written.
    // `progress` hears the index of each category once it is written.
    void WriteXml(pugi::xml_node node, const NumberText& numbers,
                  const std::function<void(int category)>& progress = {}) const;
    void FinishXmlSave();
    // Loads every category; one that fails does not stop the others. False
    // when any failed; `failures` then names them with the database's message.
    bool LoadFromDatabase(TRef_DataModule& db, int byOwners, const std::string& owners,
                          std::vector<std::string>* failures = nullptr);

private:
    std::vector<std::unique_ptr<TXMLCustomClass>> collections_;
};

}  // namespace kelm
