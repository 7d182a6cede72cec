#ifndef COMMANDLINEREQUEST_H
#define COMMANDLINEREQUEST_H

#include <QSize>
#include <QString>
#include <QStringList>

class QCommandLineParser;

// The first look at a program's command line, for the player and the tools
// alike: malformed (`error` says why), a request for --help or --version
// (`text`, if given, holds what to print: the help, or "name version"), or
// options whose values are now to be read from `parser`.
enum class CommandLineRequest { Values, Error, Help, Version };

CommandLineRequest readCommandLine(QCommandLineParser* parser, const QStringList& arguments,
                                   QString* error, QString* text);

// The value of a --size option, "WIDTHxHEIGHT" with each side from `min` to
// `max` pixels; otherwise `error` says what was expected.
bool readFrameSize(const QString& text, int min, int max, QSize* size, QString* error);

// An options class's own status for a request other than Values: its
// Status enum names Error, ShowHelp and ShowVersion.
template <typename Status>
Status statusOf(CommandLineRequest request)
{
    switch (request) {
    case CommandLineRequest::Help:
        return Status::ShowHelp;
    case CommandLineRequest::Version:
        return Status::ShowVersion;
    default:
        return Status::Error;
    }
}

#endif
