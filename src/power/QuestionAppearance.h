#pragma once

#include <QString>

#include <QtGlobal>

namespace quorx {

struct Settings;

// How the question window looks, taken from the settings when a question is asked, so that a
// change made in the preferences shows on the next question.
struct QuestionAppearance
{
    QString caption;
    // Windows colour value (red in the low byte) of the text area and its panel.
    quint32 panelColour = 0;
    // Black or white, whichever reads better on the panel colour.
    quint32 textColour = 0;
    bool showHints = true;

    static QuestionAppearance FromSettings(const Settings& settings);
    // The program's caption, followed by " - " and the instance name when one is set.
    static QString CaptionFor(const QString& instanceName);
    // The panel colour darkened by 25 luminance units, so the text stands apart from the panels
    // of the other windows.
    static quint32 PanelColourFor(qint32 couleur);
};

} // namespace quorx
