// quenvarix-capture: renders the demo frame by frame on a manual clock, to
// PNG frames or to an H.264 video with its soundtrack. See README.md.

#include "abortatexit.h"
#include "capturejob.h"
#include "enginesetup.h"
#include "captureoptions.h"
#include "ffmpegsink.h"
#include "frameclock.h"
#include "interrupt.h"
#include "offscreentarget.h"
#include "path.h"
#include "pngdirectorysink.h"
#include "progressbar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace {

enum ExitStatus { kOk = 0, kFailed = 1, kBadArguments = 2, kInterrupted = 130 };

void complain(const QString& message)
{
    std::fprintf(stderr, "quenvarix-capture: %s\n", qPrintable(message));
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("quenvarix-capture"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENVARIX_VERSION));
}

// Arguments are read before any GUI exists, so that --help and mistakes
// need no display. Returns -1 to go on, or the exit status.
int readOptions(int argc, char** argv, CaptureOptions* options)
{
    QCoreApplication application(argc, argv);
    nameApplication();
    QString error, text;
    switch (CaptureOptions::parse(application.arguments(), options, &error, &text)) {
    case CaptureOptions::Status::Ok:
        return -1;
    case CaptureOptions::Status::Error:
        complain(error + QStringLiteral("\n(see quenvarix-capture --help)"));
        return kBadArguments;
    default:
        std::fputs(qPrintable(text), stdout);
        return kOk;
    }
}

// Without X the toolkit would abort; Mesa offers GL here only through GLX.
bool displayMissing()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool needsX = platform.isEmpty() || platform == "xcb" || platform == "offscreen";
    return needsX && qEnvironmentVariableIsEmpty("DISPLAY");
}

// The demo's own track unless another was given; a missing demo track only
// makes the video silent, as the player itself would be.
bool chooseSoundtrack(const CaptureOptions& options, QString* soundtrack)
{
    soundtrack->clear();
    if (!options.audio || options.output != CaptureOptions::Output::Mp4Video)
        return true;
    const bool own = options.soundtrack.isEmpty();
    const QString track = own ? PATH + EngineSetup::kDemoTrack : options.soundtrack;
    if (QFileInfo(track).isFile()) {
        *soundtrack = track;
        return true;
    }
    complain(QStringLiteral("soundtrack '%1' not found%2").arg(QDir::cleanPath(track),
        own ? QStringLiteral(": the video will be silent") : QString()));
    return own;
}

std::unique_ptr<FrameSink> makeSink(const CaptureOptions& options, const FrameClock& clock,
                                    const QString& soundtrack)
{
    if (options.output == CaptureOptions::Output::PngDirectory)
        return std::make_unique<PngDirectorySink>(options.out);
    FfmpegSink::Settings settings;
    settings.output = options.out;
    settings.size = options.size;
    settings.fps = options.fps;
    settings.preset = options.preset;
    settings.from = options.from;
    settings.frameCount = clock.frameCount();
    settings.soundtrack = soundtrack;
    return std::make_unique<FfmpegSink>(settings);
}

QString whatIsLeft(const FrameSink& sink)
{
    const QString left = sink.leftBehind();
    return left.isEmpty() ? QStringLiteral("no finished output was written") : left;
}

int capture(const CaptureOptions& options, const FrameClock& clock, FrameSink* sink)
{
    OffscreenTarget target;
    QString error;
    if (!target.create(options.size, &error)) {
        sink->abort();
        complain(error);
        return kFailed;
    }
    ProgressBar progress(clock.frameCount(), !options.quiet && ProgressBar::stderrIsTerminal());
    switch (CaptureJob(clock, &target, sink).run(&progress, &error)) {
    case CaptureJob::Outcome::Done:
        progress.finish(QStringLiteral("%1 frames written to %2").arg(clock.frameCount()).arg(options.out));
        return kOk;
    case CaptureJob::Outcome::Interrupted:
        progress.finish(QStringLiteral("interrupted"));
        complain(QStringLiteral("interrupted: ") + whatIsLeft(*sink));
        return kInterrupted;
    default:
        progress.finish(QStringLiteral("failed"));
        complain(error);
        complain(whatIsLeft(*sink));
        return kFailed;
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    CaptureOptions options;
    const int status = readOptions(argc, argv, &options);
    if (status >= 0)
        return status;
    if (displayMissing()) {
        complain(QStringLiteral("no X display: run it under X, or headless with "
                                "'xvfb-run -a quenvarix-capture ...'"));
        return kFailed;
    }
    QGuiApplication application(argc, argv);
    nameApplication();
    const FrameClock clock(options.from, options.to, options.fps);
    QString soundtrack, error;
    if (!chooseSoundtrack(options, &soundtrack))
        return kBadArguments;
    // Before the sink makes its temporary files, so none can outlive Ctrl-C.
    Interrupt::install();
    std::unique_ptr<FrameSink> sink = makeSink(options, clock, soundtrack);
    if (!sink->open(&error)) {
        complain(error);
        return kBadArguments;
    }
    const AbortAtExit abortAtExit(sink.get());
    return capture(options, clock, sink.get());
}
