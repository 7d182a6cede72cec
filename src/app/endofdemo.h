#ifndef ENDOFDEMO_H
#define ENDOFDEMO_H

// What the player does once the timeline has run out. By default nothing:
// the screen stays black until Escape. With --loop the demo starts again
// from 0 right after its last frame; with --exit-at-end the player quits
// after a short tail of black, so demos can run one after another.
class EndOfDemo
{
public:
    enum class Action { None, Restart, Quit };

    static constexpr int kTail = 500;  // ms of black before --exit-at-end quits

    EndOfDemo(bool loop, bool exitAtEnd) : m_loop(loop), m_exitAtEnd(exitAtEnd) {}

    Action at(int engineTime) const;

private:
    bool m_loop;
    bool m_exitAtEnd;
};

#endif
