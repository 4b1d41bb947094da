#include "serial/SerialPortBackend.h"

#include <QFile>
#include <QTemporaryDir>

#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// A pseudo-terminal stands in for a serial device: it opens, locks and closes like one,
// though it has no modem lines. The device folder and the console list are the test's own,
// so nothing here goes near the machine's real ports.
class PseudoTerminal {
public:
    PseudoTerminal() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ >= 0 && grantpt(master_) == 0 && unlockpt(master_) == 0) {
            slave_ = QString::fromLocal8Bit(ptsname(master_));
        }
    }
    ~PseudoTerminal() {
        if (master_ >= 0) {
            ::close(master_);
        }
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;
    const QString& slave() const { return slave_; }

private:
    int master_ = -1;
    QString slave_;
};

class SerialPortBackendTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    PseudoTerminal pty;
    DeviceNames names;

    void SetUp() override {
        ASSERT_FALSE(pty.slave().isEmpty());
        names.deviceDir = dir.path();
        names.consoleList = dir.filePath(QStringLiteral("console-active"));
        setConsoles("tty0\n");
    }
    void setConsoles(const QByteArray& list) const {
        QFile file(names.consoleList);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(list);
    }
    void link(const QString& name, const QString& target) const {
        ASSERT_TRUE(QFile::link(target, dir.filePath(name)));
    }
};

TEST_F(SerialPortBackendTest, PortNamesLeadToTheirOwnDeviceOrTheBuiltInPort) {
    EXPECT_EQ(names.devicePath(QStringLiteral("COM1")), dir.filePath(QStringLiteral("ttyS0")));
    EXPECT_EQ(names.devicePath(QStringLiteral("COM2")), dir.filePath(QStringLiteral("ttyS1")));
    link(QStringLiteral("COM2"), pty.slave());
    EXPECT_EQ(names.devicePath(QStringLiteral("COM2")), dir.filePath(QStringLiteral("COM2")));
    EXPECT_EQ(names.devicePath(QStringLiteral("COM3")), dir.filePath(QStringLiteral("COM3")));
}

TEST_F(SerialPortBackendTest, OpensExclusivelyAndReleasesOnClose) {
    link(QStringLiteral("COM1"), pty.slave());
    SerialPortBackend first(names);
    SerialPortBackend second(names);
    EXPECT_GT(first.open(QStringLiteral("COM1")), 0);
    EXPECT_EQ(second.open(QStringLiteral("COM1")), -1) << "another program holds the port";
    first.close();
    EXPECT_GT(second.open(QStringLiteral("COM1")), 0) << "closing releases the port";
    second.close();
}

TEST_F(SerialPortBackendTest, FallsBackToTheBuiltInPortName) {
    link(QStringLiteral("ttyS0"), pty.slave());
    SerialPortBackend port(names);
    EXPECT_GT(port.open(QStringLiteral("COM1")), 0);
    port.close();
}

TEST_F(SerialPortBackendTest, AMissingDeviceDoesNotOpen) {
    SerialPortBackend port(names);
    EXPECT_EQ(port.open(QStringLiteral("COM2")), -1);
    EXPECT_EQ(port.modemStatus(0xFFFFFFFF), 0U);
}

TEST_F(SerialPortBackendTest, TheKernelConsoleIsRefusedAsBusy) {
    link(QStringLiteral("ttyS0"), pty.slave());
    setConsoles("tty0 " + pty.slave().mid(5).toLocal8Bit() + "\n");
    EXPECT_TRUE(names.isKernelConsole(dir.filePath(QStringLiteral("ttyS0"))));
    SerialPortBackend port(names);
    EXPECT_EQ(port.open(QStringLiteral("COM1")), -1);

    // The same device is fine once it is no console.
    setConsoles("tty0\n");
    EXPECT_FALSE(names.isKernelConsole(dir.filePath(QStringLiteral("ttyS0"))));
    EXPECT_GT(port.open(QStringLiteral("COM1")), 0);
    port.close();
}

TEST_F(SerialPortBackendTest, APseudoTerminalHasNoModemLinesToReport) {
    link(QStringLiteral("COM1"), pty.slave());
    SerialPortBackend port(names);
    ASSERT_GT(port.open(QStringLiteral("COM1")), 0);
    port.setDtr(true);
    port.setRts(true);
    port.setBreak(true);
    port.setBreak(false);
    EXPECT_EQ(port.modemStatus(0xB0) & 0xB0U, 0U);
    port.close();
}

} // namespace
