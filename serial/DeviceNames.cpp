#include "serial/DeviceNames.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

QString DeviceNames::devicePath(const QString& portName) const {
#ifdef Q_OS_WIN
    return portName;
#else
    const QString own = deviceDir + QLatin1Char('/') + portName;
    if (QFileInfo::exists(own)) {
        return own;
    }
    if (portName == QLatin1String("COM1")) {
        return deviceDir + QStringLiteral("/ttyS0");
    }
    if (portName == QLatin1String("COM2")) {
        return deviceDir + QStringLiteral("/ttyS1");
    }
    return own;
#endif
}

bool DeviceNames::isKernelConsole(const QString& devicePath) const {
#ifdef Q_OS_WIN
    Q_UNUSED(devicePath);
    return false;
#else
    QFile list(consoleList);
    if (!list.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QString target = QFileInfo(devicePath).canonicalFilePath();
    if (target.isEmpty()) {
        return false; // the device does not exist; the open itself will fail
    }
    const QStringList names =
        QString::fromLocal8Bit(list.readAll())
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    for (const QString& name : names) {
        const QString console = QFileInfo(QStringLiteral("/dev/") + name).canonicalFilePath();
        if (!console.isEmpty() && console == target) {
            return true;
        }
    }
    return false;
#endif
}
