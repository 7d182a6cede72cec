#ifndef CAPTUREOPTIONS_H
#define CAPTUREOPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>

// What quenvarix-capture is asked to render, read from its command line.
struct CaptureOptions
{
    enum class Output { PngDirectory, Mp4Video };
    enum class Status { Ok, Error, ShowHelp, ShowVersion };

    // The whole demo timeline, at the player's 50 frames per second.
    static constexpr int kDefaultFrom = 0;
    static constexpr int kDefaultTo = 46000;
    static constexpr int kDefaultFps = 50;
    static constexpr int kMaxFps = 1000;  // engine time counts whole milliseconds
    static constexpr int kMaxSide = 8192;
    // x264's speed against file size; every preset keeps the same quality
    // setting, so a faster one makes a somewhat larger file.
    static const char* const kDefaultPreset;
    static const QStringList& presets();  // x264's own names, fastest first

    int from = kDefaultFrom;  // engine time of the first frame, ms
    int to = kDefaultTo;      // end of the range, ms, exclusive
    int fps = kDefaultFps;
    QSize size = QSize(1280, 720);
    QString out;              // a directory for PNG frames, or FILE.mp4
    Output output = Output::PngDirectory;
    bool audio = true;        // mux the soundtrack into a video
    QString preset = QString::fromLatin1(kDefaultPreset);  // x264's, for a video
    QString soundtrack;       // a track other than the demo's own; empty: the demo's
    bool quiet = false;       // no progress bar even on a terminal

    // Parses the arguments (arguments[0] is the program). On Error, `error`
    // says what is wrong; on ShowHelp/ShowVersion, `text` holds what to print.
    static Status parse(const QStringList& arguments, CaptureOptions* options,
                        QString* error, QString* text = nullptr);
};

#endif
