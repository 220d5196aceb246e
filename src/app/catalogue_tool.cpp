#include "app/catalogue_tool.h"

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <ostream>
#include <utility>
#include <variant>

#include "app/command_line.h"
#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/database_save.h"
#include "core/exchange_file.h"
#include "decisions/comparison.h"
#include "decisions/copy_run.h"

namespace kelm {
namespace {

constexpr const char* kUsage =
    "Использование:\n"
    "  kelm-catalogue dump ИСТОЧНИК\n"
    "      выводит справочник так, как его показывает дерево окна\n"
    "  kelm-catalogue convert ИСТОЧНИК ЦЕЛЬ.xml\n"
    "      записывает справочник в обменный файл\n"
    "  kelm-catalogue copy ИСТОЧНИК ЦЕЛЬ [--duplicates skip|copy]\n"
    "      копирует все элементы источника в цель и сохраняет её; совпадающие\n"
    "      элементы пропускаются (skip, по умолчанию) или добавляются копией (copy;\n"
    "      провода с совпадающими значениями пропускаются всегда)\n"
    "  kelm-catalogue diff ЛЕВЫЙ ПРАВЫЙ\n"
    "      выводит различия двух справочников по категориям: \"< элемент\" есть только\n"
    "      в левом, \"> элемент\" только в правом, \"~ элемент\" отличается комментарием\n"
    "  kelm-catalogue --help | --version\n"
    "ИСТОЧНИК: обменный файл (*.xml) или база справочников (любое другое расширение).\n"
    "Коды завершения: 0 успех (diff: справочники совпадают), 1 ошибка в файле или база не\n"
    "  сохранена совсем, 2 база более ранней версии, 3 не все элементы записаны в базу\n"
    "  (остальные сохранены),\n"
    "  4 справочники различаются (diff), 64 неверный вызов,\n"
    "  130 и 143 прерван сигналом SIGINT или SIGTERM (база не изменена).\n";

int Usage(std::ostream& err, const std::string& problem) { return UsageError("kelm-catalogue", problem, err); }

// The rule for duplicates from copy's optional arguments, or the one line that says what is wrong.
std::variant<int, std::string> DuplicatesRule(const std::vector<std::string>& options) {
    if (options.empty()) return Skip;
    if (options[0] != "--duplicates") return "неизвестный параметр \"" + options[0] + "\"";
    if (options.size() == 1) return "у --duplicates нет значения (skip или copy)";
    if (options[1] != "skip" && options[1] != "copy")
        return "неверное значение --duplicates \"" + options[1] + "\" (skip или copy)";
    if (options.size() > 2) return "лишний аргумент \"" + options[2] + "\"";
    return options[1] == "copy" ? AddPlainCopy : Skip;
}

// Answers every duplicate of a drop with one rule. Lines cannot be added as a
// plain copy (the window does not offer it), so they are skipped then.
class RuleAnswers : public CopyQuestions {
public:
    explicit RuleAnswers(int answer) : answer_(answer) {}
    ChoiceResult AskDuplicate(const std::string&, DuplicateGroup group) override {
        return {group == DuplicateGroup::Lines ? Skip : answer_, true};
    }
    CommentResult AskComment(const std::string&, const std::function<bool(const std::string&)>&) override {
        return {};
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
        source = OpenSource(sourcePath, db, NewReference);
        if (IsExchangeFilePath(targetPath) && !std::filesystem::exists(targetPath)) {
            target = NewReference();  // a new exchange file
        } else {
            target = OpenSource(targetPath, db, NewReference);
        }
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }

    const NumberText numbers = settings.Numbers();
    RuleAnswers answers(answer);
    CopyRun run(answers);
    int copied = 0, skipped = 0;
    for (int c = 0; c < source->CategoryCount(); ++c) {
        TXMLCustomClass* from = source->GetCollection(c);
        TXMLCustomClass* into = target->GetCollection(c);
        if (!from || !into) continue;
        for (int i = 0; i < from->Count(); ++i) {
            TBaseElement& record = *from->GetItem(i);
            const auto outcome = run.CopyRecord(*into, record, Utf8FromCp1251(from->Label(record, numbers)));
            ++(outcome.copy ? copied : skipped);
        }
    }

    int failed = 0;
    try {
        if (target->SourceKind == DatabaseSource) {
            db.ConnectTo(targetPath);
            failed = SaveIntoDatabase(*target, db, numbers, err);
        } else {
            WriteExchangeFile(*target, targetPath, settings, std::time(nullptr));
        }
    } catch (const DatabaseError& error) {
        // Nothing of the save was kept, so no record is named as the one that failed.
        err << "Не удалось сохранить:\n" << OneLine(error.what()) << "\n";
        return ExitBadFile;
    } catch (const std::exception& error) {
        err << "Не удалось сохранить " << targetPath << ".\n" << DisplayText(error.what()) << "\n";
        return ExitBadFile;
    }
    out << "Скопировано: " << copied << ", пропущено: " << skipped << ", не записано: " << failed << "\n";
    return failed > 0 ? ExitNotWritten : ExitOk;
}

int Diff(const std::string& leftPath, const std::string& rightPath, std::ostream& out, std::ostream& err,
         const RegionalSettings& settings, TRef_DataModule& db) {
    std::unique_ptr<TReference> left, right;
    try {
        left = OpenSource(leftPath, db, NewReference);
        right = OpenSource(rightPath, db, NewReference);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    return WriteDifferences(*left, *right, settings.Numbers(), out) ? ExitDiffer : ExitOk;
}

}  // namespace

bool WriteDifferences(const TReference& left, const TReference& right, const NumberText& numbers, std::ostream& out) {
    const CatalogueComparison comparison(left, right);
    for (int c = 0; c < std::min(left.CategoryCount(), right.CategoryCount()); ++c) {
        if (comparison.LeftCounts(c).None() && comparison.RightCounts(c).None()) continue;
        // (label, mark): sorted by label; a comment difference seen from both sides is one line.
        std::vector<std::pair<std::string, char>> lines;
        auto collect = [&](const TXMLCustomClass& collection, char onlyHere) {
            for (int i = 0; i < collection.Count(); ++i) {
                const TBaseElement& record = *collection.GetItem(i);
                const Presence state = comparison.StateOf(record);
                if (state == Presence::Present) continue;
                lines.emplace_back(Utf8FromCp1251(collection.Label(record, numbers)),
                                   state == Presence::Absent ? onlyHere : '~');
            }
        };
        collect(*left.GetCollection(c), '<');
        collect(*right.GetCollection(c), '>');
        std::sort(lines.begin(), lines.end());
        out << CategoryCaption(c) << "\n";
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i > 0 && lines[i].second == '~' && lines[i] == lines[i - 1]) continue;
            out << "  " << lines[i].second << " " << lines[i].first << "\n";
        }
    }
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
    if (command == "diff") {
        if (args.size() != 3) return Usage(err, "diff ждёт два источника");
        return Diff(args[1], args[2], out, err, settings, db);
    }
    if (command != "dump" && command != "convert") return Usage(err, "неизвестная команда \"" + command + "\"");
    const std::size_t wanted = command == "dump" ? 2 : 3;
    if (args.size() > wanted) return Usage(err, "лишний аргумент \"" + args[wanted] + "\"");
    if (args.size() < wanted)
        return Usage(err, command == "dump" ? "dump ждёт источник" : "convert ждёт источник и обменный файл");
    if (command == "convert" && !IsExchangeFilePath(args[2]))
        return Usage(err, "обменный файл должен иметь расширение .xml: " + args[2]);

    std::unique_ptr<TReference> reference;
    try {
        reference = OpenSource(args[1], db, NewReference);
    } catch (const OpenError& error) {
        return OpenFailure(error, err);
    }
    if (command == "dump") {
        DumpCatalogue(*reference, settings.Numbers(), out);
        return ExitOk;
    }
    try {
        WriteExchangeFile(*reference, args[2], settings, std::time(nullptr));
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
    // Output that could not be written (a full disk, a closed pipe) is a failure too.
    out.flush();
    if (!out) {
        err << "kelm-catalogue: не удалось записать вывод.\n";
        if (status == ExitOk) status = ExitBadFile;
    }
    return status;
}

}  // namespace kelm
