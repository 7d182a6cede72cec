#ifndef TRACKANCHOR_H
#define TRACKANCHOR_H

#include <QtGlobal>

// Where the soundtrack is to be heard against the engine clock: a track that
// starts at engine time `trackStart` (ms; the play delay plus the audio
// delay) plays position p at engine time trackStart + p. Everything here is
// on the monotonic time base of EngineClock::originNs(), in ns.
struct TrackAnchor
{
    qint64 position = 0;  // ns into the track where playback is to resume
    qint64 heardAt = 0;   // monotonic ns at which `position` is to be heard
};

// The anchor for a clock that stood at engine time 0 at `originNs`, taken at
// `nowNs`: the first position that can still be heard in place once the
// player has had `leadNs` to get there; the track's start while it lies ahead.
TrackAnchor anchorTrack(qint64 originNs, qint64 nowNs, int trackStart, qint64 leadNs);

#endif
