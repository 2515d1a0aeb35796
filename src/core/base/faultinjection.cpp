#include "faultinjection.h"

#include <QFileInfo>
#include <QStringList>
#include <csignal>
#include <cstdlib>
#include <new>

namespace tolvimar {

namespace {

const QStringList &entries()
{
    static const QStringList list
        = qEnvironmentVariable("TOLVIMAR_TEST_FAULTS").split(u',', Qt::SkipEmptyParts);
    return list;
}

} // namespace

bool FaultInjection::hits(QStringView kind, QStringView name, bool suffix)
{
    for (const QString &entry : entries()) {
        const qsizetype colon = entry.indexOf(u':');
        if (colon < 0 || QStringView(entry).left(colon) != kind)
            continue;
        const QStringView wanted = QStringView(entry).mid(colon + 1);
        if (suffix ? name.endsWith(wanted) : name == wanted)
            return true;
    }
    return false;
}

bool FaultInjection::failsWrite(const QString &path)
{
    return !entries().isEmpty() && hits(u"write", path, true);
}

bool FaultInjection::failsRename(const QString &path)
{
    return !entries().isEmpty() && hits(u"rename", path, true);
}

void FaultInjection::killPoint(const QString &path)
{
    if (!entries().isEmpty() && hits(u"kill", path, true)) {
#ifdef SIGKILL
        std::raise(SIGKILL);
#endif
        std::abort();
    }
}

void FaultInjection::memoryPoint(const char *name)
{
    if (!entries().isEmpty() && hits(u"memory", QString::fromLatin1(name), false))
        throw std::bad_alloc();
}

bool FaultInjection::gateClosed()
{
    if (entries().isEmpty())
        return false;
    for (const QString &entry : entries()) {
        if (entry.startsWith(QLatin1String("gate:")) && QFileInfo::exists(entry.mid(5)))
            return true;
    }
    return false;
}

} // namespace tolvimar
