#ifndef FRAMESINK_H
#define FRAMESINK_H

class QImage;
class QString;

// Where captured frames go. Nothing a sink writes looks complete before
// finish() has succeeded: an interrupted or failed capture leaves no file
// that could be mistaken for a finished one.
class FrameSink
{
public:
    virtual ~FrameSink() = default;

    // Checks that the output can be written, before anything is rendered.
    virtual bool open(QString* error) = 0;
    virtual bool write(const QImage& frame, QString* error) = 0;
    // Completes the output (moves it to its final name).
    virtual bool finish(QString* error) = 0;
    // Gives up: removes whatever is incomplete.
    virtual void abort() = 0;
    // After abort(): the finished output that stays, in words; empty when
    // nothing does.
    virtual QString leftBehind() const = 0;
};

#endif
