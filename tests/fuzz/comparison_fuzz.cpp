// The comparison of two catalogues (kelm-catalogue diff): the two halves of
// the input are read as exchange files (one that does not open counts as an
// empty catalogue). A catalogue equals a second reading of itself, comparing
// the other way round swaps the sides, the counts agree with the states, and
// the written differences are empty exactly when nothing differs.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "app/catalogue_tool.h"
#include "catalogues/categories.h"
#include "core/exchange_file.h"
#include "decisions/comparison.h"
#include "work_folder.h"

namespace {

using kelm::fuzz::Folder;

[[noreturn]] void Fail(const char* what, int category = -1) {
    std::fprintf(stderr, "%s (category %d)\n", what, category);
    std::abort();
}

std::unique_ptr<kelm::TReference> Read(const char* name, const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<kelm::TReference> reference = kelm::NewReference();
    try {
        kelm::OpenExchangeFile(*reference, Folder().Write(name, data, size));
    } catch (const kelm::OpenError&) {
        reference = kelm::NewReference();
    }
    return reference;
}

bool SameCounts(kelm::DifferenceCounts a, kelm::DifferenceCounts b) {
    return a.absent == b.absent && a.changed == b.changed;
}

// The counts of one side, recounted from the states of its records.
void CheckCounts(const kelm::CatalogueComparison& comparison, const kelm::TReference& side, bool left) {
    for (int c = 0; c < side.CategoryCount(); ++c) {
        const kelm::TXMLCustomClass& collection = *side.GetCollection(c);
        kelm::DifferenceCounts counted;
        for (int i = 0; i < collection.Count(); ++i) {
            const kelm::Presence state = comparison.StateOf(*collection.GetItem(i));
            counted.absent += state == kelm::Presence::Absent;
            counted.changed += state == kelm::Presence::Changed;
        }
        if (!SameCounts(counted, left ? comparison.LeftCounts(c) : comparison.RightCounts(c)))
            Fail("the counts disagree with the states", c);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::size_t half = size / 2;
    const auto left = Read("left.xml", data, half);
    const auto right = Read("right.xml", data + half, size - half);
    const auto leftAgain = Read("left.xml", data, half);

    if (!kelm::CatalogueComparison(*left, *leftAgain).Same()) Fail("a catalogue differs from itself");

    const kelm::CatalogueComparison there(*left, *right);
    const kelm::CatalogueComparison back(*right, *left);
    CheckCounts(there, *left, true);
    CheckCounts(there, *right, false);
    for (int c = 0; c < left->CategoryCount(); ++c)
        if (!SameCounts(there.LeftCounts(c), back.RightCounts(c)) ||
            !SameCounts(there.RightCounts(c), back.LeftCounts(c)))
            Fail("comparing the other way round does not swap the sides", c);

    kelm::RegionalSettings settings;
    std::ostringstream written;
    const bool differ = kelm::WriteDifferences(*left, *right, settings.Numbers(), written);
    if (differ == there.Same() || differ == written.str().empty()) Fail("diff's answer disagrees with its output");
    return 0;
}
