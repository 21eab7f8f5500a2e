#include "platform/web_engine_start.h"

#include <QLocale>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <malloc.h>

namespace {

const char kSwitchesVariable[] = "QTWEBENGINE_CHROMIUM_FLAGS";
constexpr int kLargeBlock = 256 * 1024;

// The renderer of the GL context the engine shares with the widgets; empty when there is none.
QString SharedGlRenderer() {
    QOpenGLContext* shared = QOpenGLContext::globalShareContext();
    if (shared == nullptr)
        return {};
    QOpenGLContext probe;
    probe.setShareContext(shared);
    probe.setFormat(shared->format());
    QOffscreenSurface surface;
    surface.setFormat(shared->format());
    surface.create();
    if (!probe.create() || !surface.isValid() || !probe.makeCurrent(&surface))
        return {};
    const auto* name = reinterpret_cast<const char*>(probe.functions()->glGetString(GL_RENDERER));
    const QString renderer = QString::fromLatin1(name != nullptr ? name : "");
    probe.doneCurrent();
    return renderer;
}

} // namespace

QString GpuSwitchesFor(const QString& glRenderer) {
    if (glRenderer.isEmpty())
        return QStringLiteral("--disable-gpu");
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "SwiftShader"}) {
        if (glRenderer.contains(QLatin1String(software), Qt::CaseInsensitive))
            return QStringLiteral("--ignore-gpu-blocklist");
    }
    return {};
}

void PrepareWebEngineStart() {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    // Large blocks come from the system and go back to it when freed. By default the allocator
    // raises that threshold to the size of each large block freed, and from then on keeps such
    // blocks once freed: the engine's frame buffers (in this process, and in ordinary memory
    // where GL is software) would then be held for ever after each game.
    mallopt(M_MMAP_THRESHOLD, kLargeBlock);
    QString switches = qEnvironmentVariable(kSwitchesVariable);
    // Every pane shows the one catalogue site: one renderer process serves them all, instead of
    // one each (some 20 MiB apiece).
    if (!switches.contains(QLatin1String("--process-per")))
        switches += QStringLiteral(" --process-per-site");
    // Switches given by whoever started the program about the GPU are theirs to choose.
    if (!switches.contains(QLatin1String("gpu")))
        switches += QLatin1Char(' ') + GpuSwitchesFor(SharedGlRenderer());
    qputenv(kSwitchesVariable, switches.simplified().toUtf8());
}
