#ifndef CREDITS_H
#define CREDITS_H

class WorldObject;

// The credit and scenery sequences, and two builders for lining props up.
// Each returns a new, unattached subtree; times are engine milliseconds.

// "zuli": two boxes pulsing every 480 ms while the captions "music", "pemo",
// "graphics" and "brokkan" flicker in turn.
WorldObject* box_scene(int start, int end);
// "scenery": a far-off staircase, containers, a cone, a can and a spider under
// a half-turn, the five props blinking white at random.
WorldObject* scenery_scene(int start, int end);
// "root": every prop in a row along x. No window.
WorldObject* showcase();
// "metal_floor": columns x rows abutting 20 x 20 metal tiles in the z = 0
// plane, the first at the origin. No window.
WorldObject* metal_floor(int columns, int rows);

#endif
