// The exchange-file reader: any bytes either fail to open as an exchange file
// or open, write back, and open again with the same records. A file the
// program wrote must always read back (control characters XML 1.0 cannot
// hold written as "?"), and write again to the same bytes:
// nothing a record holds is lost or changed by a second round.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "catalogues/categories.h"
#include "core/codec.h"
#include "core/exchange_file.h"
#include "work_folder.h"

namespace {

using kelm::fuzz::Folder;

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
    const std::string input = Folder().Write("input.xml", data, size);
    const std::string written = Folder().File("written.xml");
    const std::string rewritten = Folder().File("rewritten.xml");

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
    // The file keeps every character but the control characters XML 1.0 cannot
    // hold, which it writes as "?".
    auto labels = Labels(*first, numbers);
    for (auto& category : labels)
        for (std::string& label : category) label = kelm::Cp1251FromUtf8(kelm::XmlUtf8FromCp1251(label));

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
