#ifndef SEQUENCES_H
#define SEQUENCES_H

class WorldObject;

// The sequences whose character comes from motion. Each builder returns a new,
// unattached subtree; times are engine milliseconds. The builders draw random
// values while they build, so the order of calls fixes the demo.

// "screen_parent": the "kvo" picture on a 20 x 20 quad. No window.
WorldObject* kvo_screen();
// "bouncing_boxes": 300 bluish boxes hopping on a 10 x 30 grid around height h
// and changing shade, tilted by 20 degrees about x. No window.
WorldObject* bouncing_boxes(float h);
// "bouncing_boxes" again: 50 cogwheels hopping on a 5 x 10 grid, with the
// captions "code" and "tervald" flickering over them.
WorldObject* spinning_cogs(int start, int end);
// "moving_boxes": boxes sliding out of one another until twelve stand on a
// 5-unit grid.
WorldObject* box_move_scene(int start, int end);

#endif
