// The Windows-1251 codec: any bytes read as Windows-1251 give UTF-8 that
// encodes back to the very same bytes (0x98 included), and UTF-8 text keeps
// what it has after one round.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/codec.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

bool IsUtf8(std::string_view text) {
    try {
        kelm::Cp1251FromUtf8(text);
        return true;
    } catch (const kelm::EncodingError&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    // Bytes as Windows-1251 text (what a record holds).
    const std::string utf8 = kelm::Utf8FromCp1251(bytes);
    std::string cp1251;
    try {
        cp1251 = kelm::Cp1251FromUtf8(utf8);
    } catch (const kelm::EncodingError&) {
        Fail("UTF-8 made from Windows-1251 is malformed");
    }
    if (cp1251 != bytes) Fail("a Windows-1251 round changes the text");

    // Bytes as UTF-8 text (what an exchange file holds).
    try {
        const std::string records = kelm::Cp1251FromUtf8(bytes);
        const std::string shown = kelm::Utf8FromCp1251(records);
        if (kelm::Cp1251FromUtf8(shown) != records) Fail("a second UTF-8 round is not stable");
    } catch (const kelm::EncodingError&) {
    }

    // Messages for the user are always valid UTF-8.
    if (!IsUtf8(kelm::DisplayText(bytes))) Fail("text for the user is not UTF-8");
    return 0;
}
