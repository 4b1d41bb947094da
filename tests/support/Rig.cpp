#include "tests/support/Rig.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <limits>

Rig::Rig() : oldDir_(QDir::currentPath()) {
    QDir::setCurrent(dir_.path());
}

Rig::~Rig() {
    form_.reset();
    QDir::setCurrent(oldDir_);
}

Platform Rig::platform() {
    return Platform{lines, sampler, counter, pulseSleep, clock, pause, timeOfDay, end};
}

Form1& Rig::make() {
    form_.reset();
    form_ = std::make_unique<Form1>(platform());
    // The real timer must not tick in the middle of a test; tickIfDue() stands in for it.
    form_->controls().StartTimer->setInterval(std::numeric_limits<int>::max());
    messages.mainWindow = form_.get();
    return *form_;
}

Form1& Rig::start() {
    make();
    form_->Form_Load();
    form_->show();
    form_->controls().StartTimer->stop();
    form_->race().enterLoop();
    return *form_;
}

void Rig::passes(int count) {
    for (int i = 0; i < count; ++i) {
        switch (form_->race().runPass()) {
        case Race::PassEnd::Next:
            break;
        case Race::PassEnd::Restart:
            form_->race().enterLoop();
            break;
        case Race::PassEnd::Leave:
            return;
        }
    }
}

void Rig::tickIfDue() {
    if (!form_->controls().StartTimer->isActive()) {
        return;
    }
    // The timer's own signal, as its tick would send it.
    QMetaObject::invokeMethod(form_->controls().StartTimer, "timeout", Qt::QueuedConnection);
}

void Rig::click(QAbstractButton* button) {
    QMetaObject::invokeMethod(button, "click", Qt::QueuedConnection);
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
