#ifndef OBJECTTYPE_H
#define OBJECTTYPE_H

// Kinds a node declares. 1 to 3 are given to no kind.
enum ObjectType {
    TYPE_ROOT = 0,      // built without a parent
    TYPE_POLYGON = 4,   // every PolygonObject
    TYPE_MODEL = 5      // every ModelObject
};

#endif
