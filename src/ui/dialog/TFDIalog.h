#pragma once

#include "power/QuestionRequest.h"

#include <QDialog>

class QCheckBox;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace quorx {

// The countdown window through which every question and notice is shown. It applies the request
// it is given and presses its default button by itself after 100 ticks of Timer1.
class TFDIalog final : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 471;
    static constexpr int kClientHeight = 136;

    explicit TFDIalog(const QuestionRequest& request, QWidget* owner = nullptr);

    QuestionReply Reply() const;
    QPushButton* DefaultButton() const;

    // One tick of the countdown; public so that tests drive the countdown without waiting.
    void Timer1Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void Apply(const QuestionRequest& request);
    void PlaceUnderCursor();
    void BringToFront();
    QPushButton* ButtonOf(QuestionButton button) const;
    void OuiClick();
    void NonClick();

    QPushButton* m_oui = nullptr;
    QPushButton* m_non = nullptr;
    QFrame* m_panel1 = nullptr;
    QLabel* m_icInt = nullptr;
    QLabel* m_icExcl = nullptr;
    QPlainTextEdit* m_texte = nullptr;
    QCheckBox* m_checkBox1 = nullptr;
    QProgressBar* m_avancement = nullptr;
    QTimer* m_timer1 = nullptr;

    QuestionButton m_default = QuestionButton::Non;
    QuestionButton m_cancel = QuestionButton::Non;
    bool m_showHints = true;
    int m_tag = 0; // of Oui: 1 once Oui was pressed
};

} // namespace quorx
