// quenvarix: plays the demo. Without options fullscreen on the primary
// screen until Escape; see README.md for the options and the keys.

#include "engine.h"
#include "playeroptions.h"
#include "playerwidget.h"
#include "timinglog.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <memory>

namespace {

enum ExitStatus { kOk = 0, kFailed = 1, kBadArguments = 2 };

void complain(const QString& message)
{
    std::fprintf(stderr, "quenvarix: %s\n", qPrintable(message));
}

void refuse(const QString& message)
{
    complain(message);
    std::fprintf(stderr, "%s\n", qPrintable(PlayerOptions::usage()));
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quenvarix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUENVARIX_VERSION));
}

// The command line is read before any GUI exists, so that --help and
// mistakes need no display.
PlayerOptions::Status readOptions(int argc, char** argv, PlayerOptions* options)
{
    QCoreApplication application(argc, argv);
    nameApplication();
    QString error, text;
    const PlayerOptions::Status status =
        PlayerOptions::parse(application.arguments(), options, &error, &text);
    if (status == PlayerOptions::Status::Error)
        refuse(error);
    std::fputs(qPrintable(text), stdout);
    return status;
}

// Without a display the toolkit would abort: the player needs an X display
// or a Wayland session (unless a platform is named outright).
bool displayMissing()
{
    return qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
           && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void listScreens()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    for (int i = 0; i < screens.size(); ++i) {
        const QRect area = screens[i]->geometry();
        std::printf("%d: %s, %dx%d at %d,%d%s\n", i, qPrintable(screens[i]->name()),
                    area.width(), area.height(), area.x(), area.y(),
                    screens[i] == QGuiApplication::primaryScreen() ? " (primary)" : "");
    }
}

QScreen* chosenScreen(const PlayerOptions& options)
{
    if (options.screen == PlayerOptions::kPrimaryScreen)
        return QGuiApplication::primaryScreen();
    return QGuiApplication::screens().at(options.screen);
}

void showWindow(QWindow* window, const PlayerOptions& options)
{
    QScreen* screen = chosenScreen(options);
    window->setScreen(screen);
    window->setTitle(QStringLiteral("Quenvarix"));
    if (options.windowed) {
        window->resize(options.size);
        window->setPosition(screen->availableGeometry().center()
                            - QPoint(options.size.width() / 2, options.size.height() / 2));
        window->show();
        return;
    }
    // A bare X server (no window manager, as under Xvfb) ignores the
    // fullscreen request; covering the screen keeps the picture whole there.
    window->setGeometry(screen->geometry());
    window->setCursor(Qt::BlankCursor);
    window->showFullScreen();
}

}  // namespace

int main(int argc, char* argv[])
{
    PlayerOptions options;
    const PlayerOptions::Status status = readOptions(argc, argv, &options);
    if (status == PlayerOptions::Status::Error)
        return kBadArguments;
    if (status == PlayerOptions::Status::ShowHelp || status == PlayerOptions::Status::ShowVersion)
        return kOk;
    if (displayMissing()) {
        complain(QStringLiteral("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)"));
        return kFailed;
    }
    QGuiApplication app(argc, argv);
    nameApplication();
    QString error;
    if (!options.checkScreen(QGuiApplication::screens().size(), &error)) {
        refuse(error);
        return kBadArguments;
    }
    if (status == PlayerOptions::Status::ListScreens) {
        listScreens();
        return kOk;
    }
    std::unique_ptr<TimingLog> timingLog(options.timingLog ? new TimingLog() : nullptr);
    Engine::GetInstance()->InitWindow();
    PlayerWidget widget(options);
    widget.SetTimingLog(timingLog.get());
    showWindow(&widget, options);
    return app.exec();
}
