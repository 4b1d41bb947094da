#include "race/FailureReason.h"

#include <cerrno>
#include <cstring>

namespace {
struct Reason {
    int systemError;
    const char* czech;
};

constexpr Reason reasons[] = {
    {ENOSPC, "disk je plný"},
#ifdef EDQUOT
    {EDQUOT, "je překročena disková kvóta"},
#endif
    {EACCES, "přístup odepřen"},
    {EPERM, "přístup odepřen"},
    {EROFS, "souborový systém je jen pro čtení"},
    {EISDIR, "na místě souboru je složka"},
    {EFBIG, "soubor je příliš velký"},
    {EIO, "chyba čtení nebo zápisu na disk"},
    {ENOENT, "soubor nebo složka chybí"},
};
} // namespace

QString failureReason(int systemError) {
    for (const Reason& reason : reasons) {
        if (reason.systemError == systemError) {
            return QString::fromUtf8(reason.czech);
        }
    }
    return QStringLiteral("systémová chyba (%1)")
        .arg(QString::fromLocal8Bit(std::strerror(systemError)));
}
