#include "core/server_source.h"

#include <algorithm>
#include <cctype>

namespace kelm {
namespace {

bool IsHostChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
}

bool IsHost(const std::string& host) {
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')  // an IPv6 address
        return std::all_of(host.begin() + 1, host.end() - 1,
                           [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; });
    return !host.empty() && std::all_of(host.begin(), host.end(), IsHostChar);
}

bool IsPort(const std::string& port) {
    return !port.empty() && port.size() <= 5 &&
           std::all_of(port.begin(), port.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

// Where the host part ends: the colon that follows the host (an IPv6
// address keeps its own colons inside brackets).
std::size_t HostColon(const std::string& source) {
    std::size_t from = 0;
    if (!source.empty() && source.front() == '[') {
        from = source.find(']');
        if (from == std::string::npos) return std::string::npos;
    }
    return source.find(':', from);
}

}  // namespace

bool SplitServerSource(const std::string& source, ServerSourceParts& parts) {
    const std::size_t colon = HostColon(source);
    if (colon == std::string::npos || colon + 1 >= source.size()) return false;
    const std::string prefix = source.substr(0, colon);
    ServerSourceParts found;
    const std::size_t slash = prefix.rfind('/');
    if (slash == std::string::npos) {
        found.host = prefix;
    } else {
        found.host = prefix.substr(0, slash);
        found.port = prefix.substr(slash + 1);
        if (!IsPort(found.port)) return false;
    }
    if (!IsHost(found.host)) return false;
    found.path = source.substr(colon + 1);
    parts = found;
    return true;
}

bool IsServerSource(const std::string& source) {
    for (const char* scheme : {"inet://", "inet4://", "inet6://"})
        if (StartsWithNoCase(source, scheme)) return source.size() > std::string(scheme).size();
    ServerSourceParts parts;
    return SplitServerSource(source, parts);
}

std::string ServerSourceText(const std::string& host, const std::string& port, const std::string& path) {
    return port.empty() ? host + ":" + path : host + "/" + port + ":" + path;
}

}  // namespace kelm
