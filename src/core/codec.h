#pragma once
// Windows-1251 (the records' encoding) <-> UTF-8 (exchange files, screen).

#include <stdexcept>
#include <string>
#include <string_view>

namespace kelm {

class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string Utf8FromCp1251(std::string_view text);

// The same for a text an XML 1.0 file carries: control characters it cannot
// hold (all below a blank but tab, line feed and carriage return) become "?".
std::string XmlUtf8FromCp1251(std::string_view text);

// A character without a Windows-1251 code becomes "?"; malformed UTF-8
// raises EncodingError, since it means the text is not what it claims to be.
std::string Cp1251FromUtf8(std::string_view text);

// Text for the user from a source that may be either encoding (messages of
// the database engine): valid UTF-8 stays, anything else is read as Windows-1251.
std::string DisplayText(std::string_view text);

}  // namespace kelm
