#include "commandlinerequest.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

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

bool readFrameSize(const QString& text, int min, int max, QSize* size, QString* error)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(text);
    const QSize read = match.hasMatch()
                           ? QSize(match.captured(1).toInt(), match.captured(2).toInt())
                           : QSize();
    if (read.width() < min || read.height() < min || read.width() > max || read.height() > max) {
        *error = QStringLiteral("--size expects WIDTHxHEIGHT, each from %1 to %2 pixels, such as "
                                "1280x720; got '%3'").arg(min).arg(max).arg(text);
        return false;
    }
    *size = read;
    return true;
}
