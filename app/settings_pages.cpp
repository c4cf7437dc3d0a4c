#include "app/settings_pages.h"

#include "app/lumo_doc.h"
#include "app/settings.h"

#include <climits>

namespace {

struct ChoiceValue {
    int choice;
    int value;
};

const ChoiceValue kResizeChoices[] = {{0, 100}, {1, 0}, {2, -1}};
const ChoiceValue kAngleChoices[] = {{0, 0}, {1, 90}, {2, 180}, {3, 270}};

template <size_t N> int ChoiceOf(const ChoiceValue (&table)[N], int value)
{
    for (const ChoiceValue& c : table)
        if (c.value == value)
            return c.choice;
    return 0;
}

template <size_t N> int ValueOf(const ChoiceValue (&table)[N], int choice)
{
    for (const ChoiceValue& c : table)
        if (c.choice == choice)
            return c.value;
    return 0;
}

bool IsBlank(QChar c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

}  // namespace

namespace SettingsPages {

int ResizeChoiceOfZoom(int zoom)
{
    return ChoiceOf(kResizeChoices, zoom);
}

int ZoomOfResizeChoice(int choice)
{
    return ValueOf(kResizeChoices, choice);
}

int AngleChoiceOfDegrees(int degrees)
{
    return ChoiceOf(kAngleChoices, degrees);
}

int DegreesOfAngleChoice(int choice)
{
    return ValueOf(kAngleChoices, choice);
}

const QStringList& IntervalEntries()
{
    static const QStringList entries
        = {QStringLiteral("1"), QStringLiteral("2"),  QStringLiteral("3"),  QStringLiteral("4"),
           QStringLiteral("5"), QStringLiteral("10"), QStringLiteral("30"), QStringLiteral("60")};
    return entries;
}

const QStringList& DirectionEntries()
{
    static const QStringList entries
        = {QStringLiteral("Forward"), QStringLiteral("Backward"), QStringLiteral("Random")};
    return entries;
}

ComboStart StartCombo(const QStringList& entries, const QString& stored)
{
    ComboStart start {-1, stored.left(kTextLimit)};
    for (int i = 0; i < entries.size() && start.selected < 0; ++i)
        if (entries[i].startsWith(stored, Qt::CaseInsensitive))
            start.selected = i;
    return start;
}

int IntervalOfText(const QString& text)
{
    const QStringView cut = QStringView(text).left(kTextLimit);
    qsizetype i = 0;
    while (i < cut.size() && IsBlank(cut[i]))
        ++i;
    const bool negative = i < cut.size() && cut[i] == u'-';
    if (i < cut.size() && (cut[i] == u'-' || cut[i] == u'+'))
        ++i;
    long long value = 0;
    for (; i < cut.size() && cut[i] >= u'0' && cut[i] <= u'9'; ++i)
        value = std::min(value * 10 + (cut[i].unicode() - u'0'), static_cast<long long>(INT_MAX) + 1);
    value = negative ? -value : std::min(value, static_cast<long long>(INT_MAX));
    return int(value);
}

}  // namespace SettingsPages

void CViewPageState::Start(int storedMode, const CLumoDoc& doc)
{
    mode = storedMode;
    EnableFullScreenControls(mode == Settings::kModeFullScreen);
    autoResize = doc.m_autoResize;
    autoRotation = doc.m_autoRotation;
    resizeChoice = SettingsPages::ResizeChoiceOfZoom(doc.m_autoResizeZoom);
    angleChoice = SettingsPages::AngleChoiceOfDegrees(doc.m_autoRotationAngle);
}

void CViewPageState::ClickAutoRotation(CLumoDoc* doc)
{
    autoRotation = autoRotation ? 0 : 1;
    angleEnabled = autoRotation == 1;
    doc->m_autoRotation = autoRotation;
}

void CViewPageState::ClickAutoResize(CLumoDoc* doc)
{
    autoResize = autoResize ? 0 : 1;
    resizeEnabled = autoResize == 1;
    doc->m_autoResize = autoResize;
}

void CViewPageState::ClickMode(int newMode, CLumoDoc* doc)
{
    if (newMode == Settings::kModeFullScreen) {
        EnableFullScreenControls(true);
        // Both boxes show the values full screen starts with, and the document
        // holds the same, so a later click turns box and flag over together.
        autoResize = 1;
        autoRotation = 1;
        doc->m_autoResize = 1;
        doc->m_autoRotation = 1;
    } else {
        if (mode == Settings::kModeFullScreen)
            EnableFullScreenControls(false);
        doc->m_autoRotation = 0;
        doc->m_autoResize = 0;
    }
    mode = newMode;
}

void CViewPageState::EnableFullScreenControls(bool enable)
{
    boxesEnabled = enable;
    resizeEnabled = enable;
    angleEnabled = enable;
}
