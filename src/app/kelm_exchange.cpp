// The exchange window. Up to two paths open in the left and right panes, as
// two-pane comparison tools are started.
#include <QApplication>
#include <QMessageBox>

#include <iostream>

#include "app/interruption.h"
#include "core/codec.h"
#include "core/data_module.h"
#include "core/regional.h"
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

}  // namespace

int main(int argc, char** argv) {
    kelm::EndOnInterrupt();
    try {
        Application app(argc, argv);
        app.setApplicationDisplayName("Kelm 3");
        const QStringList paths = app.arguments().mid(1);

        kelm::TForm1 window(kelm::RegionalSettings::FromEnvironment());
        kelm::TRef_DataModule db;
        db.SetAfterConnect(kelm::EndOnInterrupt);
        window.SetDataModule(&db);
        kelm::TFrmComment comment(&window);
        window.SetCommentDialog(&comment);
        window.show();
        if (paths.size() > 0) window.OpenPath(kelm::Pane::Left, paths[0]);
        if (paths.size() > 1) window.OpenPath(kelm::Pane::Right, paths[1]);
        return app.exec();
    } catch (const std::exception& error) {
        std::cerr << "kelm-exchange: " << kelm::DisplayText(error.what()) << "\n";
        return 1;
    }
}
