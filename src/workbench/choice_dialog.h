#pragma once
// TChDg: "this element already exists" (or "differs") with a button per
// answer and a check box that remembers the answer for the rest of the drop.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <vector>

namespace kelm {

// Button states: enabled, disabled, or enabled with the focus when the dialog opens.
enum ButtonState { ButtonEnabled = 0, ButtonDisabled = 1, ButtonFocused = 2 };

class TChDg : public QDialog {
public:
    TChDg(QWidget* parent, const QString& caption, const QString& message, const QStringList& buttons,
          const QString& checkCaption, const std::vector<int>& states);

    QLabel* Label2;
    QCheckBox* CheckBoxAll;
    std::vector<QPushButton*> Buttons;  // named "bs0", "bs1", ...
    int Answer = 0;                     // the Tag of the button that closed the dialog

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool HandleKey(QKeyEvent* key);
    int safeAnswer_ = 1;  // the Tag of the button focused when the dialog opens
};

// The width the buttons need: the widest caption plus 8, at least `width`.
int WidthChDg(const QFontMetrics& metrics, const QStringList& captions, int width);

struct ChoiceShown {
    int answer = 0;  // 0 when the dialog was not closed by a button
    bool checked = false;
};
ChoiceShown ShowChoiceDialog(QWidget* parent, const QString& caption, const QString& message,
                             const QStringList& buttons, const QString& checkCaption, const std::vector<int>& states);

}  // namespace kelm
