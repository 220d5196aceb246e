#pragma once
// kelm-catalogue: checking and converting catalogues from scripts, on the
// same core as the window.

#include <iosfwd>
#include <string>
#include <vector>

#include "core/reference.h"
#include "core/regional.h"

namespace kelm {

class TRef_DataModule;

// 3: the catalogue was saved, but some records could not be written (named on stderr).
// 4: diff found the two catalogues different.
// 5: check found an error (or, with --strict, a warning).
// 6: merge found conflicts that no option decided, and wrote nothing.
enum ToolExit {
    ExitOk = 0,
    ExitBadFile = 1,
    ExitOlderDatabase = 2,
    ExitNotWritten = 3,
    ExitDiffer = 4,
    ExitCheckFailed = 5,
    ExitConflicts = 6,
    ExitUsage = 64
};

// The catalogue as the window's tree shows it without filters (UTF-8).
void DumpCatalogue(const TReference& reference, const NumberText& numbers, std::ostream& out);

// The differences of two catalogues, per category that differs: its caption,
// then "  < label" for an element only in `left`, "  > label" for one only in
// `right`, "  ~ label" for one paired with other values, followed by a line
// per differing field; sorted by label. False when nothing differs (and
// nothing is written).
bool WriteDifferences(const TReference& left, const TReference& right, const NumberText& numbers, std::ostream& out);

// The findings of a catalogue check, per category that has any: its caption,
// then "  ошибка: label: message" or "  предупреждение: label: message".
// Returns whether any finding counts against the catalogue: any error, and
// with `strict` any warning too.
bool WriteFindings(const TReference& reference, const NumberText& numbers, bool strict, std::ostream& out);

// Runs the tool with its arguments (without the program name).
int RunCatalogueTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const RegionalSettings& settings, TRef_DataModule& db);

}  // namespace kelm
