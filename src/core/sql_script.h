#pragma once
// SQL scripts as isql takes them: statements ended by the terminator, which
// "SET TERM" changes (for triggers and procedures, whose bodies hold ";").

#include <string>
#include <string_view>
#include <vector>

namespace kelm {

class Database;

// The statements of `script` without their terminators, in order; comments
// stay inside the statements they are in. isql's own commands (SET TERM,
// SET SQL DIALECT, SET NAMES, COMMIT) are not statements.
std::vector<std::string> ScriptStatements(std::string_view script);

// Runs every statement of `script` (UTF-8) on `database`, each committed on
// its own as isql commits definitions; the first that fails throws.
void RunScript(Database& database, std::string_view script);

}  // namespace kelm
