#include "window/Application.h"

namespace {

// Images drawn through shared memory make every picture wait for the display server to be done
// with the one before: a round trip sixty times a second while the running time is shown. The
// window is small, so its pictures go over the connection instead; one set here stays.
int& withImagesOverTheConnection(int& argc) {
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    return argc;
}

} // namespace

Application::Application(int& argc, char** argv)
    : QApplication(withImagesOverTheConnection(argc), argv) {
    setApplicationName(QStringLiteral("tavorin"));
    setApplicationDisplayName(QStringLiteral("TAVORIN V.02"));
}
