#ifndef PROPS_H
#define PROPS_H

#include "meshbuilder.h"

#include <vector>

// The twelve procedural props, each sized for the scale and place at which
// the demo shows it (model units; y is up, the camera looks down -z):
//   box             unit cube centred on the origin (tiles the 5-unit grid at scale 5)
//   cogwheel_01     12 teeth, 60 across, 8 thick, axis along z, 204 triangles
//   cargoContainer  12 x 5 x 5, centred
//   traffic_cone_01 100 high on a 70-unit square base, standing on y = 0
//   can              400 high, standing on y = 0
//   spider          about 64 across, standing on y = 0, head towards -z
//   stairs          30 wide, high and deep, rising towards +z, standing on y = 0
//   SentryGun       about 100 high; hammer, shovel and beerBarrel about 10; tree 10
namespace props {

std::vector<MeshBuilder> all();

MeshBuilder box();
MeshBuilder cogwheel();
MeshBuilder cargoContainer();
MeshBuilder can();
MeshBuilder beerBarrel();
MeshBuilder trafficCone();
MeshBuilder stairs();
MeshBuilder spider();
MeshBuilder sentryGun();
MeshBuilder shovel();
MeshBuilder hammer();
MeshBuilder tree();

} // namespace props

#endif
