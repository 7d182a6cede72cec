#ifndef PLAYERKEYS_H
#define PLAYERKEYS_H

// What a key press asks of the player. Escape always quits; the demo maker's
// keys (pause, seek, step) only work when the player runs with --dev, and
// every other key does nothing, so a stray key on a party's big screen never
// disturbs the show.
class PlayerKeys
{
public:
    enum class Action { None, Quit, TogglePause, SeekBy, SeekTo, StepFrames };

    struct Command
    {
        Action action = Action::None;
        int amount = 0;  // SeekBy: ms (negative: back); SeekTo: engine time; StepFrames: frames
    };

    explicit PlayerKeys(bool dev) : m_dev(dev) {}

    // `key` is a Qt::Key; stepping a frame needs the picture paused.
    Command command(int key, bool paused) const;

private:
    Command devCommand(int key, bool paused) const;

    bool m_dev;
};

#endif
