#pragma once

#include <functional>

class QWidget;

// Runs `work` once, as soon as `window` has been painted for the first time and the picture is
// on the screen: for what the window does not need in order to appear.
void runAfterFirstPaint(QWidget& window, std::function<void()> work);
