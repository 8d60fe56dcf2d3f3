#include "app/RenderingChoice.h"

#include <QDir>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QQuickWindow>
#include <QSGRendererInterface>

namespace
{
QString probeRenderer()
{
    QOpenGLContext context;
    if (!context.create()) {
        return QString();
    }
    QOffscreenSurface surface;
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        return QString();
    }
    const auto *text =
        reinterpret_cast<const char *>(context.functions()->glGetString(GL_RENDERER));
    QString renderer = text ? QString::fromLatin1(text) : QString();
    context.doneCurrent();
    return renderer;
}

// Renderer names of CPU rasterizers: Mesa's three and Windows' own GDI one.
bool isSoftwareRasterizer(const QString &renderer)
{
    const QString r = renderer.toLower();
    return r.isEmpty() || r.contains(QLatin1String("llvmpipe")) ||
           r.contains(QLatin1String("softpipe")) || r.contains(QLatin1String("swrast")) ||
           r.contains(QLatin1String("software rasterizer")) ||
           r.contains(QLatin1String("gdi generic"));
}

} // namespace

QString RenderingChoice::apply()
{
#ifdef Q_OS_LINUX
    // Without a DRM device no GPU can drive OpenGL: skip the probe, which would load the whole
    // software rasterizer only to name it.
    if (QDir(QStringLiteral("/dev/dri")).entryList(QDir::System | QDir::Files).isEmpty()) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return QStringLiteral("software scene graph (no GPU device)");
    }
#endif
    const QString renderer = probeRenderer();
    if (isSoftwareRasterizer(renderer)) {
        // With a CPU rasterizer every small repaint recomposes the whole window through OpenGL.
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        return QStringLiteral("software scene graph (OpenGL renderer: %1)")
            .arg(renderer.isEmpty() ? QStringLiteral("none") : renderer);
    }
    QQuickWindow::setGraphicsApi(QSGRendererInterface::OpenGL);
    return QStringLiteral("OpenGL scene graph (%1)").arg(renderer);
}
