#include "window/Application.h"

#include <exception>

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("tavorin"));
    setApplicationDisplayName(QStringLiteral("TAVORIN V.02"));
}

void Application::setRunTimeErrorHandler(std::function<void(const QString&)> handler) {
    handler_ = std::move(handler);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        if (!handler_) {
            throw;
        }
        handler_(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        if (!handler_) {
            throw;
        }
        handler_(QStringLiteral("neznámá chyba"));
    }
    return false;
}
