#ifndef EFFECTS_H
#define EFFECTS_H

class WorldObject;

// Visual accents: each effect attaches one colour controller to an existing
// node, windowed to [start, end] (engine ms). Key frames outside the window
// are dropped, which is what stops the random walks at the window's end.
// The renderer blends additively, so animating the alpha of a white node
// between 0 and 1 makes it blink. A null target gets nothing.

// A white flicker over the whole window, ending transparent when fadeOut.
void quad_scratch(WorldObject* target, int start, int end, bool fadeOut);
// Flickers in, holds from start + 500 to end - 500, flickers out.
void name_flasher(WorldObject* target, int start, int end);
// White blinks at random intervals (alpha only, despite the name).
void random_color_flashing(WorldObject* target, int start, int end);
// Towards (r, g, b, a) by mid-window, then back to opaque white by end; with
// hold, towards (r, g, b, a) by end and no return.
void flash(WorldObject* target, int start, int end, float r, float g, float b, float a,
           bool hold);
// A new 200 x 200 untextured white quad, transparent at first, that lights up
// by mid-window and fades out by end. The caller attaches it.
WorldObject* white_flash_quad(int start, int end);

#endif
