#pragma once

#include <QString>

// A private virtual X display for one test program. Started before the application object so
// in-process widget tests and the programs they start share it.
class Xvfb
{
public:
    Xvfb();
    ~Xvfb();
    Xvfb(const Xvfb &) = delete;
    Xvfb &operator=(const Xvfb &) = delete;

    bool start(int width = 1280, int height = 800);
    QString display() const { return display_; }

private:
    long pid_ = -1;
    QString display_;
};
