#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QFile>

#include <cstdio>

// Stands in for RealtimeKit on a test's private bus; grants nothing for real. Arguments:
// LOG MaxRealtimePriority RTTimeUSecMax [refuse]. Every request is appended to LOG before the
// answer, so the test's own log lines interleave in the order of the calls.
class FakeRealtimeKit : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.RealtimeKit1")
    Q_PROPERTY(int MaxRealtimePriority READ maxRealtimePriority)
    Q_PROPERTY(qlonglong RTTimeUSecMax READ rtTimeUSecMax)

public:
    explicit FakeRealtimeKit(QStringList args) : args_(std::move(args)) {}
    int maxRealtimePriority() const { return log(QStringLiteral("MaxRealtimePriority"), 2); }
    qlonglong rtTimeUSecMax() const { return log(QStringLiteral("RTTimeUSecMax"), 3); }

public slots:
    void MakeThreadRealtime(qulonglong thread, uint priority) {
        log(QStringLiteral("MakeThreadRealtime %1 %2").arg(thread).arg(priority), 1);
        if (args_.size() > 4) {
            sendErrorReply(QDBusError::AccessDenied, QStringLiteral("refused"));
        }
    }

private:
    // Logs the line and returns the argument at the index.
    qlonglong log(const QString& line, int index) const {
        QFile file(args_.at(1));
        file.open(QIODevice::Append);
        file.write(line.toUtf8() + '\n');
        return args_.at(index).toLongLong();
    }
    QStringList args_;
};

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    FakeRealtimeKit kit(app.arguments());
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.registerObject(QStringLiteral("/org/freedesktop/RealtimeKit1"), &kit,
                            QDBusConnection::ExportAllSlots |
                                QDBusConnection::ExportAllProperties) ||
        !bus.registerService(QStringLiteral("org.freedesktop.RealtimeKit1"))) {
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

#include "FakeRealtimeKit.moc"
