// Golden text and archive forms of every shape kind with a stroke: the files the program writes stay
// byte for byte what they were. Each kind is written twice: a plain stroke and an auxiliary one.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>

#include "tests/model/shapes/ShapeTestSupport.h"

using namespace shapetest;

namespace {

struct Golden {
    std::string text;
    std::uint64_t archiveHash;
    std::size_t archiveSize;
};

std::uint64_t Fnv1a(const std::vector<BYTE>& bytes) {
    std::uint64_t h = 1469598103934665603ull;
    for (BYTE b : bytes)
        h = (h ^ b) * 1099511628211ull;
    return h;
}

std::unique_ptr<MCadShape> StrokedShape(int typeId, int style) {
    std::unique_ptr<MCadShape> shape(GetShapeFactory().CreateById(typeId));
    if (!shape) return nullptr;
    shape->SetColor(0x123456);
    shape->SetLineWidth(0.35);
    shape->SetLineStyle(style);
    shape->SetColor(0x654321);  // refused by an auxiliary line
    return shape;
}

// Written by the program before the stroke fields were gathered into one value.
const std::map<std::pair<int, int>, Golden>& Goldens() {
    static const std::map<std::pair<int, int>, Golden> goldens = {
        {{1, 0x2}, {"LINE\n\t0 0 0 0 6636321 2 0.35 0 0 0 0\n", 0x06144c6c3f1378e0ull, 88}},
        {{1, 0x83}, {"LINE\n\t0 0 0 0 16711680 131 0.35 0 0 0 0\n", 0x7b23b27c267ac9afull, 88}},
        {{2, 0x2}, {"CIRCLE\n\t0 0 0 6636321 2 0.35 16777216\n", 0x0abde56d8c636facull, 90}},
        {{2, 0x83}, {"CIRCLE\n\t0 0 0 16711680 131 0.35 16777216\n", 0x97cbe70c207a095bull, 90}},
        {{3, 0x2}, {"ARC\n\t0 0 0 0 0 6636321 2 0.35 16777216 0 0 0 0\n", 0x61595ead617cf7bbull, 109}},
        {{3, 0x83}, {"ARC\n\t0 0 0 0 0 16711680 131 0.35 16777216 0 0 0 0\n", 0xd82f7a7aefc5b0e0ull, 109}},
        {{4, 0x2}, {"FAN\n\t0 0 0 0 0 6636321 2 0.35 16777216\n", 0xd9aa56c29e177330ull, 109}},
        {{4, 0x83}, {"FAN\n\t0 0 0 0 0 16711680 131 0.35 16777216\n", 0x1863f7243e838ebfull, 109}},
        {{5, 0x2}, {"ELLIPSE\n\t0 0 0 0 6636321 2 0.35 16777216\n", 0x635dd735b2b6b687ull, 75}},
        {{5, 0x83}, {"ELLIPSE\n\t0 0 0 0 16711680 131 0.35 16777216\n", 0x5dd3ef7ce16b8c6cull, 75}},
        {{6, 0x2}, {"RECT\n\t0 0 0 0 6636321 2 0.35 16777216\n", 0xec4efbc345f8cda0ull, 72}},
        {{6, 0x83}, {"RECT\n\t0 0 0 0 16711680 131 0.35 16777216\n", 0x4730e35cedec20afull, 72}},
        {{7, 0x2}, {"POLYGON\n\t6636321 2 0.35 16777216 3 0 0 0 0\n\t0\n", 0x14986ea96052d47cull, 75}},
        {{7, 0x83}, {"POLYGON\n\t16711680 131 0.35 16777216 3 0 0 0 0\n\t0\n", 0x56e8594304f69cd7ull, 75}},
        {{8, 0x2}, {"GROUP\n\t0\n\t0 0 0\n0\n", 0xe15ebe73eee8781full, 43}},
        {{8, 0x83}, {"GROUP\n\t0\n\t0 0 0\n0\n", 0xe15ebe73eee8781full, 43}},
        {{9, 0x2}, {"SPLINE\n\t6636321 2 0.35 0 0 0 0 16777216\n\t0\n", 0xb7ca62a0f7a5134bull, 68}},
        {{9, 0x83}, {"SPLINE\n\t16711680 131 0.35 0 0 0 0 16777216\n\t0\n", 0x141af84f1e5dfc08ull, 68}},
        {{10, 0x2}, {"SPLINELOOP\n\t6636321 2 0.35 16777216\n\t0\n", 0x873fb2f4f72d02acull, 104}},
        {{10, 0x83}, {"SPLINELOOP\n\t16711680 131 0.35 16777216\n\t0\n", 0x4b180770e4a46c7cull, 104}},
        {{11, 0x2},
         {"SIZE\n\t0 0 0 0 0 0 0 0 0 0 6636321 2 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0x0ca50e42c1b1d243ull, 196}},
        {{11, 0x83},
         {"SIZE\n\t0 0 0 0 0 0 0 0 0 0 6636321 131 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 "
          "3\n\t0\n",
          0x3bad28dc19c356e8ull, 196}},
        {{12, 0x2},
         {"RADIUS\n\t0 0 0 0 0 6636321 2 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0x96722e7ced086543ull, 162}},
        {{12, 0x83},
         {"RADIUS\n\t0 0 0 0 0 6636321 131 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0xc57a49164519e9e8ull, 162}},
        {{13, 0x2},
         {"DIAMETER\n\t0 0 0 0 0 6636321 2 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0xc4d52741518edefaull, 164}},
        {{13, 0x83},
         {"DIAMETER\n\t0 0 0 0 0 6636321 131 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0xcd438396ff08fd75ull, 164}},
        {{14, 0x2},
         {"ANGLE\n\t0 0 0 0 0 0 6636321 2 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0x74ce62b4b2379220ull, 165}},
        {{14, 0x83},
         {"ANGLE\n\t0 0 0 0 0 0 6636321 131 0.35 0 0 16777216\n\tＭＳ ゴシック\n\t3 2 8 2 1 1 3\n\t0\n",
          0x61e0e3ba5ba55cfbull, 165}},
        {{17, 0x2},
         {"TEXT\n\t0 0 1 -1 8 0 0 0 0 0 6636321 2 0.35 16777216\n\t\n\t0\n", 0xcf64cb81cc6f913full, 112}},
        {{17, 0x83},
         {"TEXT\n\t0 0 1 -1 8 0 0 0 0 16711680 16711680 131 0.35 16777216\n\t\n\t0\n", 0x21d89844b88bd413ull,
          112}},
        {{18, 0x2},
         {"MULTITEXT\n\t0 0 1 -1 8 0 0 0 0 0 0 6636321 2 0.35 16777216\n\t\n\t0\n", 0x043007dd2a39f751ull,
          137}},
        {{18, 0x83},
         {"MULTITEXT\n\t0 0 1 -1 8 0 0 0 0 16711680 0 16711680 131 0.35 16777216\n\t\n\t0\n",
          0x6f1f42eb7b8d9f19ull, 137}},
        {{20, 0x2}, {"MARK\n\t0 0 2\n", 0x15026902de9ad7d5ull, 40}},
        {{20, 0x83}, {"MARK\n\t0 0 2\n", 0x15026902de9ad7d5ull, 40}},
        {{22, 0x2},
         {"BITMAP\n\t0 0 0 0\n\t14 BASE64 0\n\tQk0OAAAAAAAAAA4AAAA=\n\t0 BASE64 0\n\t0 BASE64 1\n",
          0x53dabdca3ff7a425ull, 52}},
        {{22, 0x83},
         {"BITMAP\n\t0 0 0 0\n\t14 BASE64 0\n\tQk0OAAAAAAAAAA4AAAA=\n\t0 BASE64 0\n\t0 BASE64 1\n",
          0x53dabdca3ff7a425ull, 52}},
        {{23, 0x2},
         {"LABEL\n\t6636321 2 0.35 1 3 16777216\n\t0\n\t0\n\t4 0 0 0\n\t0\n", 0xf9eb15c42d062349ull, 382}},
        {{23, 0x83},
         {"LABEL\n\t6636321 131 0.35 1 3 16777216\n\t0\n\t0\n\t4 0 0 0\n\t0\n", 0x4f326bb290cc50a8ull, 382}},
        {{24, 0x2},
         {"BALLOON\n\t6636321 2 0.35 1 3 16777216\n\t0 0\n\t0\n\t0\n\t4 0 0\n\t0\n", 0xccff0423a53b5232ull,
          394}},
        {{24, 0x83},
         {"BALLOON\n\t6636321 131 0.35 1 3 16777216\n\t0 0\n\t0\n\t0\n\t4 0 0\n\t0\n", 0xaa5f375881631a6bull,
          394}},
    };
    return goldens;
}

}  // namespace

TEST(StrokeForms, EveryKindWritesItsStrokeAsItAlwaysDid) {
    EnsureRegistered();
    for (const MShapeType& type : GetShapeTypes()) {
        for (int style : {2, 0x83}) {
            std::unique_ptr<MCadShape> shape = StrokedShape(type.id, style);
            if (!shape) continue;
            const std::string text = ShapeText(*shape);
            const std::vector<BYTE> bytes = StoreObject(shape.get());
            const auto found = Goldens().find({type.id, style});
            if (found == Goldens().end()) {
                std::string quoted;
                for (char c : text)
                    quoted += c == '\n'   ? std::string("\\n")
                              : c == '\t' ? std::string("\\t")
                                          : std::string(1, c);
                std::printf("        {{%d, 0x%x}, {\"%s\", 0x%016llxull, %zu}},\n", type.id, style,
                            quoted.c_str(), static_cast<unsigned long long>(Fnv1a(bytes)), bytes.size());
                ADD_FAILURE() << type.keyword << " has no golden form";
                continue;
            }
            EXPECT_EQ(text, found->second.text) << type.keyword << " style " << style;
            EXPECT_EQ(bytes.size(), found->second.archiveSize) << type.keyword << " style " << style;
            EXPECT_EQ(Fnv1a(bytes), found->second.archiveHash) << type.keyword << " style " << style;
            // Both forms read back give the stroke that was written.
            for (const std::unique_ptr<MCadShape>& back : {ReadShape(text), LoadObject<MCadShape>(bytes)}) {
                ASSERT_TRUE(back) << type.keyword;
                EXPECT_EQ(back->GetColor(), shape->GetColor()) << type.keyword << " style " << style;
                EXPECT_EQ(back->GetLineStyle(), shape->GetLineStyle()) << type.keyword << " style " << style;
                EXPECT_EQ(back->GetLineWidth(), shape->GetLineWidth()) << type.keyword << " style " << style;
            }
        }
    }
}
