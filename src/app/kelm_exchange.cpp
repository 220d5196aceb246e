// The exchange window. Up to two paths open in the left and right panes, as
// two-pane comparison tools are started.
#include <cstdlib>
#include <QApplication>

#include "core/data_module.h"
#include "core/regional.h"
#include "workbench/comment_dialog.h"
#include "workbench/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationDisplayName("Kelm 3");
    const QStringList paths = app.arguments().mid(1);

    kelm::TForm1 window(kelm::RegionalSettings::FromEnvironment());
    kelm::TRef_DataModule db(kelm::TRef_DataModule::EnvironmentSettings(std::getenv));
    window.SetDataModule(&db);
    kelm::TFrmComment comment(&window);
    window.SetCommentDialog(&comment);
    window.show();
    if (paths.size() > 0) window.OpenPath(kelm::Pane::Left, paths[0]);
    if (paths.size() > 1) window.OpenPath(kelm::Pane::Right, paths[1]);
    return app.exec();
}
