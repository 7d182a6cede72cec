#include "demotree.h"

#include "engine.h"

DemoTree::DemoTree()
    : m_run(DemoRun::offline())
{
    m_run.start();
}

void DemoTree::stepTo(int moment, int frameMs)
{
    m_run.advanceTo(moment + 1, 1000 / frameMs);
}

void DemoTree::frame(float dt)
{
    Engine* engine = Engine::GetInstance();
    engine->Update(dt);
    engine->Draw();
}
