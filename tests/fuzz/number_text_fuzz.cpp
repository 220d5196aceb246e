// Number text: whatever parses must format to text that parses back to the
// same value, with either decimal separator and for whole numbers.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/element.h"
#include "core/number_text.h"

namespace {

[[noreturn]] void Fail(const char* what, std::string_view text, const std::string& written) {
    std::fprintf(stderr, "%s: \"%.*s\" -> \"%s\"\n", what, static_cast<int>(text.size()), text.data(),
                 written.c_str());
    std::abort();
}

// Written text must read again, give the value back within the 15 digits
// the text keeps, and write the same text a second time.
void CheckRoundTrip(const kelm::NumberText& numbers, double value, std::string_view input) {
    if (!std::isfinite(value)) Fail("a parsed number is not finite", input, "");
    const std::string written = numbers.Format(value);
    double again = 0;
    try {
        again = numbers.ParseDouble(written);
    } catch (const kelm::ConversionError&) {
        Fail("written number does not read back", input, written);
    }
    if (std::fabs(again - value) > std::fabs(value) * 1e-14) Fail("written number reads back changed", input, written);
    if (numbers.Format(again) != written) Fail("written number is not stable", input, written);
    if (kelm::NumberText::ParseDoubleAnySeparator(written) != again)
        Fail("exchange-file reading differs from typed reading", input, written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (const char separator : {'.', ','}) {
        const kelm::NumberText numbers(separator);
        try {
            CheckRoundTrip(numbers, numbers.ParseDouble(text), text);
        } catch (const kelm::ConversionError&) {
        }
        try {
            CheckRoundTrip(numbers, kelm::NumberText::ParseDoubleAnySeparator(text), text);
        } catch (const kelm::ConversionError&) {
        }
    }
    try {
        const std::int64_t value = kelm::NumberText::ParseInteger(text);
        const std::string written = kelm::NumberText::Format(value);
        if (kelm::NumberText::ParseInteger(written) != value) Fail("written whole number reads back changed", text, written);
    } catch (const kelm::ConversionError&) {
    }
    return 0;
}
