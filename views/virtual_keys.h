// Key codes at the boundary between Qt and the views: the arrow keys become
// the virtual-key codes 37 (left), 38 (up), 39 (right) and 40 (down), so the
// views compute with the codes they were designed for.
#pragma once

#include <Qt>

namespace VirtualKey {

constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;

inline bool IsArrow(int vk)
{
    return vk >= kLeft && vk <= kDown;
}

// The virtual-key code of an arrow key; 0 for every other Qt key.
inline int FromQt(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left:
        return kLeft;
    case Qt::Key_Up:
        return kUp;
    case Qt::Key_Right:
        return kRight;
    case Qt::Key_Down:
        return kDown;
    default:
        return 0;
    }
}

// The Qt key of an arrow's virtual-key code; 0 for any other code.
inline int ToQt(int vk)
{
    static const int keys[] = {Qt::Key_Left, Qt::Key_Up, Qt::Key_Right, Qt::Key_Down};
    return IsArrow(vk) ? keys[vk - kLeft] : 0;
}

}  // namespace VirtualKey
