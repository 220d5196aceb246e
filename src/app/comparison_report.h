#pragma once
// What kelm-catalogue diff prints of a comparison: the list of differing
// elements with their changed fields, the counts alone, and a printable HTML
// report of the same; and what merge prints of what it brings in.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/reference.h"
#include "decisions/comparison.h"

namespace kelm {

class CatalogueMerge;

// A field's value as a report shows it: "—" when it is not set.
std::string ValueText(const TXMLCustomClass& collection, const TBaseElement& record, int field,
                      const NumberText& numbers);

// One element that differs, as a report lists it.
struct ReportedElement {
    std::string label;           // UTF-8
    char mark;                   // '<' only in the left, '>' only in the right, '~' changed
    const TBaseElement* record;  // the left one of a changed pair
    const ElementPair* pair;     // a changed pair; none otherwise
};

// The differing elements of category `c`, sorted by label.
std::vector<ReportedElement> DifferingElements(const CatalogueComparison& comparison, const TReference& left,
                                               const TReference& right, int c, const NumberText& numbers);

// Per category that differs: its caption, "  < label", "  > label", and
// "  ~ label" followed by "      caption: left → right" per differing field.
void WriteDifferenceList(const CatalogueComparison& comparison, const TReference& left, const TReference& right,
                         const NumberText& numbers, std::ostream& out);
// Per category that differs: its caption and its three counts on one line.
void WriteDifferenceSummary(const CatalogueComparison& comparison, std::ostream& out);

// Where the compared catalogues came from, for the report's heading.
struct ReportHeading {
    std::string left, right;  // the sources as given (UTF-8)
    std::string date;         // when the report was made
};
// One self-contained XHTML page, readable and printable without scripts: the
// heading, then a table per differing category with an action column
// ("---" only in the left, "+++" only in the right, "->" changed, the changed
// cells as "old→new").
void WriteHtmlReport(const CatalogueComparison& comparison, const TReference& left, const TReference& right,
                     const NumberText& numbers, const ReportHeading& heading, std::ostream& out);

// What a merge brings into ours, per category with anything to say: its
// caption, then "  + label" (added), "  ~ label" (taken from theirs, with a
// line per field as a difference list writes it), "  - label" (deleted) and
// "  ! label" (a conflict, with "      caption: base → ours | theirs" per
// field); sorted by label. Written before the merge is applied.
void WriteMergeList(const CatalogueMerge& merge, const TReference& ours, const NumberText& numbers,
                    std::ostream& out);

}  // namespace kelm
