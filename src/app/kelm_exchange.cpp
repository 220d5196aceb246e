// The exchange window. Up to two paths open in the left and right panes, as
// two-pane comparison tools are started.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>

#include <iostream>

#include "app/command_line.h"
#include "core/data_module.h"
#include "core/regional.h"
#include "workbench/comment_dialog.h"
#include "workbench/main_window.h"

namespace {

std::vector<std::string> Utf8Strings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& item : list) strings.push_back(item.toStdString());
    return strings;
}

// Qt's own texts (the Yes and No of a question, the file dialogs) in Russian,
// like the rest of the window; without the translations installed they stay English.
void LoadRussianQtTexts(QApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    if (auto answered = kelm::AnswerInformationRequest({argv + 1, argv + argc}, "kelm-exchange",
                                                       kelm::kExchangeUsage, std::cout))
        return *answered;
    QApplication app(argc, argv);
    app.setApplicationDisplayName("Kelm 3");
    app.setWindowIcon(QIcon(":/kelm-exchange.png"));
    LoadRussianQtTexts(app);
    // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
    const kelm::ExchangeArguments arguments = kelm::ParseExchangeArguments(Utf8Strings(app.arguments().mid(1)));
    if (!arguments.problem.empty()) return kelm::UsageError("kelm-exchange", arguments.problem, std::cerr);
    const std::vector<std::string>& paths = arguments.paths;

    kelm::TForm1 window(kelm::RegionalSettings::FromEnvironment());
    kelm::TRef_DataModule db;
    window.SetDataModule(&db);
    kelm::TFrmComment comment(&window);
    window.SetCommentDialog(&comment);
    window.show();
    if (paths.size() > 0) window.OpenPath(kelm::Pane::Left, QString::fromStdString(paths[0]));
    if (paths.size() > 1) window.OpenPath(kelm::Pane::Right, QString::fromStdString(paths[1]));
    return app.exec();
}
