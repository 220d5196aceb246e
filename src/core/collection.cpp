#include "core/collection.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "core/data_module.h"
#include "core/network_use.h"
#include "core/number_text.h"

namespace kelm {

TBaseElement* TXMLCustomClass::GetItem(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<std::size_t>(index)];
}

int TXMLCustomClass::FieldIndex(std::string_view element) const {
    for (int i = 0; i < FieldCount(); ++i)
        if (element == Field(i).element) return i;
    return -1;
}

std::string TXMLCustomClass::ShownFieldText(const TBaseElement& record, int field, const NumberText& numbers) const {
    std::string text = FieldText(record, field, numbers);
    const FieldFacts& facts = Field(field);
    if (facts.kind != FieldKind::Choice || text.empty()) return text;
    const ChoiceItem* item = facts.ItemOf(NumberText::ParseInteger(text));
    return item ? item->text : text;
}

int TXMLCustomClass::IndexOf(const TBaseElement* record) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i] == record) return static_cast<int>(i);
    return -1;
}

void TXMLCustomClass::RemoveElement(TBaseElement* record) {
    const int index = IndexOf(record);
    if (index < 0) return;
    items_.erase(static_cast<std::size_t>(index));
    RecordsChanged();
}

int TXMLCustomClass::SaveToDatabase(TRef_DataModule& db, const NumberText& numbers) {
    Transaction transaction(db.SQLConnection);
    // Only a delete asks the network; a save that deletes nothing sends no more than its writes.
    const bool deletes = std::any_of(items_.begin(), items_.end(), [](const auto& item) { return item->Deleted == 1; });
    std::unique_ptr<PendingSave> written =
        WriteToDatabase(transaction, db, numbers, deletes ? NetworkUse::Read(db) : NetworkUse());
    transaction.commit();
    written->Apply();
    return written->failed;
}

void TXMLCustomClass::RemoveElements(const std::vector<const TBaseElement*>& records) {
    if (records.empty()) return;
    const std::unordered_set<const TBaseElement*> doomed(records.begin(), records.end());
    items_.erase_if([&](const TBaseElement& item) { return doomed.count(&item) > 0; });
    RecordsChanged();
}

std::vector<TakenRecord> TXMLCustomClass::TakeElements(const std::vector<const TBaseElement*>& records) {
    if (records.empty()) return {};
    const std::unordered_set<const TBaseElement*> wanted(records.begin(), records.end());
    std::vector<TakenRecord> taken = items_.take_if([&](const TBaseElement& item) { return wanted.count(&item) > 0; });
    RecordsChanged();
    return taken;
}

void TXMLCustomClass::PutBack(std::vector<TakenRecord> taken) {
    if (taken.empty()) return;
    items_.put_back(std::move(taken));
    RecordsChanged();
}

void TXMLCustomClass::InsertElement(std::unique_ptr<TBaseElement> record, int index) {
    index = std::clamp(index, 0, Count());
    items_.insert(static_cast<std::size_t>(index), std::move(record));
    RecordsChanged();
}

void TXMLCustomClass::ShowSaveErrors(SaveErrorsDisplay& display) const {
    if (!Errors.empty()) display.ShowSaveErrors(Errors, ErrorReasons);
}

void TXMLCustomClass::MarkDeleted(TBaseElement* record) {
    if (IndexOf(record) >= 0 && record->Deleted == 0) record->Deleted = 1;
}

void TXMLCustomClass::SaveToXml(pugi::xml_node parent, const NumberText& numbers) {
    WriteXml(parent, numbers);
    FinishXmlSave();
}

void TXMLCustomClass::FinishXmlSave() {
    items_.erase_if([](const TBaseElement& item) { return item.Deleted == 1; });
    for (auto& item : items_)
        if (item->Ident < 0) item->Ident = -1;
    RecordsChanged();
}

void TXMLCustomClass::LoadFromXml(pugi::xml_node node) {
    const char* name = RecordElement();
    ForEachElement(node, [&](pugi::xml_node element) {
        return std::strcmp(element.name(), name) != 0 || !LoadRecordFromXml(element);
    });
}

}  // namespace kelm
