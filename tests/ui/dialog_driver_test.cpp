// The script commands that drive dialog controls and what `dump` shows of
// them, in-process on a dialog holding one control of every kind.
#include "automation/command_table.h"
#include "automation/dialog_controls.h"
#include "automation/script_text.h"
#include "shell/device_dialog.h"

#include "lumo_run.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <gtest/gtest.h>
#include <memory>

namespace {

// One control of each kind. The tree fills a folder when it opens, as the
// folder trees do: \a holds \a\b, which holds \a\b\c.
class AllKindsDialog : public CDeviceDialog {
public:
    AllKindsDialog()
        : CDeviceDialog(nullptr, QStringLiteral("CAllKinds"), QStringLiteral("All kinds"))
    {
        resize(240, 600);
        auto* layout = new QVBoxLayout(this);
        auto add = [&]<typename W>(W* w, int id) {
            SetControlId(w, id);
            layout->addWidget(w);
            return w;
        };
        auto* button = add(new QPushButton(QStringLiteral("Go")), 10);
        auto* note = add(new QLabel(QStringLiteral("Note")), 11);
        connect(button, &QPushButton::clicked, note, [note] { note->setText(QStringLiteral("clicked")); });
        add(new QCheckBox(QStringLiteral("bold")), 12);
        add(new QRadioButton(QStringLiteral("one")), 13);
        auto* combo = add(new QComboBox, 14);
        combo->addItems({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")});
        connect(combo, &QComboBox::textActivated, note, [note](const QString& t) { note->setText("picked " + t); });
        add(new QListWidget, 15)->addItems({QStringLiteral("one"), QStringLiteral("two")});
        auto* tree = add(new QTreeWidget, 16);
        tree->setHeaderHidden(true);
        tree->addTopLevelItem(Folder(QStringLiteral("\\a")));
        connect(tree, &QTreeWidget::itemExpanded, tree, [](QTreeWidgetItem* item) {
            const QString path = item->data(0, Qt::UserRole).toString();
            if (item->childCount() == 0 && path.size() < 6)
                item->addChild(Folder(path + QLatin1Char('\\') + QChar(path.back().unicode() + 1)));
        });
        auto* report = add(new QTreeWidget, 17);
        report->setProperty("lumoKind", QStringLiteral("report"));
        report->setColumnCount(2);
        for (const char* row : {"row1", "row2"})
            report->addTopLevelItem(new QTreeWidgetItem({QString::fromLatin1(row), QStringLiteral("size")}));
        auto* tabs = add(new QTabWidget, 18);
        tabs->addTab(new QLabel(QStringLiteral("page one")), QStringLiteral("First"));
        auto* second = new QWidget;
        SetControlId(new QPushButton(QStringLiteral("On page two"), second), 23);
        tabs->addTab(second, QStringLiteral("Second"));
        add(new QLineEdit, 19);
        add(new QPlainTextEdit, 20);
        m_slider = add(new QSlider(Qt::Horizontal), 21);
        m_slider->setRange(-127, 127);
        add(new QPushButton(QStringLiteral("Off")), 22)->setEnabled(false);
        layout->addWidget(new QGroupBox(QStringLiteral("Group")));
    }
    static QTreeWidgetItem* Folder(const QString& path)
    {
        auto* item = new QTreeWidgetItem({path.section(QLatin1Char('\\'), -1)});
        item->setData(0, Qt::UserRole, path);
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
        return item;
    }
    QSlider* m_slider;
};

class DialogDriverTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureApplication();
        m_dialog = std::make_unique<AllKindsDialog>();
        m_dialog->show();
        QApplication::processEvents();
    }
    bool Run(const QString& line, QString* reason)
    {
        ScriptContext context;
        return CommandTable::Run(context, ScriptText::SplitWords(line), reason);
    }
    QJsonValue Field(int id, const char* field)
    {
        QWidget* control = DialogControls::Find(m_dialog.get(), id);
        return control ? DialogControls::Describe(control)[QLatin1String(field)] : QJsonValue();
    }
    std::unique_ptr<AllKindsDialog> m_dialog;
};

}  // namespace

// A line that fails names why; a line whose words do not fit its command
// fails before anything happens (no field to look at then).
TEST_F(DialogDriverTest, CommandsChangeTheControlsAsThePenWould)
{
    struct Case {
        const char* line;
        const char* reason;  // nullptr: the line succeeds
        int id = 0;
        const char* field = nullptr;
        QJsonValue expected = {};  // after the line, also when it failed
    };
    const Case cases[] = {
        {"click 10", nullptr, 11, "text", "clicked"},
        {"check 12 1", nullptr, 12, "checked", true},
        {"check 13 1", nullptr, 13, "checked", true},
        {"check 13 0", "radio button 13 is cleared by checking another", 13, "checked", true},
        {"select 14 Beta", nullptr, 11, "text", "picked Beta"},
        {"select 14 beta", "control 14 has no item \"beta\"", 14, "selected", 1},  // letter case counts
        {"select 15 two", nullptr, 15, "selected", 1},
        {"select 16 \\a\\b\\c", nullptr, 16, "selected", "\\a\\b\\c"},  // folders open on the way
        {"select 17 row2", nullptr, 17, "selected", 1},
        {"select 18 Second", nullptr, 23, "visible", true},
        {"select 18 First", nullptr, 23, "visible", false},
        {"click 23", "control 23 is hidden", 23, "visible", false},  // on a page not shown
        {"settext 19 a\\nb", nullptr, 19, "text", "a\\nb"},          // one line: taken as written
        {"settext 20 one\\ntwo", nullptr, 20, "text", "one\ntwo"},
        {"slide 21 -20", nullptr, 21, "value", -20},  // reporting each position on the way, then letting go
        {"slide 21 128", "slide needs a value from -127 to 127", 21, "value", -20},
        {"click 22", "control 22 is disabled", 22, "enabled", false},
        {"settext 10 x", "control 10 is not a text field", 10, "text", "Go"},
        {"click 99", "no control 99 in the topmost window"},
        {"frob 1", "unknown command \"frob\""},
        {"hold 1 2 x", "\"x\" is not a number"},
    };
    QList<int> moved;
    int released = 0;
    QObject::connect(m_dialog->m_slider, &QSlider::sliderMoved, [&](int v) { moved << v; });
    QObject::connect(m_dialog->m_slider, &QSlider::sliderReleased, [&] { ++released; });
    for (const Case& c : cases) {
        QString reason;
        EXPECT_EQ(Run(QString::fromUtf8(c.line), &reason), !c.reason) << c.line;
        EXPECT_EQ(reason.toStdString(), c.reason ? c.reason : "") << c.line;
        if (c.field) {
            EXPECT_EQ(Field(c.id, c.field), c.expected) << c.line;
        }
    }
    ASSERT_GT(moved.size(), 5);
    EXPECT_TRUE(std::is_sorted(moved.rbegin(), moved.rend()) && moved.last() == -20 && released == 1);
    EXPECT_FALSE(m_dialog->m_slider->isSliderDown());
    // Words that do not fit their command are refused with a reason.
    for (const char* line : {"menu", "tap x", "drag 1 2 3 4 0", "wait -1", "browse \\a 1 x", "check 10"}) {
        QString reason;
        EXPECT_FALSE(Run(QString::fromUtf8(line), &reason)) << line;
        EXPECT_FALSE(reason.isEmpty()) << line;
    }
}

TEST_F(DialogDriverTest, DumpListsTheOpenDialogWithItsControls)
{
    const QJsonArray one = DialogControls::DumpDialogs(nullptr);
    ASSERT_EQ(one.size(), 1);
    const QJsonObject dialog = one[0].toObject();
    EXPECT_EQ(dialog["class"].toString(), QStringLiteral("CAllKinds"));
    EXPECT_EQ(dialog["caption"].toString(), QStringLiteral("All kinds"));
    QStringList kinds;
    for (const QJsonValue& c : dialog["controls"].toArray())
        kinds << QString::number(c["id"].toInt()) + QLatin1Char(':') + c["kind"].toString();
    EXPECT_EQ(kinds.join(QLatin1Char(' ')).toStdString(),
              std::string("10:button 11:static 12:check 13:radio 14:combo 15:list 16:tree "
                          "17:report 18:tab 23:button -1:static 19:edit 20:edit "
                          "21:slider 22:button -1:static"));
    EXPECT_EQ(Field(17, "items"), QJsonValue(QJsonArray {QJsonArray {"row1", "size"}, QJsonArray {"row2", "size"}}));
    EXPECT_EQ(Field(18, "items"), QJsonValue(QJsonArray {"First", "Second"}));
}
