#ifndef TESTSCREEN_H
#define TESTSCREEN_H

#include <QImage>

// The test display as a viewer sees it, for tests that run the real player.
namespace testscreen {

// The whole primary screen.
QImage grab();
// Share of the picture's pixels that are not black (0 to 1).
double litShare(const QImage& image);
// Sends Escape to the focused window (needs xdotool); true when sent.
bool pressEscape();

} // namespace testscreen

#endif
