#ifndef OBJECTMANAGER_H
#define OBJECTMANAGER_H

#include <QMap>
#include <QString>

// Name-to-object registry. It never replaces an entry and never deletes what
// it refers to. ObjectManager<Texture>::tm is created before main.
template <typename T>
class ObjectManager
{
public:
    static ObjectManager<T>* tm;

    T* find_object(const QString& name) const { return m_objects.value(name, nullptr); }

    // Null when the name is taken: the first object stays registered.
    T* add_object(T* object, const QString& name)
    {
        if (m_objects.contains(name))
            return nullptr;
        m_objects.insert(name, object);
        return object;
    }

    int count() const { return m_objects.size(); }

    // Empties the registry and hands every object to the caller, for taking a
    // whole demo down.
    QList<T*> take_all()
    {
        const QList<T*> objects = m_objects.values();
        m_objects.clear();
        return objects;
    }

private:
    QMap<QString, T*> m_objects;
};

template <typename T>
ObjectManager<T>* ObjectManager<T>::tm = new ObjectManager<T>();

#endif
