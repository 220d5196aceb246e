#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/catalogue_tool.h"
#include "core/data_module.h"

namespace kelm {
namespace {

TEST(CommandLine, HelpAndVersionAreAnsweredBeforeAnythingElse) {
    std::ostringstream out;
    EXPECT_EQ(AnswerInformationRequest({"a.xml", "--version"}, "kelm-exchange", kExchangeUsage, out), 0);
    EXPECT_EQ(out.str().rfind("kelm-exchange ", 0), 0u);
    EXPECT_GT(out.str().size(), std::string("kelm-exchange \n").size());
    out.str("");
    EXPECT_EQ(AnswerInformationRequest({"--help"}, "kelm-exchange", kExchangeUsage, out), 0);
    EXPECT_EQ(out.str(), kExchangeUsage);
    // After "--" they are file names.
    EXPECT_FALSE(AnswerInformationRequest({"--", "--help"}, "kelm-exchange", kExchangeUsage, out));
}

TEST(CommandLine, WindowTakesUpToTwoSourcesAndNamesWhatIsWrong) {
    EXPECT_EQ(ParseExchangeArguments({"a.xml", "b.fdb"}).paths, (std::vector<std::string>{"a.xml", "b.fdb"}));
    EXPECT_EQ(ParseExchangeArguments({"--", "-a.xml"}).paths, (std::vector<std::string>{"-a.xml"}));
    EXPECT_NE(ParseExchangeArguments({"--verbose", "a.xml"}).problem.find("\"--verbose\""), std::string::npos);
    EXPECT_NE(ParseExchangeArguments({"a.xml", "b.fdb", "c.xml"}).problem.find("\"c.xml\""), std::string::npos);

    std::ostringstream err;
    EXPECT_EQ(UsageError("kelm-exchange", "неизвестный параметр \"-x\"", err), 64);
    EXPECT_EQ(err.str(), "kelm-exchange: неизвестный параметр \"-x\"; справка: kelm-exchange --help\n");
}

// Each wrong call of the tool is one line naming the wrong argument.
TEST(CommandLine, ToolUsageErrorsAreOneLineNamingTheArgument) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> calls = {
        {{"copy", "a.xml", "b.fdb", "--duplicates", "maybe"}, "\"maybe\""},
        {{"copy", "a.xml", "b.fdb", "--dupes", "skip"}, "\"--dupes\""},
        {{"dump", "a.xml", "b.xml"}, "\"b.xml\""},
        {{"explode"}, "\"explode\""},
    };
    TRef_DataModule db;
    for (const auto& [args, named] : calls) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCatalogueTool(args, out, err, RegionalSettings{',', "%d.%m.%Y", "%H:%M:%S"}, db), ExitUsage);
        const std::string text = err.str();
        EXPECT_NE(text.find(named), std::string::npos) << text;
        EXPECT_NE(text.find("kelm-catalogue --help"), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << text;
    }
}

}  // namespace
}  // namespace kelm
