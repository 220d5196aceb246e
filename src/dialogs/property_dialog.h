#pragma once
// The frame every property dialog shares: a fixed-size modal form of labelled
// rows above a bottom panel with "Отмена" and "Сохранить"; the boxes are
// filled when it is shown, and OK reads them back and checks them first, a
// refusal keeping the dialog open with the user's input.

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/entry_text.h"

namespace kelm {

struct DialogContext;
class TRef_DataModule;
class WorkbenchDialogs;

// What a dialog's edit is for.
enum class EditUse {
    Editable,
    Shown,      // read-only and skipped by Tab
    ShownBold,  // the same in bold: the identity of the element
};

// The key filter an edit gets.
enum class Keys { Any, Decimal, Digits, Temperature };

class TPropertyDialog : public QDialog {
public:
    TPropertyDialog(const DialogContext& context, const char* className, const QString& caption);

    // Puts the values into the boxes; runs each time the dialog is shown.
    virtual void FillCells() {}
    // Reads the boxes back and checks them, as closing with OK does.
    virtual EntryCheck FormCloseQuery() = 0;

    // Pressing "Сохранить": closes with OK when the check passes, otherwise
    // shows its one message and stays open. Nothing happens while the button
    // is disabled (the read-only view).
    bool TryAccept();
    void accept() override { TryAccept(); }

    const EntryText& Entries() const { return entries_; }
    TRef_DataModule* Database() const { return db_; }

    QWidget* Panel1;
    QLabel* LabelNetworkUse = nullptr;  // "Используется в сети: N", when the source tells
    QPushButton* BitBtn1;  // "Отмена"
    QPushButton* BitBtn2;  // "Сохранить"

protected:
    void showEvent(QShowEvent* event) override;

    // Building the rows: labels in column 0, boxes from column 1.
    QLineEdit* NewEdit(const char* name, EditUse use = EditUse::Editable, Keys keys = Keys::Any);
    QLabel* NewLabel(const char* name, const QString& caption);
    // A drop-down list of fixed entries (more may be added when filling).
    QComboBox* NewList(const char* name, const QStringList& entries = {});
    // A hidden read-only edit of tag 1 in the list's place: the read-only view
    // shows it, holding the list's text, instead of the list.
    QLineEdit* NewStandBy(QComboBox* list, const char* name);
    void AddRow(int row, QLabel* label, QWidget* box, int column = 1);
    QGridLayout* Form;

private:
    EntryText entries_;
    TRef_DataModule* db_;
    WorkbenchDialogs* messages_;
};

// The view-only mode: every one-line edit read-only, and shown when its "Tag"
// is above 0; every list out of the tab order. The caller also disables "Сохранить".
void MakeReadOnly(QDialog& dialog);

// The dynamic property that carries a component's tag.
inline constexpr const char* kTagProperty = "Tag";

}  // namespace kelm
