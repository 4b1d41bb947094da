#include "race/DiskFlush.h"

#include <cerrno>
#include <unistd.h>

namespace {

int retried(int (*call)(int), int fd) {
    for (;;) {
        if (call(fd) == 0) {
            return 0;
        }
        if (errno != EINTR) {
            return errno;
        }
    }
}

} // namespace

int SystemDiskFlush::flushFile(int fd) {
    return retried(::fdatasync, fd);
}

int SystemDiskFlush::flushFolder(int fd) {
    return retried(::fsync, fd);
}
