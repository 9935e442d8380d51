// Closed shapes and texts hold a fill record each: with and without a fill they must store the
// bytes and text that the record's earlier by-value layout gave, and read them back unchanged.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/FillStyle.h"
#include "model/shapes/curves/CircleShape.h"
#include "model/shapes/lines/PolygonShape.h"
#include "model/shapes/text/TextShape.h"
#include "tests/model/shapes/ShapeTestSupport.h"

namespace {

using shapetest::LoadObject;
using shapetest::ReadShape;
using shapetest::ShapeText;
using shapetest::StoreObject;

std::uint64_t Fnv1a(const void* data, std::size_t size) {
    std::uint64_t h = 14695981039346656037ull;
    for (std::size_t i = 0; i < size; ++i) {
        h ^= static_cast<const unsigned char*>(data)[i];
        h *= 1099511628211ull;
    }
    return h;
}

MFillStyle ClearedGradation() {
    // No colours left, but the centre, angle and middle still set.
    MFillStyle f(kFillSquare, 1.25, 0.25, 0.75, 1u, 2u, 3u, 0.5);
    f.Clear();
    return f;
}

std::vector<MFillStyle> Fills() {
    return {MFillStyle(),
            ClearedGradation(),
            MFillStyle(RGB(12, 34, 56)),
            MFillStyle(kFillLinear, 0.123456789, 0xFF, 0xFF00),
            MFillStyle(kFillSquare, 3.14159265358979, 0.1234567, -0.0, 7u, 8u, 9u, 2.0 / 3),
            MFillStyle(kFillCircular, 0.5, 0.25, 0xFFFFFF, 0u)};
}

std::unique_ptr<MCadShape> Shape(int which) {
    switch (which) {
        case 0: {
            auto circle = std::make_unique<MCircleShape>();
            circle->SetCircle(1.5, -2.25, 3.125);
            return circle;
        }
        case 1: {
            auto polyline = std::make_unique<MPolygonShape>(FALSE);
            for (const MFloatPoint& p : {MFloatPoint(0.5, 1), MFloatPoint(2, -3.25), MFloatPoint(1e-7, 4)})
                polyline->AddPoint(p);
            polyline->SetColor(RGB(1, 2, 3));
            return polyline;
        }
        default: {
            auto text = std::make_unique<MTextShape>();
            text->SetString("Tessaray 図面");
            text->SetTextSize(3.5);
            text->SetPoint(MFloatPoint(10, 20));
            return text;
        }
    }
}

// Sizes and hashes of the archive bytes and of the text form, per shape and fill, as the earlier
// layout wrote them.
struct Stored {
    std::size_t bytes;
    std::uint64_t bytesHash;
    std::size_t text;
    std::uint64_t textHash;
};

const Stored kStored[3][6] = {
    // circle: no fill, a cleared gradation, plain, linear, square with three colours, circular
    {
        {90, 0x21ca36caccb5eb44ull, 39, 0xaf74f5abc429c98eull},
        {90, 0x21ca36caccb5eb44ull, 39, 0xaf74f5abc429c98eull},
        {126, 0xf966ba5fb3c7a25bull, 38, 0xb9d4e645785f1fb7ull},
        {130, 0x8af951b28683a048ull, 54, 0x79c2c8b1291cf77aull},
        {134, 0xc274d91f9306f485ull, 70, 0x3b45ab974816de02ull},
        {130, 0x9a4206c062746b2eull, 55, 0xefadb9e394dc7f59ull},
    },
    // polyline: no fill, a cleared gradation, plain, linear, square with three colours, circular
    {
        {123, 0xec8ed947c0b7b676ull, 67, 0x52bd779b23f33718ull},
        {123, 0xec8ed947c0b7b676ull, 67, 0x52bd779b23f33718ull},
        {159, 0x8b8565a3cee28ce5ull, 66, 0x35df0db5fc09036dull},
        {163, 0xfd3e38d89c1125eaull, 82, 0xe6b559fed9e9977cull},
        {167, 0x3370271e53852f67ull, 98, 0x9a826adb32001314ull},
        {163, 0x7d6d768609e9d950ull, 83, 0xb02ed90df60fae2full},
    },
    // text: no fill, a cleared gradation, plain, linear, square with three colours, circular
    {
        {125, 0x84eefd6063456a53ull, 68, 0xb352f75f5585e6d7ull},
        {125, 0x84eefd6063456a53ull, 68, 0xb352f75f5585e6d7ull},
        {161, 0xb57bd8ea6c10733aull, 67, 0xf582284b2f9261c6ull},
        {165, 0xf4637affc91d1b77ull, 83, 0xbde26a28d76b308bull},
        {169, 0x7db0bba98c829980ull, 99, 0xc0c7e92a981b4a53ull},
        {165, 0xb27836dc23757479ull, 84, 0xe03cbd0f9fb9449cull},
    },
};

TEST(FillStyleShapes, StoreAsTheEarlierLayoutAndReadBackUnchanged) {
    shapetest::EnsureRegistered();
    const std::vector<MFillStyle> fills = Fills();
    for (int s = 0; s < 3; ++s) {
        for (std::size_t f = 0; f < fills.size(); ++f) {
            SCOPED_TRACE("shape " + std::to_string(s) + " fill " + std::to_string(f));
            std::unique_ptr<MCadShape> shape = Shape(s);
            shape->SetFillStyle(fills[f]);
            const std::vector<BYTE> bytes = StoreObject(shape.get());
            const std::string text = ShapeText(*shape);
            const Stored got{bytes.size(), Fnv1a(bytes.data(), bytes.size()), text.size(),
                             Fnv1a(text.data(), text.size())};
            const Stored& want = kStored[s][f];
            EXPECT_EQ(got.bytes, want.bytes);
            EXPECT_EQ(got.bytesHash, want.bytesHash);
            EXPECT_EQ(got.text, want.text);
            EXPECT_EQ(got.textHash, want.textHash);

            const std::unique_ptr<MCadShape> loaded(LoadObject<MCadShape>(bytes));
            ASSERT_TRUE(loaded);
            EXPECT_EQ(StoreObject(loaded.get()), bytes);
            const std::unique_ptr<MCadShape> read = ReadShape(text);
            ASSERT_TRUE(read);
            EXPECT_EQ(ShapeText(*read), text);
            EXPECT_EQ(loaded->GetFillStyle(), shape->GetFillStyle());
            // The text form keeps six digits of the doubles; kind and colours come back whole.
            const MFillStyle back = read->GetFillStyle(), fill = shape->GetFillStyle();
            EXPECT_EQ(back.GetKind(), fill.GetKind());
            EXPECT_EQ(back.GetColorCount(), fill.GetColorCount());
            for (int i = 0; i < fill.GetColorCount(); ++i)
                EXPECT_EQ(back.GetColor(i), fill.GetColor(i));
        }
    }
}

}  // namespace
