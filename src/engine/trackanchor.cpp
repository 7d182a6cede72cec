#include "trackanchor.h"

namespace {
const qint64 kNsPerMs = 1000000;
}

TrackAnchor anchorTrack(qint64 originNs, qint64 nowNs, int trackStart, qint64 leadNs)
{
    const qint64 startsAt = originNs + trackStart * kNsPerMs;
    TrackAnchor anchor;
    anchor.position = qMax<qint64>(0, nowNs + leadNs - startsAt);
    anchor.heardAt = startsAt + anchor.position;
    return anchor;
}
