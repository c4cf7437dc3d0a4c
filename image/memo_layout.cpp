#include "image/memo_layout.h"

#include "image/memo_text.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct AlignName {
    const char* name;
    int flags;
};

constexpr AlignName kAlignNames[] = {
    {"Top Left", kDtLeft},
    {"Top Center", kDtCenter},
    {"Top Right", kDtRight},
    {"Middle Left", kDtVCenter | kDtLeft},
    {"Middle Center", kDtVCenter | kDtCenter},
    {"Middle Right", kDtVCenter | kDtRight},
    {"Bottom Left", kDtBottom | kDtLeft},
    {"Bottom Center", kDtBottom | kDtCenter},
    {"Bottom Right", kDtBottom | kDtRight},
};

// Sizes past this are no font anyone can see; the cap keeps the sum in range.
constexpr int kLargestSize = 100000;

}  // namespace

int CMemoFont::PixelSize() const
{
    const int size = m_height < 0 ? -std::max(m_height, -kLargestSize) : std::min(m_height, kLargestSize);
    return std::max(size, 1);
}

Qt::Alignment CMemoLayout::Alignment() const
{
    Qt::Alignment alignment = (flags & kDtRight)    ? Qt::AlignRight
                              : (flags & kDtCenter) ? Qt::AlignHCenter
                                                    : Qt::AlignLeft;
    alignment |= (flags & kDtBottom) ? Qt::AlignBottom : (flags & kDtVCenter) ? Qt::AlignVCenter : Qt::AlignTop;
    return alignment;
}

void CMemoLayout::FitScreen(int screenWidth, int screenHeight)
{
    right = screenWidth - left;
    bottom = screenHeight - top;
}

QStringList MemoAlignNames()
{
    QStringList names;
    for (const AlignName& entry : kAlignNames)
        names << QLatin1StringView(entry.name);
    return names;
}

int MemoAlignFlags(const QString& align)
{
    for (const AlignName& entry : kAlignNames)
        if (align.compare(QLatin1StringView(entry.name), Qt::CaseInsensitive) == 0)
            return entry.flags;
    return kDtCenter;
}

int MemoFontHeight(const QString& size)
{
    // Leading blanks, an optional sign, then digits, as a C integer parse reads them.
    int i = 0;
    while (i < size.size() && (size[i] == u' ' || size[i] == u'\t'))
        ++i;
    bool negative = false;
    if (i < size.size() && (size[i] == u'-' || size[i] == u'+'))
        negative = size[i++] == u'-';
    int value = 0;
    for (; i < size.size() && size[i] >= u'0' && size[i] <= u'9'; ++i)
        value = std::min(value * 10 + (size[i].unicode() - u'0'), kLargestSize);
    return (negative ? -value : value) + 2;
}

CMemoLayout LayoutMemo(const CMemoRecord& memo, bool shown)
{
    CMemoLayout layout;
    if (!shown)
        return layout;
    layout.visible = true;
    layout.font.m_height = MemoFontHeight(memo.size);
    if (memo.bold != 0)
        layout.font.m_weight = 700;
    layout.font.m_italic = memo.italic != 0;
    layout.flags = MemoAlignFlags(memo.align);
    layout.text = memo.content;
    return layout;
}
