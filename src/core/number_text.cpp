#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace kelm {
namespace {

constexpr int kSignificantDigits = 15;

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

[[noreturn]] void NotANumber(std::string_view text) {
    throw ConversionError("\"" + std::string(text) + "\" is not a valid number");
}

// Parses [sign] digits [sep digits] [e [sign] digits], where sep is any of
// the given separators, without consulting the locale.
double ParseWithSeparators(std::string_view original, std::string_view separators) {
    const std::string_view text = TrimBlanks(original);
    std::string canonical;
    canonical.reserve(text.size());
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') canonical += '-';
        ++i;
    }
    int digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') { canonical += text[i++]; ++digits; }
    if (i < text.size() && separators.find(text[i]) != std::string_view::npos) {
        canonical += '.';
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') { canonical += text[i++]; ++digits; }
    }
    if (digits == 0) NotANumber(original);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        canonical += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) canonical += text[i++];
        int exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') { canonical += text[i++]; ++exponentDigits; }
        if (exponentDigits == 0) NotANumber(original);
    }
    if (i != text.size()) NotANumber(original);

    double value = 0;
    const char* begin = canonical.data();
    const char* end = begin + canonical.size();
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) NotANumber(original);
    return value;
}

}  // namespace

std::string NumberText::Format(double value) const {
    if (value == 0) return "0";
    if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");

    // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, result.ptr - buffer);
    const bool negative = text.front() == '-';
    const std::size_t ePos = text.find('e');
    std::string digits;
    for (char c : text.substr(0, ePos))
        if (c >= '0' && c <= '9') digits += c;
    const int exponent = std::atoi(std::string(text.substr(ePos + 1)).c_str());
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

    std::string out = negative ? "-" : "";
    const int integerDigits = exponent + 1;
    if (integerDigits <= kSignificantDigits && std::fabs(value) >= 0.00001) {
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
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size())
        throw ConversionError("\"" + std::string(original) + "\" is not a valid integer");
    return value;
}

}  // namespace kelm
