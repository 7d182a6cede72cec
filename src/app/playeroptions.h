#ifndef PLAYEROPTIONS_H
#define PLAYEROPTIONS_H

#include <QSize>
#include <QString>
#include <QStringList>

// How the player is asked to run, read from its command line. Without any
// option it plays as it always has: fullscreen on the primary screen at 50
// frames per second, the music at engine time 5000, on after the end until
// Escape.
struct PlayerOptions
{
    enum class Status { Ok, Error, ShowHelp, ShowVersion, ListScreens };

    static constexpr int kDefaultFps = 50;
    static constexpr int kMaxFps = 240;
    static constexpr int kMinSide = 64;
    static constexpr int kMaxSide = 16384;
    static constexpr int kMaxAudioDelay = 10000;  // ms either way
    static constexpr int kPrimaryScreen = -1;

    bool windowed = false;
    QSize size = QSize(1280, 720);   // of the window; fullscreen covers the screen
    int screen = kPrimaryScreen;     // index into the display's screens
    int start = 0;                   // engine time to begin at, ms
    bool loop = false;               // from 0 again after the end of the timeline
    bool exitAtEnd = false;          // quit with status 0 after the end
    bool mute = false;               // open no track at all
    int audioDelay = 0;              // ms the sound lags the picture (negative: leads)
    int fps = kDefaultFps;           // of the frame timer
    bool fpsForced = false;          // the timer paces the frames whatever the display does
    bool timingLog = false;
    bool dev = false;                // the demo maker's keys and overlay

    // Parses the arguments (arguments[0] is the program). On Error, `error`
    // says in one line what is wrong; on ShowHelp/ShowVersion `text` holds
    // what to print. The screen number is checked later, against the
    // display's screens (checkScreen), since parsing needs no display.
    static Status parse(const QStringList& arguments, PlayerOptions* options,
                        QString* error, QString* text = nullptr);
    bool checkScreen(int screenCount, QString* error) const;

    // The two lines printed under an error.
    static QString usage();
};

#endif
