// The vector form of the brightness/contrast transfer that the canvas's copy
// loop runs: it must give AdjustChannel's value in every case.
#include "image/canvas_transfer.h"
#include "image/transfer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(CanvasTransfer, VectorFormEqualsTheRuleForEveryLegalSetting)
{
    // Every slider setting, every channel value, at an odd length so the
    // vector blocks and the tail both run, from an unaligned start.
    std::vector<uint8_t> in(1 + 256 * 3 + 7);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = uint8_t(i * 89 + 3);
    std::vector<uint8_t> out(in.size());
    for (int brightness = -127; brightness <= 127; ++brightness) {
        for (int contrast = -127; contrast <= 127; ++contrast) {
            const CCanvasTransfer transfer(brightness, contrast);
            if (!transfer.IsIdentity() && !transfer.IsVectorised())
                FAIL() << "not vectorised: brightness " << brightness << " contrast " << contrast;
            transfer.Apply(in.data() + 1, out.data() + 1, in.size() - 1);
            for (size_t i = 1; i < in.size(); ++i)
                if (out[i] != AdjustChannel(in[i], brightness, contrast))
                    FAIL() << "value " << int(in[i]) << " brightness " << brightness << " contrast " << contrast;
        }
    }
}

TEST(CanvasTransfer, InPlaceAndIdentity)
{
    std::vector<uint8_t> bytes(100);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = uint8_t(i * 5);
    const std::vector<uint8_t> original = bytes;
    CCanvasTransfer(0, 0).Apply(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, original);
    CCanvasTransfer(30, 40).Apply(bytes.data(), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(bytes[i], AdjustChannel(original[i], 30, 40)) << i;
}

TEST(CanvasTransfer, SettingsBeyondTheSlidersStillFollowTheRule)
{
    // Brightness above 128 puts every value on the upper side of the pivot;
    // huge values saturate every constant.
    const std::pair<int, int> settings[] = {{129, -127},  {200, -50},   {-200, 50},         {300, 300},   {-300, -300},
                                            {INT_MAX, 0}, {0, INT_MIN}, {INT_MIN, INT_MAX}, {5000, -9000}};
    std::vector<uint8_t> in(256 + 40), out(in.size());
    for (size_t v = 0; v < in.size(); ++v)
        in[v] = uint8_t(v);
    for (auto [brightness, contrast] : settings) {
        const CCanvasTransfer transfer(brightness, contrast);
        EXPECT_TRUE(transfer.IsVectorised()) << brightness << " " << contrast;
        transfer.Apply(in.data(), out.data(), in.size());
        for (size_t v = 0; v < in.size(); ++v)
            ASSERT_EQ(out[v], AdjustChannel(in[v], brightness, contrast))
                << v << " brightness " << brightness << " contrast " << contrast;
    }
}
