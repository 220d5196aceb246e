#pragma once
// The command-line conventions both programs share: --help and --version are
// answered before anything else, and a wrong call is told in one line that
// names what is wrong and points to --help.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace kelm {

inline constexpr int kUsageExit = 64;

// "kelm-exchange 1.0.0"
std::string VersionLine(const std::string& program);

// When `args` ask for --help or --version (before a "--"), prints the answer to
// `out` and returns the exit status 0; otherwise nothing.
std::optional<int> AnswerInformationRequest(const std::vector<std::string>& args, const std::string& program,
                                            const std::string& usage, std::ostream& out);

// Prints "program: problem" and the pointer to --help as one line; returns 64.
int UsageError(const std::string& program, const std::string& problem, std::ostream& err);

// The window's arguments (after Qt has taken its own): up to two sources,
// left and right. `problem` is empty when they are right.
struct ExchangeArguments {
    std::vector<std::string> paths;
    std::string problem;
};
ExchangeArguments ParseExchangeArguments(const std::vector<std::string>& args);
// The arguments without the ones Qt itself takes (-platform offscreen,
// -style, ...), so that they can be judged before Qt starts.
std::vector<std::string> WithoutQtOptions(const std::vector<std::string>& args);

extern const char* const kExchangeUsage;

}  // namespace kelm
