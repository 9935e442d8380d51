// Internal to platform/ui: the pictures of a CImageList.
#pragma once

#include <QPixmap>
#include <vector>

#include "platform/ui/ImageList.h"

struct CImageList::Data {
    int cx = 0;
    int cy = 0;
    bool created = false;
    std::vector<QPixmap> images;
};
