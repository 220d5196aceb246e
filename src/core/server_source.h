#pragma once
// Catalogue databases on a database server, written the way Firebird's
// clients write them: "host:/path/file.fdb", "host/port:/path/file.fdb",
// "host:alias", "inet://host:port//path". Anything else is a local path.

#include <string>

namespace kelm {

bool IsServerSource(const std::string& source);

// The source text for a database `path` (or alias) on `host`; an empty
// `port` means the server's default one.
std::string ServerSourceText(const std::string& host, const std::string& port, const std::string& path);

// The parts of a server source, for filling the server dialog again.
struct ServerSourceParts {
    std::string host;
    std::string port;  // empty: the default port
    std::string path;  // a path or an alias
};
// False when `source` is not a server source in the host[/port]:path form.
bool SplitServerSource(const std::string& source, ServerSourceParts& parts);

}  // namespace kelm
