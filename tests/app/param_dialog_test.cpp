// The parameter dialog: its checks and messages, the focus after a refusal, its layout, and
// how the quadtree command uses it (defaults every time, cancel changes nothing, Enter presses
// the focused button).

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <algorithm>
#include <ostream>

#include "AppFixture.h"
#include "app/CommandTable.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "view/DecompParamDlg.h"

namespace zantrel {

namespace {

const QString kNotAnInteger = QStringLiteral("请键入一个整数。");
const QString kSizeRange = QStringLiteral("“请填入一个在1和128之间的整数。”");
const QString kNotANumber = QStringLiteral("请键入一个数。");
const QString kPenaltyRange = QStringLiteral("“请填入一个在0和100000000之间的数字。”");

enum class Focus { None, Penalty, MinBlockSize };

struct DialogCase {
    const char* name;
    const char* penalty;
    const char* minBlockSize;
    QString message;  // empty: accepted
    Focus focus;
    double acceptedPenalty;
    int acceptedSize;
};

void PrintTo(const DialogCase& c, std::ostream* out) {
    *out << "penalty \"" << c.penalty << "\", block size \"" << c.minBlockSize << '"';
}

class ParameterDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(ParameterDialog, ChecksInOrderAndReturnsToTheOffendingEdit) {
    const DialogCase& c = GetParam();
    ScriptedDialogHost host;
    DecompParamDlg dialog(host);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    dialog.PenaltyEdit()->setText(QString::fromUtf8(c.penalty));
    dialog.MinBlockSizeEdit()->setText(QString::fromUtf8(c.minBlockSize));
    dialog.OkButton()->click();

    if (c.message.isEmpty()) {
        EXPECT_TRUE(host.messages.empty());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.m_penalty, c.acceptedPenalty);
        EXPECT_EQ(dialog.m_minBlockSize, c.acceptedSize);
        return;
    }
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, c.message);
    EXPECT_EQ(host.messages[0].caption, QStringLiteral("Zantrel"));
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Exclamation);
    QLineEdit* expected =
        c.focus == Focus::Penalty ? dialog.PenaltyEdit() : dialog.MinBlockSizeEdit();
    EXPECT_EQ(dialog.focusWidget(), expected);
    EXPECT_EQ(expected->selectedText(), expected->text());
}

INSTANTIATE_TEST_SUITE_P(
    Values, ParameterDialog,
    ::testing::Values(
        DialogCase{"Defaults", "1", "4", {}, Focus::None, 1.0, 4},
        DialogCase{"LargestBlockSize", "1", "128", {}, Focus::None, 1.0, 128},
        DialogCase{"SmallestBlockSize", "1", "1", {}, Focus::None, 1.0, 1},
        DialogCase{"BlockSizeNotAPowerOfTwo", "1", "3", {}, Focus::None, 1.0, 3},
        DialogCase{"BlockSizeZero", "1", "0", kSizeRange, Focus::MinBlockSize, 0, 0},
        DialogCase{"BlockSize129", "1", "129", kSizeRange, Focus::MinBlockSize, 0, 0},
        DialogCase{"BlockSizeNotAnInteger", "1", "4.5", kNotAnInteger, Focus::MinBlockSize, 0, 0},
        DialogCase{"PenaltyZero", "0", "4", {}, Focus::None, 0.0, 4},
        DialogCase{"LargestPenalty", "100000000", "4", {}, Focus::None, 100000000.0, 4},
        DialogCase{"PenaltyInExponentForm", " 1e3 ", "4", {}, Focus::None, 1000.0, 4},
        DialogCase{"NegativePenalty", "-1", "4", kPenaltyRange, Focus::Penalty, 0, 0},
        DialogCase{"PenaltyAboveRange", "100000001", "4", kPenaltyRange, Focus::Penalty, 0, 0},
        DialogCase{"PenaltyNotANumber", "abc", "4", kNotANumber, Focus::Penalty, 0, 0},
        // Both wrong: only the block size is reported until it is mended.
        DialogCase{"BothWrong", "abc", "0", kSizeRange, Focus::MinBlockSize, 0, 0}),
    [](const ::testing::TestParamInfo<DialogCase>& test) { return test.param.name; });

TEST(ParameterDialogLayout, MatchesTheDialogsDrawing) {
    ScriptedDialogHost host;
    DecompParamDlg dialog(host);
    EXPECT_TRUE(dialog.windowTitle().trimmed().isEmpty());
    EXPECT_EQ(dialog.PenaltyEdit()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.MinBlockSizeEdit()->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("确定"));
    EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("取消"));
    EXPECT_TRUE(dialog.OkButton()->isDefault());
    // Penalty and Cancel on the left, block size and OK on the right, all inside the group.
    EXPECT_LT(dialog.PenaltyEdit()->x(), dialog.MinBlockSizeEdit()->x());
    EXPECT_LT(dialog.CancelButton()->x(), dialog.OkButton()->x());
    EXPECT_GT(dialog.OkButton()->y(), dialog.PenaltyEdit()->y());
    const QGroupBox* group = dialog.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("分解深度"));
    for (const QWidget* inside :
         {static_cast<QWidget*>(dialog.PenaltyEdit()), static_cast<QWidget*>(dialog.OkButton()),
          static_cast<QWidget*>(dialog.CancelButton()),
          static_cast<QWidget*>(dialog.MinBlockSizeEdit())}) {
        EXPECT_TRUE(group->geometry().contains(inside->geometry()));
    }
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels,
              (QStringList{QStringLiteral("请输入惩罚因子"), QStringLiteral("最小分块尺寸")}));
}

// The two modes are one choice: Tab from Cancel reaches the checked one and leaves it for OK,
// and an arrow checks the other, so what the keyboard shows checked is what runs.
TEST(ParameterDialogModes, AreOneTabStopWhoseArrowsMoveTheCheck) {
    const struct {
        RunMode opened;
        Qt::Key arrow;
        RunMode run;
    } cases[] = {{RunMode::Optimised, Qt::Key_Left, RunMode::Exact},
                 {RunMode::Exact, Qt::Key_Right, RunMode::Optimised}};
    for (const auto& c : cases) {
        SCOPED_TRACE(RunModeName(c.opened).toStdString());
        ScriptedDialogHost host;
        DecompParamDlg dialog(host);
        dialog.SetMode(c.opened);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.CancelButton()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog.ModeButton(c.opened));
        QTest::keyClick(QApplication::focusWidget(), c.arrow);
        EXPECT_EQ(QApplication::focusWidget(), dialog.ModeButton(c.run));
        EXPECT_TRUE(dialog.ModeButton(c.run)->isChecked());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), dialog.OkButton());
        dialog.OkButton()->click();
        EXPECT_EQ(dialog.m_mode, c.run);
    }
}

// The quadtree command runs the dialog, here on a gradient picture.
class QuadtreeCommand : public AppTest {
  protected:
    void StartInGrayMode() {
        m_host.fileAnswers.push_back(WritePicture(QStringLiteral("gradient.bmp")));
        m_app->InitInstance({});
        Trigger(ID_OPEN_PICTURE);
        Trigger(ID_PICTURE_GRAY);
        ASSERT_EQ(Mode(), DISPLAY_GRAY);
    }
};

TEST_F(QuadtreeCommand, CancelLeavesTheGrayMode) {
    StartInGrayMode();
    m_host.onExec = [](QDialog& dialog) {
        dynamic_cast<DecompParamDlg&>(dialog).CancelButton()->click();
        return dialog.result();
    };
    Trigger(ID_QUADTREE);
    EXPECT_EQ(Mode(), DISPLAY_GRAY);
    EXPECT_EQ(Stages().quadtree, nullptr);
    EXPECT_TRUE(Action(ID_QUADTREE).isEnabled());
    EXPECT_FALSE(Action(ID_GRAY_GRID).isEnabled());
}

// Enter presses the focused button; in an edit box it presses OK.
TEST_F(QuadtreeCommand, EnterPressesTheFocusedButtonOrOk) {
    StartInGrayMode();
    const struct {
        const char* focus;
        QWidget* (*widget)(DecompParamDlg&);
        DisplayMode mode;
    } cases[] = {
        {"取消", [](DecompParamDlg& d) -> QWidget* { return d.CancelButton(); }, DISPLAY_GRAY},
        {"确定", [](DecompParamDlg& d) -> QWidget* { return d.OkButton(); }, DISPLAY_QUADTREE},
        {"惩罚因子", [](DecompParamDlg& d) -> QWidget* { return d.PenaltyEdit(); },
         DISPLAY_QUADTREE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.focus);
        Trigger(ID_PICTURE_COLOR);
        Trigger(ID_PICTURE_GRAY);
        m_host.onExec = [&](QDialog& dialog) {
            dialog.show();
            QApplication::setActiveWindow(&dialog);
            QWidget* target = c.widget(dynamic_cast<DecompParamDlg&>(dialog));
            target->setFocus(Qt::TabFocusReason);
            EXPECT_EQ(QApplication::focusWidget(), target);
            for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
                QKeyEvent key(type, Qt::Key_Return, Qt::NoModifier);
                QApplication::sendEvent(target, &key);
            }
            return dialog.result();
        };
        Trigger(ID_QUADTREE);
        EXPECT_EQ(Mode(), c.mode);
        EXPECT_EQ(Stages().quadtree == nullptr, c.mode == DISPLAY_GRAY);
    }
}

// The dialog and the explore panel read and write one set of values.
TEST_F(QuadtreeCommand, OpensWithTheDefaultsThenTheLastValuesRunAndPassesThem) {
    StartInGrayMode();
    ExplorePanel& panel = m_app->Frame().Explore();
    panel.PenaltyEdit()->setText(QStringLiteral("abc"));
    QMetaObject::invokeMethod(panel.PenaltyEdit(), &QLineEdit::returnPressed);
    ASSERT_EQ(m_host.messages.size(), 1u);
    QStringList opened;
    m_host.onExec = [&](QDialog& dialog) {
        auto& parameters = dynamic_cast<DecompParamDlg&>(dialog);
        opened << parameters.PenaltyEdit()->text() + QLatin1Char('/') +
                      parameters.MinBlockSizeEdit()->text();
        return AnswerParameters(QStringLiteral("2.5"), QStringLiteral("16"))(dialog);
    };
    Trigger(ID_QUADTREE);
    EXPECT_EQ(Mode(), DISPLAY_QUADTREE);
    ASSERT_NE(Stages().quadtree, nullptr);
    const Quadtree& tree = Stages().quadtree->tree;
    EXPECT_EQ(tree.penalty, 2.5);
    // The gradient splits down to the minimum block size, and that was 16.
    ASSERT_FALSE(tree.leaves.empty());
    for (const QuadBlock& block : tree.leaves)
        EXPECT_GE(block.size, 16);
    EXPECT_TRUE(std::ranges::any_of(tree.leaves, [](const QuadBlock& b) { return b.size == 16; }));

    EXPECT_EQ(panel.PenaltyEdit()->text(), QStringLiteral("2.5"));
    EXPECT_EQ(panel.MinBlockSizeEdit()->text(), QStringLiteral("16"));
    EXPECT_EQ(panel.PenaltySlider()->value(), ExplorePanel::PositionOf(2.5));

    Trigger(ID_PICTURE_COLOR);
    Trigger(ID_PICTURE_GRAY);
    Trigger(ID_QUADTREE);
    EXPECT_EQ(opened, (QStringList{QStringLiteral("1/4"), QStringLiteral("2.5/16")}));
}

}  // namespace

}  // namespace zantrel
