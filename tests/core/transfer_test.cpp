// The brightness and contrast transfer: the rule at known points, and its
// table and vector forms (the canvas's copy loop runs the latter), which must
// give the rule's value in every case.
#include "image/transfer.h"

#include "image/canvas_transfer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

TEST(AdjustChannel, KnownPointsAndExtremesClampWithoutOverflow)
{
    const struct {
        int value, brightness, contrast, expected;
    } cases[] = {
        // Neutral settings change nothing.
        {77, 0, 0, 77},
        // More contrast: away from 128 by the full amount; 128 is on the lower side.
        {200, 0, 50, 250},
        {100, 0, 50, 50},
        {128, 0, 50, 78},
        {129, 0, 50, 179},
        // Less contrast: toward 128 by half, never past it; the half truncates (-5 gives -2).
        {200, 0, -100, 150},
        {140, 0, -100, 128},
        {120, 0, -5, 122},
        {136, 0, -5, 134},
        {129, 0, -127, 128},
        // Brightness first, then the clamp.
        {250, 20, 0, 255},
        {10, -20, 0, 0},
        {120, 10, 0, 130},
        {120, 10, 5, 135},
        {255, INT_MAX, INT_MAX, 255},
        {0, INT_MIN, INT_MIN, 0},
        {255, INT_MAX, INT_MIN, 255},
        {127, 0, INT_MIN, 128},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AdjustChannel(c.value, c.brightness, c.contrast), c.expected)
            << c.value << " brightness " << c.brightness << " contrast " << c.contrast;
}

// Every slider setting and beyond (brightness above 128 puts every value on
// the upper side of the pivot; huge values saturate every constant), every
// channel value, at an odd length so the vector blocks and the tail both run,
// from an unaligned start, between buffers and in place.
TEST(TransferForms, TableAndVectorFormsEqualTheRule)
{
    std::vector<std::pair<int, int>> settings
        = {{129, -127},  {200, -50},   {-200, 50},         {300, 300},   {-300, -300},
           {INT_MAX, 0}, {0, INT_MIN}, {INT_MIN, INT_MAX}, {5000, -9000}};
    for (int brightness = -127; brightness <= 127; ++brightness)
        for (int contrast = -127; contrast <= 127; ++contrast)
            settings.emplace_back(brightness, contrast);
    std::vector<uint8_t> in(1 + 256 * 3 + 7);
    for (size_t i = 0; i < in.size(); ++i)
        in[i] = uint8_t(i * 89 + 3);
    std::vector<uint8_t> out(in.size()), inPlace, viaTable(in.size()), tableInPlace;
    for (auto [brightness, contrast] : settings) {
        const CTransferTable table(brightness, contrast);
        const CCanvasTransfer transfer(brightness, contrast);
        // Contrast -1 halves to 0, so it changes nothing either.
        const bool identity = brightness == 0 && (contrast == 0 || contrast == -1);
        if (table.IsIdentity() != identity || transfer.IsIdentity() != identity
            || (!identity && !transfer.IsVectorised()))
            FAIL() << "identity or vector form wrong: brightness " << brightness << " contrast " << contrast;
        transfer.Apply(in.data() + 1, out.data() + 1, in.size() - 1);
        inPlace = in;
        transfer.Apply(inPlace.data() + 1, in.size() - 1);
        table.Apply(in.data(), viaTable.data(), in.size());
        tableInPlace = in;
        table.Apply(tableInPlace.data(), in.size());
        for (size_t i = 1; i < in.size(); ++i) {
            const int expected = AdjustChannel(in[i], brightness, contrast);
            if (out[i] != expected || inPlace[i] != expected || table[in[i]] != expected || viaTable[i] != expected
                || tableInPlace[i] != expected)
                FAIL() << "value " << int(in[i]) << " brightness " << brightness << " contrast " << contrast;
        }
    }
}
