#include "support/Xvfb.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

Xvfb::Xvfb() = default;

Xvfb::~Xvfb()
{
    if (pid_ > 0) {
        ::kill(pid_t(pid_), SIGTERM);
        ::waitpid(pid_t(pid_), nullptr, 0);
    }
}

bool Xvfb::start(int width, int height)
{
    int fds[2];
    if (::pipe(fds) != 0) {
        return false;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(fds[1]);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        // -noreset: the display must survive the moments when no client is connected.
        ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(),
                 "-noreset", "-nolisten", "tcp", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        return false;
    }
    pid_ = pid;
    char buffer[32] = {};
    ssize_t got = 0;
    while (got < ssize_t(sizeof buffer) - 1) {
        const ssize_t n = ::read(fds[0], buffer + got, sizeof buffer - 1 - got);
        if (n <= 0 || buffer[got + n - 1] == '\n') {
            got += n > 0 ? n : 0;
            break;
        }
        got += n;
    }
    ::close(fds[0]);
    const int number = std::atoi(buffer);
    if (got <= 0) {
        return false;
    }
    display_ = QStringLiteral(":%1").arg(number);
    ::setenv("DISPLAY", display_.toLocal8Bit().constData(), 1);
    return true;
}
