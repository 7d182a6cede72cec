#include "credits.h"

#include "colorcontroller.h"
#include "effects.h"
#include "materials.h"
#include "modelobject.h"
#include "props.h"
#include "scalecontroller.h"

#include <QVariant>

#include <initializer_list>

namespace {

// A beat every 480 ms: up to 10 within 80 ms, back to 6 by 180 ms, rest.
// The count steps by 250 ms, so the beats past `end` fall outside the
// window and are dropped.
void addBeat(WorldObject* group, int start, int end)
{
    auto* beat = new ScaleController();
    beat->SetParent(group);
    beat->SetTime(start, end);
    const int beats = (end - start) / 250;
    int t = start;
    for (int i = 0; i < beats; ++i) {
        beat->AddKeyFrame(t + 80, QVariant(10.0f));
        beat->AddKeyFrame(t + 180, QVariant(6.0f));
        t += 480;
        beat->AddKeyFrame(t, QVariant(6.0f));
    }
    beat->AddKeyFrame(end, QVariant(6.0f));
    group->AddController(beat);
}

WorldObject* placed(WorldObject* node, float x, float y, float z, float scale)
{
    node->m_transform.SetTranslation(x, y, z);
    node->m_transform.SetScale(scale);
    return node;
}

WorldObject* group(const char* id, std::initializer_list<WorldObject*> members)
{
    auto* node = new WorldObject(nullptr, id);
    for (WorldObject* member : members)
        node->AddChild(member);
    return node;
}

struct Caption {
    const char* texture;
    float x, y;
    bool ownWindow;  // visible from 50 ms before its flicker to 50 ms after
    int from, to;    // flicker window, as offsets from start
};

const Caption kCaptions[4] = {
    {"music", -15, 10, true, 1500, 2500},
    {"pemo", 12, 10, false, 2500, 3500},
    {"graphics", -15, -10, false, 4500, 5500},
    {"brokkan", 12, -12, false, 5500, 6500},
};

WorldObject* addCaption(WorldObject* parent, const Caption& caption, int start)
{
    ModelObject* q = tex_quad(caption.texture);
    q->m_transform.SetTranslation(caption.x, caption.y, -10.0f);
    q->m_transform.SetColor(0.0f, 0.0f, 0.0f, 0.0f);
    if (caption.ownWindow)
        q->SetTime(start + caption.from - 50, start + caption.to + 50);
    parent->AddChild(q);
    name_flasher(q, start + caption.from, start + caption.to);
    return q;
}

// One last blink of the "music" caption as it hands over to "pemo".
void addMusicBlink(WorldObject* caption, int start)
{
    auto* blink = new ColorController();
    blink->SetParent(caption);
    blink->SetRepeat(2121);
    blink->AddKeyFrame(start + 2500, 1.0f, 1.0f, 1.0f, 1.0f);
    blink->AddKeyFrame(start + 2550, 1.0f, 1.0f, 1.0f, 0.0f);
    caption->AddController(blink);
}

struct ShowcaseItem {
    ModelObject* (*make)();
    float x, y, scale;
};

const ShowcaseItem kShowcase[13] = {
    {stone_ground, -10, 0, 0.1f}, {metal_ground, -8, 0, 0.1f}, {cogwheel, -6, -4, 0.05f},
    {box, -4, 0, 3.0f},           {barrel, -2, 0, 0.5f},       {can, 0, 2, 0.05f},
    {container, 2, 0, 0.05f},     {hammer, 4, 0, 0.3f},        {sentry, 6, 0, 0.05f},
    {shovel, 8, 0, 0.3f},         {spider, 10, -5, 0.05f},     {stairs, 12, 0, 0.05f},
    {cone, 16, 0, 0.05f},
};

} // namespace

WorldObject* box_scene(int start, int end)
{
    auto* top = new WorldObject(nullptr, "zuli");
    top->SetTime(start, end);
    auto* boxes = new WorldObject(nullptr, "boxes");
    boxes->SetTime(start, end);
    top->AddChild(boxes);
    boxes->AddChild(placed(box(), -6.0f, -5.0f, 0.0f, 1.0f));
    boxes->AddChild(placed(box(), 6.0f, -5.0f, 0.0f, 1.0f));
    addBeat(boxes, start, end);
    for (const Caption& caption : kCaptions) {
        WorldObject* q = addCaption(top, caption, start);
        if (caption.ownWindow)
            addMusicBlink(q, start);
    }
    return top;
}

WorldObject* scenery_scene(int start, int end)
{
    auto* top = new WorldObject(nullptr, "scenery");
    top->SetTime(start, end);
    top->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    WorldObject* steps = placed(stairs(), 0.0f, -70.0f, -600.0f, 10.0f);
    top->m_transform.SetRotation(180.0f, 0.0f, 1.0f, 0.15f);
    top->AddChild(steps);
    WorldObject* left = placed(container(), -10.0f, 7.0f, -9.0f, 0.5f);
    WorldObject* right = placed(container(), 10.0f, 7.0f, -9.0f, 0.5f);
    top->AddChild(group("containers", {left, right}));
    WorldObject* trafficCone = placed(cone(), -14.0f, 0.0f, 10.0f, 0.05f);
    WorldObject* tin = placed(can(), 0.4f, 0.0f, 44.0f, 0.005f);
    top->AddChild(group("cones", {trafficCone, tin}));
    WorldObject* crawler = placed(spider(), -1.0f, 0.0f, -10.0f, 0.1f);
    top->AddChild(crawler);

    for (WorldObject* prop : {left, right, trafficCone, tin, crawler})
        random_color_flashing(prop, start, end);
    return top;
}

WorldObject* showcase()
{
    auto* top = new WorldObject(nullptr, "root");
    top->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    for (const ShowcaseItem& item : kShowcase) {
        WorldObject* prop = placed(item.make(), item.x, item.y, 0.0f, item.scale);
        // The cogwheel stands on its rim.
        if (item.make == cogwheel)
            prop->m_transform.SetRotation(90.0f, 1.0f, 0.0f, 0.0f);
        top->AddChild(prop);
    }
    return top;
}

WorldObject* metal_floor(int columns, int rows)
{
    auto* top = new WorldObject(nullptr, "metal_floor");
    for (int i = 0; i < columns; ++i) {
        for (int j = 0; j < rows; ++j) {
            ModelObject* tile = metal_ground();
            top->AddChild(tile);
            tile->m_transform.SetTranslation(20.0f * i, 20.0f * j, 0.0f);
        }
    }
    return top;
}
