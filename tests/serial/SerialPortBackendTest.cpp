#include "serial/SerialPortBackend.h"

#include <QFile>
#include <QTemporaryDir>

#include "tests/serial/FakeModemLines.h"
#include "tests/support/Printers.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A pseudo-terminal stands in for a serial device: it opens, locks and closes like one; its
// modem lines come from FakeModemLines. The device folder and the console list are the test's
// own, so nothing here goes near the machine's real ports.
class SerialPortBackendTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    QString pty; // the device the program opens
    DeviceNames names;

    ~SerialPortBackendTest() override { ::close(master); }
    void SetUp() override {
        ASSERT_TRUE(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        pty = QString::fromLocal8Bit(ptsname(master));
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
    link(QStringLiteral("COM2"), pty);
    EXPECT_EQ(names.devicePath(QStringLiteral("COM2")), dir.filePath(QStringLiteral("COM2")));
    EXPECT_EQ(names.devicePath(QStringLiteral("COM3")), dir.filePath(QStringLiteral("COM3")));
}

TEST_F(SerialPortBackendTest, OpensAnExistingDeviceExclusivelyAndReleasesItOnClose) {
    link(QStringLiteral("COM1"), pty);
    SerialPortBackend first(names);
    SerialPortBackend second(names);
    EXPECT_EQ(first.open(QStringLiteral("COM2")), -1) << "no such device";
    EXPECT_GT(first.open(QStringLiteral("COM1")), 0);
    EXPECT_EQ(first.modemStatus(), std::nullopt) << "a pseudo-terminal's lines cannot be read";
    EXPECT_EQ(second.open(QStringLiteral("COM1")), -1) << "another program holds the port";
    first.close();
    EXPECT_GT(second.open(QStringLiteral("COM1")), 0) << "closing releases the port";
    second.close();
}

TEST_F(SerialPortBackendTest, TheKernelConsoleIsRefusedAsBusy) {
    link(QStringLiteral("ttyS0"), pty);
    setConsoles("tty0 " + pty.mid(5).toLocal8Bit() + "\n");
    EXPECT_TRUE(names.isKernelConsole(dir.filePath(QStringLiteral("ttyS0"))));
    SerialPortBackend port(names);
    EXPECT_EQ(port.open(QStringLiteral("COM1")), -1);

    // The same device is fine once it is no console.
    setConsoles("tty0\n");
    EXPECT_FALSE(names.isKernelConsole(dir.filePath(QStringLiteral("ttyS0"))));
    EXPECT_GT(port.open(QStringLiteral("COM1")), 0);
    port.close();

    // Without the list, any name the kernel gives a console is refused, here or along the links;
    // a USB adapter still opens.
    ASSERT_TRUE(QFile::remove(names.consoleList));
    ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("ttyS0"))));
    const struct {
        const char* name;
        const char* linkTo; // another name in the folder, or the pseudo-terminal
        bool opens;
    } devices[] = {
        {"ttyS0", nullptr, false},   {"tty1", nullptr, false}, {"console", nullptr, false},
        {"ttyAMA0", nullptr, false}, {"hvc0", nullptr, false}, {"ttyUSB0", nullptr, true},
        {"ttyACM0", nullptr, true},  {"COM1", "ttyS0", false}, {"COM2", "ttyUSB0", true},
    };
    for (const auto& d : devices) {
        const QString name = QString::fromLatin1(d.name);
        link(name, d.linkTo ? dir.filePath(QString::fromLatin1(d.linkTo)) : pty);
        SerialPortBackend device(names);
        EXPECT_EQ(device.open(name) > 0, d.opens) << d.name;
        device.close();
    }
}

// The same pseudo-terminal, given modem lines by the fake driver and opened as COM1.
class SerialPortBackendLinesTest : public SerialPortBackendTest {
protected:
    std::unique_ptr<SerialPortBackend> port;

    void SetUp() override {
        SerialPortBackendTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        struct stat device {};
        ASSERT_EQ(::stat(pty.toLocal8Bit().constData(), &device), 0);
        FakeModemLines::attach(device.st_rdev);
        link(QStringLiteral("COM1"), pty);
        port = std::make_unique<SerialPortBackend>(names);
        ASSERT_GT(port->open(QStringLiteral("COM1")), 0);
    }
    void TearDown() override {
        port.reset();
        FakeModemLines::detach();
    }
};

TEST_F(SerialPortBackendLinesTest, EachInputLineReportsItsOwnStatusBit) {
    // Raised outputs read back along with the inputs and must not count as any of them.
    port->setDtr(true);
    port->setRts(true);
    // The TIOCM_ input lines and the status bits they must give.
    const std::pair<int, std::uint32_t> cases[] = {
        {0, 0x00U},
        {TIOCM_CTS, 0x10U},
        {TIOCM_DSR, 0x20U},
        {TIOCM_CAR, 0x80U},
        {TIOCM_RNG, 0x40U},
        {TIOCM_CTS | TIOCM_DSR | TIOCM_CAR, 0xB0U},
        {TIOCM_CTS | TIOCM_DSR | TIOCM_CAR | TIOCM_RNG, 0xF0U}};
    for (const auto& [lines, status] : cases) {
        FakeModemLines::setInputs(lines);
        EXPECT_EQ(port->modemStatus(), status) << "lines 0x" << std::hex << lines;
    }
}

TEST_F(SerialPortBackendLinesTest, EachOutputDrivesOnlyItsOwnLine) {
    constexpr int Break = FakeModemLines::breakBit;
    const struct {
        const char* step;
        void (SerialPortBackend::*set)(bool);
        bool on;
        int outputs;
    } steps[] = {{"DTR on", &SerialPortBackend::setDtr, true, TIOCM_DTR},
                 {"RTS on", &SerialPortBackend::setRts, true, TIOCM_DTR | TIOCM_RTS},
                 {"DTR off", &SerialPortBackend::setDtr, false, TIOCM_RTS},
                 {"break on", &SerialPortBackend::setBreak, true, TIOCM_RTS | Break},
                 {"RTS off", &SerialPortBackend::setRts, false, Break},
                 {"break off", &SerialPortBackend::setBreak, false, 0}};
    EXPECT_EQ(FakeModemLines::outputs(), 0);
    for (const auto& s : steps) {
        (port.get()->*s.set)(s.on);
        EXPECT_EQ(FakeModemLines::outputs(), s.outputs) << s.step;
    }
}

TEST_F(SerialPortBackendLinesTest, AClosedPortNeitherDrivesNorReadsALine) {
    port->setDtr(true);
    port->close();
    const int requestsBefore = FakeModemLines::requests();
    FakeModemLines::setInputs(TIOCM_CTS | TIOCM_DSR | TIOCM_CAR);
    port->setDtr(false);
    port->setRts(true);
    port->setBreak(true);
    EXPECT_EQ(port->modemStatus(), 0U);
    EXPECT_EQ(FakeModemLines::outputs(), TIOCM_DTR);
    EXPECT_EQ(FakeModemLines::requests(), requestsBefore);
}

} // namespace
