#ifndef DEMOOBJECT_H
#define DEMOOBJECT_H

class Renderer;
class Transform;

// Anything that lives in a time window of engine time and is updated and
// drawn once per frame: every scene-graph node and every controller.
class DemoObject
{
public:
    DemoObject() = default;
    DemoObject(const DemoObject& other) = default;
    virtual ~DemoObject() = default;

    // Advances by dt milliseconds; true means finished (the owner deletes it).
    virtual bool Update(float dt) = 0;
    virtual void Draw(Renderer* renderer, const Transform& inherited) = 0;

    // Closed interval [start, end] of engine time; (0, 0) means always.
    void SetTime(int start, int end);
    // now == 0 asks about the current engine time.
    bool Exists(int now) const
    {
        // Inline for the nodes that always exist, which are most of them
        // (every mesh point and polygon): they need no engine time.
        return always() || existsAt(now);
    }
    // Whether the window holds engine time `time`; here 0 is a time like any
    // other, for whoever asks about a time that is not now.
    bool Covers(int time) const { return always() || (m_start <= time && time <= m_end); }

    int GetStart() const { return m_start; }
    int GetEnd() const { return m_end; }

private:
    bool always() const { return m_start == 0 && m_end == 0; }
    bool existsAt(int now) const;

protected:
    int m_start = 0;
    int m_end = 0;
};

#endif
