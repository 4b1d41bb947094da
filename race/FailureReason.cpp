#include "race/FailureReason.h"

#include <cerrno>
#include <cstring>

QString failureReason(int systemError) {
    switch (systemError) {
    case ENOSPC:
        return QStringLiteral("disk je plný");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("je překročena disková kvóta");
#endif
    case EACCES:
    case EPERM:
        return QStringLiteral("přístup odepřen");
    case EROFS:
        return QStringLiteral("souborový systém je jen pro čtení");
    case EISDIR:
        return QStringLiteral("na místě souboru je složka");
    case EFBIG:
        return QStringLiteral("soubor je příliš velký");
    case EIO:
        return QStringLiteral("chyba čtení nebo zápisu na disk");
    case ENOENT:
        return QStringLiteral("soubor nebo složka chybí");
    default:
        return QStringLiteral("systémová chyba (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(systemError)));
    }
}
