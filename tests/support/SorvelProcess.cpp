#include "support/SorvelProcess.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QTest>

SorvelProgram::SorvelProgram()
{
    QDir root(dir_.path());
    root.mkpath(QStringLiteral("program"));
    root.mkpath(QStringLiteral("home"));
    root.mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(dir_.path() + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::copy(QStringLiteral(SORVEL_BINARY), folder() + QStringLiteral("/sorvel"));
    QFile::copy(QStringLiteral(SORVEL_HTML), folder() + QStringLiteral("/sorvel.html"));
}

void SorvelProgram::writeFavorites(const QByteArray &bytes) const
{
    QFile file(favoritesPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
}

QByteArray SorvelProgram::readFavorites() const
{
    QFile file(favoritesPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool SorvelProgram::favoritesExist() const
{
    return QFile::exists(favoritesPath());
}

std::unique_ptr<QProcess> SorvelProgram::start() const
{
    auto process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir_.path() + QStringLiteral("/home"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.path() + QStringLiteral("/runtime"));
    process->setProcessEnvironment(env);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setProgram(folder() + QStringLiteral("/sorvel"));
    process->start();
    process->waitForStarted();
    return process;
}

unsigned long waitForWindow(const X11 &x11, const QProcess &process, int timeoutMs)
{
    unsigned long window = 0;
    (void)QTest::qWaitFor([&] { return (window = x11.findWindow(process.processId())) != 0; },
                          timeoutMs);
    return window;
}

bool waitForCaption(const X11 &x11, unsigned long window, const QString &expected, int timeoutMs)
{
    return QTest::qWaitFor([&] { return x11.windowName(window) == expected; }, timeoutMs);
}

bool waitForCaptionPrefix(const X11 &x11, unsigned long window, const QString &prefix,
                          int timeoutMs)
{
    return QTest::qWaitFor([&] { return x11.windowName(window).startsWith(prefix); }, timeoutMs);
}

bool closeLikeWindowManager(const X11 &x11, unsigned long window, QProcess &process)
{
    x11.sendDeleteWindow(window);
    return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}
