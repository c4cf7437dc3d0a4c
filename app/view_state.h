// The arithmetic of a picture's view state: rotation steps, zoom steps and
// the large-landscape test of full screen. Pure functions over plain values.
#pragma once

namespace ViewState {

// The screen a picture must exceed to count as large.
constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;
constexpr int kZoomStep = 20;
constexpr int kZoomFloor = 20;
constexpr int kZoomInLimit = 300;  // zoom in is offered below this code
constexpr int kZoomOutLimit = 50;  // zoom out is offered above this effective zoom

// Rotation after a step of +90 (step > 0) or -90 (step < 0); a rotation that
// is not 0, 90, 180 or 270 stays as it is.
int RotateStep(int rotation, int step);
// The new zoom code of a zoom step: a fit or fill code (0 or less) first
// becomes the effective zoom; then delta is added; a result below 20 is 20.
int ZoomStep(int zoom, int effectiveZoom, int delta);
// Width above 240 or height above 320, and wider than high.
bool IsLargeLandscape(int width, int height);

// The rotation of a fixed-rotation command and the command of a rotation.
int RotationOfCommand(int id);       // -1 when id is none of the four
int CommandOfRotation(int degrees);  // 0 when degrees is none of the four
// The zoom code of a fixed-zoom command (32792..32797) or of an "All to"
// command (32817..32819); ok is cleared when id is neither.
int ZoomOfCommand(int id, bool* ok);

}  // namespace ViewState
