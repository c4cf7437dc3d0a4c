// A picture of the device screen with every visible window on it, composed
// from each window's own rendering in our stacking order (the screen, then
// dialogs, then pop-up menus), in device pixels.
#pragma once

#include <QImage>

class QWidget;

QImage GrabDeviceScreen(QWidget* screen);
