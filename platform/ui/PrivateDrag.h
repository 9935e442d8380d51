// Drags between windows of the program, carrying bytes of a private MIME type on the toolkit's
// drag and drop. The target window hears of the drag as it enters, moves, drops and leaves, at
// points in its client coordinates, with the keys and buttons as MK_ flags; it never looks for
// the window under the pointer (a floating bar is another top-level window).
#pragma once

#include <functional>
#include <string>

#include "platform/ProgramState.h"
#include "platform/ui/Wnd.h"

enum : int { kDragEnter = 0, kDragMove = 1, kDragDrop = 2, kDragLeave = 3 };

// Answers whether the window takes the drag (at enter; later answers accept the move or drop).
using PrivateDragHandler = std::function<bool(int phase, const std::string& data, UINT flags, CPoint point)>;

// Makes wnd accept drags of the MIME type; other drags (files) go on to its parents.
void AcceptPrivateDrags(CWnd* wnd, const std::string& mimeType, PrivateDragHandler handler);

class CImageList;

// What the pointer carries along: image 0 of the list, held at the hot spot (the pointer's offset
// from the image's upper-left corner). No image: the toolkit's plain drag cursor.
struct PrivateDragPicture {
    const CImageList* image = nullptr;
    CPoint hotSpot;
};

// Runs a drag of the data from the source window until it is dropped or cancelled; TRUE when a
// window took the drop.
BOOL DoPrivateDrag(CWnd* source, const std::string& mimeType, const std::string& data,
                   const PrivateDragPicture& picture = {});

// Tests replace the toolkit's drag loop: the function gets the type, data and picture and plays
// the events on the target itself.
using PrivateDragRunner = std::function<BOOL(const std::string& mimeType, const std::string& data,
                                             const PrivateDragPicture& picture)>;
CProgramSlot<PrivateDragRunner>& AfxPrivateDragSlot();

// Sends the toolkit's drag events for a drag of that data to wnd at a client point: what a
// drag over the window does (phase kDragEnter, kDragMove, kDragDrop or kDragLeave). TRUE when
// the window accepted the event.
BOOL SendPrivateDragEvent(CWnd* wnd, int phase, const std::string& mimeType, const std::string& data,
                          CPoint point, UINT keys = 0);
