// fltSave: the vector object wins over the bitmap; neither is -9; a file
// that cannot be opened for writing is -14; a failed save keeps the old file.

#include "tests/support/FileSizeLimit.h"
#include "tests/vondral/FilterTest.h"

namespace vondral::testing {
namespace {

class SaveTest : public FilterTest {
protected:
    std::unique_ptr<SaveRequest> save = std::make_unique<SaveRequest>();
    VectorObject object{};
    BitmapRecord bitmap{};
    std::string name;

    void SetUp() override
    {
        FilterTest::SetUp();
        ASSERT_EQ(k.initObject(&object), 1);
        ASSERT_EQ(k.setNaturalSize(&object, 64, 32), 1);
        VecPrimitive p = prim(imaging::kEllipse, 1, 2, 30, 40, 0x123456, 1);
        ASSERT_EQ(k.addPrimitive(&object, &p), 1);
        makeBitmap(bitmap, 5, 5);
        name = path("out.dump");
        save->fileName = name.c_str();
    }

    void TearDown() override
    {
        k.freeContents(&object);
        k.freeStorage(&bitmap);
        FilterTest::TearDown();
    }
};

TEST_F(SaveTest, VectorObjectWinsOverTheBitmap)
{
    save->bitmap = &bitmap;
    save->object = &object;
    ASSERT_EQ(fltSave(save.get()), 1);
    const Bytes written = readAll(name);
    EXPECT_EQ(written.size(), 20u + 28u);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 8), "VECDUMP2");

    // And it reads back as the same drawing.
    VectorObject back{};
    k.initObject(&back);
    back.tag = imaging::kVectorDumpTag;
    const int32_t file = k.open(name.c_str(), 0x8000, 0x100);
    ASSERT_EQ(k.readVector(file, &back), 1);
    k.close(file);
    VecPrimitive p{};
    ASSERT_EQ(k.getPrimitive(&back, 0, &p), 1);
    EXPECT_EQ(p.fillColor, 0x123456u);
    EXPECT_EQ(p.y2, 40);
    EXPECT_EQ(int32_t(back.naturalHeight), 32);
    k.freeContents(&back);
}

TEST_F(SaveTest, BitmapAloneWritesARasterDumpOverAnOldFile)
{
    write("out.dump", Bytes(5000, 'x'));  // truncated by the save
    save->bitmap = &bitmap;
    ASSERT_EQ(fltSave(save.get()), 1);
    const Bytes written = readAll(name);
    EXPECT_EQ(std::string(written.begin(), written.begin() + 8), "RASDUMP1");
    EXPECT_EQ(written.size(), 44u + 16u * 5u);
}

TEST_F(SaveTest, NothingToSaveAndUnwritablePlaces)
{
    EXPECT_EQ(fltSave(save.get()), kUnknown);
    EXPECT_EQ(fltSave(nullptr), kUnknown);
    save->object = &object;
    const std::string missing = path("no/such/folder/out.vec");
    save->fileName = missing.c_str();
    EXPECT_EQ(fltSave(save.get()), kCannotOpen);
    save->fileName = nullptr;
    EXPECT_EQ(fltSave(save.get()), kCannotOpen);
    save->object = nullptr;
    save->bitmap = &bitmap;
    EXPECT_EQ(fltSave(save.get()), kCannotOpen);
}

TEST_F(SaveTest, BitmapWithoutStorageIsAKernelRefusal)
{
    BitmapRecord empty{};
    save->bitmap = &empty;
    EXPECT_EQ(fltSave(save.get()), imaging::core::kBadArgument);
}

TEST_F(SaveTest, AFailedSaveKeepsTheOldImage)
{
    const Bytes old = vectorDump(8, 8, {prim(imaging::kLine, 0, 0, 7, 7)});
    write("out.dump", old);

    // Refused by the kernel before anything is written.
    BitmapRecord empty{};
    save->bitmap = &empty;
    EXPECT_EQ(fltSave(save.get()), imaging::core::kBadArgument);
    EXPECT_EQ(readAll(name), old);

    // Failing part-way: the header fits under a file-size limit, the body does not.
    for (int i = 0; i < 200; ++i) {
        VecPrimitive p = prim(imaging::kRectangle, i, i, i + 10, i + 10);
        ASSERT_EQ(k.addPrimitive(&object, &p), 1);
    }
    save->bitmap = nullptr;
    save->object = &object;
    int32_t status = 0;
    {
        bwtest::FileSizeLimit limit(100);
        ASSERT_TRUE(limit.set());
        status = fltSave(save.get());
    }
    EXPECT_EQ(status, imaging::draw::kWriteFailed);
    EXPECT_EQ(readAll(name), old);

    // The same save with room for it replaces the file.
    ASSERT_EQ(fltSave(save.get()), 1);
    EXPECT_EQ(readAll(name).size(), 20u + 201u * 28u);
}

}  // namespace
}  // namespace vondral::testing
