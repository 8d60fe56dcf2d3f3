// The baseline for sorvel's start-up benchmark: a bare QWebEngineView showing one URL.
// --software picks Qt Quick's software scene graph, as sorvel does on a CPU rasterizer.
#include <QApplication>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QUrl>
#include <QWebEngineView>

#include <cstring>

int main(int argc, char *argv[])
{
    bool software = false;
    const char *url = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--software") == 0) {
            software = true;
        } else {
            url = argv[i];
        }
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    if (software) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QWebEngineView view;
    view.resize(698, 508);
    view.load(QUrl(QString::fromLocal8Bit(url ? url : "about:blank")));
    view.show();
    return app.exec();
}
