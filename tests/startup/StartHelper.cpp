// Starts as the scheduler's entry does, without the window:
//   quorx_start_helper <program folder> <runtime folder> [argument]
// When the folder is free it becomes the first instance, prints "first" and then one line
// "handover:<argument>" for each hand-over it receives, until it is killed. When the folder is
// taken it hands its argument over, prints "delivered" and ends at once (status 0), or prints why
// it could not (status 1). Status 2: the instance lock could not be used.
#include "platform/linux/QtTimerService.h"
#include "startup/SingleInstance.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream out(stdout);
    if (args.size() < 3) {
        out << "usage: quorx_start_helper <program folder> <runtime folder> [argument]\n";
        return 2;
    }
    quorx::SingleInstance instance(args.at(1), QCoreApplication::applicationFilePath(), args.at(2));
    switch (instance.Acquire()) {
    case quorx::SingleInstance::Role::First:
        QObject::connect(&instance, &quorx::SingleInstance::HandOverReceived, &app,
                         [&out](const QString& argument) {
                             out << "handover:" << argument << '\n';
                             out.flush();
                         });
        out << (instance.Listening() ? "first\n" : "first, not listening\n");
        out.flush();
        return app.exec();
    case quorx::SingleInstance::Role::AlreadyRunning: {
        quorx::QtTimerService timers;
        const auto result = instance.HandOver(args.value(3), &timers);
        out << (result.delivered ? QStringLiteral("delivered") : result.error) << '\n';
        return result.delivered ? 0 : 1;
    }
    case quorx::SingleInstance::Role::Unavailable:
        out << instance.Error() << '\n';
        return 2;
    }
    return 2;
}
