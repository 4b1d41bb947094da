#include "race/ResultsLog.h"

#include "race/FailureReason.h"
#include "race/LogFlusher.h"
#include "records/LogRecords.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The file, open for appending only as long as one append lasts.
class AppendFile {
public:
    explicit AppendFile(const QString& name)
        : fd_(::open(QFile::encodeName(name).constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC,
                     0666)),
          error_(fd_ < 0 ? errno : 0) {}
    ~AppendFile() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }
    int error() const { return error_; }
    int descriptor() const { return fd_; }
    // The file was empty before the write: as a rule, the open has just made it.
    bool begun() const { return before_ == 0; }

    // Writes all of it or takes back what a failure left half written, so that a line is
    // either in the file whole or kept to be written whole next time.
    bool writeAll(const QByteArray& bytes) {
        const off_t before = before_ = ::lseek(fd_, 0, SEEK_END);
        qsizetype written = 0;
        while (written < bytes.size()) {
            const ssize_t more = ::write(fd_, bytes.constData() + written,
                                         static_cast<std::size_t>(bytes.size() - written));
            if (more < 0 && errno == EINTR) {
                continue;
            }
            if (more <= 0) {
                // A short write reports no error of its own; the next one brings the system's.
                error_ = more < 0 ? errno : EIO;
                if (written > 0 && before >= 0) {
                    [[maybe_unused]] const int ignored = ::ftruncate(fd_, before);
                }
                return false;
            }
            written += more;
        }
        return true;
    }

private:
    int fd_;
    int error_;
    off_t before_ = -1;
};

// Every kept record, oldest first, in one write.
bool writeKept(AppendFile& file, QStringList& kept) {
    QByteArray bytes;
    for (const QString& line : std::as_const(kept)) {
        bytes += LogRecords::encodeLine(line);
    }
    if (!file.isOpen() || !file.writeAll(bytes)) {
        return false;
    }
    kept.clear();
    return true;
}

} // namespace

ResultsLog::ResultsLog(QString fileName) : fileName_(std::move(fileName)) {}

QString ResultsLog::failureMessage(const QString& reason) {
    return QStringLiteral("Zápis do souboru ZAVOD.TXT selhal: ") + reason +
           QStringLiteral("\nZáznam je uschován a bude zapsán při dalším zápisu.");
}

QString ResultsLog::flushFailureMessage(const QString& reason) {
    return QStringLiteral("Uložení souboru ZAVOD.TXT na disk selhalo: ") + reason +
           QStringLiteral("\nZáznamy jsou v souboru, ale při výpadku napájení se mohou ztratit.");
}

void ResultsLog::append(const QString& recordText) {
    append([&recordText] { return recordText; });
}

void ResultsLog::append(const std::function<QString()>& recordText) {
    AppendFile file(fileName_);
    pending_.append(recordText());
    if (writeKept(file, pending_)) {
        outageReported_ = false;
        handOver(file.descriptor(), file.begun());
    } else {
        reportOutage(failureReason(file.error()));
    }
    poll();
}

bool ResultsLog::retryPending() {
    if (pending_.isEmpty()) {
        return true;
    }
    AppendFile file(fileName_);
    if (!writeKept(file, pending_)) {
        return false;
    }
    outageReported_ = false;
    handOver(file.descriptor(), file.begun());
    return true;
}

// A copy of the descriptor, so that the flush reaches the file written even if it is renamed
// or replaced meanwhile.
void ResultsLog::handOver(int fd, bool begun) {
    if (flusher_ == nullptr) {
        return;
    }
    const int copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (copy < 0) {
        return; // out of descriptors: the system still flushes it in its own time
    }
    flusher_->hand(copy, begun ? QFile::encodeName(QFileInfo(fileName_).path()).toStdString()
                               : std::string());
}

void ResultsLog::poll() {
    if (flusher_ == nullptr) {
        return;
    }
    if (const int error = flusher_->takeFailure(); error != 0 && notice_) {
        notice_(flushFailureMessage(failureReason(error)));
    }
}

bool ResultsLog::waitFlushed(std::chrono::milliseconds limit) {
    return flusher_ == nullptr || flusher_->waitFlushed(limit);
}

void ResultsLog::reportOutage(const QString& reason) {
    if (outageReported_) {
        return;
    }
    outageReported_ = true;
    if (notice_) {
        notice_(failureMessage(reason));
    }
}
