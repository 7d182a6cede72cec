#include "captureoptions.h"

#include "commandlinerequest.h"

#include <QCommandLineParser>
#include <QFileInfo>

const char* const CaptureOptions::kDefaultPreset = "superfast";

const QStringList& CaptureOptions::presets()
{
    static const QStringList names = {"ultrafast", "superfast", "veryfast", "faster", "fast",
                                      "medium", "slow", "slower", "veryslow"};
    return names;
}

namespace {

// Whole, non-negative milliseconds of engine time.
bool parseTime(const QString& name, const QString& text, int* ms, QString* error)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok) {
        *error = QStringLiteral("--%1 expects a whole number of milliseconds, got '%2'")
                     .arg(name, text);
        return false;
    }
    if (value < 0) {
        *error = QStringLiteral("--%1 must not be negative, got %2").arg(name).arg(value);
        return false;
    }
    *ms = value;
    return true;
}

bool parseFps(const QString& text, int* fps, QString* error)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 1 || value > CaptureOptions::kMaxFps) {
        *error = QStringLiteral("--fps must be a whole number from 1 to %1, got '%2'")
                     .arg(CaptureOptions::kMaxFps)
                     .arg(text);
        return false;
    }
    *fps = value;
    return true;
}

// "x.mp4" is a video; anything else names the directory for PNG frames,
// except another video container, which would silently become a directory.
bool parseOut(const QString& text, CaptureOptions::Output* output, QString* error)
{
    static const QStringList otherVideos = {"mkv", "avi", "mov", "webm", "m4v", "ogv"};
    const QString suffix = QFileInfo(text).suffix().toLower();
    if (otherVideos.contains(suffix)) {
        *error = QStringLiteral("--out '%1': only MP4 video is written; "
                                "give FILE.mp4, or a directory for PNG frames")
                     .arg(text);
        return false;
    }
    *output = suffix == QLatin1String("mp4") ? CaptureOptions::Output::Mp4Video
                                             : CaptureOptions::Output::PngDirectory;
    return true;
}

bool parsePreset(const QString& text, QString* preset, QString* error)
{
    if (!CaptureOptions::presets().contains(text)) {
        *error = QStringLiteral("--preset must be one of %1; got '%2'")
                     .arg(CaptureOptions::presets().join(QStringLiteral(", ")), text);
        return false;
    }
    *preset = text;
    return true;
}

bool checkConsistency(const CaptureOptions& options, QString* error)
{
    if (options.from >= options.to) {
        *error = QStringLiteral("--from (%1) must be before --to (%2)")
                     .arg(options.from)
                     .arg(options.to);
        return false;
    }
    const QSize size = options.size;
    const bool odd = size.width() % 2 != 0 || size.height() % 2 != 0;
    if (options.output == CaptureOptions::Output::Mp4Video && odd) {
        *error = QStringLiteral("H.264 video needs an even width and height, got %1x%2")
                     .arg(size.width())
                     .arg(size.height());
        return false;
    }
    return true;
}

void addOptions(QCommandLineParser* parser)
{
    parser->setApplicationDescription(
        QStringLiteral("Renders the Quenvarix demo frame by frame on a manual clock, "
                       "to PNG frames or to an H.264 video with its soundtrack."));
    parser->addOptions({
        {"from", "Engine time of the first frame (default 0).", "ms"},
        {"to", "End of the range, not included (default 46000: the whole demo).", "ms"},
        {"fps", "Frames per second (default 50, as the player).", "n"},
        {"size", "Frame size (default 1280x720).", "WxH"},
        {"preset",
         QStringLiteral("x264 preset of a video, from ultrafast to veryslow: slower makes "
                        "smaller files of the same quality (default %1).")
             .arg(CaptureOptions::kDefaultPreset),
         "name"},
        {"out", "A directory for frame_00000.png... or FILE.mp4 for a video.", "path"},
        {"soundtrack", "Mux this audio file instead of the demo's track.", "file"},
        {"no-audio", "Leave the soundtrack out of the video."},
        {"quiet", "No progress bar, even on a terminal."},
    });
    parser->addHelpOption();
    parser->addVersionOption();
}

bool readValues(const QCommandLineParser& parser, CaptureOptions* options, QString* error)
{
    if (!parser.positionalArguments().isEmpty()) {
        *error = QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments()[0]);
        return false;
    }
    if (parser.value("out").isEmpty()) {
        *error = QStringLiteral("--out is missing: give a directory for PNG frames or FILE.mp4");
        return false;
    }
    options->out = parser.value("out");
    options->audio = !parser.isSet("no-audio");
    options->soundtrack = parser.value("soundtrack");
    options->quiet = parser.isSet("quiet");
    return parseOut(options->out, &options->output, error)
           && (!parser.isSet("from") || parseTime("from", parser.value("from"), &options->from, error))
           && (!parser.isSet("to") || parseTime("to", parser.value("to"), &options->to, error))
           && (!parser.isSet("fps") || parseFps(parser.value("fps"), &options->fps, error))
           && (!parser.isSet("size")
               || readFrameSize(parser.value("size"), 1, CaptureOptions::kMaxSide,
                                &options->size, error))
           && (!parser.isSet("preset") || parsePreset(parser.value("preset"), &options->preset, error))
           && checkConsistency(*options, error);
}

}  // namespace

CaptureOptions::Status CaptureOptions::parse(const QStringList& arguments,
                                             CaptureOptions* options, QString* error,
                                             QString* text)
{
    QCommandLineParser parser;
    addOptions(&parser);
    const CommandLineRequest request = readCommandLine(&parser, arguments, error, text);
    if (request != CommandLineRequest::Values)
        return statusOf<Status>(request);
    CaptureOptions parsed;
    if (!readValues(parser, &parsed, error))
        return Status::Error;
    *options = parsed;
    return Status::Ok;
}
