#include "PrivateBus.h"

#include "platform/fake/VirtualClock.h"
#include "platform/linux/LogindPowerBackend.h"
#include "platform/linux/ScreenSaverNudge.h"
#include "platform/linux/WakeTimer.h"

#include <QDBusArgument>
#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace quorx {
namespace {

using test::CountInhibitors;
using test::ListInhibitors;
using test::PrivateBus;
using test::SpinUntil;

const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");

class LogindPowerBackendTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_bus.Started()) << "dbus-daemon did not start";
        ASSERT_TRUE(m_bus.StartLogind()) << "the mocked login manager did not start";
        m_backend = MakeBackend();
    }

    std::unique_ptr<LogindPowerBackend> MakeBackend()
    {
        return std::make_unique<LogindPowerBackend>(m_bus.Connect(), m_bus.Connect(),
                                                    std::make_unique<WakeTimer>(m_clock, QString()));
    }

    bool Replace(const QString& method, const QString& in, const QString& out, const QString& code)
    {
        return m_bus.MockAddMethod(PrivateBus::LogindService(), kPath, kManager, method, in, out, code);
    }

    bool Emit(const QString& name, bool value)
    {
        return m_bus.MockEmitSignal(PrivateBus::LogindService(), kPath, kManager, name, QStringLiteral("b"),
                                    {value});
    }

    int Blocks() { return CountInhibitors(m_bus, QStringLiteral("block")); }
    int Delays() { return CountInhibitors(m_bus, QStringLiteral("delay")); }

    // The mock drops a lock when it sees the descriptor closed, a moment after we close it.
    bool Eventually(const std::function<bool()>& condition) { return SpinUntil(condition); }

    VirtualClock m_clock{DateTime::FromFields(2024, 3, 1, 20, 0)};
    PrivateBus m_bus;
    std::unique_ptr<LogindPowerBackend> m_backend;
};

TEST_F(LogindPowerBackendTest, CanAnswersDecideWhatIsAllowed)
{
    const struct
    {
        const char* answer;
        bool allowed;
    } cases[] = {{"yes", true}, {"challenge", true}, {"no", false}, {"na", false}};
    for (const auto& c : cases) {
        const QString code = QStringLiteral("ret = '%1'").arg(QLatin1String(c.answer));
        ASSERT_TRUE(Replace(QStringLiteral("CanSuspend"), QString(), QStringLiteral("s"), code));
        ASSERT_TRUE(Replace(QStringLiteral("CanHibernate"), QString(), QStringLiteral("s"), code));
        EXPECT_EQ(m_backend->CanSuspend(), c.allowed) << c.answer;
        EXPECT_EQ(m_backend->CanHibernate(), c.allowed) << c.answer;
    }
}

TEST_F(LogindPowerBackendTest, VetoHoldsOneBlockLockExactlyWhileRefusing)
{
    EXPECT_EQ(Blocks(), 0);
    EXPECT_EQ(Delays(), 1) << "the delay lock is held at rest";

    m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement de France 2"));
    m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement de France 2"));
    ASSERT_EQ(Blocks(), 1);
    EXPECT_TRUE(m_backend->SuspendVetoHeld());
    for (const auto& lock : ListInhibitors(m_bus)) {
        if (lock.mode == QLatin1String("block")) {
            EXPECT_EQ(lock.what, QLatin1String("sleep:shutdown"));
            EXPECT_EQ(lock.why, QLatin1String("Enregistrement de France 2"));
        }
    }

    // A new reason replaces the lock without a moment unguarded, and leaves no second one behind.
    m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement d'Arte"));
    EXPECT_TRUE(Eventually([&] {
        const auto locks = ListInhibitors(m_bus);
        return std::count_if(locks.begin(), locks.end(),
                             [](const auto& l) {
                                 return l.mode == QLatin1String("block") &&
                                        l.why == QLatin1String("Enregistrement d'Arte");
                             }) == 1 &&
               Blocks() == 1;
    }));

    m_backend->SetSuspendVeto(false, QString());
    m_backend->SetSuspendVeto(false, QString());
    EXPECT_FALSE(m_backend->SuspendVetoHeld());
    EXPECT_TRUE(Eventually([&] { return Blocks() == 0; }));
    EXPECT_EQ(Delays(), 1);
}

// A stricter login manager than the mock: our own request fails while a block lock is listed.
const QString kRefuseWhileBlocked = QStringLiteral(
    "if any(i[3] == 'block' for i in globals().get('inhibitors', [])):\n"
    "    raise dbus.exceptions.DBusException('blocked', name='org.freedesktop.login1.OperationInhibited')\n");

TEST_F(LogindPowerBackendTest, OwnActionsLiftTheVetoWhichReturnsAfterTheResume)
{
    const struct
    {
        const char* method;
        bool (PowerBackend::*call)();
    } actions[] = {{"Suspend", &PowerBackend::Suspend},
                   {"Hibernate", &PowerBackend::Hibernate},
                   {"PowerOff", &PowerBackend::PowerOff}};
    for (const auto& action : actions) {
        SCOPED_TRACE(action.method);
        ASSERT_TRUE(
            Replace(QLatin1String(action.method), QStringLiteral("b"), QString(), kRefuseWhileBlocked));
        m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement"));
        ASSERT_EQ(Blocks(), 1);

        EXPECT_TRUE(((*m_backend).*action.call)());
        EXPECT_EQ(Blocks(), 0);
        EXPECT_FALSE(m_backend->SuspendVetoHeld());
        EXPECT_TRUE(m_backend->SuspendVetoWanted());
        // Pressed again during our own action, the veto waits for the resume as well.
        m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement"));
        EXPECT_EQ(Blocks(), 0);

        const QString resume = QLatin1String(action.method) == QLatin1String("PowerOff")
                                   ? QStringLiteral("PrepareForShutdown")
                                   : QStringLiteral("PrepareForSleep");
        ASSERT_TRUE(Emit(resume, false));
        EXPECT_TRUE(Eventually([&] { return m_backend->SuspendVetoHeld(); }));
        EXPECT_EQ(Blocks(), 1);
        EXPECT_EQ(Delays(), 1);
        m_backend->SetSuspendVeto(false, QString());
        ASSERT_TRUE(Eventually([&] { return Blocks() == 0; }));
    }
}

TEST_F(LogindPowerBackendTest, RefusedActionTakesTheVetoBackAtOnce)
{
    ASSERT_TRUE(Replace(QStringLiteral("Suspend"), QStringLiteral("b"), QString(),
                        QStringLiteral("raise dbus.exceptions.DBusException('no', "
                                       "name='org.freedesktop.DBus.Error.AccessDenied')")));
    m_backend->SetSuspendVeto(true, QStringLiteral("Enregistrement"));

    EXPECT_FALSE(m_backend->Suspend());
    EXPECT_TRUE(m_backend->SuspendVetoHeld());
    EXPECT_TRUE(Eventually([&] { return Blocks() == 1; }));
}

TEST_F(LogindPowerBackendTest, SleepWaitsForTheEngineAndTheDelayLockReturnsOnResume)
{
    std::vector<bool> sleepNotices, shutdownNotices;
    m_backend->SetPrepareForSleepHandler([&](bool sleeping) { sleepNotices.push_back(sleeping); });
    m_backend->SetPrepareForShutdownHandler([&](bool down) { shutdownNotices.push_back(down); });

    ASSERT_TRUE(Emit(QStringLiteral("PrepareForSleep"), true));
    ASSERT_TRUE(Eventually([&] { return sleepNotices.size() == 1; }));
    EXPECT_TRUE(sleepNotices[0]);
    EXPECT_EQ(Delays(), 1) << "the system waits until the engine is ready";

    m_backend->ReadyForSleep();
    EXPECT_TRUE(Eventually([&] { return Delays() == 0; }));

    ASSERT_TRUE(Emit(QStringLiteral("PrepareForSleep"), false));
    ASSERT_TRUE(Eventually([&] { return sleepNotices.size() == 2; }));
    EXPECT_FALSE(sleepNotices[1]);
    EXPECT_EQ(Delays(), 1);

    ASSERT_TRUE(Emit(QStringLiteral("PrepareForShutdown"), true));
    ASSERT_TRUE(Eventually([&] { return shutdownNotices.size() == 1; }));
    EXPECT_TRUE(shutdownNotices[0]);
    EXPECT_EQ(sleepNotices.size(), 2u);
}

TEST_F(LogindPowerBackendTest, WithoutAHandlerTheSystemIsNotHeldBack)
{
    ASSERT_TRUE(Emit(QStringLiteral("PrepareForSleep"), true));
    EXPECT_TRUE(Eventually([&] { return Delays() == 0; }));
    ASSERT_TRUE(Emit(QStringLiteral("PrepareForSleep"), false));
    EXPECT_TRUE(Eventually([&] { return Delays() == 1; }));
}

// Captures what Qt would print, so that a test can tell that nothing was.
class MessageCatcher
{
public:
    MessageCatcher()
    {
        s_messages.clear();
        m_previous = qInstallMessageHandler(&Catch);
    }
    ~MessageCatcher() { qInstallMessageHandler(m_previous); }
    static const QStringList& Messages() { return s_messages; }

private:
    static void Catch(QtMsgType, const QMessageLogContext&, const QString& text) { s_messages.append(text); }
    static inline QStringList s_messages;
    QtMessageHandler m_previous = nullptr;
};

TEST(LogindPowerBackendWithoutLogindTest, EveryCallFailsSoftlyAndQuietly)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.Started());
    VirtualClock clock;
    const struct
    {
        const char* name;
        QDBusConnection connection;
    } buses[] = {
        {"a bus without a login manager", bus.Connect()},
        {"no bus at all", QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                        QStringLiteral("quorx-test-nowhere"))},
    };
    for (const auto& b : buses) {
        SCOPED_TRACE(b.name);
        MessageCatcher catcher;
        QElapsedTimer elapsed;
        elapsed.start();
        LogindPowerBackend backend(b.connection, b.connection, std::make_unique<WakeTimer>(clock, QString()));
        EXPECT_FALSE(backend.CanSuspend());
        EXPECT_FALSE(backend.CanHibernate());
        backend.SetSuspendVeto(true, QStringLiteral("Enregistrement"));
        EXPECT_TRUE(backend.SuspendVetoWanted());
        EXPECT_FALSE(backend.SuspendVetoHeld());
        EXPECT_FALSE(backend.Suspend());
        EXPECT_FALSE(backend.Hibernate());
        EXPECT_FALSE(backend.PowerOff());
        backend.ReadyForSleep();
        backend.KeepAwakeNudge();
        backend.SetSuspendVeto(false, QString());
        EXPECT_LT(elapsed.elapsed(), 2000);
        EXPECT_TRUE(MessageCatcher::Messages().isEmpty())
            << MessageCatcher::Messages().join(u'\n').toStdString();
    }
}

TEST(LogindPowerBackendWithoutLogindTest, LocksAreTakenWhenTheLoginManagerAppears)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.Started());
    VirtualClock clock;
    LogindPowerBackend backend(bus.Connect(), bus.Connect(), std::make_unique<WakeTimer>(clock, QString()));
    backend.SetSuspendVeto(true, QStringLiteral("Enregistrement"));
    ASSERT_FALSE(backend.SuspendVetoHeld());

    ASSERT_TRUE(bus.StartLogind());
    EXPECT_TRUE(SpinUntil([&] { return backend.SuspendVetoHeld(); }));
    EXPECT_EQ(CountInhibitors(bus, QStringLiteral("block")), 1);
    EXPECT_EQ(CountInhibitors(bus, QStringLiteral("delay")), 1);
    EXPECT_TRUE(backend.CanSuspend());

    bus.StopMocks();
    EXPECT_TRUE(SpinUntil([&] { return !backend.SuspendVetoHeld(); }));
    EXPECT_TRUE(backend.SuspendVetoWanted());
}

TEST(ScreenSaverNudgeTest, TellsTheScreenSaverServiceWhenThereIsOne)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.Started());
    const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
    const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
    ScreenSaverNudge nudge(bus.Connect());
    EXPECT_FALSE(nudge.Nudge()) << "nobody to tell yet";

    ASSERT_TRUE(bus.StartMock({service, path, service}, service));
    ASSERT_TRUE(bus.MockAddMethod(service, path, service, QStringLiteral("SimulateUserActivity"), QString(),
                                  QString(), QString()));
    VirtualClock clock;
    LogindPowerBackend backend(bus.Connect(), bus.Connect(), std::make_unique<WakeTimer>(clock, QString()));
    backend.KeepAwakeNudge();
    EXPECT_TRUE(nudge.Nudge());

    const QDBusMessage calls =
        bus.Call(service, path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("GetMethodCalls"),
                 {QStringLiteral("SimulateUserActivity")});
    ASSERT_EQ(calls.type(), QDBusMessage::ReplyMessage);
    const QDBusArgument list = calls.arguments().constFirst().value<QDBusArgument>();
    int count = 0;
    list.beginArray();
    while (!list.atEnd()) {
        list.beginStructure();
        quint64 when = 0;
        QVariantList arguments;
        list >> when >> arguments;
        list.endStructure();
        ++count;
    }
    list.endArray();
    EXPECT_EQ(count, 2);
}

} // namespace
} // namespace quorx
