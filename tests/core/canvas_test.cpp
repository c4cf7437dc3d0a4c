// The canvas's pixel engine: display scaling, pan clamping, centring, the
// four rotations, the transfer on every channel, and what a deleted or
// unbound entry must not do.
#include "app/image_item.h"
#include "image/canvas_engine.h"
#include "image/canvas_transfer.h"
#include "image/dib_bitmap.h"
#include "image/gdi.h"
#include "image/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <limits>
#include <memory>
#include <vector>

namespace {

using Pixel = std::array<uint8_t, 3>;  // blue, green, red

// A distinct colour for every pixel, so that any misplaced pixel shows.
Pixel Marker(int column, int row)
{
    return {uint8_t(column), uint8_t(row), uint8_t(column * 7 + row * 13 + 1)};
}

HBITMAP MarkedPicture(int width, int height)
{
    HBITMAP bitmap = CreateBitmap(width, height, 1, 24, nullptr);
    for (int r = 0; r < height; ++r)
        for (int c = 0; c < width; ++c) {
            const Pixel p = Marker(c, r);
            std::copy(p.begin(), p.end(), bitmap->RowFromTop(r) + c * 3);
        }
    return bitmap;
}

// An entry holding a decoded picture of its own size, or decoded smaller (as
// GIF and PNG entries are: the entry records the file's size).
std::unique_ptr<CImageItem> Entry(int width, int height, int zoom = 100, int rotation = 0, int decodedWidth = 0)
{
    auto item = std::make_unique<CImageItem>();
    item->m_picture.m_width = width;
    item->m_picture.m_height = height;
    item->m_zoom = zoom;
    item->m_rotation = rotation;
    decodedWidth = decodedWidth ? decodedWidth : width;
    item->m_picture.m_fullBitmap = MarkedPicture(decodedWidth, height * decodedWidth / width);
    return item;
}

// The picture pixel shown at (x, y) of the displayed picture, from what the
// rotations mean: 90 turns the picture clockwise, 270 counter-clockwise.
std::pair<int, int> Source(int x, int y, int width, int height, int rotation)
{
    if (rotation == 90)
        return {y, height - 1 - x};
    if (rotation == 180)
        return {width - 1 - x, height - 1 - y};
    return rotation == 270 ? std::pair(width - 1 - y, x) : std::pair(x, y);
}
Pixel Shown(int x, int y, int width, int height, int rotation)
{
    const auto [column, row] = Source(x, y, width, height, rotation);
    return Marker(column, row);
}

class CanvasTest : public testing::Test {
protected:
    // Binds the entry's picture; each Draw passes the entry's view values.
    int Bind(CImageItem* item)
    {
        m_bound = item;
        return m_canvas.SetPicture(item ? &item->m_picture : nullptr);
    }
    int Draw(bool dragging = false)
    {
        if (!m_bound)
            return m_canvas.Draw({m_viewWidth, m_viewHeight, dragging});
        const CImageItem& i = *m_bound;
        return m_canvas.Draw(
            {m_viewWidth, m_viewHeight, dragging, i.m_zoom, i.m_rotation, i.m_brightness, i.m_contrast});
    }
    void Adapt(int width, int height)
    {
        m_viewWidth = width, m_viewHeight = height;
        ASSERT_EQ(m_canvas.AdaptToWindow(width, height), 1);
    }
    // Binds the entry, scrolls by (dx, dy) and draws.
    void Show(const CImageItem& item, int dx = 0, int dy = 0)
    {
        ASSERT_EQ(Bind(const_cast<CImageItem*>(&item)), 1);
        m_canvas.Scroll(dx, dy);
        ASSERT_EQ(Draw(), 1);
    }
    // Every buffer pixel: the displayed picture from (panX, panY) placed at
    // the margins, white where the picture does not reach; every channel
    // through the entry's transfer.
    void ExpectShows(const CImageItem& item, int marginX, int marginY)
    {
        const CCanvasFrame frame = m_canvas.Frame();
        ASSERT_NE(frame.pixels, nullptr);
        const bool turned = item.m_rotation == 90 || item.m_rotation == 270;
        const int shownWidth = turned ? item.m_picture.m_height : item.m_picture.m_width;
        const int shownHeight = turned ? item.m_picture.m_width : item.m_picture.m_height;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) {
                const int px = x - marginX + m_canvas.PanX();
                const int py = y - marginY + m_canvas.PanY();
                const bool onPicture = x >= marginX && y >= marginY && px < shownWidth && py < shownHeight;
                Pixel expected = {255, 255, 255};
                if (onPicture) {
                    expected = Shown(px, py, item.m_picture.m_width, item.m_picture.m_height, item.m_rotation);
                    for (uint8_t& c : expected)
                        c = uint8_t(AdjustChannel(c, item.m_brightness, item.m_contrast));
                }
                const uint8_t* p = frame.pixels + y * frame.bytesPerLine + x * 3;
                if (Pixel {p[0], p[1], p[2]} != expected)
                    FAIL() << "rotation " << item.m_rotation << " buffer pixel " << x << "," << y;
            }
    }

    CCanvas m_canvas;
    CImageItem* m_bound = nullptr;
    int m_viewWidth = 0;
    int m_viewHeight = 0;
};

}  // namespace

// The whole picture as displayed for a zoom code and rotation in a 240 x 267 view.
HBITMAP WholeDisplay(CPicture& picture, int zoom, int rotation)
{
    const CDisplaySize size = DisplaySizeFor(picture, zoom, rotation, 240, 267);
    return ScaleForDisplay(picture, size, 0, 0, size.width, size.height);
}

TEST(ScaleForDisplay, FitFillAndPercentZoomsGiveTheDisplaySizesScalesAndEffectiveZooms)
{
    struct Case {
        const char* what;
        int width, height, zoom, rotation;
        int outWidth, outHeight;  // 0: the full bitmap itself is shown
        double scale;
        int decodedWidth = 0;
    };
    const Case cases[] = {
        {"fill leaves a wide strip alone: only its width exceeds the view", 1000, 100, -1, 0, 0, 0, 1.0},
        {"fit shrinks a wide strip", 1000, 100, 0, 0, 244, 24, 1000.0 / 242.0},
        // Turned, the strip is 100 wide (fits) and 1000 high: it shrinks to
        // the view's height less one; trunc(1000 * 266 / 1000 + 2) = 268.
        {"turned fit measures against the other side", 1000, 100, 0, 90, 268, 26, 1000.0 / 266.0},
        {"turned fill finds the strip too narrow to shrink", 1000, 100, -1, 90, 0, 0, 1.0},
        {"fill shrinks by the smaller ratio", 968, 1335, -1, 0, 244, 333, 4.0},  // min(968 / 242, 1335 / 266)
        {"100 % shows the full bitmap", 300, 200, 100, 0, 0, 0, 1.0},
        {"200 % doubles, rounded to whole rows of 4", 101, 50, 200, 0, 204, 100, 0.5},
        {"never an empty size: trunc(3 * 0.2 + 2) = 2 rounds down to 0", 3, 2, 20, 0, 1, 1, 5.0},
        // Unscaled means the entry's size, not the bitmap's.
        {"a picture decoded smaller is stretched even at ratio one", 1000, 100, -1, 0, 1000, 100, 1.0, 320},
    };
    for (const Case& c : cases) {
        auto item = Entry(c.width, c.height, c.zoom, c.rotation, c.decodedWidth);
        item->m_picture.m_displayScale = 3.0;
        HBITMAP display = WholeDisplay(item->m_picture, item->m_zoom, item->m_rotation);
        ASSERT_NE(display, nullptr) << c.what;
        EXPECT_DOUBLE_EQ(item->m_picture.m_displayScale, c.scale) << c.what;
        EXPECT_EQ(display, c.outWidth ? item->m_picture.m_displayCopy->m_handle : item->m_picture.m_fullBitmap)
            << c.what;
        if (c.outWidth) {
            EXPECT_EQ(std::pair(display->Width(), display->Height()), std::pair(c.outWidth, c.outHeight)) << c.what;
        }
    }
    // A view one pixel high leaves no height to fit into; zoom codes below -1 are no percentage.
    EXPECT_EQ(DisplayRatio(0, 0, 1000, 100, 240, 1), 1.0);
    EXPECT_EQ(DisplayRatio(-7, 0, 1000, 100, 240, 267), 1.0);
    // A picture too large to enlarge is refused, not wrapped around.
    auto huge = Entry(4000, 3000, 300, 0, 10);
    EXPECT_EQ(WholeDisplay(huge->m_picture, huge->m_zoom, huge->m_rotation), nullptr);
    // Percent codes and fit or fill at plain scales are stepped from in
    // ViewCommandsTest.ZoomStepsMoveByTwentyFromTheEffectiveZoomWithinTheirLimits.
    const std::tuple<int, double, int> zooms[] = {
        {-1, 1000.0 / 242.0, 25},  // 24.2 % truncates to 24
        // A scale of zero or NaN counts as unscaled; a tiny one saturates.
        {0, 0.0, 101},
        {0, std::numeric_limits<double>::quiet_NaN(), 101},
        {0, 1e-300, INT_MAX},
    };
    for (const auto& [zoom, displayScale, expected] : zooms)
        EXPECT_EQ(EffectiveZoom(zoom, displayScale), expected) << zoom << " at " << displayScale;
}

// A small picture is centred on white in a buffer two columns wider than the
// view; a large one pans within its edges.
TEST_F(CanvasTest, SmallPictureIsCentredAndPanIsClampedToThePictureEdges)
{
    Adapt(240, 267);
    m_canvas.Scroll(30, -40);
    EXPECT_EQ(std::pair(m_canvas.PanX(), m_canvas.PanY()), std::pair(30, -40));  // not clamped until the next draw
    Adapt(240, 267);
    EXPECT_EQ(std::pair(m_canvas.PanX(), m_canvas.PanY()), std::pair(0, 0));
    auto small = Entry(101, 51, 0);
    Show(*small);
    const CCanvasFrame frame = m_canvas.Frame();
    EXPECT_EQ(std::tuple(frame.width, frame.height, frame.bytesPerLine, frame.x, frame.y),
              std::tuple(242, 267, 242 * 3, 0, 0));
    EXPECT_EQ(small->m_picture.m_displayBitmap, small->m_picture.m_fullBitmap);
    ExpectShows(*small, (242 - 101) / 2, (267 - 51) / 2);

    auto item = Entry(1000, 100, -1);
    // The buffer's right edge meets the picture's; the strip is lower than
    // the view, so it cannot move vertically and is centred instead.
    Show(*item, 5000, 70);
    EXPECT_EQ(std::pair(m_canvas.PanX(), m_canvas.PanY()), std::pair(1000 - 242, 0));
    ExpectShows(*item, 0, (267 - 100) / 2);
    Show(*item, -10000, 0);
    EXPECT_EQ(m_canvas.PanX(), 0);
    m_canvas.Scroll(INT_MAX, INT_MAX);
    Show(*item, INT_MAX, INT_MAX);  // saturates instead of wrapping
    EXPECT_EQ(m_canvas.PanX(), 1000 - 242);

    // A turned landscape pans along its rows: displayed 150 wide and 200 high.
    Adapt(40, 30);
    auto turned = Entry(200, 150, 100, 90);
    Show(*turned, 60, 45);
    EXPECT_EQ(std::pair(m_canvas.PanX(), m_canvas.PanY()), std::pair(60, 45));
    Show(*turned, 1000, 1000);
    EXPECT_EQ(std::pair(m_canvas.PanX(), m_canvas.PanY()), std::pair(150 - 42, 200 - 30));
    ExpectShows(*turned, 0, 0);
}

// Small and asymmetric pictures centred in the buffer; large ones across the
// copy's tiles in both directions, with row widths that are and are not
// multiples of 4, panned to the far corner and between; with and without a
// transfer on every channel.
TEST_F(CanvasTest, EachRotationPlacesEveryPixelThroughTheTransfer)
{
    for (int rotation : {0, 90, 180, 270}) {
        SCOPED_TRACE(rotation);
        Adapt(10, 9);
        auto small = Entry(5, 3, 100, rotation);
        Show(*small);
        const bool turned = rotation == 90 || rotation == 270;
        ExpectShows(*small, (12 - (turned ? 3 : 5)) / 2, (9 - (turned ? 5 : 3)) / 2);
        Adapt(150, 130);
        for (int width : {203, 204})
            for (int pan : {0, 17, 1000})
                for (auto [brightness, contrast] : {std::pair {0, 0}, {20, -30}, {-15, 60}}) {
                    auto item = Entry(width, 170, 100, rotation);
                    item->m_brightness = brightness;
                    item->m_contrast = contrast;
                    Show(*item, pan, pan);
                    ExpectShows(*item, 0, 0);
                    m_canvas.Scroll(-2000, -2000);
                }
    }
}

TEST_F(CanvasTest, RescalesOnlyWhenWhatTheDisplayDependsOnChanges)
{
    const auto drawnAfterRescales = [this](int count, bool dragging = false) {
        ASSERT_EQ(Draw(dragging), 1);
        EXPECT_EQ(m_canvas.RescaleCount(), count);
    };
    Adapt(240, 267);
    auto item = Entry(1000, 100, 0);
    ASSERT_EQ(Bind(item.get()), 1);
    drawnAfterRescales(1);
    item->m_brightness = 40;  // applied while copying, no rescale
    drawnAfterRescales(1);
    item->m_zoom = 200;
    drawnAfterRescales(1, true);  // a drag keeps the display bitmap it has
    EXPECT_EQ(m_canvas.DisplayInfo().bmWidth, 244);
    drawnAfterRescales(2);
    EXPECT_EQ(m_canvas.DisplayInfo().bmWidth, 2000);
    item->m_rotation = 90;
    drawnAfterRescales(3);
    Adapt(200, 200);
    drawnAfterRescales(4);
    // The picture freed and decoded again is a new picture.
    item->m_picture.FreePicture();
    item->m_picture.m_fullBitmap = MarkedPicture(1000, 100);
    drawnAfterRescales(5);
    // A drag without a display bitmap still makes one.
    auto other = Entry(50, 50, 200);
    Adapt(100, 100);
    ASSERT_EQ(Bind(other.get()), 1);
    ASSERT_EQ(Draw(true), 1);
    EXPECT_EQ(m_canvas.DisplayInfo().bmWidth, 100);
}

// Nothing is drawn without a buffer, a usable picture or a bound entry; an
// unbound entry may be deleted and a new one at whatever address is drawn
// from scratch.
TEST_F(CanvasTest, NothingIsDrawnWithoutABufferAPictureOrABinding)
{
    auto item = Entry(30, 30, 50);
    ASSERT_EQ(Bind(item.get()), 1);
    EXPECT_EQ(Draw(), 0);  // no buffer before AdaptToWindow
    Adapt(20, 20);
    ASSERT_EQ(Draw(), 1);
    m_canvas.FreeBuffer();
    EXPECT_EQ(Draw(), 0);
    EXPECT_EQ(m_canvas.Frame().pixels, nullptr);

    Adapt(20, 20);
    CImageItem empty;
    EXPECT_EQ(Bind(&empty), 0);
    EXPECT_EQ(m_canvas.Picture(), &empty.m_picture);  // stays bound, draws nothing
    EXPECT_EQ(Draw(), 0);
    CImageItem paletted;
    paletted.m_picture.m_width = paletted.m_picture.m_height = 4;
    paletted.m_picture.m_fullBitmap = CreateBitmap(4, 4, 1, 8, nullptr);
    EXPECT_EQ(Bind(&paletted), 1);
    EXPECT_EQ(Draw(), 0);

    Show(*item);
    EXPECT_EQ(Bind(nullptr), 0);
    EXPECT_EQ(m_canvas.Picture(), nullptr);
    item.reset();  // the catalog deletes the entry
    EXPECT_EQ(Draw(), 0);
    EXPECT_EQ(m_canvas.Frame().pixels, nullptr);
    auto next = Entry(30, 30, 50);
    Show(*next);
    EXPECT_EQ(next->m_picture.m_displayBitmap, next->m_picture.m_displayCopy->m_handle);
}

// The brightness and contrast transfer: the rule at known points, and its
// table and vector forms (the canvas's copy loop runs the latter), which must
// give the rule's value in every case.
TEST(AdjustChannel, KnownPointsAndExtremesClampWithoutOverflow)
{
    const struct {
        int value, brightness, contrast, expected;
    } cases[] = {
        // Neutral settings change nothing.
        {77, 0, 0, 77},
        // More contrast: away from 128 by the full amount; 128 is on the lower side.
        {200, 0, 50, 250},
        {128, 0, 50, 78},
        {129, 0, 50, 179},
        // Less contrast: toward 128 by half, never past it; the half truncates (-5 gives -2).
        {200, 0, -100, 150},
        {140, 0, -100, 128},
        {120, 0, -5, 122},
        {129, 0, -127, 128},
        // Brightness first, then the clamp.
        {250, 20, 0, 255},
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

// Displayed past kWholeDisplayBytes (4800 x 3600 here), a picture is stretched
// a window of three views at a time: the pixels a whole stretch gives, in each
// rotation, at the origin, after pans out of the window, and at the far
// corner, with a display bitmap of the window's size only.
TEST_F(CanvasTest, AHugeDisplayIsStretchedAWindowAtATimeWithTheWholeStretchsPixels)
{
    Adapt(240, 267);
    for (int rotation : {0, 90, 180, 270}) {
        auto item = Entry(1600, 1200, 300, rotation, 400);
        CDibBitmap whole;
        whole.StretchFrom(item->m_picture.m_fullBitmap, 4800, 3600);
        ASSERT_EQ(Bind(item.get()), 1);
        // Down to one row past the first window, then on to a new one, then to the end.
        for (auto [dx, dy] :
             {std::pair(0, 0), std::pair(0, 535), std::pair(1000, 1000), std::pair(INT_MAX / 2, INT_MAX / 2)}) {
            m_canvas.Scroll(dx, dy);
            ASSERT_EQ(Draw(), 1);
            EXPECT_LE(int64_t(m_canvas.DisplayInfo().bmWidth) * m_canvas.DisplayInfo().bmHeight, 9 * 242 * 267);
            const CCanvasFrame frame = m_canvas.Frame();
            for (int y = 0; y < frame.height; ++y)
                for (int x = 0; x < frame.width; ++x) {
                    const auto [c, r] = Source(m_canvas.PanX() + x, m_canvas.PanY() + y, 4800, 3600, rotation);
                    const uint8_t* want = whole.m_handle->RowFromTop(r) + c * 3;
                    const uint8_t* got = frame.pixels + y * frame.bytesPerLine + x * 3;
                    if (!std::equal(got, got + 3, want))
                        FAIL() << "rotation " << rotation << " pan " << dy << " pixel " << x << "," << y;
                }
        }
    }
}

// Zoomed past what the decoded picture holds, the canvas asks for the region
// around the view at the scale the zoom needs and, given it, shows the
// picture's own pixels: at 100 % one to a screen pixel, in each rotation. A
// pan past the region asks for the next one, drawing meanwhile.
TEST_F(CanvasTest, PastTheDecodedSharpnessTheRegionAroundTheViewIsAskedForAndShown)
{
    Adapt(240, 267);
    for (const auto& [zoom, scale] :
         {std::pair(300, 1), std::pair(50, 2), std::pair(30, 2), std::pair(25, 0), std::pair(0, 0), std::pair(10, 0)}) {
        auto item = Entry(1600, 1200, zoom, 0, 400);
        ASSERT_EQ(Bind(item.get()), 1);
        ASSERT_EQ(Draw(), 1);
        const CPictureRegion& wanted = m_canvas.WantedDetail();
        EXPECT_EQ(wanted.Empty() ? 0 : wanted.scale, scale) << zoom;
    }
    HBITMAP truth = MarkedPicture(1600, 1200);
    for (int rotation : {0, 90, 180, 270}) {
        auto item = Entry(1600, 1200, 100, rotation, 400);
        CPicture& picture = item->m_picture;
        Adapt(240, 267);
        ASSERT_EQ(Bind(item.get()), 1);
        for (auto [dx, dy] : {std::pair(0, 0), std::pair(0, 535), std::pair(INT_MAX / 2, INT_MAX / 2)}) {
            m_canvas.Scroll(dx, dy);
            ASSERT_EQ(Draw(), 1);
            const CPictureRegion wanted = m_canvas.WantedDetail();
            ASSERT_EQ(wanted.scale, 1);
            EXPECT_LE(int64_t(wanted.rect.width) * wanted.rect.height, 9 * 242 * 267);
            DeleteObject(picture.m_detail);
            picture.m_detail = CreateBitmap(wanted.rect.width, wanted.rect.height, 1, 24, nullptr);
            BitBlt(picture.m_detail, 0, 0, wanted.rect.width, wanted.rect.height, truth, wanted.rect.x, wanted.rect.y);
            picture.m_detailRegion = wanted;
            ASSERT_EQ(Draw(), 1);
            EXPECT_TRUE(m_canvas.WantedDetail().Empty());
            ExpectShows(*item, 0, 0);
        }
    }
    DeleteObject(truth);
}
