#include "app/ProgressStatusBar.h"

#include <QLabel>
#include <QProgressBar>
#include <QToolButton>

#include "import/MessageTranslation.h"
#include "view/AppTexts.h"

namespace zantrel {

namespace {

// The lock-key panes. Qt cannot read the lock keys' state on every platform, so the panes
// show their names greyed, as an idle indicator does.
constexpr const char* kIndicatorTexts[] = {QT_TRANSLATE_NOOP("zantrel::ProgressStatusBar", "大写"),
                                           QT_TRANSLATE_NOOP("zantrel::ProgressStatusBar", "数字"),
                                           QT_TRANSLATE_NOOP("zantrel::ProgressStatusBar", "滚动")};

}  // namespace

ProgressStatusBar::ProgressStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_messagePane(new QLabel(AppText(kIdleText), this)),
      m_hoverPane(new QLabel(this)),
      m_progress(new QProgressBar(this)),
      m_remaining(new QLabel(this)),
      m_stageText(m_messagePane->text()) {
    addWidget(m_messagePane, 1);
    // A long block text may be cut at the right rather than widen the window.
    m_hoverPane->setMinimumWidth(0);
    m_hoverPane->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_hoverPane, 2);

    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    // The progress pane is as wide as sixty blanks.
    m_progress->setFixedWidth(fontMetrics().horizontalAdvance(QString(60, QLatin1Char(' '))));
    addPermanentWidget(m_progress);
    m_progress->hide();
    m_remaining->setContentsMargins(4, 0, 8, 0);
    FitRemainingPane();
    addPermanentWidget(m_remaining);
    m_remaining->hide();
    m_steadyClock.start();
    m_clock = [this] { return m_steadyClock.elapsed(); };

    for (const char* text : kIndicatorTexts) {
        auto* pane = new QLabel(tr(text), this);
        pane->setEnabled(false);
        addPermanentWidget(pane);
        m_indicators.push_back(pane);
    }

    // A menu prompt covers pane 0 while it shows; once it goes, the running stage's text
    // returns, or the idle text when nothing runs.
    connect(this, &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            m_messagePane->setText(m_running ? m_stageText : AppText(kIdleText));
    });
}

QString ProgressStatusBar::PaneText() const {
    return m_messagePane->text();
}

// The stages run on a worker and the event loop goes on, so a change is painted with the
// next frame; several reports between two frames cost one painting.
void ProgressStatusBar::SetPaneText(std::string_view text) {
    const QString shown = QString::fromStdString(TranslateStageText(text));
    m_stageText = shown;
    if (currentMessage().isEmpty() && m_messagePane->text() == shown)
        return;
    clearMessage();
    m_messagePane->setText(shown);
}

void ProgressStatusBar::SetHoverText(const QString& text) {
    if (m_hoverPane->text() != text)
        m_hoverPane->setText(text);
}

QString ProgressStatusBar::HoverText() const {
    return m_hoverPane->text();
}

QString ProgressStatusBar::RemainingText() const {
    return m_remaining->text();
}

void ProgressStatusBar::SetClock(std::function<qint64()> clock) {
    m_clock = std::move(clock);
    RestartTimeLeft();
}

void ProgressStatusBar::RestartTimeLeft() {
    m_timeLeft.Restart(m_clock());
    m_timing = true;
    m_remaining->clear();
}

namespace {

QString RemainingTextOf(qint64 seconds) {
    return seconds < 60
               ? ProgressStatusBar::tr("约剩 %1 秒").arg(seconds)
               : ProgressStatusBar::tr("约剩 %1 分 %2 秒").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

void ProgressStatusBar::FitRemainingPane() {
    // Runs of more than 999 minutes are not told apart.
    const QMargins margins = m_remaining->contentsMargins();
    m_remaining->setFixedWidth(
        m_remaining->fontMetrics().horizontalAdvance(RemainingTextOf(999 * 60 + 59)) +
        margins.left() + margins.right());
}

void ProgressStatusBar::SetProgressPos(int position) {
    // The bar repaints itself at once on most changes; with its updates off it only takes the
    // value, and the update after it paints with the next frame.
    if (m_progress->value() == position)
        return;
    if (position < m_progress->value() || !m_timing) {
        RestartTimeLeft();
    } else if (const std::optional<qint64> left = m_timeLeft.Update(position, m_clock())) {
        m_remaining->setText(RemainingTextOf(*left));
    }
    m_progress->setUpdatesEnabled(false);
    m_progress->setValue(position);
    m_progress->setUpdatesEnabled(true);
    m_progress->update();
}

void ProgressStatusBar::AddCancelButton(QAction* action) {
    m_cancelButton = new QToolButton(this);
    m_cancelButton->setDefaultAction(action);
    m_cancelButton->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_cancelButton->setAutoRaise(true);
    m_cancelButton->hide();
    // Right of the progress pane: after the message pane and the progress bar.
    insertPermanentWidget(2, m_cancelButton);
}

void ProgressStatusBar::ShowCancelButton(bool shown) {
    // Called at every idle moment: only a change starts the clock again.
    if (shown != m_running)
        RestartTimeLeft();
    m_running = shown;
    m_progress->setVisible(shown);
    m_remaining->setVisible(shown);
    if (m_cancelButton)
        m_cancelButton->setVisible(shown);
}

void ProgressStatusBar::Retranslate() {
    for (std::size_t i = 0; i < m_indicators.size(); ++i)
        m_indicators[i]->setText(tr(kIndicatorTexts[i]));
    FitRemainingPane();
    // The block text is in the language before; the next move tells it again.
    m_hoverPane->clear();
    if (currentMessage().isEmpty())
        m_messagePane->setText(AppText(kIdleText));
}

}  // namespace zantrel
