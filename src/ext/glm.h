#ifndef GLM_H
#define GLM_H

// Wavefront OBJ/MTL reading, writing and model utilities over plain records.
//
// Every coordinate array is 1-based as the file numbers it: entry 0 is an
// empty slot filled with zeros, and an index of 0 means "none". Records are
// allocated with malloc and released by glmDelete.

#include <GL/gl.h>
#include <stddef.h>

// One triangle of the model. Index kinds that the face did not supply hold 0.
struct GLMtriangle {
    GLuint vindices[3];  // vertex indices of the three corners (1-based)
    GLuint nindices[3];  // normal indices of the three corners (1-based)
    GLuint tindices[3];  // texture coordinate indices of the three corners (1-based)
    GLuint findex;       // facet normal index (1-based); set by glmFacetNormals
};

// One material of the library. Material 0 is always "default".
struct GLMmaterial {
    char* name;           // material name (owned)
    GLfloat diffuse[4];   // red, green, blue, alpha
    GLfloat ambient[4];   // red, green, blue, alpha
    GLfloat specular[4];  // red, green, blue, alpha
    GLfloat emissive[4];  // red, green, blue, alpha; kept for the record, never filled
    GLfloat shininess;    // specular exponent on a 0 to 128 scale
};

// A named group of triangles, in a singly linked list.
struct GLMgroup {
    char* name;             // group name (owned)
    GLuint numtriangles;    // number of entries in triangles
    GLuint* triangles;      // 0-based indices into the model's triangles, in file order (owned)
    GLuint material;        // index into the model's materials
    struct GLMgroup* next;  // next group of the list
};

// A whole model. Groups are listed newest first; "default" is always last.
struct GLMmodel {
    char* pathname;          // file name the model was read from (owned)
    char* mtllibname;        // material library as named by the file; null if none (owned)

    GLuint numvertices;      // number of vertex positions
    GLfloat* vertices;       // 3 * (numvertices + 1) floats: x, y, z of vertex i at 3i

    GLuint numnormals;       // number of normals
    GLfloat* normals;        // 3 * (numnormals + 1) floats; null when there are none

    GLuint numtexcoords;     // number of texture coordinates
    GLfloat* texcoords;      // 2 * (numtexcoords + 1) floats: u, v of coordinate i at 2i

    GLuint numfacetnorms;    // number of facet normals (0 until glmFacetNormals)
    GLfloat* facetnorms;     // 3 * (numfacetnorms + 1) floats; null until glmFacetNormals

    GLuint numtriangles;     // number of triangles
    GLMtriangle* triangles;  // numtriangles records

    GLuint nummaterials;     // number of materials, "default" included; 0 without a library
    GLMmaterial* materials;  // nummaterials records; null without a library

    GLuint numgroups;        // number of groups in the list
    GLMgroup* groups;        // head of the group list

    GLfloat position[3];     // set to 0, 0, 0 by the reader; unused
};

// Mode bits of glmWriteOBJ.
enum {
    GLM_NONE = 0,
    GLM_FLAT = 1 << 0,      // facet normals
    GLM_SMOOTH = 1 << 1,    // vertex normals
    GLM_TEXTURE = 1 << 2,   // texture coordinates
    GLM_MATERIAL = 1 << 4,  // mtllib, MTL file and usemtl lines
};

// Reads an OBJ file and the material library it names. Prints a message and
// ends the process with status 1 when a file cannot be read or the file holds
// an unknown "v" keyword; otherwise never returns null. (A build with
// GLM_RETURN_ON_FATAL defined returns null instead of ending the process.)
GLMmodel* glmReadOBJ(const char* filename);

// The same reader over `size` bytes of OBJ text in memory. `pathname` is
// stored as the model's pathname and its directory is where the material
// library is looked up; the file itself is not opened.
GLMmodel* glmReadOBJMemory(const char* data, size_t size, const char* pathname);

// Releases the model and everything it owns. A null model is ignored.
GLvoid glmDelete(GLMmodel* model);

// Centres the bounding box on the origin and scales the largest extent to 2;
// returns the scale factor.
GLfloat glmUnitize(GLMmodel* model);
// Writes the x, y and z extents (|max| + |min| per axis) to dimensions[0..2].
GLvoid glmDimensions(GLMmodel* model, GLfloat* dimensions);
GLvoid glmScale(GLMmodel* model, GLfloat scale);
// Reverses every triangle's corner order and negates every normal.
GLvoid glmReverseWinding(GLMmodel* model);
// One unit normal per triangle (zero for a degenerate triangle).
GLvoid glmFacetNormals(GLMmodel* model);
// Smooth normals: faces meeting within `angle` degrees share one normal.
GLvoid glmVertexNormals(GLMmodel* model, GLfloat angle);
// Texture coordinates from the x-z projection of the vertices.
GLvoid glmLinearTexture(GLMmodel* model);
// Sphere-map texture coordinates from the normals.
GLvoid glmSpheremapTexture(GLMmodel* model);
// Merges vertices that are closer than epsilon on every axis.
GLvoid glmWeld(GLMmodel* model, GLfloat epsilon);

// Writes the model as OBJ (and, with GLM_MATERIAL, its MTL library beside it).
GLvoid glmWriteOBJ(GLMmodel* model, const char* filename, GLuint mode);

#endif
