#include "platform/gdi/Picture.h"

#include "platform/gdi/DC.h"
#include "resources/ResourceFormats.h"

BOOL GetPictureSize(UINT id, CSize* size) {
    const PictureTemplate* picture = FindPictureTemplate(id);
    if (!picture) return FALSE;
    if (size) *size = CSize(picture->width, picture->height);
    return TRUE;
}

BOOL DrawPicture(CDC* dc, UINT id, int x, int y) {
    const PictureTemplate* picture = FindPictureTemplate(id);
    if (!picture || !dc) return FALSE;
    RECT r{x, y, x + picture->width, y + picture->height};
    dc->LPtoDP(&r);
    if (GdiBackend* backend = dc->GetBackend()) backend->DrawPicture(CRect(r), picture->svg);
    return TRUE;
}
