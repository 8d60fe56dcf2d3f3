#include "support/GuiSession.h"

#include "app/ProgramInfo.h"
#include "app/RenderingChoice.h"

GuiSession::GuiSession(int &argc, char **argv)
    : displayStarted_(startDisplay(xvfb_)), app_(argc, argv)
{
    ProgramInfo::initResources();
    RenderingChoice::apply();
}

bool GuiSession::startDisplay(Xvfb &xvfb)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    return xvfb.start();
}
