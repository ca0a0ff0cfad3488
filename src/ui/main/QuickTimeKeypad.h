#pragma once

#include "engine/TimeKeypad.h"

#include <QFrame>
#include <QPalette>
#include <QPointer>

#include <QTimeEdit>

namespace quorx {

// The pop-up of hour and minute buttons under one of the main window's time pickers. The time
// arithmetic is TimeKeypad's; this panel only finds the button and hands the result back.
class QuickTimeKeypad final : public QFrame
{
    Q_OBJECT

public:
    explicit QuickTimeKeypad(QWidget* parent);

    // Shows the keypad under the picker, which takes the keypad's colour until it hides.
    void OpenUnder(QTimeEdit* picker);
    // Hides it and gives the picker its own colour back.
    void Close();
    QTimeEdit* Picker() const { return m_picker; }

    // A press on a button as the mouse gives it: rightPress first clears the other field.
    void Press(const QString& buttonName, bool rightPress = false);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddButton(const QString& name, const QString& text, TimeKeypad::Button button, int tag, int row,
                   int column, int columnSpan = 1, const QString& hint = QString(), int rowSpan = 1);

    QPointer<QTimeEdit> m_picker;
    QPalette m_pickerPalette;
};

} // namespace quorx
