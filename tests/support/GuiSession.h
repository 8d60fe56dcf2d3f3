#pragma once

#include "support/Xvfb.h"

#include <QApplication>

// A private virtual display and the application object on it, set up the way sorvel sets itself
// up (resources, scene graph). For test and benchmark programs.
class GuiSession
{
public:
    GuiSession(int &argc, char **argv);
    bool isValid() const { return displayStarted_; }

private:
    static bool startDisplay(Xvfb &xvfb);

    Xvfb xvfb_;
    bool displayStarted_;
    QApplication app_; // after the display: it connects on construction
};
