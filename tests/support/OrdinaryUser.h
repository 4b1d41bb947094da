#pragma once

#include <QFile>
#include <QString>

#include <sys/fsuid.h>
#include <unistd.h>

// Root writes any file and creates files in any folder. For the permission faults a test run
// by root acts on the files as an ordinary user while this lasts: the folder is handed to that
// user and this thread's file access is checked as theirs (a file user other than root drops
// the capabilities that override permissions). For anyone else it changes nothing.
class OrdinaryUser {
public:
    explicit OrdinaryUser(const QString& folder) {
        if (geteuid() != 0) {
            return;
        }
        active_ = chown(QFile::encodeName(folder).constData(), nobody, nobody) == 0;
        if (active_) {
            setfsgid(nobody);
            setfsuid(nobody);
        }
    }
    ~OrdinaryUser() {
        if (active_) {
            setfsuid(0);
            setfsgid(0);
        }
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

    // Permissions are enforced on this thread now, whoever runs the test.
    bool enforced() const { return geteuid() != 0 || (active_ && setfsuid(nobody) == nobody); }

private:
    static constexpr uid_t nobody = 65534;
    bool active_ = false;
};
