#include "support/test_support.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <algorithm>
#include <chrono>
#include <cctype>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/codec.h"
#include "core/database_save.h"
#include "core/number_text.h"
#include "core/sql_script.h"

namespace kelm::test {

std::string EmptyCatalogueTemplate() { return KELM_TEMPLATE_DB; }
std::string CyrillicCatalogueTemplate() { return KELM_CYRILLIC_DB; }

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kelm-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

FreshCatalogue::FreshCatalogue(const std::string& subfolder, const std::string& fileName,
                               const std::string& templatePath) {
    std::filesystem::path folder = dir_.Path();
    if (!subfolder.empty()) {
        folder /= subfolder;
        std::filesystem::create_directories(folder);
    }
    path_ = (folder / fileName).string();
    std::filesystem::copy_file(templatePath, path_);
    source_ = path_;
}

std::string PrivateServer() {
    const char* folder = std::getenv("KELM_TEST_SERVER");
    if (!folder || !*folder) throw std::runtime_error("KELM_TEST_SERVER is not set: run the server tests through ctest");
    std::ifstream in(std::string(folder) + "/port");
    std::string port;
    if (!(in >> port)) throw std::runtime_error(std::string("no private server is running in ") + folder);
    return "localhost/" + port;
}

void FreshCatalogue::Run(const std::string& sql) const {
    TRef_DataModule db;
    db.ConnectTo(source_);
    db.SQLQuery.SetText(Cp1251FromUtf8(sql));  // the connection speaks Windows-1251
    db.SQLQuery.Execute();
}

std::vector<std::vector<std::string>> FreshCatalogue::Rows(const std::string& select) const {
    TRef_DataModule db;
    db.ConnectTo(source_);
    Query& q = db.SQLQuery;
    q.SetText(Cp1251FromUtf8(select));
    std::vector<std::vector<std::string>> rows;
    for (q.Open(); !q.Eof(); q.Next()) {
        std::vector<std::string> row;
        for (int i = 0; i < q.FieldCount(); ++i) {
            const FieldValue field = q.Field(i);
            row.push_back(field.IsNull() ? "NULL" : field.AsString());
        }
        rows.push_back(row);
    }
    return rows;
}

std::string FreshCatalogue::Value(const std::string& select) const {
    const auto rows = Rows(select);
    if (rows.empty() || rows[0].empty()) throw std::runtime_error("no value from: " + select);
    return rows[0][0];
}

void FreshCatalogue::RunScript(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    TRef_DataModule db;
    db.ConnectTo(source_);
    kelm::RunScript(db.SQLConnection, text.str());
}

std::string SourceFile(const std::string& relative) { return std::string(KELM_SOURCE_DIR) + "/" + relative; }

bool SaveKilledAtLastCategory(const std::string& source, const std::function<std::unique_ptr<TReference>()>& make) {
    int ready[2];
    if (pipe(ready) != 0) return false;
    const pid_t child = fork();
    if (child == 0) {
        TRef_DataModule db;
        db.ConnectTo(source);
        auto reference = make();
        SaveDatabase(*reference, db, NumberText(','), [&](int category) {
            if (category == reference->CategoryCount() - 1) {
                (void)!write(ready[1], "x", 1);
                pause();
            }
        });
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    const bool reached = read(ready[0], &byte, 1) == 1;
    close(ready[0]);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return reached;
}

std::string ParamText(const ParamValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return "NULL";
    if (const auto* n = std::get_if<std::int64_t>(&value)) return std::to_string(*n);
    if (const auto* d = std::get_if<double>(&value)) return NumberText('.').Format(*d);
    return std::get<std::string>(value);
}

void StatementLog::StatementRun(const std::string& sql, const std::vector<ParamValue>& params) {
    Entry entry{sql, {}};
    for (const auto& p : params) entry.params.push_back(ParamText(p));
    entries.push_back(entry);
}

std::vector<StatementLog::Entry> StatementLog::Starting(const std::string& prefix) const {
    std::vector<Entry> found;
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    for (const auto& e : entries) {
        std::string text = e.sql;
        text.erase(0, text.find_first_not_of(' '));
        if (lower(text).rfind(lower(prefix), 0) == 0) found.push_back(e);
    }
    return found;
}

std::string Serialized(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

std::string XmlOf(TXMLCustomClass& collection) {
    pugi::xml_document doc;
    collection.SaveToXml(doc, NumberText(','));
    return Serialized(doc);
}

std::string W(const std::string& utf8) { return Cp1251FromUtf8(utf8); }

int ExitStatus(pid_t pid, double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace kelm::test
