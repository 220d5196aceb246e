#include "core/codec.h"

#include <array>
#include <cstdint>
#include <memory>

namespace kelm {
namespace {

// Unicode code points of the bytes 0x80..0xFF. 0x98 has no character in
// Windows-1251; it maps to U+0098 so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// The byte of each code point up to the highest in the upper half; 0 for none.
constexpr char32_t kHighestUpper = 0x2122;
const std::array<char, kHighestUpper + 1>& ReverseTable() {
    static const auto table = [] {
        std::array<char, kHighestUpper + 1> bytes{};
        for (std::size_t i = 0; i < kUpperHalf.size(); ++i) bytes[kUpperHalf[i]] = static_cast<char>(0x80 + i);
        return bytes;
    }();
    return table;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

[[noreturn]] void Malformed(std::size_t offset) {
    throw EncodingError("invalid UTF-8 at byte " + std::to_string(offset) + " of the text");
}

}  // namespace

std::string Utf8FromCp1251(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            out += c;
        else
            AppendUtf8(out, kUpperHalf[byte - 0x80]);
    }
    return out;
}

std::string XmlUtf8FromCp1251(std::string_view text) {
    std::string out = Utf8FromCp1251(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') c = '?';
    return out;
}

std::string Cp1251FromUtf8(std::string_view text) {
    // Every character takes at least one byte in UTF-8 and exactly one here:
    // converted on the stack, the text is copied once into its string.
    char small[256];
    std::unique_ptr<char[]> large;
    char* const out = text.size() <= sizeof small ? small : (large = std::make_unique<char[]>(text.size())).get();
    char* written = out;
    const auto& reverse = ReverseTable();
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            *written++ = static_cast<char>(lead);
            ++i;
            continue;
        }
        int length = 0;
        char32_t cp = 0;
        if ((lead & 0xE0) == 0xC0) { length = 2; cp = lead & 0x1F; }
        else if ((lead & 0xF0) == 0xE0) { length = 3; cp = lead & 0x0F; }
        else if ((lead & 0xF8) == 0xF0) { length = 4; cp = lead & 0x07; }
        else Malformed(i);
        if (i + length > text.size()) Malformed(i);
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) Malformed(i);
            cp = (cp << 6) | (next & 0x3F);
        }
        static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < kSmallest[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) Malformed(i);
        const char byte = cp <= kHighestUpper ? reverse[cp] : 0;
        *written++ = byte != 0 ? byte : '?';
        i += length;
    }
    return std::string(out, written);
}

std::string DisplayText(std::string_view text) {
    try {
        Cp1251FromUtf8(text);
        return std::string(text);
    } catch (const EncodingError&) {
        return Utf8FromCp1251(text);
    }
}

}  // namespace kelm
