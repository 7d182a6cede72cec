#include "effects.h"

#include "colorcontroller.h"
#include "geometry.h"
#include "modelobject.h"
#include "random.h"

namespace {

// Enough restarts that the flickers never run out within their windows.
constexpr int kFlickerRepeat = 21211;

enum class Repeat { Once, Flicker };

// The window is set before any key frame so that frames outside it are dropped.
ColorController* attachColorController(WorldObject* target, int start, int end, Repeat repeat)
{
    auto* controller = new ColorController();
    controller->SetParent(target);
    controller->SetTime(start, end);
    if (repeat == Repeat::Flicker)
        controller->SetRepeat(kFlickerRepeat);
    target->AddController(controller);
    return controller;
}

void addWhite(ColorController* controller, int time, float alpha)
{
    controller->AddKeyFrame(time, 1.0f, 1.0f, 1.0f, alpha);
}

// `pairs` times: a random step to the first alpha, another to the second.
int flickerWalk(ColorController* controller, int t, int pairs, float first, float second)
{
    for (int i = 0; i < pairs; ++i) {
        t += get_rand(50, 100);
        addWhite(controller, t, first);
        t += get_rand(50, 100);
        addWhite(controller, t, second);
    }
    return t;
}

} // namespace

void quad_scratch(WorldObject* target, int start, int end, bool fadeOut)
{
    if (!target)
        return;
    ColorController* controller = attachColorController(target, start, end, Repeat::Flicker);
    flickerWalk(controller, start, (end - start) / 100, 0.0f, 1.0f);
    addWhite(controller, end, fadeOut ? 0.0f : 1.0f);
}

void name_flasher(WorldObject* target, int start, int end)
{
    if (!target)
        return;
    ColorController* controller = attachColorController(target, start, end, Repeat::Flicker);
    flickerWalk(controller, start, 4, 0.0f, 1.0f);
    addWhite(controller, start + 500, 1.0f);
    addWhite(controller, end - 500, 1.0f);
    flickerWalk(controller, end - 500, 4, 1.0f, 0.0f);
    addWhite(controller, end - 50, 0.0f);
}

void random_color_flashing(WorldObject* target, int start, int end)
{
    if (!target)
        return;
    ColorController* controller = attachColorController(target, start, end, Repeat::Flicker);
    const int blinks = (end - start) / 1000;
    int t = start;
    for (int i = 0; i < blinks; ++i) {
        t += get_rand(100, 200);
        addWhite(controller, t, 0.0f);
        t += get_rand(100, 200);
        addWhite(controller, t, 1.0f);
        t += get_rand(100, 1000);
        addWhite(controller, t, 1.0f);
    }
    addWhite(controller, end, 1.0f);
}

void flash(WorldObject* target, int start, int end, float r, float g, float b, float a,
           bool hold)
{
    if (!target)
        return;
    ColorController* controller = attachColorController(target, start, end, Repeat::Once);
    if (hold) {
        controller->AddKeyFrame(end, r, g, b, a);
        return;
    }
    controller->AddKeyFrame(start + (end - start) / 2, r, g, b, a);
    addWhite(controller, end, 1.0f);
}

WorldObject* white_flash_quad(int start, int end)
{
    ModelObject* quad = create_quad(100, 100, nullptr, nullptr);
    quad->m_transform.SetColor(1.0f, 1.0f, 1.0f, 0.0f);
    ColorController* controller = attachColorController(quad, start, end, Repeat::Once);
    addWhite(controller, start + (end - start) / 2, 1.0f);
    addWhite(controller, end, 0.0f);
    return quad;
}
