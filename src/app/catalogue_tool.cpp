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
#include "decisions/merge.h"
#include "decisions/right_pane.h"

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
    "  kelm-catalogue merge БАЗА НАШ ИХ [-o ЦЕЛЬ] [--ours | --theirs]\n"
    "      переносит в наш справочник изменения их справочника со времени обмена\n"
    "      (БАЗА: справочник, каким он был при обмене): \"+ элемент\" добавлен,\n"
    "      \"~ элемент\" получает их значения, \"- элемент\" удалён, \"! элемент\" конфликт\n"
    "      (изменён обеими сторонами по-разному или удалён одной и изменён другой;\n"
    "      под ним по строке на поле: \"название: база → наши | их\"); --ours и --theirs\n"
    "      решают все конфликты в пользу нашего или их справочника; результат\n"
    "      записывается в ЦЕЛЬ (база или файл .xml, .xlsx, .csv), без -o в наш\n"
    "      справочник; при нерешённых конфликтах ничего не записывается\n"
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
    "  ошибки (check; с --strict и предупреждения), 6 остались конфликты (merge,\n"
    "  ничего не записано), 64 неверный вызов,\n"
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

// Names on `err`, below a heading, each record a database save could not
// write, with the database's reason.
void ReportNotWritten(const TReference& target, int failed, std::ostream& err) {
    if (failed == 0) return;
    err << "Не записано: " << failed << "\n";
    for (int c = 0; c < target.CategoryCount(); ++c) {
        const TXMLCustomClass* collection = target.GetCollection(c);
        if (!collection) continue;
        for (std::size_t i = 0; i < collection->Errors.size(); ++i)
            err << Utf8FromCp1251(collection->Errors[i]) << ": "
                << (i < collection->ErrorReasons.size() ? OneLine(collection->ErrorReasons[i]) : "") << "\n";
    }
}

// Saves into the connected database. Returns how many records were not
// written, each named on `err`. A save that failed as a whole throws
// DatabaseError: nothing was written then.
int SaveIntoDatabase(TReference& target, TRef_DataModule& db, const NumberText& numbers, std::ostream& err) {
    const int failed = SaveDatabase(target, db, numbers);
    ReportNotWritten(target, failed, err);
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

// What merge's optional arguments ask for, or the one line that says what is wrong.
struct MergeOptions {
    std::string target;  // empty: into ours
    MergeDecision decision = MergeDecision::Open;
};
std::variant<MergeOptions, std::string> ReadMergeOptions(const std::vector<std::string>& args) {
    MergeOptions options;
    for (std::size_t i = 4; i < args.size(); ++i) {
        if (args[i] == "-o") {
            if (i + 1 == args.size()) return std::string("у -o нет цели");
            options.target = args[++i];
        } else if (args[i] == "--ours" || args[i] == "--theirs") {
            const MergeDecision decision = args[i] == "--ours" ? MergeDecision::Ours : MergeDecision::Theirs;
            if (options.decision != MergeDecision::Open && options.decision != decision)
                return std::string("--ours и --theirs вместе не указываются");
            options.decision = decision;
        } else {
            return "неизвестный параметр \"" + args[i] + "\"";
        }
    }
    return options;
}

int RecordsInErrors(const TReference& reference) {
    int failed = 0;
    for (int c = 0; c < reference.CategoryCount(); ++c)
        if (const TXMLCustomClass* collection = reference.GetCollection(c))
            failed += static_cast<int>(collection->Errors.size());
    return failed;
}

// Saves a pane into its own source: a database in one transaction, a file
// in place only once complete. Returns how many records were not written.
int SavePane(RightPane& pane, const RegionalSettings& settings, std::ostream& err, TRef_DataModule& db) {
    if (!pane.IsDatabase()) {
        pane.SaveToFile(pane.Path(), settings, std::time(nullptr));
        return 0;
    }
    pane.SaveToDatabase(db, settings.Numbers());
    const int failed = RecordsInErrors(pane.Reference());
    ReportNotWritten(pane.Reference(), failed, err);
    return failed;
}

// The deletions the network use refused: a merge goes on without them.
void ReportRefused(const RightPane& pane, const PaneChanges& changes, const NumberText& numbers, std::ostream& out) {
    const TReference& reference = pane.Reference();
    for (const auto& [record, uses] : changes.refused) {
        const TXMLCustomClass& collection = *reference.GetCollection(reference.CategoryOf(*record));
        out << "Не удалён, используется в сети: " << Utf8FromCp1251(collection.Label(*record, numbers)) << " ("
            << NumberText::Format(std::int64_t{uses}) << ")\n";
    }
}

// Makes the database at `path` hold the catalogue `result`: a merge of it
// into itself with `result` as theirs, so that the types it keeps keep their
// rows and whatever refers to them.
int SaveIntoOtherDatabase(const TReference& result, const std::string& path, const RegionalSettings& settings,
                          std::ostream& out, std::ostream& err, TRef_DataModule& db) {
    RightPane into;
    into.Open(path, db);
    const std::unique_ptr<TReference> before = OpenCatalogue(path, db);
    const PaneChanges changes = ApplyMerge(into, CatalogueMerge(*before, into.Reference(), result));
    ReportRefused(into, changes, settings.Numbers(), out);
    return SavePane(into, settings, err, db);
}

int Merge(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
          const RegionalSettings& settings, TRef_DataModule& db) {
    const auto read = ReadMergeOptions(args);
    if (const std::string* problem = std::get_if<std::string>(&read)) return Usage(err, *problem);
    const MergeOptions& options = std::get<MergeOptions>(read);
    const std::string &basePath = args[1], &oursPath = args[2], &theirsPath = args[3];
    const bool inPlace = options.target.empty() || SameFile(options.target, oursPath);
    if (!inPlace && (SameFile(options.target, basePath) || SameFile(options.target, theirsPath)))
        return Usage(err, "цель не может заменить базу или их справочник: " + options.target);
    if (!inPlace && FormatOfPath(options.target) != SourceFormat::Database && !IsWritableFilePath(options.target))
        return Usage(err, "цель должна быть базой или иметь расширение .xml, .xlsx или .csv: " + options.target);
    if (inPlace && FormatOfPath(oursPath) != SourceFormat::Database && !IsWritableFilePath(oursPath))
        return Usage(err, "наш справочник в этом формате не записывается, укажите -o: " + oursPath);

    const NumberText numbers = settings.Numbers();
    RightPane pane;
    std::unique_ptr<TReference> base, theirs;
    try {
        base = OpenCatalogue(basePath, db);
        pane.Open(oursPath, db);
        theirs = OpenCatalogue(theirsPath, db);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    CatalogueMerge merge(*base, pane.Reference(), *theirs);
    if (options.decision != MergeDecision::Open) merge.DecideAll(options.decision);
    WriteMergeList(merge, pane.Reference(), numbers, out);
    if (const int open = merge.OpenConflictCount(); open > 0) {
        err << "Конфликтов: " << NumberText::Format(std::int64_t{open}) << ". Ничего не записано: решите их с --ours или --theirs.\n";
        return ExitConflicts;
    }
    const PaneChanges changes = ApplyMerge(pane, merge);
    ReportRefused(pane, changes, numbers, out);

    int failed = 0;
    try {
        if (inPlace) {
            failed = SavePane(pane, settings, err, db);
        } else if (IsWritableFilePath(options.target)) {
            pane.SaveToFile(options.target, settings, std::time(nullptr));
        } else {
            failed = SaveIntoOtherDatabase(pane.Reference(), options.target, settings, out, err, db);
        }
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    } catch (const DatabaseError& error) {
        err << "Не удалось сохранить:\n" << OneLine(error.what()) << "\n";
        return ExitBadFile;
    } catch (const std::exception& error) {
        err << "Не удалось сохранить " << (inPlace ? oursPath : options.target) << ".\n"
            << DisplayText(error.what()) << "\n";
        return ExitBadFile;
    }
    return failed > 0 ? ExitNotWritten : ExitOk;
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
    if (command == "merge") {
        if (args.size() < 4) return Usage(err, "merge ждёт базу, наш и их справочники");
        return Merge(args, out, err, settings, db);
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
        const bool saves = !args.empty() && (args[0] == "copy" || args[0] == "merge");
        err << "kelm-catalogue: не удалось записать " << (saves ? "отчёт" : "вывод") << ".\n";
        // 0, 4 and 5 are answers the lost output was to explain.
        if (!saves && (status == ExitOk || status == ExitDiffer || status == ExitCheckFailed)) status = ExitBadFile;
    }
    return status;
}

}  // namespace kelm
