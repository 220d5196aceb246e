#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <iostream>

namespace kelm {

bool InstallQtRussian(QCoreApplication& app) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* translator = new QTranslator(&app);
    if (!translator->load("qtbase_ru", folder)) {
        delete translator;
        std::cerr << "Перевод Qt (qtbase_ru.qm) не найден в " << folder.toStdString()
                  << ": кнопки стандартных окон и файловые диалоги останутся на английском"
                     " (его устанавливает пакет qt6-translations-l10n).\n";
        return false;
    }
    app.installTranslator(translator);
    return true;
}

}  // namespace kelm
