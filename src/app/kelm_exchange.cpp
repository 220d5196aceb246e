// The exchange window. Up to two paths open in the left and right panes, as
// two-pane comparison tools are started.
#include <cstdlib>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <iostream>

#include "app/command_line.h"
#include "app/interruption.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/regional.h"
#include "ui/qt_translation.h"
#include "workbench/comment_dialog.h"
#include "workbench/main_window.h"

namespace {

// An error no handler caught is shown, and the window goes on, instead of
// the program aborting with the user's work.
class Application : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& error) {
            QMessageBox::warning(nullptr, "Kelm 3", QString::fromStdString(kelm::DisplayText(error.what())));
        }
        return false;
    }
};

// Without a runtime folder from the session Qt makes one of its own and says
// so on every start; the program keeps nothing there, and the user can do
// nothing about it.
QtMessageHandler qtHandler = nullptr;
void QuietAboutRuntimeFolder(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("QStandardPaths: XDG_RUNTIME_DIR not set")) return;
    qtHandler(type, context, text);
}

std::vector<std::string> Utf8Strings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& item : list) strings.push_back(item.toStdString());
    return strings;
}

}  // namespace

int main(int argc, char** argv) {
    // Answered before Qt starts, so that they work without a display.
    if (auto answered = kelm::AnswerInformationRequest({argv + 1, argv + argc}, "kelm-exchange",
                                                       kelm::kExchangeUsage, std::cout))
        return *answered;
    // Judged before Qt starts too: without a display Qt would end the program first.
    const kelm::ExchangeArguments given = kelm::ParseExchangeArguments(kelm::WithoutQtOptions({argv + 1, argv + argc}));
    if (!given.problem.empty()) return kelm::UsageError("kelm-exchange", given.problem, std::cerr);
    kelm::EndOnInterrupt();
    qtHandler = qInstallMessageHandler(QuietAboutRuntimeFolder);
    try {
        Application app(argc, argv);
        app.setWindowIcon(QIcon(":/kelm-exchange.png"));
        kelm::InstallQtRussian(app);
        // Qt has taken its own options (-platform, -style, ...) out of the arguments by now.
        const kelm::ExchangeArguments arguments = kelm::ParseExchangeArguments(Utf8Strings(app.arguments().mid(1)));
        if (!arguments.problem.empty()) return kelm::UsageError("kelm-exchange", arguments.problem, std::cerr);
        const std::vector<std::string>& paths = arguments.paths;

        kelm::TForm1 window(kelm::RegionalSettings::FromEnvironment());
        kelm::TRef_DataModule db(kelm::TRef_DataModule::EnvironmentSettings(std::getenv));
        db.SetAfterConnect(kelm::EndOnInterrupt);
        window.SetDataModule(&db);
        kelm::TFrmComment comment(&window);
        window.SetCommentDialog(&comment);
        window.show();
        if (paths.size() > 0) window.OpenPath(kelm::Pane::Left, QString::fromStdString(paths[0]));
        if (paths.size() > 1) window.OpenPath(kelm::Pane::Right, QString::fromStdString(paths[1]));
        return app.exec();
    } catch (const std::exception& error) {
        std::cerr << "kelm-exchange: " << kelm::DisplayText(error.what()) << "\n";
        return 1;
    }
}
