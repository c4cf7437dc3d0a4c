// Memo text parsing on arbitrary UTF-16 (pairs of input bytes, little-endian).
// Whatever was read must survive formatting and reading again unchanged.
#include "image/memo_text.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QString text(qsizetype(size / 2), Qt::Uninitialized);
    for (size_t i = 0; i < size / 2; ++i)
        text[qsizetype(i)] = QChar(char16_t(data[2 * i] | (data[2 * i + 1] << 8)));
    CMemoRecord memo;
    ParseMemoText(text, &memo);
    CMemoRecord again;
    if (ParseMemoText(FormatMemoText(memo), &again) != 1 || !(again == memo))
        std::abort();
    return 0;
}
