#include "ZomvaraFixture.h"

#include "viewer/X11DesktopWindows.h"

#include <QProcess>
#include <QStandardPaths>

#include <xcb/xcb.h>

#include <cstdlib>

namespace quorx::test {
namespace {

// The viewer's real window on a private X server of the test's own, with no window manager.
class ViewerWindowX11 : public ZomvaraTest
{
protected:
    void SetUp() override
    {
        ZomvaraTest::SetUp();
        const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (xvfb.isEmpty())
            GTEST_SKIP() << "Xvfb is not installed";
        m_server.setProgram(xvfb);
        m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                               QStringLiteral("0"), QStringLiteral("1024x768x24"),
                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        m_server.start();
        ASSERT_TRUE(m_server.waitForStarted());
        QByteArray number;
        ASSERT_TRUE(WaitFor([&] {
            number += m_server.readAllStandardOutput();
            return number.contains('\n');
        }));
        m_display = QStringLiteral(":") + QString::fromLatin1(number.trimmed());
        m_oldDisplay = qgetenv("DISPLAY");
        qputenv("DISPLAY", m_display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
        // Without a session bus the X11 viewer would have one started on the test's display.
        if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/quorx-test-bus");
    }

    void TearDown() override
    {
        ZomvaraTest::TearDown();
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            m_server.waitForFinished(3000);
        }
        qputenv("DISPLAY", m_oldDisplay);
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    // The window of the viewer running from this executable, once it has appeared.
    DesktopWindow WindowOf(X11DesktopWindows& desktop, const ViewerControl& control)
    {
        DesktopWindow found;
        WaitFor([&] {
            const QVector<qint64> pids = control.ViewerProcesses();
            for (const DesktopWindow& w : desktop.TopLevelWindows())
                if (w.title == QLatin1String("Zomvara") && pids.contains(w.pid) && w.frame.isValid()) {
                    found = w;
                    return true;
                }
            return false;
        });
        return found;
    }

    quint32 Focus() const
    {
        xcb_connection_t* c = xcb_connect(m_display.toLocal8Bit().constData(), nullptr);
        xcb_get_input_focus_reply_t* reply = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
        const quint32 focus = reply ? reply->focus : 0;
        std::free(reply);
        xcb_disconnect(c);
        return focus;
    }

    QProcess m_server;
    QString m_display;
    QByteArray m_oldDisplay;
};

TEST_F(ViewerWindowX11, PlaceAndBringToFrontActOnTheViewersOwnWindow)
{
    const QString copyExe = Install(QStringLiteral("copy"), "[Channels]\nArte=synthetic:16\n");
    ViewerControl copy(m_processes, m_timers, nullptr);
    copy.SetExecutable(copyExe);
    StartViewer(copy);

    ViewerControl control(m_processes, m_timers, nullptr, X11DesktopWindows::Connect(m_display));
    control.SetExecutable(m_executable);
    StartViewer(control);

    auto desktop = X11DesktopWindows::Connect(m_display);
    ASSERT_TRUE(desktop);
    const DesktopWindow ours = WindowOf(*desktop, control);
    const DesktopWindow theirs = WindowOf(*desktop, copy);
    ASSERT_NE(ours.id, 0u);
    ASSERT_NE(theirs.id, 0u);

    ASSERT_TRUE(desktop->Activate(theirs.id));
    ASSERT_TRUE(WaitFor([&] { return Focus() == theirs.id; }));

    ASSERT_TRUE(control.PlaceViewer(QRect(100, 50, 600, 400), 420));
    EXPECT_TRUE(WaitFor([&] { return WindowOf(*desktop, control).frame == QRect(100, 50, 600, 370); }))
        << "the window is at " << WindowOf(*desktop, control).frame.x() << ","
        << WindowOf(*desktop, control).frame.y();
    EXPECT_EQ(WindowOf(*desktop, copy).frame, theirs.frame);
    EXPECT_TRUE(WaitFor([&] { return Focus() == ours.id; }));

    ASSERT_TRUE(desktop->Activate(theirs.id));
    ASSERT_TRUE(WaitFor([&] { return Focus() == theirs.id; }));
    EXPECT_TRUE(control.BringToFront(0));
    EXPECT_TRUE(WaitFor([&] { return Focus() == ours.id; }));
}

TEST_F(ViewerWindowX11, AViewerStartedHiddenShowsNoWindow)
{
    // Waiting until the hidden one answers matters: a second start racing it would become the
    // running viewer itself, shown normally.
    StartViewer(*m_control, ShowState::Hidden);
    ViewerControl shown(m_processes, m_timers, nullptr);
    shown.SetExecutable(Install(QStringLiteral("shown"), "[Channels]\nArte=synthetic:16\n"));
    StartViewer(shown);

    auto desktop = X11DesktopWindows::Connect(m_display);
    ASSERT_TRUE(desktop);
    // Once the viewer started normally has its window, the hidden one would have had its own.
    ASSERT_NE(WindowOf(*desktop, shown).id, 0u);
    const QVector<qint64> hidden = m_control->ViewerProcesses();
    for (const DesktopWindow& w : desktop->TopLevelWindows())
        EXPECT_FALSE(hidden.contains(w.pid)) << w.title.toStdString();
}

} // namespace
} // namespace quorx::test
