#include "image/memo_text.h"

#include <array>
#include <climits>

namespace {

constexpr int kKeyCount = 7;
enum Key { kFont, kSize, kBold, kItalic, kAlign, kColor, kContent };

const std::array<QStringView, kKeyCount> kKeys
    = {u"font=", u";size=", u";bold=", u";italic=", u";align=", u";color=", u";content="};

// Leading decimal digits as a number, saturating; 0 when there are none.
int LeadingNumber(QStringView value)
{
    int64_t n = 0;
    for (QChar c : value) {
        if (c < u'0' || c > u'9')
            break;
        n = std::min<int64_t>(n * 10 + (c.unicode() - u'0'), INT_MAX);
    }
    return int(n);
}

}  // namespace

QString FormatMemoText(const CMemoRecord& memo)
{
    QString text;
    text.reserve(64 + memo.font.size() + memo.align.size() + memo.content.size());
    text += kKeys[kFont];
    text += memo.font;
    text += kKeys[kSize];
    text += memo.size;
    text += kKeys[kBold];
    text += QString::number(memo.bold);
    text += kKeys[kItalic];
    text += QString::number(memo.italic);
    text += kKeys[kAlign];
    text += memo.align;
    text += kKeys[kColor];
    text += memo.color;
    text += kKeys[kContent];
    text += memo.content;
    return text;
}

int ParseMemoText(QStringView text, CMemoRecord* memo)
{
    CMemoRecord result;
    // Where each key's value starts, or -1 for a key not found in order.
    std::array<qsizetype, kKeyCount> valueStart;
    std::array<qsizetype, kKeyCount> keyStart;
    qsizetype from = 0;
    int found = 0;
    for (int k = 0; k < kKeyCount; ++k) {
        keyStart[k] = text.indexOf(kKeys[k], from);
        valueStart[k] = keyStart[k] < 0 ? -1 : keyStart[k] + kKeys[k].size();
        if (keyStart[k] >= 0) {
            from = valueStart[k];
            ++found;
        }
    }
    auto value = [&](int k) {
        qsizetype end = text.size();
        for (int next = k + 1; next < kKeyCount; ++next) {
            if (keyStart[next] >= 0) {
                end = keyStart[next];
                break;
            }
        }
        return text.mid(valueStart[k], end - valueStart[k]);
    };
    if (valueStart[kFont] >= 0)
        result.font = value(kFont).toString();
    if (valueStart[kSize] >= 0)
        result.size = value(kSize).toString();
    if (valueStart[kBold] >= 0)
        result.bold = LeadingNumber(value(kBold));
    if (valueStart[kItalic] >= 0)
        result.italic = LeadingNumber(value(kItalic));
    if (valueStart[kAlign] >= 0)
        result.align = value(kAlign).toString();
    if (valueStart[kColor] >= 0)
        result.color = value(kColor).toString();
    if (valueStart[kContent] >= 0)
        result.content = value(kContent).toString();
    *memo = result;
    return found == kKeyCount ? 1 : 0;
}
