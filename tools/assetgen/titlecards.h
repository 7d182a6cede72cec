#ifndef TITLECARDS_H
#define TITLECARDS_H

#include <QImage>
#include <QString>

// The pictures of text: the title screen and the credit captions, shown on
// 20 x 20 quads blended additively, so black is invisible and whatever is
// bright glows; they are square to keep their proportions. The application
// icon borrows the title screen's look.
namespace titlecards {

// "kvo-screen.png", painted 1024 x 1024 (shipped at 512 x 512): the Quenvarix title screen.
QImage titleScreen();
// "texts/<word>.png", painted 512 x 512 (shipped at 256 x 256): the word in white, centred, on pure black.
QImage caption(const QString& word);
// The application icon, painted 512 x 512 with transparent rounded corners
// (shipped scaled down to each icon size).
QImage appIcon();

} // namespace titlecards

#endif
