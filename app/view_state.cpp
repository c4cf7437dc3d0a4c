#include "app/view_state.h"

#include "res/resource.h"

namespace ViewState {

int RotateStep(int rotation, int step)
{
    if (rotation != 0 && rotation != 90 && rotation != 180 && rotation != 270)
        return rotation;
    return (rotation + (step > 0 ? 90 : 270)) % 360;
}

int ZoomStep(int zoom, int effectiveZoom, int delta)
{
    const int base = zoom <= 0 ? effectiveZoom : zoom;
    const int next = base + delta;
    return next < kZoomFloor ? kZoomFloor : next;
}

bool IsLargeLandscape(int width, int height)
{
    return (width > kScreenWidth || height > kScreenHeight) && width > height;
}

namespace {

struct IdValue {
    int id;
    int value;
};

const IdValue kRotations[]
    = {{Res::ID_ROTATE_0, 0}, {Res::ID_ROTATE_90, 90}, {Res::ID_ROTATE_180, 180}, {Res::ID_ROTATE_270, 270}};

const IdValue kZooms[] = {{Res::ID_ZOOM_50, 50},   {Res::ID_ZOOM_100, 100}, {Res::ID_ZOOM_150, 150},
                          {Res::ID_ZOOM_200, 200}, {Res::ID_ZOOM_FIT, 0},   {Res::ID_ZOOM_FILL, -1},
                          {Res::ID_ALL_FIT, 0},    {Res::ID_ALL_FILL, -1},  {Res::ID_ALL_ORIGINAL, 100}};

}  // namespace

int RotationOfCommand(int id)
{
    for (const IdValue& r : kRotations)
        if (r.id == id)
            return r.value;
    return -1;
}

int CommandOfRotation(int degrees)
{
    for (const IdValue& r : kRotations)
        if (r.value == degrees)
            return r.id;
    return 0;
}

int ZoomOfCommand(int id, bool* ok)
{
    for (const IdValue& z : kZooms)
        if (z.id == id) {
            *ok = true;
            return z.value;
        }
    *ok = false;
    return 0;
}

}  // namespace ViewState
