// The brightness and contrast transfer and its table form.
#include "image/transfer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

struct TransferCase {
    int value, brightness, contrast, expected;
};

class AdjustChannelValues : public testing::TestWithParam<TransferCase> { };

TEST_P(AdjustChannelValues, MapsAsTheRuleSays)
{
    const TransferCase c = GetParam();
    EXPECT_EQ(AdjustChannel(c.value, c.brightness, c.contrast), c.expected);
}

INSTANTIATE_TEST_SUITE_P(KnownPoints, AdjustChannelValues,
                         testing::Values(
                             // More contrast: away from 128 by the full amount; 128 is on the lower side.
                             TransferCase {200, 0, 50, 250}, TransferCase {100, 0, 50, 50},
                             TransferCase {128, 0, 50, 78}, TransferCase {129, 0, 50, 179},
                             // Less contrast: toward 128 by half, never past it; the half truncates (-5 gives -2).
                             TransferCase {200, 0, -100, 150}, TransferCase {140, 0, -100, 128},
                             TransferCase {100, 0, -100, 128}, TransferCase {120, 0, -5, 122},
                             TransferCase {136, 0, -5, 134}, TransferCase {129, 0, -127, 128},
                             // Brightness first, then the clamp.
                             TransferCase {250, 20, 0, 255}, TransferCase {10, -20, 0, 0},
                             TransferCase {10, -20, 30, 0}, TransferCase {120, 10, 0, 130},
                             TransferCase {120, 10, 5, 135}, TransferCase {0, 0, 0, 0}, TransferCase {255, 0, 0, 255}));

TEST(AdjustChannel, NeutralSettingsChangeNothing)
{
    for (int v = 0; v <= 255; ++v)
        EXPECT_EQ(AdjustChannel(v, 0, 0), v);
}

TEST(AdjustChannel, ExtremeArgumentsClampWithoutOverflow)
{
    EXPECT_EQ(AdjustChannel(255, INT_MAX, INT_MAX), 255);
    EXPECT_EQ(AdjustChannel(0, INT_MIN, INT_MIN), 0);
    EXPECT_EQ(AdjustChannel(0, INT_MIN, 1), 0);
    EXPECT_EQ(AdjustChannel(255, INT_MAX, INT_MIN), 255);
    EXPECT_EQ(AdjustChannel(127, 0, INT_MIN), 128);
}

TEST(TransferTable, EqualsAdjustChannelForEveryLegalSetting)
{
    for (int brightness = -127; brightness <= 127; ++brightness) {
        for (int contrast = -127; contrast <= 127; ++contrast) {
            const CTransferTable table(brightness, contrast);
            for (int v = 0; v <= 255; ++v) {
                if (table[uint8_t(v)] != AdjustChannel(v, brightness, contrast))
                    FAIL() << "value " << v << " brightness " << brightness << " contrast " << contrast;
            }
            // Contrast -1 halves to 0, so it changes nothing either.
            EXPECT_EQ(table.IsIdentity(), brightness == 0 && (contrast == 0 || contrast == -1));
        }
    }
}

TEST(TransferTable, ApplyMapsEveryByteInPlaceAndBetweenBuffers)
{
    std::vector<uint8_t> in(1000);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = uint8_t(i * 7);
    const CTransferTable table(15, -40);
    std::vector<uint8_t> out(in.size());
    table.Apply(in.data(), out.data(), in.size());
    std::vector<uint8_t> inPlace = in;
    table.Apply(inPlace.data(), inPlace.size());
    for (size_t i = 0; i < in.size(); ++i) {
        ASSERT_EQ(out[i], AdjustChannel(in[i], 15, -40));
        ASSERT_EQ(inPlace[i], out[i]);
    }
    const CTransferTable extreme(INT_MIN, INT_MAX);
    for (int v = 0; v <= 255; ++v)
        ASSERT_EQ(extreme[uint8_t(v)], AdjustChannel(v, INT_MIN, INT_MAX));
    const CTransferTable identity(0, 0);
    std::vector<uint8_t> copy(in.size());
    identity.Apply(in.data(), copy.data(), in.size());
    EXPECT_EQ(copy, in);
}
