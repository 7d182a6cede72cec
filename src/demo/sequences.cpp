#include "sequences.h"

#include "colorcontroller.h"
#include "effects.h"
#include "geometry.h"
#include "materials.h"
#include "modelobject.h"
#include "objectmanager.h"
#include "props.h"
#include "random.h"
#include "texture.h"
#include "translationcontroller.h"

#include <climits>

namespace {

// Restarts enough to keep the grids hopping for as long as they are shown.
constexpr int kHopRepeat = 11000;
constexpr int kShadeRepeat = 21211;

struct Rgb {
    float r, g, b;
};

// Blue first, then green, then red: the order of the draws is part of the demo.
Rgb bluishShade()
{
    Rgb shade;
    shade.b = get_rand_float(0.7f, 1.0f);
    shade.g = get_rand_float(0.0f, 0.3f);
    shade.r = get_rand_float(0.0f, 0.3f);
    return shade;
}

TranslationController* newHopController(WorldObject* node)
{
    auto* controller = new TranslationController();
    controller->SetParent(node);
    controller->SetRepeat(kHopRepeat);
    return controller;
}

// 2 to 4 hops at (x, *, z): up to a height drawn from [high], down to one
// drawn from [low], each 500 to 2000 ms after the last; times count from 0.
void addHops(TranslationController* controller, float x, float z, const int high[2],
             const int low[2])
{
    const int hops = get_rand(2, 4);
    int t = 0;
    for (int i = 0; i < hops; ++i) {
        t += get_rand(500, 2000);
        const int up = get_rand(high[0], high[1]) - 2;
        controller->AddKeyFrame(t, x, float(up), z);
        t += get_rand(500, 2000);
        const int down = get_rand(low[0], low[1]) - 2;
        controller->AddKeyFrame(t, x, float(down), z);
    }
}

ColorController* newShadeController(WorldObject* node)
{
    auto* controller = new ColorController();
    controller->SetParent(node);
    controller->SetRepeat(kShadeRepeat);
    return controller;
}

// 2 to 6 new shades, each 5 to 20 seconds after the last; times count from 0.
void addShades(ColorController* controller)
{
    const int shades = get_rand(2, 6);
    int u = 0;
    for (int i = 0; i < shades; ++i) {
        u += get_rand(5000, 20000);
        const Rgb shade = bluishShade();
        controller->AddKeyFrame(u, shade.r, shade.g, shade.b, 1.0f);
    }
}

WorldObject* shadedBox()
{
    ModelObject* b = box();
    const Rgb shade = bluishShade();
    b->m_transform.SetColor(shade.r, shade.g, shade.b, 1.0f);
    return b;
}

void animateBouncingBox(WorldObject* b, float x, float z, float h)
{
    TranslationController* hop = newHopController(b);
    ColorController* tint = newShadeController(b);
    const int high[2] = {int(h - 5), int(h + 10)};
    const int low[2] = {int(h - 10), int(h + 5)};
    addHops(hop, x, z, high, low);
    addShades(tint);
    b->AddController(hop);
    b->AddController(tint);
}

void addCogwheel(WorldObject* parent, float x, float z)
{
    ModelObject* g = cogwheel();
    g->m_transform.SetScale(0.2f);
    parent->AddChild(g);
    TranslationController* hop = newHopController(g);
    const int high[2] = {-20, -5};
    const int low[2] = {-25, -10};
    addHops(hop, x, z, high, low);
    g->AddController(hop);
}

// A caption that is transparent black until its flicker lights it up.
void addCaption(WorldObject* parent, const char* texture, float x, float y, int from, int to)
{
    ModelObject* q = tex_quad(texture);
    q->m_transform.SetTranslation(x, y, -10.0f);
    q->m_transform.SetColor(0.0f, 0.0f, 0.0f, 0.0f);
    parent->AddChild(q);
    name_flasher(q, from, to);
}

struct TrailBox {
    QVector3D from;
    int enters;        // offset from start; 0 enters with the top node
    bool moves;
    QVector3D to;      // reached at enters + 500
    bool ownWindow;
};

// Boxes 2 to 8 form one chain from start; 9 to 12 a second one from start + 2000.
const TrailBox kTrail[12] = {
    {{0, -2, 0}, 0, false, {}, false},
    {{0, -2, 0}, 0, true, {5, -2, 0}, false},
    {{5, -2, 0}, 500, true, {5, -7, 0}, true},
    {{5, -7, 0}, 1000, true, {0, -7, 0}, true},
    {{0, -7, 0}, 1500, true, {-5, -7, 0}, true},
    {{-5, -7, 0}, 2000, true, {-10, -7, 0}, true},
    {{-10, -7, 0}, 2500, true, {-10, -2, 0}, true},
    {{-10, -2, 0}, 3000, true, {-10, 3, 0}, true},
    {{5, -2, 0}, 2000, true, {5, 3, 0}, true},
    {{5, 3, 0}, 2500, true, {0, 3, 0}, true},
    {{0, 3, 0}, 3000, true, {-5, 3, 0}, true},
    {{-5, 3, 0}, 3500, true, {-5, -2, 0}, true},
};

void addTrailBox(WorldObject* parent, const TrailBox& step, int start, int end)
{
    ModelObject* b = box();
    b->m_transform.translation = step.from;
    b->m_transform.SetScale(5.0f);
    const int enters = start + step.enters;
    if (step.ownWindow)
        b->SetTime(enters, end);
    parent->AddChild(b);
    if (!step.moves)
        return;
    auto* slide = new TranslationController();
    slide->SetParent(b);
    // Open-ended: the controller runs until it has placed the box on its
    // target, however late the frame that reaches the key frame comes.
    slide->SetTime(enters, INT_MAX);
    slide->AddKeyFrame(enters + 500, step.to);
    b->AddController(slide);
}

} // namespace

WorldObject* kvo_screen()
{
    auto* top = new WorldObject(nullptr, "screen_parent");
    ModelObject* quad = create_quad(10, 10, nullptr, nullptr);
    top->AddChild(quad);
    set_texture(quad, ObjectManager<Texture>::tm->find_object("kvo"));
    return top;
}

WorldObject* bouncing_boxes(float h)
{
    auto* top = new WorldObject(nullptr, "bouncing_boxes");
    top->m_transform.SetRotation(20.0f, 1.0f, 0.0f, 0.0f);
    for (int row = 0; row < 30; ++row) {
        const float z = float(-10 - 8 * row);
        for (int column = 0; column < 10; ++column) {
            const float x = float(-30 + 8 * column);
            WorldObject* b = shadedBox();
            top->AddChild(b);
            animateBouncingBox(b, x, z, h);
        }
    }
    return top;
}

WorldObject* spinning_cogs(int start, int end)
{
    auto* top = new WorldObject(nullptr, "bouncing_boxes");
    top->m_transform.SetRotation(20.0f, 1.0f, 0.0f, 0.0f);
    top->SetTime(start, end);
    for (int row = 0; row < 10; ++row) {
        for (int column = 0; column < 5; ++column)
            addCogwheel(top, float(-30 + 20 * column), float(-10 - 20 * row));
    }
    addCaption(top, "code", -15.0f, 10.0f, start + 1000, start + 2500);
    addCaption(top, "tervald", 12.0f, 6.0f, start + 2500, start + 3500);
    return top;
}

WorldObject* box_move_scene(int start, int end)
{
    auto* top = new WorldObject(nullptr, "moving_boxes");
    top->SetTime(start, end);
    for (const TrailBox& step : kTrail)
        addTrailBox(top, step, start, end);
    return top;
}
