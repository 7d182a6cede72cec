#ifndef DEVOVERLAY_H
#define DEVOVERLAY_H

#include <QImage>
#include <QStringList>

class Object;

// The demo maker's readout in the top left corner: engine time, frames per
// second, the sequences on screen. The text is painted into an image on the
// CPU and put on screen with plain OpenGL 1.x, inside a saved and restored
// GL state, so the demo's renderer (which sets its state once, at start-up)
// finds everything as it left it. Without --dev nothing of this runs.
class DevOverlay
{
public:
    struct Readout
    {
        int engineTime = 0;  // ms
        int fps = 0;         // frames drawn in the last second
        bool paused = false;
        int lastSeek = -1;   // ms the last seek took to show its picture; -1: none yet
        QStringList sequences;
    };

    // The ids of the sequences under the root's "scene" node whose windows
    // hold `now`.
    static QStringList sequencesAt(Object* root, int now);
    static QStringList lines(const Readout& readout);
    // White text on a translucent dark panel, straight alpha.
    static QImage compose(const QStringList& lines);

    // Draws `image` at the top left of a viewport of the given size; needs
    // the GL context current.
    static void draw(const QImage& image, int viewWidth, int viewHeight);
};

#endif
