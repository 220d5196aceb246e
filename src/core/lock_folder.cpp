#include "core/lock_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace kelm {

bool IsPrivateFolder(const std::string& folder, uid_t uid) {
    struct stat info {};
    if (lstat(folder.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

std::string ChooseLockFolder(const std::string& runtimeDir, const std::string& tempDir, uid_t uid) {
    const std::string folder = !runtimeDir.empty() && access(runtimeDir.c_str(), W_OK) == 0
                                   ? runtimeDir + "/firebird"
                                   : tempDir + "/firebird-" + std::to_string(uid);
    mkdir(folder.c_str(), 0700);  // may exist already; checked next either way
    if (IsPrivateFolder(folder, uid)) return folder;
    std::string fresh = tempDir + "/firebird-" + std::to_string(uid) + "-XXXXXX";
    return mkdtemp(fresh.data()) ? fresh : std::string();
}

}  // namespace kelm
