#include "app/ProgramInfo.h"

#include <QCoreApplication>

static void initSorvelResources()
{
    Q_INIT_RESOURCE(sorvel);
}

void ProgramInfo::initResources()
{
    initSorvelResources();
}

QString ProgramInfo::folder()
{
    return QCoreApplication::applicationDirPath();
}

QString ProgramInfo::startPagePath()
{
    return folder() + QStringLiteral("/sorvel.html");
}

QString ProgramInfo::captionPrefix()
{
    return QStringLiteral("Sorvel v%1.%2%3")
        .arg(SORVEL_VERSION_MAJOR)
        .arg(SORVEL_VERSION_MINOR)
        .arg(SORVEL_VERSION_TWEAK);
}

QString ProgramInfo::versionString()
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(SORVEL_VERSION_MAJOR)
        .arg(SORVEL_VERSION_MINOR)
        .arg(SORVEL_VERSION_PATCH)
        .arg(SORVEL_VERSION_TWEAK);
}
