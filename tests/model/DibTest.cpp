#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "model/Dib.h"
#include "model/helpers/TextStream.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/TextFile.h"
#include "platform/gdi/DC.h"
#include "tests/support/TestSupport.h"

namespace {

// An image with a recognisable pattern in every row and a coloured table.
std::unique_ptr<MDib> MakeImage(int width, int height, int bpp) {
    auto dib = std::make_unique<MDib>(width, height, bpp);
    EXPECT_TRUE(dib->CreateSection(nullptr));
    for (int i = 0; i < dib->GetColorCount(); ++i)
        dib->SetColorEntry(i, (i * 0x010203u) & 0xFFFFFF);
    BYTE* bits = dib->GetBits();
    for (int i = 0; i < dib->GetBitsSize(); ++i)
        bits[i] = static_cast<BYTE>(i * 37 + 11);
    return dib;
}

std::vector<BYTE> ToBmp(MDib& dib) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(dib.WriteBmp(ar));
        ar.Close();
    }
    return file.Data();
}

BOOL FromBmp(MDib& dib, const std::vector<BYTE>& bytes) {
    CMemFile file(bytes.data(), bytes.size());
    CArchive ar(&file, CArchive::load);
    return dib.ReadBmp(ar);
}

void Put32(std::vector<BYTE>& b, std::size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<BYTE>(v >> (8 * i));
}

// The bits with each row's padding cleared: mirrors and rotations only define the pixels.
std::vector<BYTE> Pixels(const MDib& dib) {
    const BITMAPINFOHEADER* h = dib.GetHeader();
    const std::size_t stride = MDib::StrideOf(*h);
    const std::size_t used = (std::size_t(h->biWidth) * h->biBitCount + 7) / 8;
    std::vector<BYTE> out;
    for (int r = 0; r < h->biHeight; ++r) {
        const BYTE* row = dib.GetBits() + r * stride;
        out.insert(out.end(), row, row + used);
        if ((h->biWidth * h->biBitCount) % 8) {
            const int keep = (h->biWidth * h->biBitCount) % 8;
            out.back() &= static_cast<BYTE>(0xFF << (8 - keep));
        }
    }
    return out;
}

}  // namespace

TEST(DibTest, DerivedSizesFollowTheHeader) {
    MDib eight(10, 10, 8);
    BITMAPINFOHEADER h = *eight.GetHeader();
    h.biClrUsed = 0;
    EXPECT_EQ(MDib::ColorCountOf(h), 256);
    EXPECT_EQ(MDib::InfoSizeOf(h), 1064u);
    MDib* p = &eight;
    EXPECT_EQ(p->GetInfoSize(), 1064);
    std::vector<BYTE> bytes = ToBmp(eight);
    EXPECT_EQ(bytes[10] | (bytes[11] << 8), 1078);  // bfOffBits

    MDib rgb(3, 2, 24);
    EXPECT_EQ(rgb.GetInfoSize(), 40);
    EXPECT_EQ(MDib::StrideOf(*rgb.GetHeader()), 12u);
    EXPECT_EQ(MDib::BitsSizeOf(*rgb.GetHeader()), 24u);
    h = *rgb.GetHeader();
    h.biCompression = BI_BITFIELDS;
    h.biBitCount = 32;
    EXPECT_EQ(MDib::InfoSizeOf(h), 52u);
    h.biHeight = -2;  // top-down: as many rows as the magnitude
    h.biCompression = BI_RGB;
    EXPECT_EQ(MDib::BitsSizeOf(h), 24u);
}

TEST(DibTest, BmpFilesRoundTripByteIdenticallyForEveryDepth) {
    for (int bpp : {1, 4, 8, 24, 32}) {
        SCOPED_TRACE(bpp);
        auto dib = MakeImage(7, 5, bpp);
        const std::vector<BYTE> first = ToBmp(*dib);
        MDib back;
        ASSERT_TRUE(FromBmp(back, first));
        EXPECT_EQ(back.GetSize().cx, 7);
        EXPECT_EQ(back.GetSize().cy, 5);
        EXPECT_EQ(back.GetColorCount(), dib->GetColorCount());
        EXPECT_EQ(ToBmp(back), first);
        EXPECT_EQ(first.size(), 14u + dib->GetInfoSize() + dib->GetBitsSize());
    }
}

TEST(DibTest, PackedDibAndClone) {
    auto dib = MakeImage(9, 4, 8);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ASSERT_TRUE(dib->WritePackedDib(ar));
        ar.Close();
    }
    const std::vector<BYTE> packed = file.Data();
    EXPECT_EQ(packed.size(), std::size_t(dib->GetInfoSize() + dib->GetBitsSize()));
    MDib attached;
    ASSERT_TRUE(attached.Attach(packed.data(), packed.size()));
    EXPECT_EQ(ToBmp(attached), ToBmp(*dib));
    EXPECT_FALSE(attached.Attach(packed.data(), packed.size() - 1));  // bits cut short
    EXPECT_TRUE(attached.IsEmpty());

    auto copy = dib->Clone();
    EXPECT_EQ(ToBmp(*copy), ToBmp(*dib));
    ASSERT_TRUE(copy->GetPalette());
}

TEST(DibTest, TextBlocksRoundTripWithAndWithoutCompression) {
    const bool saved = BinaryBlockCompressionEnabled();
    for (bool compress : {false, true}) {
        SCOPED_TRACE(compress);
        SetBinaryBlockCompression(compress);
        auto dib = MakeImage(13, 6, 4);
        std::ostringstream first;
        ASSERT_TRUE(dib->WriteText(first));
        std::istringstream in(first.str());
        MDib back;
        ASSERT_TRUE(back.ReadText(in));
        std::ostringstream second;
        back.WriteText(second);
        EXPECT_EQ(second.str(), first.str());
        EXPECT_EQ(ToBmp(back), ToBmp(*dib));
    }
    SetBinaryBlockCompression(saved);

    MDib empty;
    std::ostringstream text;
    empty.WriteText(text);
    std::istringstream in(text.str());
    MDib back;
    EXPECT_TRUE(back.ReadText(in));
    EXPECT_TRUE(back.IsEmpty());
}

TEST(DibTest, DamagedTextBlocksAreRefused) {
    MessageBoxRecorder recorder;
    auto dib = MakeImage(4, 4, 24);
    std::ostringstream good;
    dib->WriteText(good);
    // The bits block claims more bytes than its lines hold.
    std::string text = good.str();
    const std::size_t third = text.find("\t48 BASE64");
    ASSERT_NE(third, std::string::npos);
    text.replace(third, 3, "\t49");
    std::istringstream in(text);
    MDib back;
    EXPECT_FALSE(back.ReadText(in));
    EXPECT_TRUE(back.IsEmpty());
    ASSERT_EQ(recorder.Messages().size(), 1u);
    EXPECT_EQ(recorder.Messages()[0].text, "Invalid bitmap file");
}

// The bits read from a file become the image's own: a large picture is never held twice, which a
// file of a few such pictures, each a few hundred kilobytes deflated, would make gigabytes.
TEST(DibTest, ReadingTextBlocksHoldsTheBitsOnce) {
    const auto kilobytes = [](const char* key) {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.rfind(key, 0) == 0) return std::atof(line.c_str() + std::strlen(key) + 1);
        return 0.0;
    };
    const bool saved = BinaryBlockCompressionEnabled();
    SetBinaryBlockCompression(true);
    std::ostringstream text;
    MDib(8192, 8192, 8).WriteText(text);  // 64 MiB of bits in about 90 KB
    SetBinaryBlockCompression(saved);
    std::istringstream in(text.str());

    std::ofstream("/proc/self/clear_refs") << "5";  // the peak starts again from here
    const double before = kilobytes("VmRSS");
    if (kilobytes("VmHWM") > before + 1024) GTEST_SKIP() << "the peak of the process cannot be reset";
    MDib back;
    ASSERT_TRUE(back.ReadText(in));
    const double bits = 64.0 * 1024;
    EXPECT_LT(kilobytes("VmHWM") - before, 1.5 * bits);
}

TEST(DibTest, DamagedBmpFilesAreRefusedWithTheMessage) {
    auto dib = MakeImage(4, 3, 8);
    const std::vector<BYTE> good = ToBmp(*dib);
    auto refused = [&](std::vector<BYTE> bytes, const char* message) {
        MessageBoxRecorder recorder;
        MDib back;
        const BOOL ok = FromBmp(back, bytes);
        EXPECT_FALSE(ok);
        EXPECT_TRUE(back.IsEmpty());
        if (recorder.Messages().size() != 1u) return std::string("no message");
        return recorder.Messages()[0].text == message ? std::string() : recorder.Messages()[0].text;
    };
    EXPECT_EQ(refused({'B', 'M', 0, 0}, "read error 1"), "");
    std::vector<BYTE> b = good;
    b[0] = 'X';
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 10, 0xFFFFFFF0);  // offset past the end
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 10, 20);  // offset inside the header
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 32, 1000);  // more colours than 8 bits can index
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 4, 0xFFFFFFFC);  // negative width
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 8, 0);  // no rows
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 16, BI_RLE8);  // compressed
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 20, 4);  // image size smaller than the rows
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14 + 20, 0x7FFFFFFF);  // image size larger than the file
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14, 12);  // an OS/2 core header
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    Put32(b, 14, 200);  // header larger than the info
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    b[14 + 14] = 7;  // bit count
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
    b = good;
    b.resize(b.size() - 1);  // bits cut short
    EXPECT_EQ(refused(b, "Invalid bitmap file"), "");
}

TEST(DibTest, TopDownAndV5FilesAreReadAsBottomUp) {
    // 2 x 2, 32 bits, V5 header with bit fields, top row first.
    std::vector<BYTE> file(14 + 124 + 16, 0);
    file[0] = 'B', file[1] = 'M';
    Put32(file, 2, static_cast<DWORD>(file.size()));
    Put32(file, 10, 14 + 124);
    Put32(file, 14, 124);
    Put32(file, 18, 2);
    Put32(file, 22, static_cast<DWORD>(-2));
    file[26] = 1;
    file[28] = 32;
    Put32(file, 30, BI_BITFIELDS);
    Put32(file, 54, 0x00FF0000);
    Put32(file, 58, 0x0000FF00);
    Put32(file, 62, 0x000000FF);
    Put32(file, 66, 0xFF000000);
    Put32(file, 138, 0x00FF0000);  // top left: red
    Put32(file, 142, 0x00FFFFFF);
    Put32(file, 146, 0x000000FF);  // bottom left: blue
    Put32(file, 150, 0x00000000);
    MDib dib;
    ASSERT_TRUE(FromBmp(dib, file));
    EXPECT_EQ(dib.GetSize().cy, 2);
    EXPECT_EQ(dib.GetInfoSize(), 52);
    CDC dc;
    dc.CreateImageDC(2, 2);
    ASSERT_TRUE(dib.StretchDraw(&dc, 0, 0, 2, 2, 0, 0, 2, 2));
    EXPECT_EQ(dc.GetPixel(0, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, 1), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(1, 0), RGB(255, 255, 255));
}

TEST(DibTest, MirroringTwiceGivesBackThePixels) {
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        for (int width : {1, 6, 7}) {
            SCOPED_TRACE(testing::Message() << bpp << " bits, width " << width);
            auto dib = MakeImage(width, 3, bpp);
            auto once = dib->CreateMirroredX();
            auto twice = once->CreateMirroredX();
            EXPECT_EQ(Pixels(*twice), Pixels(*dib));
            if (width > 1 && bpp >= 8) {
                EXPECT_NE(Pixels(*once), Pixels(*dib));
            }
            auto flipped = dib->CreateMirroredY();
            EXPECT_EQ(Pixels(*flipped->CreateMirroredY()), Pixels(*dib));
        }
    }
    // Left-right on a 4-bit row of even width: nibbles swap places.
    MDib four(2, 1, 4);
    four.CreateSection(nullptr);
    four.GetBits()[0] = 0x12;
    EXPECT_EQ(four.CreateMirroredX()->GetBits()[0], 0x21);
}

TEST(DibTest, RotationByFullTurnClonesAndQuarterTurnMovesPixels) {
    auto dib = MakeImage(3, 2, 24);
    auto same = dib->CreateRotated(2 * 3.14159265358979323846, 0);
    EXPECT_EQ(ToBmp(*same), ToBmp(*dib));

    auto quarter = dib->CreateRotated(3.14159265358979323846 / 2, RGB(1, 2, 3));
    ASSERT_TRUE(quarter);
    EXPECT_EQ(quarter->GetSize().cx, 2);
    EXPECT_EQ(quarter->GetSize().cy, 3);
    // Counter-clockwise: the source's bottom-right pixel becomes the bottom-left... check all six.
    auto pixel = [](const MDib& d, int x, int row) {
        const BYTE* p = d.GetBits() + row * MDib::StrideOf(*d.GetHeader()) + 3 * x;
        return DWORD(p[0]) | DWORD(p[1]) << 8 | DWORD(p[2]) << 16;
    };
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(pixel(*quarter, 1 - row, x), pixel(*dib, x, row));

    // Corners outside the source take the background colour.
    auto tilted = MakeImage(20, 10, 24)->CreateRotated(0.5, RGB(1, 2, 3));
    ASSERT_TRUE(tilted);
    EXPECT_EQ(pixel(*tilted, 0, 0), 0x010203u);  // stored as blue, green, red
}

TEST(DibTest, StretchDrawPaintsThroughTheContext) {
    MDib dib(2, 1, 1);
    dib.CreateSection(nullptr);
    dib.SetColorEntry(0, 0x0000FF);  // blue (RGBQUAD order: 0x00RRGGBB)
    dib.SetColorEntry(1, 0xFF0000);  // red
    dib.CreatePalette();
    dib.GetBits()[0] = 0x40;  // pixel 0: index 0, pixel 1: index 1
    CDC dc;
    dc.CreateImageDC(20, 10);
    ASSERT_TRUE(dib.StretchDraw(&dc, 0, 0, 2, 1, 0, 0, 20, 10));
    EXPECT_EQ(dc.GetPixel(3, 5), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(15, 5), RGB(255, 0, 0));
    MDib empty;
    EXPECT_FALSE(empty.StretchDraw(&dc, 0, 0, 1, 1, 0, 0, 1, 1));
}

TEST(DibTest, ArchivedObjectRoundTrip) {
    AfxRegisterClass(RUNTIME_CLASS(MDib));
    auto dib = MakeImage(5, 5, 24);
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar.WriteObject(dib.get());
        ar.Close();
    }
    CMemFile in(file.Data().data(), file.Data().size());
    CArchive ar(&in, CArchive::load);
    std::unique_ptr<CObject> obj(ar.ReadObject(RUNTIME_CLASS(MDib)));
    auto* back = dynamic_cast<MDib*>(obj.get());
    ASSERT_TRUE(back);
    EXPECT_EQ(ToBmp(*back), ToBmp(*dib));
}
