#pragma once
// A folder of this fuzzing process for the files each run writes; in memory
// when the system has a memory file system, since every write is synced.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelm::fuzz {

class WorkFolder {
public:
    WorkFolder() {
        const char* base = std::getenv("KELM_FUZZ_TMPDIR");
        std::string pattern = std::string(base ? base : std::filesystem::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
                              "/kelm-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    std::string File(const char* name) const { return (path_ / name).string(); }

    // Writes `size` bytes to the named file and returns its path.
    std::string Write(const char* name, const std::uint8_t* data, std::size_t size) const {
        const std::string path = File(name);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        return path;
    }

private:
    std::filesystem::path path_;
};

// The one folder of the process, removed at its end.
inline const WorkFolder& Folder() {
    static const WorkFolder folder;
    return folder;
}

}  // namespace kelm::fuzz
