// Program-wide drawing state that the view sets and the renderers read.
#pragma once

// Set while the view draws into an enhanced metafile: auxiliary lines are left out and thin
// open lines are not lengthened to show their end pixel.
bool IsMetafileDrawing();
void SetMetafileDrawing(bool drawing);
