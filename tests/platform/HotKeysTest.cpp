#include "platform/hotkeys/DesktopHotKeys.h"
#include "platform/hotkeys/X11HotKeyGrab.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QWidget>

#include <xcb/xcb.h>

#include <optional>

namespace quorx {

// The keys grabbed on a private X server of the test's own, and the window shortcuts they fall
// back to where the desktop does not give them.
class HotKeysTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();

    void aGrabHoldsTheKeysAgainstOtherPrograms();
    void onlyAFirstPressOfAGrabbedKeyWithControlCounts();
    void theDesktopKeysAreGlobalUnlessAnotherProgramHoldsThem();
    void withoutADisplayTheKeysAreWindowShortcuts();

private:
    static xcb_key_press_event_t KeyEvent(std::uint8_t type, std::uint8_t keycode, std::uint16_t state,
                                          std::uint32_t time);

    QProcess m_server;
    QString m_display;
};

void HotKeysTest::initTestCase()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty())
        QSKIP("Xvfb is not installed");
    m_server.setProgram(xvfb);
    // Without -noreset the server starts over whenever its last client leaves, and connections
    // made during that moment fail.
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("640x480x24"), QStringLiteral("-nolisten"),
                           QStringLiteral("tcp"), QStringLiteral("-noreset")});
    m_server.start();
    QVERIFY(m_server.waitForStarted());
    QByteArray number;
    QTRY_VERIFY_WITH_TIMEOUT((number += m_server.readAllStandardOutput()).contains('\n'), 10000);
    m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
}

void HotKeysTest::cleanupTestCase()
{
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        m_server.waitForFinished(3000);
    }
}

xcb_key_press_event_t HotKeysTest::KeyEvent(std::uint8_t type, std::uint8_t keycode, std::uint16_t state,
                                            std::uint32_t time)
{
    xcb_key_press_event_t e = {};
    e.response_type = type;
    e.detail = keycode;
    e.state = state;
    e.time = time;
    return e;
}

void HotKeysTest::aGrabHoldsTheKeysAgainstOtherPrograms()
{
    auto ours = X11HotKeyGrab::Connect(m_display);
    auto other = X11HotKeyGrab::Connect(m_display);
    QVERIFY(ours && other);
    const QVector<X11HotKeyGrab::Key> all = {{X11HotKeyGrab::kKeysymF12, X11HotKeyGrab::kControlMask},
                                             {X11HotKeyGrab::kKeysymF11, X11HotKeyGrab::kControlMask},
                                             {X11HotKeyGrab::kKeysymF10, X11HotKeyGrab::kControlMask}};
    QVERIFY2(ours->Grab(all, [](int) {}), qPrintable(ours->Error()));
    QVERIFY(ours->IsGrabbed());

    // Another program wanting one of them with any lock state is refused, and keeps nothing.
    const QVector<X11HotKeyGrab::Key> f11 = {
        {X11HotKeyGrab::kKeysymF11, X11HotKeyGrab::kControlMask | X11HotKeyGrab::kNumLockMask}};
    QVERIFY(!other->Grab(f11, [](int) {}));
    QVERIFY(other->Error().contains(QLatin1String("another program")));
    QVERIFY(!other->IsGrabbed());
    // The same key without Ctrl is not ours.
    QVERIFY(other->Grab({{X11HotKeyGrab::kKeysymF11, 0}}, [](int) {}));
    other->Release();

    ours->Release();
    QVERIFY(!ours->IsGrabbed());
    QVERIFY2(other->Grab(f11, [](int) {}), qPrintable(other->Error()));
    // A keysym no key gives cannot be grabbed, and says so.
    QVERIFY(!ours->Grab({{0x10fffff, X11HotKeyGrab::kControlMask}}, [](int) {}));
    QVERIFY(ours->Error().contains(QLatin1String("keysym")));
}

void HotKeysTest::onlyAFirstPressOfAGrabbedKeyWithControlCounts()
{
    auto grab = X11HotKeyGrab::Connect(m_display);
    QVERIFY(grab);
    QVector<int> pressed;
    QVERIFY(grab->Grab({{X11HotKeyGrab::kKeysymF12, X11HotKeyGrab::kControlMask},
                        {X11HotKeyGrab::kKeysymF10, X11HotKeyGrab::kControlMask}},
                       [&](int index) { pressed.push_back(index); }));
    const std::uint8_t f12 = grab->KeyCodeOf(X11HotKeyGrab::kKeysymF12);
    const std::uint8_t f10 = grab->KeyCodeOf(X11HotKeyGrab::kKeysymF10);
    QVERIFY(f12 != 0 && f10 != 0 && f12 != f10);

    const std::uint16_t ctrl = X11HotKeyGrab::kControlMask;
    const std::uint16_t shift = 1;
    const std::uint16_t button1 = 1 << 8;
    struct Step
    {
        std::uint8_t type;
        std::uint8_t keycode;
        std::uint16_t state;
        std::uint32_t time;
        std::optional<int> expected;
    };
    const Step steps[] = {
        {XCB_KEY_PRESS, f12, ctrl, 10, 0},
        {XCB_KEY_RELEASE, f12, ctrl, 20, std::nullopt},
        // The key held down: the server repeats it as a release and a press at one time.
        {XCB_KEY_PRESS, f12, ctrl, 20, std::nullopt},
        {XCB_KEY_RELEASE, f12, ctrl, 30, std::nullopt},
        {XCB_KEY_PRESS, f12, ctrl | X11HotKeyGrab::kNumLockMask | X11HotKeyGrab::kLockMask, 40, 0},
        {XCB_KEY_PRESS, f10, ctrl | button1, 50, 1},
        {XCB_KEY_PRESS, f10, ctrl | shift, 60, std::nullopt},
        {XCB_KEY_PRESS, f10, 0, 70, std::nullopt},
        // Sent by another client rather than typed: the top bit is set, the key the same.
        {XCB_KEY_PRESS | 0x80, f10, ctrl, 80, 1},
    };
    for (const Step& s : steps) {
        pressed.clear();
        const xcb_key_press_event_t e = KeyEvent(s.type, s.keycode, s.state, s.time);
        grab->HandleEvent(&e);
        if (s.expected)
            QCOMPARE(pressed, QVector<int>{*s.expected});
        else
            QVERIFY2(pressed.isEmpty(), qPrintable(QString::number(s.time)));
    }
}

void HotKeysTest::theDesktopKeysAreGlobalUnlessAnotherProgramHoldsThem()
{
    QWidget window;
    {
        DesktopHotKeys keys(&window, m_display);
        QCOMPARE(keys.Install([](HotKey) {}), HotKeys::Reach::Global);
        QVERIFY(keys.WhyNotGlobal().isEmpty());
        // While they are ours nobody else gets Ctrl+F10.
        auto other = X11HotKeyGrab::Connect(m_display);
        QVERIFY(!other->Grab({{X11HotKeyGrab::kKeysymF10, X11HotKeyGrab::kControlMask}}, [](int) {}));
    }
    // Let go with the object: another program may take one now, and we fall back for all three.
    auto other = X11HotKeyGrab::Connect(m_display);
    QVERIFY(other->Grab({{X11HotKeyGrab::kKeysymF10, X11HotKeyGrab::kControlMask}}, [](int) {}));
    DesktopHotKeys keys(&window, m_display);
    QCOMPARE(keys.Install([](HotKey) {}), HotKeys::Reach::Window);
    QVERIFY(!keys.WhyNotGlobal().isEmpty());
    other->Release();
    // Installing again takes them globally once they are free.
    QCOMPARE(keys.Install([](HotKey) {}), HotKeys::Reach::Global);
    keys.Uninstall();
    QCOMPARE(keys.CurrentReach(), HotKeys::Reach::None);
}

void HotKeysTest::withoutADisplayTheKeysAreWindowShortcuts()
{
    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    QVector<HotKey> heard;
    DesktopHotKeys keys(&window, QStringLiteral("-"));
    QCOMPARE(keys.Install([&](HotKey key) { heard.push_back(key); }), HotKeys::Reach::Window);
    QTest::keyClick(&window, Qt::Key_F12, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F11, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F10, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_F12);
    QTest::keyClick(&window, Qt::Key_F9, Qt::ControlModifier);
    QCOMPARE(heard, (QVector<HotKey>{HotKey::ShowHide, HotKey::Guide, HotKey::Viewer}));

    // Installing twice leaves one shortcut per key, not two that would make each ambiguous.
    QCOMPARE(keys.Install([&](HotKey key) { heard.push_back(key); }), HotKeys::Reach::Window);
    heard.clear();
    QTest::keyClick(&window, Qt::Key_F12, Qt::ControlModifier);
    QCOMPARE(heard, QVector<HotKey>{HotKey::ShowHide});

    keys.Uninstall();
    heard.clear();
    QTest::keyClick(&window, Qt::Key_F12, Qt::ControlModifier);
    QVERIFY(heard.isEmpty());
}

} // namespace quorx

QTEST_MAIN(quorx::HotKeysTest)
#include "HotKeysTest.moc"
