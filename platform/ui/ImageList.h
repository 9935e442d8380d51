// An image list: pictures of one size, by index, for the icon view of a list (IconListCtrl.h).
#pragma once

#include <memory>

#include "platform/WinTypes.h"

class CBitmap;

enum : UINT { ILC_MASK = 0x0001, ILC_COLOR4 = 0x0004 };

class CImageList {
public:
    CImageList();
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    // Empties the list and sets the size of its images; the growth values are accepted for the
    // class library's sake (the list grows as needed).
    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    // Adds a copy of the bitmap scaled to the list's size; a mask's white pixels are transparent.
    // The new image's index, -1 without a bitmap or before Create.
    int Add(const CBitmap* pbmImage, const CBitmap* pbmMask);
    int GetImageCount() const;
    CSize GetImageSize() const;
    BOOL DeleteImageList();

    struct Data;
    const Data* GetData() const { return m_data.get(); }
    Data* GetData() { return m_data.get(); }

private:
    std::unique_ptr<Data> m_data;
};
