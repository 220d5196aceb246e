#include "core/server_source.h"

#include <gtest/gtest.h>

#include <map>

#include "core/data_module.h"
#include "core/exchange_file.h"

namespace kelm {
namespace {

TEST(ServerSource, FirebirdClientFormsAreServerDatabases) {
    for (const char* source : {"db.example.org:/srv/kelm/catalogue.fdb", "localhost/3051:/srv/kelm/catalogue.fdb",
                               "10.0.0.7:kelm", "server:C:\\kelm\\catalogue.gdb", "[::1]/3050:/srv/k.fdb",
                               "inet://localhost:3050//srv/k.fdb", "INET4://host/kelm", "host:/srv/catalogue.xml"}) {
        EXPECT_TRUE(IsServerSource(source)) << source;
        EXPECT_FALSE(IsExchangeFilePath(source)) << source;
    }
    for (const char* source : {"/srv/kelm/catalogue.fdb", "catalogue.fdb", "./a:b.fdb", "/tmp/x:y.fdb", "dir/x:y.fdb",
                               "host:", "host/port:/x.fdb", "inet://", ""})
        EXPECT_FALSE(IsServerSource(source)) << source;
}

TEST(ServerSource, DialogPartsMakeTheSourceTextAndBack) {
    EXPECT_EQ(ServerSourceText("db", "", "/srv/k.fdb"), "db:/srv/k.fdb");
    EXPECT_EQ(ServerSourceText("db", "3051", "kelm"), "db/3051:kelm");
    ServerSourceParts parts;
    ASSERT_TRUE(SplitServerSource("db/3051:/srv/k.fdb", parts));
    EXPECT_EQ(parts.host, "db");
    EXPECT_EQ(parts.port, "3051");
    EXPECT_EQ(parts.path, "/srv/k.fdb");
    EXPECT_FALSE(SplitServerSource("/srv/k.fdb", parts));
}

TEST(ServerLogin, EnvironmentThenTypedLoginOverrideTheFixedOne) {
    const std::map<std::string, const char*> environment = {{"ISC_USER", "ivanov"}, {"ISC_PASSWORD", "secret"}};
    auto getenv = [&](const char* name) -> const char* {
        const auto found = environment.find(name);
        return found == environment.end() ? nullptr : found->second;
    };
    const ConnectionSettings fixed = TRef_DataModule::CatalogueSettings();
    EXPECT_EQ(TRef_DataModule::EnvironmentSettings([](const char*) -> const char* { return nullptr; }).password,
              fixed.password);

    TRef_DataModule db(TRef_DataModule::EnvironmentSettings(getenv));
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").user, "ivanov");
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").password, "secret");
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").charset, fixed.charset);

    db.RememberLogin("db:/k.fdb", "petrov", "");  // no password typed: the one from the environment
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").user, "petrov");
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").password, "secret");
    db.RememberLogin("db:/k.fdb", "petrov", "typed");
    EXPECT_EQ(db.SettingsFor("db:/k.fdb").password, "typed");
    EXPECT_EQ(db.SettingsFor("other:/k.fdb").user, "ivanov");  // only for the source it was typed for
}

}  // namespace
}  // namespace kelm
