#pragma once
// TFrmComment: a comment that makes a copied element distinct from the equal
// ones already in the target. Created once at start-up and reused.

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

namespace kelm {

class TFrmComment : public QDialog {
public:
    static constexpr int AbortResult = 7;  // "Прервать": the drop stops

    explicit TFrmComment(QWidget* parent = nullptr);

    // Before showing: the entered comment is accepted only while `distinct` holds.
    void SetQuestion(const QString& initial, std::function<bool(const QString&)> distinct);

    QLineEdit* EditComment;
    QPushButton* BitBtn1;    // "П&рервать"
    QPushButton* BitBtnOk;   // "&Сохранить"
    QPushButton* BitBtnNo;   // "&Пропустить"

    void FormShow();
    void EditCommentChange();

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::function<bool(const QString&)> distinct_;
};

}  // namespace kelm
