#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QSystemTrayIcon;

namespace quorx {

class TFListe;

// The menu of the notification-area icon and of the window's title, PopupMenuG, with the icon
// itself. Its items only forward to the window and to the core objects the window was given.
class TrayMenu final : public QObject
{
    Q_OBJECT

public:
    // chooseFolder: the folder-browse dialog of the drive change (empty: the file dialog).
    explicit TrayMenu(TFListe& window, std::function<QString(const QString& title)> chooseFolder = {});
    ~TrayMenu() override;

    QMenu* Menu() const { return m_menu; }
    QSystemTrayIcon* Icon() const { return m_icon; }
    QAction* Item(const char* name) const;

    // Sets texts, checks and visibility as opening the menu does.
    void Update();
    // Shows the icon when the desktop has a notification area; false otherwise.
    bool ShowIcon();
    // The left button shows or hides the window; a double click starts the viewer by hand.
    void IconActivated(int reason);
    // The icon follows the recording state.
    void SetRecordingIcon(bool recording);

    void ToggleWindow();
    void ChangeRecordingDrive();

private:
    QAction* Add(QMenu* menu, const char* name, const QString& text);
    void ShowAbout();

    TFListe& m_window;
    std::function<QString(const QString&)> m_chooseFolder;
    QMenu* m_menu = nullptr;
    QSystemTrayIcon* m_icon = nullptr;
    bool m_recordingIcon = false;
};

} // namespace quorx
