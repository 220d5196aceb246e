// The exchange-file reader: any bytes either fail to open as an exchange file
// or open, write back, and open again with the same records. A file the
// program wrote must always read back, and write again to the same bytes:
// nothing a record holds is lost or changed by a second round.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogues/categories.h"
#include "core/exchange_file.h"

namespace {

namespace fs = std::filesystem;

// A folder of this process for the two files of each run; in memory when the
// system has a memory file system, since every write is synced.
class WorkFolder {
public:
    WorkFolder() {
        const char* base = std::getenv("KELM_FUZZ_TMPDIR");
        std::string pattern = std::string(base ? base : fs::exists("/dev/shm") ? "/dev/shm" : "/tmp") +
                              "/kelm-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

const WorkFolder& Folder() {
    static const WorkFolder folder;
    return folder;
}

// Every record's label, category by category: what the tree shows.
std::vector<std::vector<std::string>> Labels(const kelm::TReference& reference, const kelm::NumberText& numbers) {
    std::vector<std::vector<std::string>> labels(reference.CategoryCount());
    for (int i = 0; i < reference.CategoryCount(); ++i) {
        const kelm::TXMLCustomClass* collection = reference.GetCollection(i);
        if (!collection) continue;
        for (int k = 0; k < collection->Count(); ++k)
            labels[i].push_back(collection->Label(*collection->GetItem(k), numbers));
    }
    return labels;
}

std::string Content(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

[[noreturn]] void Fail(const char* what, const std::string& detail = "") {
    std::fprintf(stderr, "%s%s%s\n", what, detail.empty() ? "" : ": ", detail.c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = Folder().File("input.xml");
    const std::string written = Folder().File("written.xml");
    const std::string rewritten = Folder().File("rewritten.xml");
    std::ofstream(input, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                   static_cast<std::streamsize>(size));

    // The last byte picks the user's decimal separator, so both are written.
    kelm::RegionalSettings settings;
    settings.decimalSeparator = size > 0 && data[size - 1] % 2 ? ',' : '.';
    const kelm::NumberText numbers = settings.Numbers();

    std::unique_ptr<kelm::TReference> first = kelm::NewReference();
    try {
        kelm::OpenExchangeFile(*first, input);
    } catch (const kelm::OpenError&) {
        return 0;
    }
    const auto labels = Labels(*first, numbers);

    kelm::WriteExchangeFile(*first, written, settings, 0);
    std::unique_ptr<kelm::TReference> second = kelm::NewReference();
    try {
        kelm::OpenExchangeFile(*second, written);
    } catch (const kelm::OpenError& error) {
        Fail("a written file does not open", error.detail);
    }
    if (Labels(*second, numbers) != labels) Fail("a written file opens with other records");
    kelm::WriteExchangeFile(*second, rewritten, settings, 0);
    if (Content(rewritten) != Content(written)) Fail("a written file writes back differently", written);
    return 0;
}
