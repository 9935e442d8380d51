// The Qt side of views, for the window code and tests that look at a view's pixels.
#pragma once

#include <QImage>

#include "platform/ui/View.h"

// The view's persistent surface as it is now (what the window shows after its next paint, minus
// the invalid region that this paint will draw).
const QImage& ViewSurfaceImage(const CView& view);
