#ifndef MODELCACHE_H
#define MODELCACHE_H

#include <QHash>
#include <QString>

#include <functional>

class ModelObject;

// Reads and parses each model file once. The parsed tree is kept as a
// prototype and every caller gets its own independent copy, which looks
// exactly like a fresh import: same ids, order, texture coordinates and
// normals, and nothing in it refers back to the prototype.
class ModelCache
{
public:
    using Loader = std::function<ModelObject*(const QString&)>;

    // The cache the props load through; it imports with ModelImporter::load.
    static ModelCache* instance();

    explicit ModelCache(Loader loader);
    ~ModelCache();
    ModelCache(const ModelCache&) = delete;
    ModelCache& operator=(const ModelCache&) = delete;

    // A new tree owned by the caller, or null when the loader gives none.
    ModelObject* load(const QString& path);

    // Forgets every prototype: the next load of each file reads it again.
    void clear();
    // Switched off, the cache holds nothing and every load reads the file.
    void setEnabled(bool enabled);
    bool isEnabled() const { return m_enabled; }
    // How many files are held, and whether this one is.
    int size() const { return m_prototypes.size(); }
    bool contains(const QString& path) const { return m_prototypes.contains(path); }

private:
    static ModelObject* copyOf(const ModelObject& prototype);

    Loader m_loader;
    QHash<QString, ModelObject*> m_prototypes;  // owned
    bool m_enabled = true;
};

#endif
