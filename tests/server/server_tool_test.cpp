// kelm-catalogue against the private Firebird server: the same commands as on
// local files, several writers at once, and a refused login.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <signal.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/catalogue_tool_fixture.h"
#include "bench/catalogue_generator.h"
#include "core/data_module.h"
#include "core/exchange_file.h"
#include "server/own_server.h"
#include "support/test_support.h"

extern char** environ;

namespace kelm {
namespace {

using test::ExitStatus;
using test::ServerCatalogue;
using test::ReadText;

using ServerTool = test::CatalogueToolRun;

TEST_F(ServerTool, DumpConvertAndCopyThroughTheServer) {
    ServerCatalogue source;
    source.RunScript(test::SourceFile("db/demo/catalogue.sql"));
    ASSERT_EQ(Run({"dump", source.Source()}), ExitOk) << err.str();
    const std::string tree = out.str();
    EXPECT_NE(tree.find("ТМ-100"), std::string::npos) << tree;

    const std::string file = dir.File("from-server.xml");
    ASSERT_EQ(Run({"convert", source.Source(), file}), ExitOk) << err.str();
    ASSERT_EQ(Run({"dump", file}), ExitOk);
    EXPECT_EQ(out.str(), tree);

    ServerCatalogue target;
    ASSERT_EQ(Run({"copy", file, target.Source()}), ExitOk) << err.str();
    ASSERT_EQ(Run({"dump", target.Source()}), ExitOk);
    EXPECT_EQ(out.str(), tree);
}

// Runs kelm-catalogue as its own process with `environment` added; returns
// when `wait` is called.
class ToolProcess {
public:
    ToolProcess(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                const std::string& output)
        : output_(output) {
        std::vector<std::string> all = {KELM_CATALOGUE_TOOL};
        all.insert(all.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& arg : all) argv.push_back(arg.data());
        argv.push_back(nullptr);
        std::vector<std::string> env(environment);
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
        std::vector<char*> envp;
        for (auto& entry : env) envp.push_back(entry.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
            throw std::runtime_error("cannot start " + all[0]);
        posix_spawn_file_actions_destroy(&actions);
    }
    int Wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // As Wait, but a run still going after `seconds` is killed and gives -1.
    int WaitAtMost(double seconds) { return ExitStatus(pid_, seconds); }
    std::string Output() const { return ReadText(output_); }

private:
    pid_t pid_ = 0;
    std::string output_;
};

TEST_F(ServerTool, AWrongPasswordIsABadFileWithTheServersReason) {
    ServerCatalogue catalogue;
    ToolProcess tool({"dump", catalogue.Source()}, {"ISC_PASSWORD=wrong"}, dir.File("out.txt"));
    EXPECT_EQ(tool.Wait(), ExitBadFile);
    const std::string output = tool.Output();
    EXPECT_EQ(output.rfind("Ошибка в файле.\n", 0), 0u) << output;
    EXPECT_NE(output.find("password"), std::string::npos) << output;
}

// The catalogue tables and the count of their rows in `catalogue`.
std::int64_t CatalogueRows(const ServerCatalogue& catalogue, std::string* idents) {
    static const char* tables[] = {"Provods", "Transforms2", "Transforms3", "TransformsSS", "TransformsA",
                                   "Busbars", "ShuntReactorsRef", "SynchronousCondensers", "CapacitorBanks",
                                   "TiristorCondensers", "SynchronousMotors", "AsynchronousMotors",
                                   "ValveArresters", "ExcessVoltageSuppressors", "CurrentLimitReactorsRef",
                                   "SwitchGR", "MetersRef", "TransformsIRef", "TransformsVRef"};
    std::string all;
    for (const char* table : tables) all += std::string(all.empty() ? "" : " union all ") + "select \"Ident\" from \"" + table + "\"";
    *idents = catalogue.Value("select count(distinct \"Ident\") from (" + all + ")");
    return std::stoll(catalogue.Value("select count(*) from (" + all + ")"));
}

TEST_F(ServerTool, TwoWritersAtOnceKeepEveryRecordWithItsOwnIdentifier) {
    // Two catalogues of the same kinds of equipment: their conductor and
    // device types are mostly the same, so both writers create them at once.
    const std::string first = dir.File("first.xml"), second = dir.File("second.xml");
    WriteExchangeFile(*bench::GenerateCatalogue(1500, 1), first, settings, 0);
    WriteExchangeFile(*bench::GenerateCatalogue(1500, 2), second, settings, 0);
    ServerCatalogue target;

    ToolProcess a({"copy", first, target.Source()}, {}, dir.File("a.txt"));
    ToolProcess b({"copy", second, target.Source()}, {}, dir.File("b.txt"));
    ASSERT_EQ(a.Wait(), ExitOk) << a.Output();
    ASSERT_EQ(b.Wait(), ExitOk) << b.Output();

    auto copied = [](const std::string& output) {
        const auto at = output.find("Скопировано: ");
        const auto failedAt = output.find("не записано: ");
        EXPECT_NE(failedAt, std::string::npos) << output;
        EXPECT_EQ(output.substr(failedAt), "не записано: 0\n") << output;
        return std::stoll(output.substr(at + std::string("Скопировано: ").size()));
    };
    const std::int64_t decided = copied(a.Output()) + copied(b.Output());
    std::string distinct;
    EXPECT_EQ(CatalogueRows(target, &distinct), decided);
    EXPECT_EQ(distinct, std::to_string(decided));
    EXPECT_EQ(target.Value(R"(select count(*) - count(distinct "Name") from "SwitchGN")"), "0");
    EXPECT_EQ(target.Value(R"(select count(*) from (select 1 as dup from "ProvodTypes"
                              group by "Unom", "Name", "CableFlags" having count(*) > 1))"), "0");
    // Every device and conductor refers to a type that exists.
    EXPECT_EQ(target.Value(R"(select count(*) from "SwitchGR" g where not exists
                              (select 1 from "SwitchGN" n where n."Ident" = g."SwitchGType"))"), "0");
    EXPECT_EQ(target.Value(R"(select count(*) from "Provods" p where not exists
                              (select 1 from "ProvodTypes" t where t."Ident" = p."ProvodType"))"), "0");
}

// A catalogue of `lines` lines over twelve new conductor types (with four new
// voltages) and `devices` switching devices over eight new device types,
// every type met first in the order `reversed` says. The marks are the
// writer's own, so nothing is a duplicate of another writer's elements.
std::string SharedNewTypes(const std::string& path, int writer, bool reversed, int lines, int devices) {
    constexpr int kLineTypes = 12, kDeviceTypes = 8;
    const int voltages[] = {6, 10, 35, 110};
    std::ofstream file(path);
    file << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><KelmStorage><KelmReference_v1><KelmProvods>";
    for (int i = 0; i < lines; ++i) {
        const int type = (reversed ? lines - 1 - i : i) % kLineTypes;
        file << "<KelmProvod><Marka>W" << writer << "-" << i << "</Marka><F>50</F><R0>1</R0><X0>1</X0>"
             << "<Idop>200</Idop><Unom>" << voltages[type % 4] << "</Unom><Name>Тип-" << type
             << "</Name><CableFlags>0</CableFlags></KelmProvod>";
    }
    file << "</KelmProvods><KelmSwitchGRs>";
    for (int i = 0; i < devices; ++i)
        file << "<KelmSwitchGR><Marka>S" << writer << "-" << i << "</Marka><Unom>10</Unom><Name>Вид-"
             << (reversed ? devices - 1 - i : i) % kDeviceTypes << "</Name></KelmSwitchGR>";
    file << "</KelmSwitchGRs></KelmReference_v1></KelmStorage>";
    return path;
}

TEST_F(ServerTool, WritersBringingTheSameNewTypesInOppositeOrdersAllFinish) {
    constexpr int kLines = 120, kDevices = 60;
    for (const int writers : {2, 4}) {
        SCOPED_TRACE(std::to_string(writers) + " writers");
        ServerCatalogue target;
        std::vector<std::unique_ptr<ToolProcess>> runs;
        for (int w = 0; w < writers; ++w) {
            const std::string name = std::to_string(writers) + "-" + std::to_string(w);
            const std::string source = SharedNewTypes(dir.File(name + ".xml"), w, w % 2 == 1, kLines, kDevices);
            runs.push_back(std::make_unique<ToolProcess>(std::vector<std::string>{"copy", source, target.Source()},
                                                         std::vector<std::string>{}, dir.File(name + ".txt")));
        }
        // Not a measure of speed: a writer that waits on another would wait for hours.
        for (auto& run : runs) {
            EXPECT_EQ(run->WaitAtMost(60), ExitOk) << run->Output();
            EXPECT_EQ(run->Output(), "Скопировано: " + std::to_string(kLines + kDevices) +
                                         ", пропущено: 0, не записано: 0\n");
        }
        EXPECT_EQ(target.Value(R"(select count(*) from "Provods")"), std::to_string(writers * kLines));
        EXPECT_EQ(target.Value(R"(select count(*) from "SwitchGR")"), std::to_string(writers * kDevices));
        EXPECT_EQ(target.Value(R"(select count(*) from "ProvodTypes")"), "12");
        EXPECT_EQ(target.Value(R"(select count(*) || ' ' || count(distinct "Name") from "SwitchGN")"), "8 8");
        EXPECT_EQ(target.Value(R"(select count(*) || ' ' || count(distinct "Unom") from "Unom")"), "4 4");
    }
}

TEST_F(ServerTool, AServerStoppedDuringTheSaveFailsItAsAWhole) {
    test::OwnServer server;
    test::FreshCatalogue target;
    const std::string source = dir.File("new.xml");
    std::ofstream(source) << "<KelmStorage><KelmReference_v1><KelmTransforms>"
                             "<KelmTransfor><Marka>T1</Marka><Unom>10</Unom><Snom>1</Snom></KelmTransfor>"
                             "<KelmTransfor><Marka>T2</Marka><Unom>10</Unom><Snom>2</Snom></KelmTransfor>"
                             "</KelmTransforms></KelmReference_v1></KelmStorage>";
    // The server goes away once the save's transaction has begun, before
    // its first batch of records.
    struct StopAtFirstInsert : StatementListener {
        explicit StopAtFirstInsert(test::OwnServer& s) : server(s) {}
        void StatementRun(const std::string& sql, const std::vector<ParamValue>&) override {
            if (sql.rfind("EXECUTE BLOCK", 0) == 0) server.Stop();
        }
        test::OwnServer& server;
    } stopper(server);
    db.SetStatementListener(&stopper);
    EXPECT_EQ(Run({"copy", source, server.Source(target)}), ExitBadFile);
    EXPECT_EQ(err.str().rfind("Не удалось сохранить:\n", 0), 0u) << err.str();
    EXPECT_EQ(err.str().find("Не записано"), std::string::npos) << err.str();
    EXPECT_EQ(out.str(), "");
    db.SetStatementListener(nullptr);
    EXPECT_EQ(target.Value(R"(select count(*) from "Transforms2")"), "0");
}

}  // namespace
}  // namespace kelm
