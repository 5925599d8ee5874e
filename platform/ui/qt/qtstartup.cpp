#include "platform/ui/qt/qtstartup.h"

#include <clocale>
#include <cstdlib>

#include <QApplication>
#include <QFontDatabase>

QSurfaceFormat AfxQtDefaultSurfaceFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setSamples(0);
    return format;
}

void AfxQtBeforeApplication(bool bUseAccel)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The windows compose through OpenGL; the few shaders that takes are
    // not worth a cache in the user's home.
    QCoreApplication::setAttribute(Qt::AA_DisableShaderDiskCache);
    QSurfaceFormat::setDefaultFormat(AfxQtDefaultSurfaceFormat());
    AfxQtApplyAcceleration(bUseAccel);
}

void AfxQtApplyAcceleration(bool bUseAccel)
{
    if (!bUseAccel)
        setenv("LIBGL_ALWAYS_SOFTWARE", "1", /*overwrite=*/0);
}

void AfxQtRestoreNumericLocale()
{
    std::setlocale(LC_NUMERIC, "C");
}

void AfxQtAfterApplication()
{
    AfxQtRestoreNumericLocale();
    QApplication::setFont(AfxQtDialogFont());
}

QFont AfxQtDialogFont()
{
    const QString family =
        QFontDatabase::hasFamily("Liberation Sans") ? "Liberation Sans" : "DejaVu Sans";
    QFont font(family);
    font.setPointSize(8);
    return font;
}
