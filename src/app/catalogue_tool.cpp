#include "app/catalogue_tool.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <ostream>
#include <utility>
#include <variant>

#include "app/catalogue_creation.h"
#include "app/command_line.h"
#include "app/comparison_report.h"
#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "formats/catalogue_file.h"
#include "decisions/catalogue_check.h"
#include "decisions/comparison.h"
#include "decisions/copy_run.h"

namespace kelm {
namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  kelm-catalogue dump ИСТОЧНИК\n"
    "      выводит справочник так, как его показывает дерево окна\n"
    "  kelm-catalogue convert ИСТОЧНИК ЦЕЛЬ.xml|ЦЕЛЬ.xlsx|ЦЕЛЬ.csv\n"
    "      записывает справочник в файл того формата, который называет расширение цели\n"
    "  kelm-catalogue copy ИСТОЧНИК ЦЕЛЬ [--duplicates skip|copy|update]\n"
    "      копирует все элементы источника в цель и сохраняет её; совпадающие\n"
    "      элементы пропускаются (skip, по умолчанию) или добавляются копией (copy;\n"
    "      провода с совпадающими значениями пропускаются всегда); с update элемент\n"
    "      цели того же типа, но с другими значениями, получает значения источника\n"
    "      (его идентификатор и ссылки на него сохраняются), совпадающие пропускаются\n"
    "  kelm-catalogue diff ЛЕВЫЙ ПРАВЫЙ [--summary] [--html ОТЧЁТ.html]\n"
    "      выводит различия двух справочников по категориям: \"< элемент\" есть только\n"
    "      в левом, \"> элемент\" только в правом, \"~ элемент\" есть в обоих с другими\n"
    "      значениями (под ним по строке на поле: \"название: левое → правое\");\n"
    "      --summary выводит только числа по категориям, --html записывает ещё и отчёт\n"
    "  kelm-catalogue check ИСТОЧНИК [--strict]\n"
    "      проверяет справочник: ограничения окон свойств, физические соотношения\n"
    "      и повторы; выводит ошибки и предупреждения по категориям\n"
    "  kelm-catalogue usage ИСТОЧНИК [--unused]\n"
    "      выводит по категориям элементы базы справочников и сколько объектов сети\n"
    "      использует каждый; --unused выводит только не используемые в сети\n"
    "  kelm-catalogue create ПУТЬ\n"
    "      создаёт пустую базу справочников по установленной схеме\n"
    "  kelm-catalogue --help | --version\n"
    "ИСТОЧНИК: обменный файл (*.xml), электронная таблица (*.xlsx, *.ods, *.csv) или база\n"
    "  справочников (любое другое расширение).\n"
    "Коды завершения: 0 успех (diff: справочники совпадают), 1 ошибка в файле или база не\n"
    "  сохранена совсем, 2 база более ранней версии, 3 не все элементы записаны в базу\n"
    "  (остальные сохранены), 4 справочники различаются (diff), 5 в справочнике есть\n"
    "  ошибки (check; с --strict и предупреждения), 64 неверный вызов,\n"
    "  130 и 143 прерван сигналом SIGINT или SIGTERM (база не изменена).\n";

int Usage(std::ostream& err, const std::string& problem) { return UsageError("kelm-catalogue", problem, err); }

// The rule for duplicates from copy's optional arguments, or the one line that says what is wrong.
std::variant<int, std::string> DuplicatesRule(const std::vector<std::string>& options) {
    if (options.empty()) return Skip;
    if (options[0] != "--duplicates") return "неизвестный параметр \"" + options[0] + "\"";
    if (options.size() == 1) return "у --duplicates нет значения (skip, copy или update)";
    if (options[1] != "skip" && options[1] != "copy" && options[1] != "update")
        return "неверное значение --duplicates \"" + options[1] + "\" (skip, copy или update)";
    if (options.size() > 2) return "лишний аргумент \"" + options[2] + "\"";
    return options[1] == "copy" ? AddPlainCopy : options[1] == "update" ? Update : Skip;
}

// Answers every question of a drop with one rule. Lines cannot be added as a
// plain copy of an equal line (the window does not offer it), so they are
// skipped then. Without updating, an element whose partner differs goes as
// it always went: as a duplicate when the category finds an equal one,
// otherwise as a new element.
class RuleAnswers : public CopyQuestions {
public:
    explicit RuleAnswers(int answer) : answer_(answer) {}
    ChoiceResult AskDuplicate(const std::string&, DuplicateGroup group) override {
        return {group == DuplicateGroup::Lines || answer_ == Update ? Skip : answer_, true};
    }
    CommentResult AskComment(const std::string&, const std::function<bool(const std::string&)>&) override {
        return {};
    }
    ChoiceResult AskUpdate(const UpdateQuestion& question) override {
        if (answer_ == Update) return {Update, false};
        return question.duplicate ? AskDuplicate(question.label, question.group) : ChoiceResult{AddPlainCopy, false};
    }

private:
    int answer_;
};

// A reason as one line: the database's messages come in several.
std::string OneLine(const std::string& text) {
    std::string line = DisplayText(text);
    for (char& c : line)
        if (c == '\n') c = ' ';
    return line;
}

// Saves into the connected database. Returns how many records were not
// written, each named on `err` with the database's reason below a heading. A
// save that failed as a whole throws DatabaseError: nothing was written then.
int SaveIntoDatabase(TReference& target, TRef_DataModule& db, const NumberText& numbers, std::ostream& err) {
    const int failed = SaveDatabase(target, db, numbers);
    if (failed == 0) return 0;
    err << "Не записано: " << failed << "\n";
    for (int c = 0; c < target.CategoryCount(); ++c) {
        const TXMLCustomClass* collection = target.GetCollection(c);
        if (!collection) continue;
        for (std::size_t i = 0; i < collection->Errors.size(); ++i)
            err << Utf8FromCp1251(collection->Errors[i]) << ": "
                << (i < collection->ErrorReasons.size() ? OneLine(collection->ErrorReasons[i]) : "") << "\n";
    }
    return failed;
}

int OpenFailure(const OpenError& error, std::ostream& err) {
    err << error.what() << "\n" << error.detail << "\n";
    return error.kind == OpenError::Kind::OlderDatabase ? ExitOlderDatabase : ExitBadFile;
}

int Copy(const std::string& sourcePath, const std::string& targetPath, int answer, std::ostream& out,
         std::ostream& err, const RegionalSettings& settings, TRef_DataModule& db) {
    std::unique_ptr<TReference> source, target;
    try {
        source = OpenCatalogue(sourcePath, db);
        if (IsWritableFilePath(targetPath) && !std::filesystem::exists(targetPath)) {
            target = NewReference();  // a new file
        } else {
            target = OpenCatalogue(targetPath, db);
        }
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }

    const NumberText numbers = settings.Numbers();
    RuleAnswers answers(answer);
    CopyRun run(answers);
    int copied = 0, updated = 0, skipped = 0;
    for (int c = 0; c < source->CategoryCount(); ++c) {
        TXMLCustomClass* from = source->GetCollection(c);
        TXMLCustomClass* into = target->GetCollection(c);
        if (!from || !into) continue;
        for (int i = 0; i < from->Count(); ++i) {
            TBaseElement& record = *from->GetItem(i);
            const auto outcome = run.CopyRecord(*into, record, Utf8FromCp1251(from->Label(record, numbers)));
            ++(outcome.copy ? copied : outcome.updated ? updated : skipped);
        }
    }

    int failed = 0;
    try {
        if (target->SourceKind == DatabaseSource) {
            db.ConnectTo(targetPath);
            failed = SaveIntoDatabase(*target, db, numbers, err);
        } else {
            WriteCatalogueFile(*target, targetPath, settings, std::time(nullptr));
        }
    } catch (const DatabaseError& error) {
        // Nothing of the save was kept, so no record is named as the one that failed.
        err << "Не удалось сохранить:\n" << OneLine(error.what()) << "\n";
        return ExitBadFile;
    } catch (const std::exception& error) {
        err << "Не удалось сохранить " << targetPath << ".\n" << DisplayText(error.what()) << "\n";
        return ExitBadFile;
    }
    // Only a copy that updates has updates to count.
    out << "Скопировано: " << copied;
    if (answer == Update) out << ", обновлено: " << updated;
    out << ", пропущено: " << skipped << ", не записано: " << failed << "\n";
    return failed > 0 ? ExitNotWritten : ExitOk;
}

// What diff's optional arguments ask for, or the one line that says what is wrong.
struct DiffOptions {
    bool summary = false;
    std::string html;  // the report's path; empty for none
};
std::variant<DiffOptions, std::string> ReadDiffOptions(const std::vector<std::string>& args) {
    DiffOptions options;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[i] == "--summary") {
            options.summary = true;
        } else if (args[i] == "--html") {
            if (i + 1 == args.size()) return std::string("у --html нет имени файла отчёта");
            options.html = args[++i];
        } else {
            return "неизвестный параметр \"" + args[i] + "\"";
        }
    }
    return options;
}

// Whether writing `report` would replace the file at `source`.
bool SameFile(const std::string& report, const std::string& source) {
    std::error_code error, sourceError;
    if (std::filesystem::equivalent(report, source, error)) return true;
    const auto reportPath = std::filesystem::weakly_canonical(report, error);
    const auto sourcePath = std::filesystem::weakly_canonical(source, sourceError);
    return !error && !sourceError && reportPath == sourcePath;
}

int Diff(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const RegionalSettings& settings,
         TRef_DataModule& db) {
    const auto read = ReadDiffOptions(args);
    if (const std::string* problem = std::get_if<std::string>(&read)) return Usage(err, *problem);
    const DiffOptions& options = std::get<DiffOptions>(read);
    const std::string &leftPath = args[1], &rightPath = args[2];
    if (!options.html.empty() && (SameFile(options.html, leftPath) || SameFile(options.html, rightPath)))
        return Usage(err, "отчёт не может заменить сравниваемый справочник: " + options.html);
    std::unique_ptr<TReference> left, right;
    try {
        left = OpenCatalogue(leftPath, db);
        right = OpenCatalogue(rightPath, db);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    const CatalogueComparison comparison(*left, *right);
    if (options.summary)
        WriteDifferenceSummary(comparison, out);
    else
        WriteDifferenceList(comparison, *left, *right, settings.Numbers(), out);
    if (!options.html.empty()) {
        std::ofstream report(options.html, std::ios::binary | std::ios::trunc);
        WriteHtmlReport(comparison, *left, *right, settings.Numbers(),
                        {leftPath, rightPath, settings.ModificationStamp(std::time(nullptr))}, report);
        report.close();
        if (!report) {
            err << "Не удалось записать отчёт " << options.html << ".\n";
            return ExitBadFile;
        }
    }
    return comparison.Same() ? ExitOk : ExitDiffer;
}

// Opens the one source a verb reads and hands it to `verb`; a source that
// does not open is the answer itself.
int WithSource(const std::string& path, TRef_DataModule& db, std::ostream& err,
               const std::function<int(const TReference&)>& verb) {
    std::unique_ptr<TReference> reference;
    try {
        reference = OpenCatalogue(path, db);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    return verb(*reference);
}

int CheckSource(const std::string& path, bool strict, std::ostream& out, std::ostream& err,
                const RegionalSettings& settings, TRef_DataModule& db) {
    return WithSource(path, db, err, [&](const TReference& reference) {
        return WriteFindings(reference, settings.Numbers(), strict, out) ? ExitCheckFailed : ExitOk;
    });
}

// The elements of a database with how many network objects use each, per
// category that lists any. A source without network tables cannot tell.
int WriteNetworkUse(const TReference& reference, const std::string& path, bool unusedOnly, std::ostream& out,
                    std::ostream& err, const NumberText& numbers) {
    const NetworkUse& network = reference.Network;
    if (!network.Known()) {
        err << path << ": источник не хранит сеть, использование типов неизвестно.\n";
        return ExitBadFile;
    }
    for (int c = 0; c < reference.CategoryCount(); ++c) {
        const TXMLCustomClass& collection = *reference.GetCollection(c);
        bool captioned = false;
        for (int i = 0; i < collection.Count(); ++i) {
            const TBaseElement& record = *collection.GetItem(i);
            const int uses = network.CountOf(record);
            if (unusedOnly && uses > 0) continue;
            if (!std::exchange(captioned, true)) out << CategoryCaption(c) << "\n";
            out << "  " << Utf8FromCp1251(collection.Label(record, numbers));
            if (!unusedOnly) out << ": " << NumberText::Format(std::int64_t{uses});
            out << "\n";
        }
    }
    return ExitOk;
}

}  // namespace

bool WriteFindings(const TReference& reference, const NumberText& numbers, bool strict, std::ostream& out) {
    bool failed = false;
    int shownCategory = -1;
    for (const Finding& finding : CheckCatalogue(reference, numbers)) {
        if (finding.category != shownCategory) out << CategoryCaption(shownCategory = finding.category) << "\n";
        const TXMLCustomClass& collection = *reference.GetCollection(finding.category);
        out << "  " << SeverityText(finding.severity) << ": "
            << Utf8FromCp1251(collection.Label(*finding.record, numbers)) << ": " << finding.message << "\n";
        failed = failed || strict || finding.severity == Severity::Error;
    }
    return failed;
}

bool WriteDifferences(const TReference& left, const TReference& right, const NumberText& numbers, std::ostream& out) {
    const CatalogueComparison comparison(left, right);
    WriteDifferenceList(comparison, left, right, numbers, out);
    return !comparison.Same();
}

void DumpCatalogue(const TReference& reference, const NumberText& numbers, std::ostream& out) {
    out << "Справочник Kelm 3\n";
    for (int i = 0; i < reference.CategoryCount(); ++i) {
        out << CategoryCaption(i) << "\n";
        const TXMLCustomClass* collection = reference.GetCollection(i);
        for (int k = 0; k < collection->Count(); ++k)
            out << "  " << Utf8FromCp1251(collection->Label(*collection->GetItem(k), numbers)) << "\n";
    }
}

namespace {

int RunVerb(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            const RegionalSettings& settings, TRef_DataModule& db) {
    if (auto answered = AnswerInformationRequest(args, "kelm-catalogue", kUsage, out)) return *answered;
    if (args.empty()) return Usage(err, "не указана команда");
    const std::string& command = args[0];
    if (command == "copy") {
        if (args.size() < 3) return Usage(err, "copy ждёт источник и цель");
        const auto rule = DuplicatesRule({args.begin() + 3, args.end()});
        if (const std::string* problem = std::get_if<std::string>(&rule)) return Usage(err, *problem);
        return Copy(args[1], args[2], std::get<int>(rule), out, err, settings, db);
    }
    if (command == "check") {
        if (args.size() < 2) return Usage(err, "check ждёт источник");
        if (args.size() > 2 && args[2] != "--strict") return Usage(err, "неизвестный параметр \"" + args[2] + "\"");
        if (args.size() > 3) return Usage(err, "лишний аргумент \"" + args[3] + "\"");
        return CheckSource(args[1], args.size() == 3, out, err, settings, db);
    }
    if (command == "usage") {
        if (args.size() < 2) return Usage(err, "usage ждёт источник");
        if (args.size() > 2 && args[2] != "--unused") return Usage(err, "неизвестный параметр \"" + args[2] + "\"");
        if (args.size() > 3) return Usage(err, "лишний аргумент \"" + args[3] + "\"");
        return WithSource(args[1], db, err, [&](const TReference& reference) {
            return WriteNetworkUse(reference, args[1], args.size() == 3, out, err, settings.Numbers());
        });
    }
    if (command == "create") {
        if (args.size() < 2) return Usage(err, "create ждёт путь к новой базе");
        if (args.size() > 2) return Usage(err, "лишний аргумент \"" + args[2] + "\"");
        return CreateCatalogue(args[1], err, db);
    }
    if (command == "diff") {
        if (args.size() < 3) return Usage(err, "diff ждёт два источника");
        return Diff(args, out, err, settings, db);
    }
    if (command != "dump" && command != "convert") return Usage(err, "неизвестная команда \"" + command + "\"");
    const std::size_t wanted = command == "dump" ? 2 : 3;
    if (args.size() > wanted) return Usage(err, "лишний аргумент \"" + args[wanted] + "\"");
    if (args.size() < wanted)
        return Usage(err, command == "dump" ? "dump ждёт источник" : "convert ждёт источник и цель");
    if (command == "convert" && !IsWritableFilePath(args[2]))
        return Usage(err, "цель должна иметь расширение .xml, .xlsx или .csv: " + args[2]);

    std::unique_ptr<TReference> reference;
    try {
        reference = OpenCatalogue(args[1], db);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    if (command == "dump") {
        DumpCatalogue(*reference, settings.Numbers(), out);
        return ExitOk;
    }
    try {
        WriteCatalogueFile(*reference, args[2], settings, std::time(nullptr));
    } catch (const FileWriteError& error) {
        err << "Не удалось записать файл.\n" << error.what() << "\n";
        return ExitBadFile;
    }
    return ExitOk;
}

}  // namespace

int RunCatalogueTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                     const RegionalSettings& settings, TRef_DataModule& db) {
    int status = ExitOk;
    try {
        status = RunVerb(args, out, err, settings, db);
    } catch (const std::exception& error) {
        err << "kelm-catalogue: " << DisplayText(error.what()) << "\n";
        status = ExitBadFile;
    }
    // Output that could not be written (a full disk, a closed pipe) is a
    // failure when the output is the answer; a copy's answer is its save, so
    // its status stays what the save gave.
    out.flush();
    if (!out) {
        const bool saves = !args.empty() && args[0] == "copy";
        err << "kelm-catalogue: не удалось записать " << (saves ? "отчёт" : "вывод") << ".\n";
        // 0, 4 and 5 are answers the lost output was to explain.
        if (!saves && (status == ExitOk || status == ExitDiffer || status == ExitCheckFailed)) status = ExitBadFile;
    }
    return status;
}

}  // namespace kelm
