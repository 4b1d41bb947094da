#include "tests/support/Rig.h"

#include "records/LogRecords.h"
#include "tests/support/NextPump.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <limits>

Rig::Rig() : oldDir_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

Rig::~Rig() {
    program_.reset();
    QDir::setCurrent(oldDir_);
}

Rig::Program::Program(Rig& rig)
    : log(QString::fromLatin1(LogRecords::fileName)),
      race(rig.raceLines, rig.clock, rig.pause, rig.timeOfDay, log),
      form(race, log, rig.clock, rig.end) {}

Form1& Rig::make(Timer timer) {
    program_.reset();
    program_ = std::make_unique<Program>(*this);
    // The real timer must not tick in the middle of a test; tickIfDue() stands in for it.
    if (timer == Timer::HeldBack) {
        form().controls().StartTimer->setInterval(std::numeric_limits<int>::max());
    }
    messages.mainWindow = &form();
    return form();
}

Form1& Rig::start() {
    make();
    form().Form_Load();
    form().show();
    form().controls().StartTimer->stop();
    form().race().enterLoop();
    return form();
}

void Rig::passes(int count) {
    for (int i = 0; i < count; ++i) {
        switch (form().race().runPass()) {
        case Race::PassEnd::Next:
            break;
        case Race::PassEnd::Restart:
            form().race().enterLoop();
            break;
        case Race::PassEnd::Leave:
            return;
        }
    }
}

void Rig::tickIfDue() {
    QTimer* timer = form().controls().StartTimer;
    if (timer->isActive()) {
        // The timer's own signal, as its tick would send it.
        atNextPump(timer, [timer] { QMetaObject::invokeMethod(timer, "timeout"); });
    }
}

void Rig::click(QAbstractButton* button) {
    atNextPump(button, [button] { button->click(); });
}

void Rig::tick(Form1& form) {
    QMetaObject::invokeMethod(form.controls().StartTimer, "timeout", Qt::DirectConnection);
}

QString Rig::logPath() const {
    return dir_.filePath(QStringLiteral("ZAVOD.TXT"));
}

QByteArray Rig::log() const {
    QFile file(logPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Rig::writeLog(const QByteArray& bytes) const {
    QFile file(logPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}
