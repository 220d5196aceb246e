#pragma once
// Real resources for tests: temporary folders, fresh catalogue databases made
// from db/catalogue.sql, and recorders for what the code reports.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/collection.h"
#include "core/data_module.h"
#include "core/database.h"
#include "core/reference.h"

namespace kelm::test {

// The database every FreshCatalogue starts from, and one holding Russian marks
// and comments (tests/support/cyrillic_marks.sql) made without a UTF-8 locale.
std::string EmptyCatalogueTemplate();
std::string CyrillicCatalogueTemplate();

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// A new catalogue database in a temporary folder, removed afterwards: empty,
// or a copy of `templatePath`.
class FreshCatalogue {
public:
    explicit FreshCatalogue(const std::string& subfolder = "", const std::string& fileName = "catalogue.fdb",
                            const std::string& templatePath = EmptyCatalogueTemplate());
    const std::string& Path() const { return path_; }
    // What a connection opens: the path, or the path on the private server.
    const std::string& Source() const { return source_; }

    // Runs a statement (UTF-8 text) through a connection of its own, for
    // setting up or checking data. Values read back are Windows-1251.
    void Run(const std::string& sql) const;
    // The rows of a select, each column as text ("NULL" for NULL).
    std::vector<std::vector<std::string>> Rows(const std::string& select) const;
    std::string Value(const std::string& select) const;  // first column of the first row
    // Runs a script as isql would (the demo data in db/demo).
    void RunScript(const std::string& path) const;

protected:
    TempDir dir_;
    std::string path_;
    std::string source_;
};

// The address ("localhost/PORT") of the private Firebird server that the test
// run started (tests/server/private-server); a test fails when there is none.
std::string PrivateServer();

// A fresh catalogue database reached through the private server.
class ServerCatalogue : public FreshCatalogue {
public:
    ServerCatalogue() { source_ = PrivateServer() + ":" + path_; }
};

// Keeps every statement sent, with its parameters as text.
class StatementLog : public StatementListener {
public:
    struct Entry {
        std::string sql;
        std::vector<std::string> params;
    };
    void StatementRun(const std::string& sql, const std::vector<ParamValue>& params) override;
    std::vector<Entry> entries;
    // The statements whose text starts with `prefix` (case-insensitive).
    std::vector<Entry> Starting(const std::string& prefix) const;
};

class SaveErrorsRecorder : public SaveErrorsDisplay {
public:
    void ShowSaveErrors(const std::vector<std::string>& lines, const std::vector<std::string>&) override {
        shown.push_back(lines);
    }
    std::vector<std::vector<std::string>> shown;
};

// The exit status of the child `pid` (128 + the signal when one ended it);
// a child still running after `seconds` is killed and gives -1.
int ExitStatus(pid_t pid, double seconds);

// Saves the reference that `make` gives to `source` in a child process, and
// kills the child once the save reaches the last category, with the earlier
// ones written but not committed. False when the child did not get there.
bool SaveKilledAtLastCategory(const std::string& source, const std::function<std::unique_ptr<TReference>()>& make);

std::string ParamText(const ParamValue& value);
// A file of the source tree (for example "db/demo/catalogue.sql").
std::string SourceFile(const std::string& relative);
// An XML subtree as text without indentation, for comparing written elements.
std::string Serialized(pugi::xml_node node);
// The collection's element as SaveToXml writes it with a decimal comma, as text.
std::string XmlOf(TXMLCustomClass& collection);
// Windows-1251 text from a UTF-8 literal, for comparing with records.
std::string W(const std::string& utf8);

}  // namespace kelm::test
