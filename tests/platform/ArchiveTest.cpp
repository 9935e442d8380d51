#include <gtest/gtest.h>

#include <memory>

#include "platform/Archive.h"
#include "platform/File.h"

namespace {

// A small object graph: nodes own their children and keep a non-owning link.
class TestNode : public CObject {
    DECLARE_SERIAL(TestNode)
public:
    ~TestNode() override {
        for (CObject* c : children.GetDataVector()) delete c;
    }
    void Serialize(CArchive& ar) override {
        children.Serialize(ar);
        if (ar.IsStoring()) {
            ar << value << name << link;
        } else {
            ar >> value >> name >> link;
        }
    }
    struct Children : CObArray {
        const std::vector<CObject*>& GetDataVector() const { return m_data; }
    } children;
    std::int32_t value = 0;
    std::string name;
    TestNode* link = nullptr;
};
IMPLEMENT_SERIAL(TestNode, CObject, 1)

// Owns everything it reads, so that damaged input can be checked for leaks by counting.
class TreeNode : public CObject {
    DECLARE_SERIAL(TreeNode)
public:
    TreeNode() { ++live; }
    ~TreeNode() override {
        --live;
        for (int i = 0; i < children.GetSize(); ++i) delete children.GetAt(i);
    }
    void Serialize(CArchive& ar) override {
        children.Serialize(ar);
        if (ar.IsStoring()) {
            ar << value << name;
        } else {
            ar >> value >> name;
        }
    }
    static inline int live = 0;
    CObArray children;
    std::int32_t value = 0;
    std::string name;
};
IMPLEMENT_SERIAL(TreeNode, CObject, 1)

class VersionedNode : public CObject {
    DECLARE_SERIAL(VersionedNode)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << value;
        } else {
            schema = ar.GetObjectSchema();
            ar >> value;
        }
    }
    std::int32_t value = 0;
    UINT schema = 0;
};
IMPLEMENT_SERIAL(VersionedNode, CObject, VERSIONABLE_SCHEMA | 2)

// Reads a child, deletes it, then reads a reference to that child.
class ForgettingNode : public CObject {
    DECLARE_SERIAL(ForgettingNode)
public:
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar.WriteObject(child.get());
            ar.WriteObject(child.get());
            return;
        }
        CObject* read = ar.ReadOwnedObject(nullptr);
        ar.ForgetObject(read);
        delete read;
        link = ar.ReadObject(nullptr);
    }
    std::unique_ptr<CObject> child;
    CObject* link = reinterpret_cast<CObject*>(1);
};
IMPLEMENT_SERIAL(ForgettingNode, CObject, 1)

class ArchiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        AfxRegisterClass(RUNTIME_CLASS(TestNode));
        AfxRegisterClass(RUNTIME_CLASS(VersionedNode));
        AfxRegisterClass(RUNTIME_CLASS(TreeNode));
        AfxRegisterClass(RUNTIME_CLASS(ForgettingNode));
    }
    template <class F>
    std::vector<BYTE> Store(F f) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            f(ar);
        }
        return file.Detach();
    }
};

TEST_F(ArchiveTest, ScalarsAreLittleEndianAndCountsUseEscapes) {
    auto bytes = Store([](CArchive& ar) {
        ar << static_cast<WORD>(0x1234) << static_cast<DWORD>(0xA1B2C3D4) << 1.0;
        ar.WriteCount(5);
        ar.WriteCount(0x10000);
    });
    const std::vector<BYTE> expected = {0x34, 0x12, 0xD4, 0xC3, 0xB2, 0xA1, 0,    0,    0, 0,
                                        0,    0,    0xF0, 0x3F, 5,    0,    0xFF, 0xFF, 0, 0, 1, 0};
    EXPECT_EQ(bytes, expected);
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    WORD w;
    DWORD d;
    double x;
    ar >> w >> d >> x;
    EXPECT_EQ(ar.ReadCount(), 5u);
    EXPECT_EQ(ar.ReadCount(), 0x10000u);
    EXPECT_EQ(x, 1.0);
}

TEST_F(ArchiveTest, StringsCarryCodePage932AndLengthPrefixes) {
    const std::string japanese = "用紙ﾌｧｲﾙ";  // two full-width, four half-width: 8 bytes
    const std::string longText(300, 'x');
    auto bytes = Store([&](CArchive& ar) { ar << japanese << longText << std::string(); });
    ASSERT_GE(bytes.size(), 9u);
    EXPECT_EQ(bytes[0], 8);  // byte length in code page 932
    EXPECT_EQ(bytes[9], 0xFF);
    EXPECT_EQ(bytes[10] | (bytes[11] << 8), 300);
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    std::string a, b, c = "junk";
    ar >> a >> b >> c;
    EXPECT_EQ(a, japanese);
    EXPECT_EQ(b, longText);
    EXPECT_EQ(c, "");
}

TEST_F(ArchiveTest, UnicodeStringsFromWindowsReadAsUtf8) {
    // 0xFF 0xFFFE marker, then length 2 and UTF-16LE "図A"
    const std::vector<BYTE> bytes = {0xFF, 0xFE, 0xFF, 2, 0xF3, 0x56, 'A', 0};
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    std::string s;
    ar >> s;
    EXPECT_EQ(s, "図A");
}

TEST_F(ArchiveTest, ObjectGraphRoundTripsWithClassAndObjectBackReferences) {
    auto* root = new TestNode;
    root->value = 1;
    root->name = "root";
    for (int i = 0; i < 3; ++i) {
        auto* child = new TestNode;
        child->value = 10 + i;
        root->children.Add(child);
    }
    root->link = static_cast<TestNode*>(root->children.GetAt(2));
    auto bytes = Store([&](CArchive& ar) { ar << root; });
    // New class tag and name once, then class references (0x8001) for the children.
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xFF);
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    TestNode* copy = nullptr;
    ar >> copy;
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->value, 1);
    EXPECT_EQ(copy->name, "root");
    ASSERT_EQ(copy->children.GetSize(), 3);
    EXPECT_EQ(static_cast<TestNode*>(copy->children.GetAt(1))->value, 11);
    EXPECT_EQ(copy->link, copy->children.GetAt(2));
    EXPECT_EQ(ar.BytesRemaining(), 0u);
    delete copy;
    delete root;
}

TEST_F(ArchiveTest, VersionableSchemaAcceptsOtherSchemasAndReportsThem) {
    auto* node = new VersionedNode;
    node->value = 7;
    auto bytes = Store([&](CArchive& ar) { ar << node; });
    delete node;
    // schema WORD sits right after the new-class tag
    bytes[2] = 5;
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    VersionedNode* copy = nullptr;
    ar >> copy;
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->schema, 5u);
    EXPECT_EQ(copy->value, 7);
    delete copy;
}

TEST_F(ArchiveTest, DamagedInputRaisesArchiveExceptionsAndNeverLeaks) {
    auto* root = new TreeNode;
    root->name = "abc";
    for (int i = 0; i < 4; ++i) {
        auto* child = new TreeNode;
        child->children.Add(new TreeNode);
        root->children.Add(child);
    }
    const auto good = Store([&](CArchive& ar) { ar << root; });
    delete root;
    ASSERT_EQ(TreeNode::live, 0);

    for (std::size_t n = 0; n < good.size(); ++n) {
        CMemFile in(good.data(), n);
        CArchive ar(&in, CArchive::load);
        TreeNode* p = nullptr;
        EXPECT_THROW(ar >> p, CArchiveException) << "truncated at " << n;
        EXPECT_EQ(TreeNode::live, 0) << "truncated at " << n;
    }
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (BYTE v : {BYTE(0), BYTE(1), BYTE(0x7F), BYTE(0x80), BYTE(0xFF)}) {
            auto bad = good;
            bad[i] = v;
            CMemFile in(bad);
            CArchive ar(&in, CArchive::load);
            CObject* p = nullptr;
            try {
                ar >> p;
                delete p;
            } catch (const CArchiveException&) {
            }
            EXPECT_EQ(TreeNode::live, 0) << "byte " << i << " set to " << int(v);
        }
    }
}

TEST_F(ArchiveTest, UnknownClassesAndWrongKindsAreRefused) {
    auto bytes = Store([](CArchive& ar) {
        ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(7);
        ar.Write("Nothing", 7);
    });
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    CObject* p = nullptr;
    try {
        ar >> p;
        FAIL();
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::badClass);
    }

    auto* node = new VersionedNode;
    auto stored = Store([&](CArchive& ar2) { ar2 << node; });
    delete node;
    CMemFile in2(stored);
    CArchive ar2(&in2, CArchive::load);
    TestNode* wrong = nullptr;
    EXPECT_THROW(ar2 >> wrong, CArchiveException);
}

TEST_F(ArchiveTest, HugeCountsAreRefusedBeforeAllocating) {
    auto bytes = Store([](CArchive& ar) {
        ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(8);
        ar.Write("TestNode", 8);
        ar.WriteCount(0xFFFFFFF0u);
    });
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    TestNode* p = nullptr;
    EXPECT_THROW(ar >> p, CArchiveException);
}

// Objects nested as deep as the archive allows read back; one level more, or a hundred thousand
// levels of hand-made data (which would exhaust the call stack), raise the archive exception and
// leave nothing behind.
TEST_F(ArchiveTest, NestingBeyondTheLimitIsRefusedWithoutExhaustingTheStack) {
    auto chain = [](int depth) {
        auto* root = new TreeNode;
        TreeNode* at = root;
        for (int i = 1; i < depth; ++i) {
            auto* child = new TreeNode;
            at->children.Add(child);
            at = child;
        }
        return root;
    };
    for (const int depth : {CArchive::kMaxObjectNesting, CArchive::kMaxObjectNesting + 1}) {
        TreeNode* root = chain(depth);
        const auto bytes = Store([&](CArchive& ar) { ar << root; });
        delete root;
        CMemFile in(bytes);
        CArchive ar(&in, CArchive::load);
        TreeNode* copy = nullptr;
        if (depth <= CArchive::kMaxObjectNesting) {
            ASSERT_NO_THROW(ar >> copy);
            ASSERT_NE(copy, nullptr);
            delete copy;
        } else {
            try {
                ar >> copy;
                FAIL() << "read " << depth << " levels";
            } catch (const CArchiveException& e) {
                EXPECT_EQ(e.m_cause, CArchiveException::genericException);
            }
        }
        EXPECT_EQ(TreeNode::live, 0);
    }

    // A new class, then the same class by reference with one child each, never closed.
    auto deep = Store([](CArchive& ar) {
        ar << static_cast<WORD>(0xFFFF) << static_cast<WORD>(1) << static_cast<WORD>(8);
        ar.Write("TreeNode", 8);
        ar.WriteCount(1);
        for (int i = 0; i < 100000; ++i) {
            ar << static_cast<WORD>(0x8001);
            ar.WriteCount(1);
        }
    });
    CMemFile in(deep);
    CArchive ar(&in, CArchive::load);
    TreeNode* p = nullptr;
    EXPECT_THROW(ar >> p, CArchiveException);
    EXPECT_EQ(TreeNode::live, 0);
}

// An object its owner deleted while reading is never handed out again: a later reference reads null.
TEST_F(ArchiveTest, ReferencesToAForgottenObjectReadAsNull) {
    ForgettingNode node;
    node.child = std::make_unique<TreeNode>();
    const auto bytes = Store([&](CArchive& ar) { ar << &node; });
    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    ForgettingNode* back = nullptr;
    ar >> back;
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->link, nullptr);
    EXPECT_EQ(TreeNode::live, 1);  // the original child only
    delete back;
}

TEST_F(ArchiveTest, StoringArchiveRefusesReadsAndLoadingArchiveRefusesWrites) {
    CMemFile file;
    CArchive out(&file, CArchive::store);
    WORD w;
    EXPECT_THROW(out >> w, CArchiveException);
    CMemFile in;
    CArchive ar(&in, CArchive::load);
    EXPECT_THROW(ar << static_cast<WORD>(1), CArchiveException);
}

}  // namespace
