// The rules of the Memo Property dialog that need no window: its fixed size
// list, how its lists find an entry by text, and its table of font names.
#pragma once

#include <QString>
#include <QStringList>

namespace MemoProperty {

// The size list in its order ("6" .. "40"); the align list is the memo's
// alignment names (MemoAlignNames).
const QStringList& Sizes();
// What a drop-down list's own search picks: the first entry that begins with
// text, letter case ignored (an empty text begins every entry); -1 when none.
int FindPrefix(const QStringList& items, const QString& text);

}  // namespace MemoProperty

// CFontTable: the font names the dialog offers, one table shared by every
// instance: filled from the system's font families when a dialog starts and
// emptied when it closes, so each dialog offers the same fonts.
class CFontTable {
public:
    static constexpr int kSlots = 24;
    static CFontTable& Shared();

    // Takes the next family; false once the table is full (the enumeration
    // then stops).
    bool Add(const QString& family);
    // Fills the table from families in their order while it has room.
    void Fill(const QStringList& families);
    const QStringList& Names() const { return m_names; }
    // The names as the sorted font list offers them, letter case ignored.
    QStringList Sorted() const;
    void Clear() { m_names.clear(); }

private:
    QStringList m_names;
};
