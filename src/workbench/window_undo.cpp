// The main window: undo and redo of the right pane's changes ("Правка"), and
// what taking a change back or making it again shows.

#include <QMenuBar>
#include <QUndoCommand>

#include "workbench/main_window.h"

namespace kelm {

// One change of the right pane on the window's history. The pane's step
// keeps the records; the command shows what taking it back or making it
// again changed.
class PaneCommand : public QUndoCommand {
public:
    PaneCommand(TForm1& window, std::unique_ptr<PaneStep> step, const QString& text)
        : QUndoCommand(text), window_(window), step_(std::move(step)) {}

    void undo() override { window_.ShowStep(window_.right_.Undo(*step_)); }
    void redo() override {
        // The change was made before it was put on the history.
        if (step_->Done()) return;
        window_.ShowStep(window_.right_.Redo(*step_));
    }
    std::unique_ptr<PaneStep> TakeStep() { return std::move(step_); }

private:
    TForm1& window_;
    std::unique_ptr<PaneStep> step_;
};

void TForm1::BuildEditMenu() {
    History = new QUndoStack(this);
    History->setObjectName("History");
    auto* edit = new QMenu(QString::fromUtf8("П&равка"), this);
    edit->setObjectName("EditMenu");
    btnUndo = History->createUndoAction(edit, QString::fromUtf8("Отменить"));
    btnUndo->setObjectName("btnUndo");
    btnUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    btnRedo = History->createRedoAction(edit, QString::fromUtf8("Повторить"));
    btnRedo->setObjectName("btnRedo");
    btnRedo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    edit->addAction(btnUndo);
    edit->addAction(btnRedo);
    edit->addSeparator();
    btnCheck = edit->addAction(QString::fromUtf8("Проверить"), this, [this] { btnCheckClick(); });
    btnCheck->setObjectName("btnCheck");
    btnCheck->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K));
    // Between "Файл" and "Помощь".
    const QList<QAction*> menus = menuBar()->actions();
    menuBar()->insertMenu(menus.value(1), edit);
}

void TForm1::Remember(PaneChanges& changes, const QString& label) {
    ForgetStaleHistory();
    if (!changes.step) return;
    const QString text = QString::fromStdString(StepText(*changes.step, label.toStdString()));
    History->push(new PaneCommand(*this, std::move(changes.step), text));
}

void TForm1::ForgetStaleHistory() {
    if (historyGeneration_ == right_.Generation()) return;
    // A save in which some records failed keeps the steps of those records.
    std::vector<std::unique_ptr<PaneStep>> done;
    std::unordered_map<const PaneStep*, QString> texts;
    for (int i = 0; i < History->index(); ++i) {
        auto* command = static_cast<PaneCommand*>(const_cast<QUndoCommand*>(History->command(i)));
        done.push_back(command->TakeStep());
        texts.emplace(done.back().get(), command->text());
    }
    History->clear();
    historyGeneration_ = right_.Generation();
    for (std::unique_ptr<PaneStep>& step : right_.KeepUnsavedSteps(std::move(done))) {
        // A drop cut down to its unsaved copies counts only those.
        const QString text = step->What() == PaneStep::Kind::Edit ? texts[step.get()]
                                                                   : QString::fromStdString(StepText(*step));
        History->push(new PaneCommand(*this, std::move(step), text));
    }
}

void TForm1::ShowStep(const PaneChanges& changes) {
    ShowChanges(changes);
    // An element that comes back may bring a voltage the list lacks, one
    // that leaves may take the one the filter stands on.
    const std::string filter = filters_.VoltageFilter;
    RefreshVoltageList();
    if (filters_.VoltageFilter != filter) ApplyFilters();
    UpdateSaveAsEnabled();
}

}  // namespace kelm
