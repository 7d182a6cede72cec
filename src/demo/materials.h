#ifndef MATERIALS_H
#define MATERIALS_H

#include <QString>

class ModelObject;
class Texture;

// Loads the image at `path` (the caller puts PATH in front), registers it as
// `name`, converts it and uploads it through the engine's renderer. An image
// that cannot be loaded prints "texture not initialized" and registers nothing.
void init_texture(const QString& path, const QString& name);
// Deletes every texture init_texture made, registered or not, with what the
// engine's renderer holds for it, and empties the registry: the end of a demo
// run, after its tree is gone and before the renderer goes.
void release_textures();

// Gives every polygon the texture; a null texture changes nothing.
void set_texture(ModelObject* model, Texture* texture);
// Sets the colour of every point of the model; the model's own colour stays.
void set_color(ModelObject* model, float r, float g, float b, float a);

// A 20 x 20 quad with the texture registered under `name` (none if unknown).
ModelObject* tex_quad(const QString& name);
ModelObject* stone_ground();
ModelObject* metal_ground();

#endif
