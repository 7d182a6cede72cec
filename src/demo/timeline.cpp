#include "timeline.h"

#include "credits.h"
#include "effects.h"
#include "materials.h"
#include "path.h"
#include "scene.h"
#include "sequences.h"
#include "worldobject.h"

#include <cstdlib>
#include <iterator>

namespace {

struct TextureFile {
    const char* name;
    const char* file;  // below PATH
};

// Loaded in this order at start-up; everything else finds them by name.
const TextureFile kTextures[15] = {
    {"kvo", "/data/kvo-screen.png"},
    {"cogwheel", "/data/cogwheel_01_dif.jpg"},
    {"box", "/data/box.jpg"},
    {"can", "/data/can_02.jpg"},
    {"container", "/data/cargoContainer.jpg"},
    {"sentry", "/data/sentrygun_01.jpg"},
    {"spider", "/data/spider.jpg"},
    {"stairs", "/data/stairs.jpg"},
    {"cone", "/data/traffic_cone_01.jpg"},
    {"graphics", "/data/texts/graphics.png"},
    {"code", "/data/texts/code.png"},
    {"music", "/data/texts/music.png"},
    {"brokkan", "/data/texts/brokkan.png"},
    {"tervald", "/data/texts/tervald.png"},
    {"pemo", "/data/texts/pemo.png"},
};

// Where each sequence of main_scene() below begins, and where the last one
// ends: the windows it gives its sequences.
const int kSequenceBounds[] = {0, 5000, 9000, 14700, 27500, 36000, 40000, 46000};

void load_textures()
{
    for (const TextureFile& texture : kTextures)
        init_texture(PATH + texture.file, texture.name);
}

} // namespace

Scene* init_scene_1()
{
    srand(0);
    auto* scene = new Scene(nullptr);
    load_textures();
    auto* root = new WorldObject(nullptr, "root");
    root->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    scene->SetRoot(root);
    root->AddChild(main_scene());
    return scene;
}

// The builders run in script order, which also fixes the order of the
// random draws: the intro flicker, the 300 boxes, the captions of the
// pulsing boxes, the scenery blinks, then the cogwheels and their captions.
WorldObject* main_scene()
{
    auto* scene = new WorldObject(nullptr, "scene");
    scene->m_transform.SetTranslation(0.0f, 0.0f, -15.0f);
    WorldObject* screen = kvo_screen();
    scene->AddChild(screen);
    screen->SetTime(0, 9000);
    quad_scratch(screen, 5000, 7300, true);
    WorldObject* boxes = bouncing_boxes(-15.0f);
    scene->AddChild(boxes);
    boxes->SetTime(9000, 14700);
    scene->AddChild(box_scene(14700, 27500));
    scene->AddChild(scenery_scene(27500, 36000));
    scene->AddChild(spinning_cogs(36000, 40000));
    scene->AddChild(box_move_scene(40000, kTimelineEnd));
    return scene;
}

std::vector<int> timeline_moments()
{
    std::vector<int> moments;
    for (std::size_t i = 0; i + 1 < std::size(kSequenceBounds); ++i) {
        moments.push_back(kSequenceBounds[i]);
        moments.push_back((kSequenceBounds[i] + kSequenceBounds[i + 1]) / 2);
    }
    return moments;
}
