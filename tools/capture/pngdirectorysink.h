#ifndef PNGDIRECTORYSINK_H
#define PNGDIRECTORYSINK_H

#include "framesink.h"

#include <QString>

// Writes frame_00000.png, frame_00001.png, ... into a directory, creating it
// if needed. Each frame is written under a ".tmp" name and renamed once
// complete, so every frame_*.png present is a whole image; a run that stops
// early keeps the frames it finished and says so.
class PngDirectorySink : public FrameSink
{
public:
    explicit PngDirectorySink(const QString& directory);

    bool open(QString* error) override;
    bool write(const QImage& frame, QString* error) override;
    bool finish(QString* error) override;
    void abort() override;
    QString leftBehind() const override;

    static QString frameName(int index);
    int framesWritten() const { return m_next; }

private:
    QString m_directory;
    QString m_pending;  // the .tmp file being written, if any
    int m_next = 0;
};

#endif
