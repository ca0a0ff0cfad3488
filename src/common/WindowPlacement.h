#pragma once

#include <QRect>
#include <QVector>

namespace quorx {

// Where the main window goes when several copies of the program run side by side: one copy takes
// the whole screen, two to four share it in halves and quarters.
class WindowPlacement final
{
public:
    enum class Action
    {
        Maximise,
        Choose,  // offer the choices for the number of copies
        Nothing, // more than four copies
    };
    static Action ForCopies(int copies);

    // The bounds each choice stands for, in the order offered: 2 copies top and bottom halves;
    // 3 the top half and the bottom quarters; 4 the four quarters. Empty for other counts.
    static QVector<QRect> Choices(int copies, int screenWidth, int screenHeight);
};

} // namespace quorx
