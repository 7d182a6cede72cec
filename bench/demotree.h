#ifndef DEMOTREE_H
#define DEMOTREE_H

#include "demorun.h"

class WorldObject;

// The whole demo as the player builds it (a DemoRun: a WidgetRenderer, every
// texture, every prop, the whole tree as the current scene), on a manual
// clock and without music. Destroying it takes all of it down again.
class DemoTree
{
public:
    DemoTree();

    WorldObject* root() const { return m_run.root(); }

    // Plays the demo on the manual clock from 0 to `moment` in frames of
    // `frameMs`, update passes only, so the controllers stand where they
    // would stand in a real run.
    void stepTo(int moment, int frameMs = 20);
    // One frame as the player runs it: the update pass, then the draw pass.
    static void frame(float dt);

private:
    DemoRun m_run;
};

#endif
