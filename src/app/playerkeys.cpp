#include "playerkeys.h"

#include <Qt>

namespace {
const int kShortSeek = 1000;  // ms
const int kLongSeek = 10000;
}  // namespace

PlayerKeys::Command PlayerKeys::command(int key, bool paused) const
{
    if (key == Qt::Key_Escape)
        return {Action::Quit, 0};
    return m_dev ? devCommand(key, paused) : Command();
}

PlayerKeys::Command PlayerKeys::devCommand(int key, bool paused) const
{
    switch (key) {
    case Qt::Key_Space:
        return {Action::TogglePause, 0};
    case Qt::Key_Left:
        return {Action::SeekBy, -kShortSeek};
    case Qt::Key_Right:
        return {Action::SeekBy, kShortSeek};
    case Qt::Key_PageUp:
        return {Action::SeekBy, -kLongSeek};
    case Qt::Key_PageDown:
        return {Action::SeekBy, kLongSeek};
    case Qt::Key_Home:
        return {Action::SeekTo, 0};
    case Qt::Key_Comma:
        return paused ? Command{Action::StepFrames, -1} : Command();
    case Qt::Key_Period:
        return paused ? Command{Action::StepFrames, 1} : Command();
    default:
        return {};
    }
}
