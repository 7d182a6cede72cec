#ifndef PROBECONTROLLER_H
#define PROBECONTROLLER_H

#include "controller.h"

#include <QStringList>

// A controller that writes "run <name>" for every update inside its window and
// "destroy <name>" when deleted. With finishOnRun > 0 it finishes (OnFinish,
// then true) on that run, as a key-frame controller does after its last frame.
class ProbeController : public Controller
{
public:
    ProbeController(const QString& name, QStringList* log, WorldObject* node = nullptr,
                    int finishOnRun = 0)
        : Controller(node), m_name(name), m_log(log), m_finishOnRun(finishOnRun) {}
    ~ProbeController() override { *m_log << "destroy " + m_name; }

    bool Update(float dt) override
    {
        if (!Exists(0))
            return false;
        *m_log << "run " + m_name;
        ++runs;
        lastDt = dt;
        if (m_finishOnRun > 0 && runs >= m_finishOnRun) {
            OnFinish();
            return true;
        }
        return false;
    }

    int runs = 0;
    float lastDt = 0.0f;

private:
    QString m_name;
    QStringList* m_log;
    int m_finishOnRun;
};

#endif
