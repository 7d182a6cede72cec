#ifndef MATERIALTEXTURES_H
#define MATERIALTEXTURES_H

#include <QImage>

// The material textures of the props, painted 512 x 512 from fixed seeds (shipped at 256 x 256).
// Where a prop maps several parts onto one picture, the layout (an atlas) is
// described beside the painter and matched by the prop's texture coordinates.
// Everything is kept fairly bright: the demo blends additively on black, so
// dark paint shows as see-through.
namespace materialtextures {

QImage box();            // "box.jpg": a riveted sci-fi crate face
QImage cogwheel();       // "cogwheel_01_dif.jpg": machined steel disc seen face-on
QImage can();            // "can_02.jpg": drinks can label, lid and base
QImage cargoContainer(); // "cargoContainer.jpg": corrugated painted steel, doors, roof
QImage sentryGun();      // "sentrygun_01.jpg": olive armour panels with markings
QImage spider();         // "spider.jpg": hairy banded chitin, body above, legs below
QImage stairs();         // "stairs.jpg": concrete with a painted safety nosing
QImage trafficCone();    // "traffic_cone_01.jpg": orange plastic with reflective bands

} // namespace materialtextures

#endif
