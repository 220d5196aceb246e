#include "core/sql_script.h"

#include <cctype>

#include "core/codec.h"
#include "core/database.h"

namespace kelm {
namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// The statement without the comments before it: empty when it is nothing else.
std::string_view WithoutLeadingComments(std::string_view text) {
    for (;;) {
        text = Trimmed(text);
        if (text.substr(0, 2) == "/*") {
            const std::size_t end = text.find("*/", 2);
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 2);
        } else if (text.substr(0, 2) == "--") {
            const std::size_t end = text.find('\n');
            text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        } else {
            return text;
        }
    }
}

}  // namespace

std::vector<std::string> ScriptStatements(std::string_view script) {
    std::vector<std::string> statements;
    std::string terminator = ";";
    std::size_t start = 0;
    for (std::size_t i = 0; i < script.size();) {
        const char c = script[i];
        if (c == '\'' || c == '"') {  // a literal or a quoted name, doubled quotes inside
            const std::size_t end = script.find(c, i + 1);
            i = end == std::string_view::npos ? script.size() : end + 1;
        } else if (script.substr(i, 2) == "/*") {
            const std::size_t end = script.find("*/", i + 2);
            i = end == std::string_view::npos ? script.size() : end + 2;
        } else if (script.substr(i, 2) == "--") {
            const std::size_t end = script.find('\n', i);
            i = end == std::string_view::npos ? script.size() : end + 1;
        } else if (script.substr(i, terminator.size()) == terminator) {
            const std::string_view statement = WithoutLeadingComments(script.substr(start, i - start));
            i += terminator.size();
            start = i;
            const std::string command = Upper(statement);
            if (command.rfind("SET TERM", 0) == 0) {
                terminator = std::string(Trimmed(statement.substr(8)));
            } else if (!statement.empty() && command.rfind("SET SQL DIALECT", 0) != 0 &&
                       command.rfind("SET NAMES", 0) != 0 && command != "COMMIT") {
                statements.emplace_back(statement);
            }
        } else {
            ++i;
        }
    }
    if (const std::string_view rest = WithoutLeadingComments(script.substr(start)); !rest.empty())
        statements.emplace_back(rest);
    return statements;
}

void RunScript(Database& database, std::string_view script) {
    Query query(database);
    for (const std::string& statement : ScriptStatements(script)) {
        query.SetText(Cp1251FromUtf8(statement));  // the connection speaks Windows-1251
        query.Execute();
    }
}

}  // namespace kelm
