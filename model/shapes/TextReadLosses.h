// What the text form's readers leave out of one file (a drawing, a parts file), counted while it is
// read so that the file's reader tells it all in one message at the end. The readers report into the
// record of the innermost scope alive; without one (a shape or picture read alone) nothing is
// counted and a picture tells its own failure.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>

class MCadShape;
class MCadView;

class MTextReadLosses {
public:
    // Makes losses the record that the readers report into while it lives.
    class Scope {
    public:
        explicit Scope(MTextReadLosses& losses);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        MTextReadLosses* m_previous;
    };

    MTextReadLosses();
    ~MTextReadLosses();
    MTextReadLosses(MTextReadLosses&&) noexcept;
    MTextReadLosses& operator=(MTextReadLosses&&) noexcept;

    // The record of the innermost scope; null when none is alive.
    static MTextReadLosses* Current();

    // True when the shape's values are finite as read and, for a shape with a text (other than a
    // plain group, whose members were checked already), once measured where its numbers could make
    // the measure infinite; else it is counted as dropped under its keyword.
    bool Admit(MCadShape& shape);
    // A shape of that keyword that the file could not give whole.
    void DropShape(const std::string& keyword);
    void PictureDamaged();
    // Pixels of pictures are limited for the whole file: whether one of bytes still fits, taking
    // those of a picture about to be decoded, counting one left out.
    bool PictureFits(std::size_t bytes) const;
    void TakePicture(std::size_t bytes);
    void LeavePictureOut();
    // A text line longer than a drawing keeps was cut.
    void TextCut() { m_textsCut = true; }
    // Groups nested past the limit were folded into the deepest one kept; the deepest fold counts.
    void FoldedLevels(int levels);

    // Whether a shape, picture or part of a text of the file is not in what was read (folding keeps
    // every shape).
    bool LeftOut() const;
    bool IsEmpty() const { return !LeftOut() && m_foldedLevels == 0; }
    // The paragraphs that tell it, in the program's words; empty when there is nothing to tell.
    std::string GetText() const;

private:
    std::map<std::string, int> m_dropped;
    int m_damagedPictures = 0;
    int m_picturesLeftOut = 0;
    int m_foldedLevels = 0;
    bool m_textsCut = false;
    std::size_t m_pictureBytesLeft;
    std::unique_ptr<MCadView> m_measure;
};
