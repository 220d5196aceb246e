#pragma once
// `kelm-catalogue create`: an empty catalogue database made from the schema
// installed with the programs, so that no source tree is needed.

#include <iosfwd>
#include <string>

namespace kelm {

class TRef_DataModule;

// Where the schema is: beside the installed program (PREFIX/bin →
// PREFIX/share/kelm-exchange), else where the build installs it, else in
// the source tree the program was built from. Empty when none is there.
std::string CatalogueSchemaPath();

// Creates the database at `path` from the schema; an exit status of the tool.
int CreateCatalogue(const std::string& path, std::ostream& err, TRef_DataModule& db);

}  // namespace kelm
