#include "app/command_line.h"

#include <ostream>
#include <set>

#include "app/version.h"

namespace kelm {

const char* const kExchangeUsage =
    "Использование: kelm-exchange [ЛЕВЫЙ [ПРАВЫЙ]]\n"
    "  открывает окно обмена справочниками; ЛЕВЫЙ и ПРАВЫЙ открываются в левом и\n"
    "  правом дереве: обменный файл (*.xml), электронная таблица (*.xlsx, *.ods,\n"
    "  *.csv) или база справочников (любое другое расширение, \"сервер:путь\" для\n"
    "  базы на сервере).\n"
    "  --help     эта справка\n"
    "  --version  версия программы\n"
    "  --         всё дальше считается путями, даже если начинается с \"-\"\n";

std::string VersionLine(const std::string& program) { return program + " " + KELM_VERSION; }

std::optional<int> AnswerInformationRequest(const std::vector<std::string>& args, const std::string& program,
                                            const std::string& usage, std::ostream& out) {
    for (const std::string& arg : args) {
        if (arg == "--") break;
        if (arg == "--help" || arg == "-h") {
            out << usage;
            return 0;
        }
        if (arg == "--version") {
            out << VersionLine(program) << "\n";
            return 0;
        }
    }
    return std::nullopt;
}

int UsageError(const std::string& program, const std::string& problem, std::ostream& err) {
    err << program << ": " << problem << "; справка: " << program << " --help\n";
    return kUsageExit;
}

std::vector<std::string> WithoutQtOptions(const std::vector<std::string>& args) {
    // The options QApplication takes out of the arguments, with one dash or two.
    static const std::set<std::string> withValue = {
        "platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger", "qwindowgeometry",
        "qwindowicon", "qwindowtitle", "session", "display", "geometry", "title", "name", "style", "stylesheet"};
    static const std::set<std::string> alone = {"reverse", "nograb", "dograb", "sync", "testability", "widgetcount"};
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            rest.insert(rest.end(), args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
            break;
        }
        const std::string name = arg.rfind("--", 0) == 0 ? arg.substr(2) : arg.rfind('-', 0) == 0 ? arg.substr(1) : "";
        if (withValue.count(name) && i + 1 < args.size())
            ++i;
        else if (!alone.count(name))
            rest.push_back(arg);
    }
    return rest;
}

ExchangeArguments ParseExchangeArguments(const std::vector<std::string>& args) {
    ExchangeArguments parsed;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg.front() == '-') {
            parsed.problem = "неизвестный параметр \"" + arg + "\"";
            return parsed;
        } else if (parsed.paths.size() == 2) {
            parsed.problem = "лишний источник \"" + arg + "\": открываются не более двух";
            return parsed;
        } else {
            parsed.paths.push_back(arg);
        }
    }
    return parsed;
}

}  // namespace kelm
