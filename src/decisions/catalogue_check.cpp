#include "decisions/catalogue_check.h"

#include <string_view>
#include <unordered_map>

namespace kelm {
namespace {

void CheckCategory(const TXMLCustomClass& collection, int category, const NumberText& numbers,
                   std::vector<Finding>& findings) {
    std::vector<std::string> keys(static_cast<std::size_t>(collection.Count()));
    std::unordered_map<std::string_view, int> identities;
    identities.reserve(keys.size());
    for (int i = 0; i < collection.Count(); ++i) {
        const TBaseElement& record = *collection.GetItem(i);
        if (record.Deleted == 1) continue;
        std::string& key = keys[static_cast<std::size_t>(i)] = collection.IdentityKey(record);
        ++identities[key];
    }
    for (int i = 0; i < collection.Count(); ++i) {
        const TBaseElement& record = *collection.GetItem(i);
        if (record.Deleted == 1) continue;
        // A record the dialog would refuse is told with the dialog's caption and message.
        for (const FieldViolation& violation : collection.Check(record))
            findings.push_back({Severity::Error, category, &record,
                                std::string(collection.Field(violation.field).caption) + ": " +
                                    ViolationMessage(violation.kind)});
        for (RuleBreach& breach : collection.CheckSoundness(record, numbers))
            findings.push_back({breach.severity, category, &record, std::move(breach.message)});
        if (identities[keys[static_cast<std::size_t>(i)]] > 1)
            findings.push_back({Severity::Warning, category, &record, kRepeatedIdentity});
    }
}

}  // namespace

std::vector<Finding> CheckCatalogue(const TReference& reference, const NumberText& numbers) {
    std::vector<Finding> findings;
    for (int c = 0; c < reference.CategoryCount(); ++c)
        if (const TXMLCustomClass* collection = reference.GetCollection(c))
            CheckCategory(*collection, c, numbers, findings);
    return findings;
}

const char* SeverityText(Severity severity) { return severity == Severity::Error ? "ошибка" : "предупреждение"; }

}  // namespace kelm
