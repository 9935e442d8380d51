// Shapes that come from outside the drawing (the clipboard, a parts file) are taken only when every
// value is finite, as a drawing keeps nothing it could not write and read back, and with each text
// line cut to what a drawing keeps. What was dropped or cut is counted so that one message tells it.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

class MCadShape;
class MPackShape;

class MIncomingShapes {
public:
    // Cuts the shape's texts (at any depth), then true when all its values are finite; a shape
    // that fails is counted under its kind and left to the caller.
    bool Admit(MCadShape& shape);
    // The shapes of object (a pack is taken apart at any depth and its wrappers deleted) that
    // Admit takes, in a new pack that owns none of them, as a pasted pack; the others are deleted.
    // Null when none is taken.
    std::unique_ptr<MPackShape> AdmitMembers(std::unique_ptr<MCadShape> object);

    bool HasLosses() const { return m_textsCut || !m_dropped.empty(); }
    int DroppedCount() const;
    // droppedHeading and the dropped shapes' kinds with their counts, then cutText when a text was
    // cut, as paragraphs; empty when nothing was lost.
    std::string LossText(const std::string& droppedHeading, const std::string& cutText) const;

private:
    std::map<std::string, int> m_dropped;
    bool m_textsCut = false;
};

// Cuts every text of the shape and of its members (texts, labels, balloons, dimensions) to what a
// drawing keeps; true when something was cut.
bool CutShapeTexts(MCadShape& shape);

// The shapes a pasted object stands for: a pack taken apart into its members, recursively; the
// packs themselves go to packs.
void TakeApartPacks(MCadShape* shape, std::vector<MCadShape*>& shapes, std::vector<MCadShape*>& packs);
