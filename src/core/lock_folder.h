#pragma once
// The folder where the embedded engine keeps its lock files. Every process
// that opens the same database file must agree on it, so it has a fixed name
// per user; but a folder of that name made first by someone else must not be
// used: it would make every opening fail, or let another user tamper with the
// locks.

#include <string>
#include <sys/types.h>

namespace kelm {

// A real folder (not a link) owned by `uid` that no one else may write to.
bool IsPrivateFolder(const std::string& folder, uid_t uid);

// "<runtimeDir>/firebird" when the runtime folder is given and writable,
// otherwise "<tempDir>/firebird-<uid>"; made when missing. When that folder is
// not private, a fresh private one in `tempDir` instead; empty when none can be made.
std::string ChooseLockFolder(const std::string& runtimeDir, const std::string& tempDir, uid_t uid);

}  // namespace kelm
