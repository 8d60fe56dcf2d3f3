#pragma once

#include "support/X11.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// The real sorvel binary, copied into a temporary program folder of its own (with sorvel.html
// and a chosen favorites.txt), started with a fresh HOME and runtime folder.
class SorvelProgram
{
public:
    SorvelProgram();
    bool isValid() const { return dir_.isValid(); }
    QString folder() const { return dir_.path() + QStringLiteral("/program"); }
    QString favoritesPath() const { return folder() + QStringLiteral("/favorites.txt"); }
    void writeFavorites(const QByteArray &bytes) const;
    QByteArray readFavorites() const;
    bool favoritesExist() const;

    // Starts one instance; several may be started from the same program folder.
    std::unique_ptr<QProcess> start() const;

private:
    QTemporaryDir dir_;
};

// Waits (processing events) for a process's window, then for its caption to satisfy a test.
unsigned long waitForWindow(const X11 &x11, const QProcess &process, int timeoutMs = 30000);
bool waitForCaption(const X11 &x11, unsigned long window, const QString &expected,
                    int timeoutMs = 30000);
bool waitForCaptionPrefix(const X11 &x11, unsigned long window, const QString &prefix,
                          int timeoutMs = 30000);

// Closes the window with the message a window manager sends for its close box, then waits for a
// clean exit (under the sanitizers a leak or error report makes the exit code non-zero).
bool closeLikeWindowManager(const X11 &x11, unsigned long window, QProcess &process);
