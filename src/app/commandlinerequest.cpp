#include "commandlinerequest.h"

#include <QCommandLineParser>
#include <QCoreApplication>

CommandLineRequest readCommandLine(QCommandLineParser* parser, const QStringList& arguments,
                                   QString* error, QString* text)
{
    if (!parser->parse(arguments)) {
        *error = parser->errorText();
        return CommandLineRequest::Error;
    }
    const bool help = parser->isSet("help");
    if (!help && !parser->isSet("version"))
        return CommandLineRequest::Values;
    if (text)
        *text = help ? parser->helpText()
                     : QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(),
                                                     QCoreApplication::applicationVersion());
    return help ? CommandLineRequest::Help : CommandLineRequest::Version;
}
