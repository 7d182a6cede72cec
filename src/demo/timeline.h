#ifndef TIMELINE_H
#define TIMELINE_H

#include <vector>

class Scene;
class WorldObject;

// Engine time at which the last sequence ends; after it nothing is drawn.
constexpr int kTimelineEnd = 46000;

// The demo's script: seeds the random generator, loads every texture and
// builds the one scene the engine shows. Needs the engine's renderer and a
// current GL context.
Scene* init_scene_1();
// The node "scene" holding every sequence in its time window.
WorldObject* main_scene();
// Engine times (ms) at which everything the script ever shows has been on
// screen at least once: the start and the middle of every sequence.
std::vector<int> timeline_moments();

#endif
