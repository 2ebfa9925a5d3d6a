#include "preview/WindowPlace.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fmb {
namespace {

using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

TEST(WindowPlaceTest, SavesAndReadsThePlaceKeepingOtherLines) {
    const TempDir dir;
    const WindowPlace place(dir.Text(true));
    EXPECT_EQ(place.Read(), std::nullopt);
    WriteBytes(dir.Path() / "FMB_Preview.ini", "; kept\r\n[OTHER]\r\nA=1\r\n");
    EXPECT_TRUE(place.Save({-20, 15, 640, 760}));
    EXPECT_EQ(ReadBytes(dir.Path() / "FMB_Preview.ini"),
              "; kept\r\n[OTHER]\r\nA=1\r\n[PREVIEW]\r\nLEFT=-20\r\nTOP=15\r\nWIDTH=640\r\n"
              "HEIGHT=760\r\n");
    EXPECT_EQ(place.Read(), (WindowRect{-20, 15, 640, 760}));
}

TEST(WindowPlaceTest, AnUnusablePlaceReadsAsNone) {
    const TempDir dir;
    for (const char* bytes : {"[PREVIEW]\r\nLEFT=1\r\nTOP=2\r\nWIDTH=640\r\n",
                              "[PREVIEW]\r\nLEFT=1\r\nTOP=2\r\nWIDTH=64O\r\nHEIGHT=700\r\n",
                              "[PREVIEW]\r\nLEFT=1\r\nTOP=2\r\nWIDTH=99\r\nHEIGHT=700\r\n",
                              "[PREVIEW]\r\nLEFT=1\r\nTOP=\r\nWIDTH=640\r\nHEIGHT=700\r\n"}) {
        WriteBytes(dir.Path() / "FMB_Preview.ini", bytes);
        EXPECT_EQ(WindowPlace(dir.Text(true)).Read(), std::nullopt) << bytes;
    }
}

TEST(WindowPlaceTest, AFailedSaveIsReported) {
    const TempDir dir;
    WriteBytes(dir.Path() / "file", "x");
    EXPECT_FALSE(WindowPlace(dir.Child("file") + "/").Save({1, 2, 300, 400}));
}

} // namespace
} // namespace fmb
