#include "playeroptions.h"

#include "commandlinerequest.h"
#include "timeline.h"

#include <QCommandLineParser>

namespace {

// A whole number from `min` to `max`; otherwise `error` says what was expected.
bool readNumber(const QCommandLineParser& parser, const QString& name, int min, int max,
                const QString& expected, int* value, QString* error)
{
    if (!parser.isSet(name))
        return true;
    bool ok = false;
    const QString text = parser.value(name);
    const int number = text.toInt(&ok);
    if (!ok || number < min || number > max) {
        *error = QStringLiteral("--%1 expects %2, got '%3'").arg(name, expected, text);
        return false;
    }
    *value = number;
    return true;
}

bool readStart(const QCommandLineParser& parser, int* start, QString* error)
{
    const QString expected = QStringLiteral("a whole number of milliseconds from 0 to %1 "
                                            "(the end of the demo)").arg(kTimelineEnd);
    return readNumber(parser, "start", 0, kTimelineEnd, expected, start, error);
}

bool readFps(const QCommandLineParser& parser, int* fps, QString* error)
{
    const int max = PlayerOptions::kMaxFps;
    const QString expected = QStringLiteral("a whole number from 1 to %1").arg(max);
    return readNumber(parser, "fps", 1, max, expected, fps, error);
}

bool readAudioDelay(const QCommandLineParser& parser, int* delay, QString* error)
{
    const int max = PlayerOptions::kMaxAudioDelay;
    const QString expected =
        QStringLiteral("a whole number of milliseconds from -%1 to %1").arg(max);
    return readNumber(parser, "audio-delay", -max, max, expected, delay, error);
}

bool readScreen(const QCommandLineParser& parser, int* screen, QString* error)
{
    const QString expected = QStringLiteral("a screen number (see --list-screens)");
    return readNumber(parser, "screen", 0, 999, expected, screen, error);
}

bool readSize(const QCommandLineParser& parser, QSize* size, QString* error)
{
    return !parser.isSet("size")
           || readFrameSize(parser.value("size"), PlayerOptions::kMinSide, PlayerOptions::kMaxSide,
                            size, error);
}

void addOptions(QCommandLineParser* parser)
{
    parser->setApplicationDescription(QStringLiteral(
        "Plays the Quenvarix demo: 46 seconds of animated scenes in step with its music.\n"
        "Warning: the intro and the captions flash several times a second."));
    parser->addOptions({
        {"windowed", "Play in a window instead of fullscreen."},
        {"size", "Window size, at least 64x64 (default 1280x720); implies --windowed.", "WxH"},
        {"screen", "Screen to play on, numbered as --list-screens shows (default: the primary).",
         "n"},
        {"list-screens", "List the screens of this display and quit."},
        {"start", "Begin at this engine time (0 to 46000).", "ms"},
        {"loop", "After the end (46000 ms) start again from 0, music included."},
        {"exit-at-end", "Quit with status 0 once the demo has ended."},
        {"mute", "Play without sound (the track is not opened)."},
        {"audio-delay", "Play the sound this much later than the picture (negative: earlier), "
                        "for displays or speakers that add latency.", "ms"},
        {"fps", "Pace the frames with a timer at this rate, 1 to 240, instead of the "
                "display's refresh (or 50 a second where the display does not wait); the "
                "timeline keeps its pace.", "n"},
        {"timing-log", "Print the clock and the music's position on standard error."},
        {"dev", "Demo maker's keys (Space, arrows, Page Up/Down, Home, comma, period) "
                "and an overlay with the engine time."},
    });
    parser->addHelpOption();
    parser->addVersionOption();
}

bool checkCombinations(const QCommandLineParser& parser, QString* error)
{
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]);
        return false;
    }
    if (parser.isSet("loop") && parser.isSet("exit-at-end")) {
        *error = QStringLiteral("--loop and --exit-at-end exclude each other");
        return false;
    }
    return true;
}

bool readValues(const QCommandLineParser& parser, PlayerOptions* options, QString* error)
{
    options->windowed = parser.isSet("windowed") || parser.isSet("size");
    options->loop = parser.isSet("loop");
    options->exitAtEnd = parser.isSet("exit-at-end");
    options->mute = parser.isSet("mute");
    options->timingLog = parser.isSet("timing-log");
    options->dev = parser.isSet("dev");
    options->fpsForced = parser.isSet("fps");
    return checkCombinations(parser, error) && readSize(parser, &options->size, error)
           && readScreen(parser, &options->screen, error)
           && readStart(parser, &options->start, error)
           && readAudioDelay(parser, &options->audioDelay, error)
           && readFps(parser, &options->fps, error);
}

}  // namespace

PlayerOptions::Status PlayerOptions::parse(const QStringList& arguments, PlayerOptions* options,
                                           QString* error, QString* text)
{
    QCommandLineParser parser;
    addOptions(&parser);
    const CommandLineRequest request = readCommandLine(&parser, arguments, error, text);
    if (request != CommandLineRequest::Values)
        return statusOf<Status>(request);
    PlayerOptions parsed;
    if (!readValues(parser, &parsed, error))
        return Status::Error;
    *options = parsed;
    return parser.isSet("list-screens") ? Status::ListScreens : Status::Ok;
}

bool PlayerOptions::checkScreen(int screenCount, QString* error) const
{
    if (screen == kPrimaryScreen || screen < screenCount)
        return true;
    *error = QStringLiteral("--screen %1 does not exist: this display has %2 screen%3 "
                            "(see --list-screens)")
                 .arg(screen).arg(screenCount).arg(screenCount == 1 ? "" : "s");
    return false;
}

QString PlayerOptions::usage()
{
    return QStringLiteral("Usage: quenvarix [options]\nTry 'quenvarix --help' for the options.");
}
