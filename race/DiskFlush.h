#pragma once

// Puts what has been written on the disk. The program uses the system's calls; tests and the
// benchmark put in flushes that are slow, fail or wait to be let go.
class DiskFlush {
public:
    virtual ~DiskFlush() = default;
    // The data written through the descriptor, and the file's size with it: 0 or the system's
    // error (errno).
    virtual int flushFile(int fd) = 0;
    // The entries of a folder, so that a file just made there keeps its name.
    virtual int flushFolder(int fd) = 0;
};

// fdatasync() for a file, fsync() for a folder.
class SystemDiskFlush final : public DiskFlush {
public:
    int flushFile(int fd) override;
    int flushFolder(int fd) override;
};
