#ifndef MUSICTRACK_H
#define MUSICTRACK_H

#include <QtGlobal>

// What the music follower needs from a playing track: its state and position,
// a seek, and a way to make it heard or not. The player's track is Phonon's;
// tests use a stand-in they can drive by hand.
class MusicTrack
{
public:
    virtual ~MusicTrack() = default;

    // True while the track is being played out (audible or not).
    virtual bool IsPlaying() const = 0;
    // Milliseconds of the track played out so far.
    virtual qint64 Position() const = 0;
    // Length in ms, 0 while unknown.
    virtual qint64 Length() const = 0;
    virtual void Seek(qint64 ms) = 0;
    // Full volume, or silence while the track runs ahead of its start.
    virtual void SetAudible(bool audible) = 0;
};

#endif
