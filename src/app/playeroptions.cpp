#include "playeroptions.h"

#include <QCommandLineParser>

PlayerOptions::Outcome PlayerOptions::parse(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription("Plays the Quenvarix demo fullscreen; Escape quits.");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption timing("timing-log",
        "Print the engine clock, the audio position and the frame pacing to standard error, "
        "once a second.");
    parser.addOption(timing);

    if (!parser.parse(arguments)) {
        message = parser.errorText();
        return Error;
    }
    if (!parser.positionalArguments().isEmpty()) {
        message = "Unexpected argument '" + parser.positionalArguments().first() + "'.";
        return Error;
    }
    if (parser.isSet(help)) {
        message = parser.helpText();
        return ShowHelp;
    }
    timingLog = parser.isSet(timing);
    return Run;
}
