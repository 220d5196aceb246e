#pragma once
// Qt's own texts (buttons of the boxes, the file dialogs) in Russian,
// whatever the system locale.

class QCoreApplication;

namespace kelm {

// Loads Qt's Russian translation into the application. When the translation
// is not installed the program stays usable with Qt's English texts and says
// so on stderr; the result tells which happened.
bool InstallQtRussian(QCoreApplication& app);

}  // namespace kelm
