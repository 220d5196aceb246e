#pragma once
// How many objects of the network model use each catalogue element: nodes
// refer to transformers by "Nodes"."Transf", lines and double lines to line
// types and switching devices by "Provod". Every catalogue table takes its
// identifiers from one generator, so one map serves all categories.

#include <cstdint>
#include <string>
#include <unordered_map>

namespace kelm {

class TRef_DataModule;
struct TBaseElement;

class NetworkUse {
public:
    // The counts of the connected database, read in its open transaction
    // when there is one; none known when it has no network tables (a
    // catalogue kept apart from any network).
    static NetworkUse Read(TRef_DataModule& db);

    // Whether the source can tell: a database with network tables.
    bool Known() const { return known_; }
    // Network objects that use the element; 0 for one the database does not hold yet.
    int CountOf(std::int32_t ident) const;
    int CountOf(const TBaseElement& record) const;

private:
    bool known_ = false;
    std::unordered_map<std::int32_t, int> counts_;
};

// "Используется в сети: N" (UTF-8).
std::string NetworkUseText(int count);
// Why a type in use is not deleted (UTF-8).
std::string InUseReason(int count);

}  // namespace kelm
