#include "core/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kelm {
namespace {

constexpr int kSignificantDigits = 15;

inline std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

[[noreturn]] void NotANumber(std::string_view text) {
    throw ConversionError("\"" + std::string(text) + "\" не является числом");
}

[[noreturn]] void TooLarge(std::string_view text) {
    throw NumberTooLargeError("\"" + std::string(text) + "\": слишком большое число");
}

// Parses [sign] digits [sep digits] [e [sign] digits], where sep is any of
// the given separators, without consulting the locale.
double ParseWithSeparators(std::string_view original, std::string_view separators) {
    const std::string_view text = TrimBlanks(original);
    double value = 0;
    if (std::find(separators.begin(), separators.end(), '.') != separators.end()) {
        // Most texts are canonical already ("0.4022", "-1e-05"); what the
        // conversion takes beyond the form below (infinities, NaN) it is not finite.
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (ec == std::errc() && ptr == text.data() + text.size() && std::isfinite(value)) return value;
    }
    // The canonical form is never longer than the text: a catalogue's numbers
    // fit the buffer on the stack.
    char small[64];
    std::string large;
    char* const canonical = text.size() <= sizeof small ? small : (large.resize(text.size()), large.data());
    char* out = canonical;
    auto isDigit = [&](std::size_t at) { return at < text.size() && text[at] >= '0' && text[at] <= '9'; };
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') *out++ = '-';
        ++i;
    }
    int digits = 0;
    // The decimal order of the first significant digit, to tell a number too
    // large from one too small when the conversion is out of range.
    long order = 0;
    bool significant = false;
    while (isDigit(i)) {
        significant = significant || text[i] != '0';
        if (significant) ++order;
        *out++ = text[i++];
        ++digits;
    }
    if (i < text.size() && std::find(separators.begin(), separators.end(), text[i]) != separators.end()) {
        *out++ = '.';
        ++i;
        while (isDigit(i)) {
            if (!significant && text[i] == '0') --order;
            significant = significant || text[i] != '0';
            *out++ = text[i++];
            ++digits;
        }
    }
    if (digits == 0) NotANumber(original);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        *out++ = 'e';
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            *out++ = text[i++];
        }
        int exponentDigits = 0;
        long exponent = 0;
        while (isDigit(i)) {
            exponent = std::min(exponent * 10 + (text[i] - '0'), 100000L);
            *out++ = text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0) NotANumber(original);
        order += negativeExponent ? -exponent : exponent;
    }
    if (i != text.size()) NotANumber(original);

    const auto [ptr, ec] = std::from_chars(canonical, out, value);
    if (ec == std::errc::result_out_of_range && ptr == out && significant && order > 0) TooLarge(original);
    if (ec != std::errc() || ptr != out || !std::isfinite(value)) NotANumber(original);
    return value;
}

}  // namespace

namespace {

// 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x
std::string_view RoundedDigits(double value, char (&buffer)[64]) {
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific,
                                kSignificantDigits - 1);
    double back = 0;
    if (std::fabs(value) > 1.79769313486231e308 &&
        std::from_chars(buffer, result.ptr, back).ec == std::errc::result_out_of_range) {
        // Rounded to 15 digits, the largest doubles would read back as beyond
        // any double: those take the shortest text that reads back exactly.
        result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    }
    return std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer));
}

}  // namespace

// Format's text follows from the rounded digits alone, so they are the key.
void NumberText::AppendFormKey(double value, std::string& key) {
    if (value == 0) {
        key += '0';
    } else if (std::isnan(value)) {
        key += 'N';
    } else {
        char buffer[64];
        const std::string_view digits = RoundedDigits(value, buffer);
        key += static_cast<char>(digits.size());
        key += digits;
    }
}

std::string NumberText::Format(double value) const {
    if (value == 0) return "0";
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");

    char buffer[64];
    const std::string_view text = RoundedDigits(value, buffer);
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (c >= '0' && c <= '9') digits += c;
    const int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    const int integerDigits = exponent + 1;
    // The form follows the rounded number, so that its text reads back to
    // a number written the same way (just below 0.00001 rounds up to it).
    if (integerDigits <= kSignificantDigits && exponent >= -5) {
        if (integerDigits <= 0) {
            out += '0';
            out += separator_;
            out.append(static_cast<std::size_t>(-integerDigits), '0');
            out += digits;
        } else if (static_cast<int>(digits.size()) <= integerDigits) {
            out += digits;
            out.append(static_cast<std::size_t>(integerDigits) - digits.size(), '0');
        } else {
            out += digits.substr(0, static_cast<std::size_t>(integerDigits));
            out += separator_;
            out += digits.substr(static_cast<std::size_t>(integerDigits));
        }
    } else {
        out += digits[0];
        if (digits.size() > 1) {
            out += separator_;
            out += digits.substr(1);
        }
        out += 'E';
        out += std::to_string(exponent);
    }
    return out;
}

std::string NumberText::Format(std::int64_t value) { return std::to_string(value); }

double NumberText::ParseDouble(std::string_view text) const {
    return ParseWithSeparators(text, std::string_view(&separator_, 1));
}

double NumberText::ParseDoubleAnySeparator(std::string_view text) {
    return ParseWithSeparators(text, ".,");
}

std::int64_t NumberText::ParseInteger(std::string_view original) {
    std::string_view text = TrimBlanks(original);
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') text.remove_prefix(1);
    std::int64_t value = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (!text.empty() && ec == std::errc::result_out_of_range && ptr == text.data() + text.size())
        TooLarge(original);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        throw ConversionError("\"" + std::string(original) + "\" не является целым числом");
    return value;
}

}  // namespace kelm
