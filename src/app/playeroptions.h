#ifndef PLAYEROPTIONS_H
#define PLAYEROPTIONS_H

#include <QString>
#include <QStringList>

// The player's command line. Parsing never exits the process: main decides
// what a request for help or a bad option does.
class PlayerOptions
{
public:
    enum Outcome { Run, ShowHelp, Error };

    // `arguments` includes the program name, as QCoreApplication::arguments().
    Outcome parse(const QStringList& arguments);

    bool timingLog = false;  // engine clock, audio position and frame pacing on standard error
    QString message;         // the help text, or what was wrong
};

#endif
