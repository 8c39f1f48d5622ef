// The command set as the user meets it: which commands the real QActions offer at each step
// of the pipeline, when the rules are applied, and how menus, toolbar and status bar are laid
// out.

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QRegularExpression>
#include <QStatusTipEvent>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <map>
#include <set>

#include "AppFixture.h"
#include "app/CommandHandlers.h"
#include "app/CommandTable.h"
#include "app/EnablingRules.h"
#include "app/ExplorePanel.h"
#include "app/MainFrame.h"
#include "app/ProgressStatusBar.h"
#include "measure/FigureText.h"
#include "view/DisplayPicture.h"
#include "view/ZantrelView.h"

namespace zantrel {

namespace {

// The commands whose enabled state the walk checks.
constexpr int kWatched[] = {ID_OPEN_PICTURE,  ID_IMPORT_PICTURE, ID_SAVE_PICTURE, ID_SAVE_ZTL,
                            ID_PICTURE_COLOR, ID_PICTURE_GRAY,   ID_QUADTREE,     ID_GRAY_GRID,
                            ID_ZANTREL,       ID_GRID_LINES,     ID_PSNR,         ID_BIT_RATE,
                            ID_APP_ABOUT};

// Two flat regions on either side of the diagonal: a small quadtree with a few cut lines.
std::uint32_t DiagonalPicture(int row, int col) {
    return row > col ? 0x3C3C3C : 0xBEBEBE;
}

class CommandRules : public AppTest {
  protected:
    // The watched commands that are enabled, besides those that always are.
    std::set<int> EnabledCommands() {
        std::set<int> enabled;
        for (int id : kWatched) {
            if (Action(id).isEnabled())
                enabled.insert(id);
        }
        for (int id : {ID_OPEN_PICTURE, ID_IMPORT_PICTURE, ID_APP_ABOUT}) {
            EXPECT_EQ(enabled.erase(id), 1u) << id;
        }
        return enabled;
    }

    // Opens the picture with `openCommand` and runs every stage, checking the mode and the
    // enabled commands after each; the shown picture keeps `size` throughout.
    void WalkThePipeline(int openCommand, QSize size) {
        struct Step {
            const char* name;
            int command;  // 0: start-up
            DisplayMode mode;
            std::set<int> enabled;
        };
        const std::vector<Step> walk = {
            {"start-up", 0, DISPLAY_NONE, {}},
            {"load", openCommand, DISPLAY_COLOR, {ID_PICTURE_COLOR, ID_PICTURE_GRAY}},
            {"gray", ID_PICTURE_GRAY, DISPLAY_GRAY, {ID_PICTURE_COLOR, ID_QUADTREE}},
            {"quadtree",
             ID_QUADTREE,
             DISPLAY_QUADTREE,
             {ID_SAVE_PICTURE, ID_PICTURE_COLOR, ID_GRAY_GRID, ID_ZANTREL, ID_PSNR}},
            {"gray grid", ID_GRAY_GRID, DISPLAY_GRAY_GRID, {ID_PICTURE_COLOR, ID_ZANTREL}},
            {"Zantrel",
             ID_ZANTREL,
             DISPLAY_ZANTREL,
             {ID_SAVE_PICTURE, ID_SAVE_ZTL, ID_PICTURE_COLOR, ID_GRID_LINES, ID_PSNR, ID_BIT_RATE}},
            {"grid lines",
             ID_GRID_LINES,
             DISPLAY_GRID_LINES,
             {ID_SAVE_ZTL, ID_PICTURE_COLOR, ID_BIT_RATE}},
            {"back to colour",
             ID_PICTURE_COLOR,
             DISPLAY_COLOR,
             {ID_PICTURE_COLOR, ID_PICTURE_GRAY}},
        };
        m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
        m_app->InitInstance({});
        const ZantrelView& view = m_app->Frame().View();
        for (const Step& step : walk) {
            SCOPED_TRACE(step.name);
            if (step.command)
                Trigger(step.command);
            EXPECT_EQ(Mode(), step.mode);
            EXPECT_EQ(EnabledCommands(), step.enabled);
            if (step.command) {
                EXPECT_EQ(DisplaySize(Doc().Pictures(), Mode()), size);
                EXPECT_EQ(view.Origin().x(), (view.viewport()->width() - size.width()) / 2);
            }
        }
        EXPECT_GT(CutCount(Doc().Pictures().Tree()), 0);
        const PipelineState state = CurrentPipelineState(Doc().Pictures(), Mode(), false);
        EXPECT_TRUE(state.pictureLoaded && state.decomposed && !state.decoded);
        EXPECT_TRUE(m_host.messages.empty()) << m_host.messages.front().text.toStdString();
    }
};

// Every command the frame builds an action for does something and is switched by a rule; a
// command missing from either table would be a dead or never-greyed menu item.
TEST(CommandTables, EveryCommandHasOneHandlerAndOneRule) {
    for (const CommandEntry& command : CommandTable()) {
        EXPECT_EQ(std::ranges::count(CommandHandlers(), command.id, &CommandBinding::id), 1)
            << command.id;
        EXPECT_EQ(std::ranges::count(EnablingRules(), command.id, &EnablingRule::id), 1)
            << command.id;
    }
    EXPECT_EQ(CommandHandlers().size(), CommandTable().size());
    EXPECT_EQ(EnablingRules().size(), CommandTable().size());
}

TEST_F(CommandRules, FollowThePipelineStepByStep) {
    m_host.fileAnswers.push_back(WritePicture(QStringLiteral("walk.bmp"), DiagonalPicture));
    WalkThePipeline(ID_OPEN_PICTURE, QSize(512, 512));
    EXPECT_TRUE(Doc().KeptHeaders().has_value());
}

TEST_F(CommandRules, AnImportedPictureOfAnotherSizeFollowsTheSameRules) {
    m_host.fileAnswers.push_back(WritePng(QStringLiteral("wide.png"), 768, 512));
    WalkThePipeline(ID_IMPORT_PICTURE, QSize(768, 512));
    EXPECT_EQ(Title(), LoadedTitle(QStringLiteral("wide.png")));
    EXPECT_FALSE(Doc().KeptHeaders().has_value());
    EXPECT_TRUE(m_host.fileRequests.at(0).filter.contains(QStringLiteral("*.png")));
}

TEST_F(CommandRules, FiguresShowTheirBoxesAndKeepTheMode) {
    m_host.fileAnswers.push_back(WritePicture(QStringLiteral("figures.bmp"), DiagonalPicture));
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_app->InitInstance({});
    for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE, ID_ZANTREL})
        Trigger(id);
    ASSERT_TRUE(m_host.messages.empty());

    Trigger(ID_PSNR);
    Trigger(ID_BIT_RATE);
    ASSERT_EQ(m_host.messages.size(), 2u);
    EXPECT_EQ(m_host.messages[0].caption, QStringLiteral("图像的PSNR为："));
    EXPECT_EQ(m_host.messages[1].caption, QStringLiteral("图像的BIT率为："));
    // The PSNR as it always read, then the SSIM on a line of its own.
    const QStringList psnrLines = m_host.messages[0].text.split(QLatin1Char('\n'));
    ASSERT_EQ(psnrLines.size(), 2);
    EXPECT_EQ(psnrLines[0].toStdString(), FormatFigure(Doc().PsnrFigure()));
    EXPECT_TRUE(psnrLines[1].contains(QRegularExpression(QStringLiteral("^SSIM \\d\\.\\d{6}$"))))
        << psnrLines[1].toStdString();
    for (const ShownMessage& box : m_host.messages) {
        EXPECT_FALSE(box.text.isEmpty());
        EXPECT_EQ(box.icon, MessageIcon::Information);
    }
    EXPECT_EQ(Mode(), DISPLAY_ZANTREL);
}

// A shell that notes whether the wait cursor was up over the picture, and nowhere else,
// whenever a stage reported.
class CursorWatch final : public Shell, public StatusDisplay {
  public:
    explicit CursorWatch(const QWidget& picture) : m_picture(picture) {}
    StatusDisplay* StatusBar() override { return this; }
    void ShowMessage(std::string_view, std::string_view, MessageIcon) override {}
    void ReportFileError(FileErrorCause, std::string_view) override {}
    void SetPaneText(std::string_view) override { Note(); }
    void SetProgressPos(int) override { Note(); }

    int reports = 0;
    int reportsUnderWaitCursor = 0;

  private:
    void Note() {
        ++reports;
        reportsUnderWaitCursor += m_picture.cursor().shape() == Qt::WaitCursor &&
                                  QGuiApplication::overrideCursor() == nullptr;
    }
    const QWidget& m_picture;
};

TEST_F(CommandRules, ZantrelCommandShowsTheWaitCursorOverThePictureOnly) {
    m_host.fileAnswers.push_back(WritePicture(QStringLiteral("wait.bmp"), DiagonalPicture));
    m_host.onExec = AnswerParameters(QStringLiteral("1"), QStringLiteral("4"));
    m_app->InitInstance({});
    for (int id : {ID_OPEN_PICTURE, ID_PICTURE_GRAY, ID_QUADTREE})
        Trigger(id);
    const QWidget& picture = *m_app->Frame().View().viewport();
    CursorWatch watch(picture);
    RegisterShell(&watch);
    Trigger(ID_ZANTREL);
    RegisterShell(&m_app->UserShell());
    EXPECT_GT(watch.reports, 0);
    EXPECT_EQ(watch.reportsUnderWaitCursor, watch.reports);
    EXPECT_NE(picture.cursor().shape(), Qt::WaitCursor);
}

TEST_F(CommandRules, AboutBoxShowsTheCreditLineAndVersion) {
    QString shown;
    m_host.onExec = [&](QDialog& dialog) {
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            shown += label->text() + QLatin1Char('\n');
        return static_cast<int>(QDialog::Accepted);
    };
    Trigger(ID_APP_ABOUT);
    EXPECT_TRUE(shown.contains(QStringLiteral("Zantrel 项目组 制作"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral(ZANTREL_VERSION))) << shown.toStdString();
}

TEST_F(CommandRules, AreReadAgainWhenAMenuIsAboutToShowAndAtIdle) {
    m_app->InitInstance({});
    ASSERT_FALSE(Action(ID_PICTURE_GRAY).isEnabled());
    // The document says when it changed.
    ASSERT_TRUE(Doc().LoadPicture(WritePicture(QStringLiteral("behind.bmp"))));
    EXPECT_TRUE(Action(ID_PICTURE_GRAY).isEnabled());

    // The view changes behind the frame's back; the next menu opening must see it.
    ZantrelView& view = m_app->Frame().View();
    view.ShowMode(DISPLAY_GRAY);
    Q_EMIT m_app->Frame().Menus().at(2)->aboutToShow();
    EXPECT_FALSE(Action(ID_PICTURE_GRAY).isEnabled());
    EXPECT_TRUE(Action(ID_QUADTREE).isEnabled());

    // And the toolbar is refreshed when the event loop falls idle.
    view.ShowMode(DISPLAY_COLOR);
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(Action(ID_PICTURE_GRAY).isEnabled());
    EXPECT_FALSE(Action(ID_QUADTREE).isEnabled());
}

TEST_F(CommandRules, MenusAndToolbarAreBuiltInTheTablesOrder) {
    const MainFrame& frame = m_app->Frame();
    auto sequence = [&](const QList<QAction*>& actions) {
        std::vector<int> ids;
        for (QAction* action : actions) {
            int id = kSeparator;
            for (const CommandEntry& command : CommandTable()) {
                if (frame.Action(command.id) == action)
                    id = command.id;
            }
            if (action == frame.Action(ID_FILE_MRU_FILE1))
                id = ID_FILE_MRU_FILE1;
            if (id != kSeparator || action->isSeparator())
                ids.push_back(id);
        }
        return ids;
    };
    ASSERT_EQ(frame.Menus().size(), 5u);
    EXPECT_EQ(frame.Menus()[1]->title(), QStringLiteral("编辑(&E)"));
    EXPECT_EQ(frame.Menus()[2]->title(), QStringLiteral("图象处理(&P)"));
    EXPECT_EQ(
        sequence(frame.Menus()[0]->actions()),
        (std::vector<int>{ID_OPEN_PICTURE, ID_IMPORT_PICTURE, 0, ID_SAVE_PICTURE, ID_SAVE_ZTL,
                          ID_SAVE_SHOWN, 0, ID_FILE_PRINT, 0, ID_FILE_MRU_FILE1, 0, ID_APP_EXIT}));
    EXPECT_EQ(sequence(frame.Menus()[1]->actions()), (std::vector<int>{ID_EDIT_COPY}));
    EXPECT_EQ(sequence(frame.Menus()[2]->actions()),
              (std::vector<int>{ID_PICTURE_COLOR, ID_PICTURE_GRAY, 0, ID_QUADTREE, ID_GRAY_GRID, 0,
                                ID_ZANTREL, ID_GRID_LINES, 0, ID_PSNR, ID_BIT_RATE}));
    EXPECT_EQ(
        sequence(frame.Menus()[3]->actions()),
        (std::vector<int>{ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, ID_VIEW_EXPLORE, 0, ID_VIEW_ZOOM_IN,
                          ID_VIEW_ZOOM_OUT, ID_VIEW_ACTUAL_SIZE, ID_VIEW_FIT, 0, ID_VIEW_COMPARE}));
    EXPECT_EQ(sequence(frame.ToolBar().actions()),
              (std::vector<int>{ID_OPEN_PICTURE, 0, ID_SAVE_PICTURE, 0, ID_PICTURE_COLOR,
                                ID_PICTURE_GRAY, 0, ID_QUADTREE, ID_GRAY_GRID, 0, ID_ZANTREL,
                                ID_GRID_LINES, 0, ID_PSNR, ID_BIT_RATE}));

    // Every button has an image for ordinary and for high-DPI screens.
    for (QAction* action : frame.ToolBar().actions()) {
        if (action->isSeparator())
            continue;
        const QImage small = action->icon().pixmap(QSize(16, 15), 1.0).toImage();
        const QImage large = action->icon().pixmap(QSize(16, 15), 2.0).toImage();
        EXPECT_EQ(small.size(), QSize(16, 15)) << action->text().toStdString();
        EXPECT_EQ(large.size(), QSize(32, 30)) << action->text().toStdString();
    }
    const std::pair<int, const char*> keys[] = {
        {ID_OPEN_PICTURE, "Ctrl+O"},     {ID_IMPORT_PICTURE, "Ctrl+I"},
        {ID_SAVE_PICTURE, "Ctrl+S"},     {ID_SAVE_ZTL, "Ctrl+Shift+S"},
        {ID_FILE_NEW, "Ctrl+N"},         {ID_FILE_PRINT, "Ctrl+P"},
        {ID_VIEW_ZOOM_IN, "Ctrl+="},     {ID_VIEW_ZOOM_OUT, "Ctrl+-"},
        {ID_VIEW_ACTUAL_SIZE, "Ctrl+0"}, {ID_VIEW_FIT, "Ctrl+9"},
        {ID_VIEW_COMPARE, "Ctrl+T"},     {ID_EDIT_COPY, "Ctrl+C"}};
    for (const auto& [id, key] : keys) {
        EXPECT_EQ(Action(id).shortcut(), QKeySequence(QString::fromLatin1(key))) << key;
        // The key works although the command is on no menu.
        EXPECT_TRUE(frame.actions().contains(&Action(id))) << key;
    }
}

// The keyboard reaches everything: every menu by its own access key in both languages, every
// stage and the explore panel by a key of its own, wherever the focus is in the window.
TEST_F(CommandRules, EveryMenuHasItsAccessKeyAndTheStagesTheirOwnKeys) {
    MainFrame& frame = m_app->Frame();
    for (const int language : {ID_LANGUAGE_CHINESE, ID_LANGUAGE_ENGLISH}) {
        Trigger(language);
        std::set<QKeySequence> accessKeys;
        for (const QMenu* menu : frame.Menus()) {
            const QKeySequence key = QKeySequence::mnemonic(menu->title());
            EXPECT_FALSE(key.isEmpty()) << menu->title().toStdString();
            EXPECT_TRUE(accessKeys.insert(key).second) << menu->title().toStdString();
        }
    }
    Trigger(ID_LANGUAGE_CHINESE);

    std::map<QKeySequence, QString> owners;
    for (const QAction* action : frame.actions()) {
        if (!action->shortcut().isEmpty()) {
            const auto [owner, first] = owners.emplace(action->shortcut(), action->text());
            EXPECT_TRUE(first) << action->text().toStdString() << " and "
                               << owner->second.toStdString() << " share "
                               << action->shortcut().toString().toStdString();
        }
    }
    std::vector<int> keyed = {ID_VIEW_EXPLORE};
    std::ranges::copy_if(MenuBar()[2].items, std::back_inserter(keyed),
                         [](int id) { return id != kSeparator; });
    for (const int id : keyed)
        EXPECT_FALSE(Action(id).shortcut().isEmpty()) << Action(id).text().toStdString();

    // Typing in the explore panel does not swallow its key.
    frame.show();
    QApplication::setActiveWindow(&frame);
    Trigger(ID_VIEW_EXPLORE);
    QLineEdit* edit = frame.Explore().PenaltyEdit();
    edit->setFocus();
    QTest::keySequence(edit, Action(ID_VIEW_EXPLORE).shortcut());
    EXPECT_TRUE(frame.Explore().isHidden());
}

TEST_F(CommandRules, StatusBarShowsStagesAndFallsBackToIdle) {
    m_app->InitInstance({});
    ProgressStatusBar& bar = m_app->Frame().StatusBar();
    EXPECT_EQ(bar.PaneText(), QStringLiteral("就绪"));
    EXPECT_EQ(bar.GetProgressCtrl()->minimum(), 0);
    EXPECT_EQ(bar.GetProgressCtrl()->maximum(), 100);
    EXPECT_EQ(bar.GetProgressCtrl()->width(),
              bar.fontMetrics().horizontalAdvance(QString(60, QLatin1Char(' '))));

    // The engine reaches the same bar through the shell.
    StatusDisplay* engineBar = CurrentShell().StatusBar();
    ASSERT_EQ(engineBar, static_cast<StatusDisplay*>(&bar));
    engineBar->SetPaneText("正在搜索");
    engineBar->SetProgressPos(42);
    EXPECT_EQ(bar.PaneText(), QStringLiteral("正在搜索"));
    EXPECT_EQ(bar.GetProgressCtrl()->value(), 42);

    // A menu prompt covers pane 0; when it goes, the idle text is back.
    bar.showMessage(Action(ID_PICTURE_GRAY).statusTip());
    bar.clearMessage();
    EXPECT_EQ(bar.PaneText(), QStringLiteral("就绪"));
}

}  // namespace

}  // namespace zantrel
