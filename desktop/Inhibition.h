#pragma once

#include <QString>

#include <functional>
#include <utility>

// Something the desktop holds back (suspend, the screen saver) for as long as this is held:
// release() or the end gives it back. One that could not be had says why.
class Inhibition {
public:
    // Held until end is called.
    explicit Inhibition(std::function<void()> end) : end_(std::move(end)) {}
    // Not held: the D-Bus error name, or what was wrong with the answer.
    explicit Inhibition(QString error) : error_(std::move(error)) {}
    ~Inhibition() { release(); }
    Inhibition(const Inhibition&) = delete;
    Inhibition& operator=(const Inhibition&) = delete;

    bool held() const { return static_cast<bool>(end_); }
    const QString& error() const { return error_; }
    void release() {
        if (end_) {
            std::exchange(end_, nullptr)();
        }
    }

private:
    std::function<void()> end_;
    QString error_;
};
