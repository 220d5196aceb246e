#pragma once
// What the system said about a file, in Russian: the messages of the C
// library follow the process locale, which is often not a Russian one.

#include <string>

namespace kelm {

// The reason for `errnum` (an errno value); the library's own text for the rare rest.
std::string SystemErrorText(int errnum);

}  // namespace kelm
