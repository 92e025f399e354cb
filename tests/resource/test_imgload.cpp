#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/platform_system.h"
#include "resource/image_test_support.h"
#include "resource/imgload.h"
#include "test_support.h"

using platform::EnginePath;

// The buffer frees once and afterwards only nulls; a failure leaves no buffer and no size.
TEST(Imgload, LoadsAnEnginePathAndLeavesNothingAfterAFailure)
{
    TempDir dir;
    dir.Write("cat.png", image_files::PngFile({2, 1, 8, 2}, image_files::PngRows({"\x01\x02\x03\x04\x05\x06"})));
    dir.Write("broken.png", "\x89PNG\r\n\x1a\n and then nothing useful");
    int width = -1, height = -1, channels = -1;
    unsigned char* data = nullptr;
    ASSERT_EQ(imgload_LoadPNG(EnginePath(dir.File("cat.png")).c_str(), &width, &height, &channels, &data), 1);
    EXPECT_EQ(std::tie(width, height, channels), std::make_tuple(2, 1, 3));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(data, data + 6), "\x01\x02\x03\x04\x05\x06");
    imgload_FreeData(&data);
    EXPECT_EQ(data, nullptr);
    imgload_FreeData(&data);
    imgload_FreeData(nullptr);

    unsigned char sentinel = 0;
    for (const char* name : {"broken.png", "absent.png"}) {
        data = &sentinel;
        EXPECT_EQ(imgload_LoadPNG(EnginePath(dir.File(name)).c_str(), &width, &height, &channels, &data), 0) << name;
        EXPECT_EQ(data, nullptr);
        EXPECT_EQ(std::tie(width, height, channels), std::make_tuple(0, 0, 0));
    }
    EXPECT_EQ(imgload_LoadPNG(nullptr, &width, &height, &channels, &data), 0);
}
