#ifndef TRANSPORT_H
#define TRANSPORT_H

class DemoRun;

// The demo maker's hold on a running demo: pause, seek and step, with the
// picture and the music moving together. A seek builds the demo again and
// advances it to the target on the player's frame steps without drawing, so
// the picture after it is the one a continuous run shows at that time.
// Targets are kept within the timeline, 0 to its end. A paused demo that
// steps on from a frame step goes on from where it stands, which gives the
// same picture without building it again.
class Transport
{
public:
    // `fps` fixes the frame steps: k * 1000 / fps ms, rounded down.
    Transport(DemoRun* demo, int fps);

    bool isPaused() const { return m_paused; }
    void setPaused(bool paused);

    // A seek keeps a paused demo paused. `soundFirst`: see DemoRun::seek.
    void seekTo(int ms, bool soundFirst = false);
    // To the frame step `frames` steps before (negative) or after the one
    // at or before the current engine time.
    void stepFrames(int frames);
    // Engine time 0, the music from the start, running: --loop.
    void restart();

private:
    bool canGoOnFrom(int ms) const;
    int frameAtOrBefore(int ms) const;
    int frameTime(int frame) const;
    void followMusic();

    DemoRun* m_demo;  // not owned: the window's
    int m_fps;
    bool m_paused = false;
    // Engine time of the last seek while the demo has stood paused there
    // since, on a frame step; -1 when the demo may have moved otherwise.
    int m_stoodAt = -1;
};

#endif
