#include "shell/memo_property_dlg.h"

#include "app/image_item.h"
#include "app/lumo_doc.h"
#include "app/memo_property.h"
#include "image/memo_layout.h"
#include "shell/input_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QStringList ItemsOf(const QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->itemText(i);
    return items;
}

// A list shows a value by its own search; no match keeps its selection.
void SelectByPrefix(QComboBox* list, const QString& text)
{
    const int index = MemoProperty::FindPrefix(ItemsOf(list), text);
    if (index >= 0)
        list->setCurrentIndex(index);
}

// The memo as the edit holds it: line breaks stored the handheld's way
// ("\r\n") become the edit's own.
QString EditText(QString content)
{
    return content.replace(QLatin1String("\r\n"), QLatin1String("\n"));
}

// A list with nothing selected (a font this system lacks, such as the
// default "Tahoma") leaves its value as it was instead of emptying it.
void ReadSelected(const QComboBox* list, QString& value)
{
    if (list->currentIndex() >= 0)
        value = list->currentText();
}

}  // namespace

CMemoPropertyDlg::CMemoPropertyDlg(QWidget* screen)
    : CDeviceDialog(screen, QStringLiteral("CMemoPropertyDlg"), QStringLiteral("Dialog"))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->addWidget(MakeTitleLine());
    auto* group = new QGroupBox(QStringLiteral("Memo Property"), this);
    auto* grid = new QGridLayout(group);
    grid->setColumnStretch(1, 1);
    const auto addList = [&](const char* label, int id, int row) {
        grid->addWidget(new QLabel(QString::fromLatin1(label), group), row, 0);
        auto* list = new QComboBox(group);
        SetControlId(list, id);
        // Long font names do not widen the dialog past the screen.
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(2);
        grid->addWidget(list, row, 1, 1, 2);
        return list;
    };
    m_font = addList("Font", kFont, 0);
    m_align = addList("Align", kAlign, 1);
    m_size = addList("Size", kSize, 2);
    m_size->setMaximumWidth(60);
    m_bold = new QCheckBox(QStringLiteral("bold"), group);
    SetControlId(m_bold, kBold);
    m_italic = new QCheckBox(QStringLiteral("italic"), group);
    SetControlId(m_italic, kItalic);
    auto* styles = new QHBoxLayout;
    styles->addWidget(m_bold);
    styles->addWidget(m_italic);
    styles->addStretch(1);
    grid->addLayout(styles, 3, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Memo"), group), 4, 0, 1, 3);
    m_memo = new QPlainTextEdit(group);
    SetControlId(m_memo, kMemo);
    m_memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The command bar and its input-panel button lie under the dialog: the
    // dialog carries its own, which types into the memo.
    QToolButton* keyboard = InputPanel::MakeButton(group, m_memo);
    SetControlId(keyboard, kKeyboard);
    styles->addWidget(keyboard);
    grid->addWidget(m_memo, 5, 0, 1, 3);
    grid->setRowStretch(5, 1);
    layout->addWidget(group, 1);
    InputPanel::FollowFocus(m_memo);
    // The keyboard rises over the bottom of the dialog: the memo edit gives it
    // that band, so the line being typed stays in sight.
    InputPanel::OnHeightChanged(this, [layout](int covered) { layout->setContentsMargins(6, 4, 6, 6 + covered); });

    // Start: the fixed lists, then the (still empty) values.
    m_size->addItems(MemoProperty::Sizes());
    m_align->addItems(MemoAlignNames());
    m_size->setCurrentIndex(-1);
    m_align->setCurrentIndex(-1);
    ShowValues();
    m_item = ActiveEntry();
    if (!m_item)
        return;
    CFontTable& fonts = CFontTable::Shared();
    fonts.Fill(QFontDatabase::families());
    m_font->addItems(fonts.Sorted());
    m_font->setCurrentIndex(-1);  // a list has no selection until one is made
    m_values = m_item->m_memo;
    m_startContent = m_values.content;
    m_values.content = EditText(m_startContent);
    ShowValues();
}

CMemoPropertyDlg::~CMemoPropertyDlg()
{
    CLumoDoc* doc = ActiveDocument();
    if (m_confirmed && m_item && doc && doc->Catalog().IndexOf(m_item) >= 0) {
        CMemoRecord memo = m_values;
        memo.color = m_item->m_memo.color;
        m_item->m_memo = memo;
    }
    CFontTable::Shared().Clear();
}

void CMemoPropertyDlg::ShowValues()
{
    SelectByPrefix(m_font, m_values.font);
    SelectByPrefix(m_align, m_values.align);
    SelectByPrefix(m_size, m_values.size);
    m_bold->setChecked(m_values.bold != 0);
    m_italic->setChecked(m_values.italic != 0);
    m_memo->setPlainText(m_values.content);
}

void CMemoPropertyDlg::ReadValues()
{
    ReadSelected(m_font, m_values.font);
    ReadSelected(m_align, m_values.align);
    ReadSelected(m_size, m_values.size);
    m_values.bold = m_bold->isChecked() ? 1 : 0;
    m_values.italic = m_italic->isChecked() ? 1 : 0;
    const QString typed = m_memo->toPlainText();
    // Text left as it was keeps its own line breaks, also "\r\n" ones.
    m_values.content = typed == EditText(m_startContent) ? m_startContent : typed;
}

void CMemoPropertyDlg::accept()
{
    ReadValues();
    m_confirmed = true;
    CDeviceDialog::accept();
}

void CMemoPropertyDlg::hideEvent(QHideEvent* event)
{
    // The keyboard belonged to the memo edit.
    if (InputPanel::IsShown())
        InputPanel::SipShowIM(false);
    CDeviceDialog::hideEvent(event);
}
