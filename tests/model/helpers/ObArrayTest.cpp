#include <gtest/gtest.h>

#include "model/ClassRegistry.h"
#include "model/helpers/ObArray.h"
#include "platform/Archive.h"
#include "platform/File.h"

namespace {

// Counts live instances, so that ownership mistakes show as leaks or double deletes.
class ObArrayTestItem : public CObject {
    DECLARE_SERIAL(ObArrayTestItem)
public:
    ObArrayTestItem() { ++live; }
    explicit ObArrayTestItem(std::int32_t v) : value(v) { ++live; }
    ~ObArrayTestItem() override { --live; }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << value;
        else
            ar >> value;
    }
    static inline int live = 0;
    std::int32_t value = 0;
};
IMPLEMENT_SERIAL(ObArrayTestItem, CObject, 1)

class ObArrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterModelClasses();
        RegisterModelClasses();  // idempotent
        AfxRegisterClass(RUNTIME_CLASS(ObArrayTestItem));
        ObArrayTestItem::live = 0;
    }
    void TearDown() override { EXPECT_EQ(ObArrayTestItem::live, 0); }

    static std::vector<BYTE> Store(const CObject* obj) {
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << obj;
        }
        return file.Data();
    }
};

TEST_F(ObArrayTest, RegisteredOnceWithSchema1) {
    int count = 0;
    for (const CRuntimeClass* c : AfxRegisteredClasses())
        count += std::string_view(c->m_lpszClassName) == "MObArray";
    EXPECT_EQ(count, 1);
    const CRuntimeClass* cls = CRuntimeClass::FromName("MObArray");
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->m_wSchema, 1u);
    CObject* created = cls->CreateObject();
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(MObArray)));
    delete created;
}

TEST_F(ObArrayTest, OwnsAndDeletesItsElements) {
    {
        MObArray a;
        a.Add(new ObArrayTestItem(1));
        a.Add(nullptr);
        a.Add(new ObArrayTestItem(2));
        EXPECT_EQ(ObArrayTestItem::live, 2);
    }
    EXPECT_EQ(ObArrayTestItem::live, 0);

    MObArray a;
    a.Add(new ObArrayTestItem(1));
    a.DeleteAll();
    EXPECT_EQ(a.GetSize(), 0);
    EXPECT_EQ(ObArrayTestItem::live, 0);
}

TEST_F(ObArrayTest, FindAndRemoveDoNotDelete) {
    MObArray a;
    auto* one = new ObArrayTestItem(1);
    auto* two = new ObArrayTestItem(2);
    a.Add(one);
    a.Add(two);
    EXPECT_EQ(a.Find(two), 1);
    EXPECT_EQ(a.Find(nullptr), -1);
    EXPECT_EQ(a.Remove(one), 0);
    EXPECT_EQ(a.Remove(one), -1);
    EXPECT_EQ(a.GetSize(), 1);
    EXPECT_EQ(a.Find(two), 0);
    EXPECT_EQ(ObArrayTestItem::live, 2);
    delete one;
}

TEST_F(ObArrayTest, ArchiveRoundTrip) {
    MObArray a;
    a.Add(new ObArrayTestItem(10));
    a.Add(nullptr);
    a.Add(new ObArrayTestItem(30));
    const std::vector<BYTE> bytes = Store(&a);

    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    MObArray* b = nullptr;
    ar >> b;
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(b->GetSize(), 3);
    EXPECT_EQ(static_cast<ObArrayTestItem*>(b->GetAt(0))->value, 10);
    EXPECT_EQ(b->GetAt(1), nullptr);
    EXPECT_EQ(static_cast<ObArrayTestItem*>(b->GetAt(2))->value, 30);
    delete b;
}

TEST_F(ObArrayTest, LoadingReplacesTheOldElements) {
    MObArray a;
    a.Add(new ObArrayTestItem(1));
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        a.Serialize(ar);
    }
    MObArray b;
    b.Add(new ObArrayTestItem(7));
    b.Add(new ObArrayTestItem(8));
    CMemFile in(file.Data());
    CArchive ar(&in, CArchive::load);
    b.Serialize(ar);
    EXPECT_EQ(b.GetSize(), 1);
    EXPECT_EQ(ObArrayTestItem::live, 2);  // a's one and b's one
}

TEST_F(ObArrayTest, TheSameObjectTwiceIsRefusedOnLoading) {
    // Stored with one element twice: the second is a back-reference, which would give the object two
    // owners.
    auto* item = new ObArrayTestItem(5);
    std::vector<BYTE> bytes;
    {
        MObArray a;
        a.Add(item);
        a.Add(item);
        bytes = Store(&a);
        a.RemoveAll();  // forget without deleting
    }
    delete item;

    CMemFile in(bytes);
    CArchive ar(&in, CArchive::load);
    MObArray* b = nullptr;
    EXPECT_THROW(ar >> b, CArchiveException);
    EXPECT_EQ(b, nullptr);
}

TEST_F(ObArrayTest, DamagedArchivesLeakNothing) {
    MObArray a;
    for (int i = 0; i < 5; ++i)
        a.Add(new ObArrayTestItem(i));
    const std::vector<BYTE> bytes = Store(&a);
    a.DeleteAll();

    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        std::vector<BYTE> damaged(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut));
        CMemFile in(damaged);
        CArchive ar(&in, CArchive::load);
        MObArray* b = nullptr;
        EXPECT_THROW(ar >> b, CArchiveException) << cut;
        EXPECT_EQ(ObArrayTestItem::live, 0) << cut;
    }

    // A count far beyond the data.
    MObArray b;
    std::vector<BYTE> huge = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    CMemFile in(huge);
    CArchive ar(&in, CArchive::load);
    EXPECT_THROW(b.Serialize(ar), CArchiveException);
    EXPECT_EQ(b.GetSize(), 0);
}

TEST_F(ObArrayTest, AnObjectHeldTwiceIsDeletedOnce) {
    MObArray a;
    auto* item = new ObArrayTestItem(1);
    a.Add(item);
    a.Add(item);
    a.DeleteAll();
    EXPECT_EQ(ObArrayTestItem::live, 0);
}

}  // namespace
