#include "app/FavoritesList.h"
#include "app/ProgramInfo.h"
#include "app/RenderingChoice.h"
#include "app/SingleInstance.h"
#include "browser/BrowserWindow.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    // A second start ends here, silently, before any window or file is touched.
    SingleInstance instance;
    if (!instance.acquire(SingleInstance::currentExecutablePath(argc > 0 ? argv[0] : ""))) {
        return 0;
    }

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ProgramInfo::initResources();
    QApplication::setApplicationVersion(ProgramInfo::versionString());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/sorvel.svg")));
    const QString rendering = RenderingChoice::apply();
    std::fprintf(stderr, "sorvel: %s\n", qPrintable(rendering));

    FavoritesList::LoadFavorites();
    BrowserWindow window;
    // Centred on the screen at first display.
    if (const QScreen *screen = window.screen()) {
        window.move(screen->availableGeometry().center() - window.rect().center());
    }
    window.show();
    return app.exec();
}
