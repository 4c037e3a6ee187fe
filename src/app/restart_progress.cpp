#include "app/restart_progress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QVBoxLayout>

#include "controls/alert_accessible.h"
#include "controls/colors.h"

namespace ravelfin {

namespace {

// The flow's wait and the reopening that follows are one restart to the user.
constexpr qint64 kSameRestartWithinMs = 1000;
constexpr int kTickMs = 250;

QString LineFor(qint64 elapsedMs) {
    return QStringLiteral("The reader is restarting: %1 s").arg(elapsedMs / 1000);
}

class RestartLine final : public QWidget {
  public:
    explicit RestartLine(const QElapsedTimer& since)
        : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
          since_(since) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAutoFillBackground(true);
        QPalette colours = palette();
        colours.setColor(QPalette::Window, colors::NoticeYellow());
        setPalette(colours);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(24, 12, 24, 12);
        label_ = new QLabel(this);
        QFont bold = label_->font();
        bold.setBold(true);
        label_->setFont(bold);
        label_->setAlignment(Qt::AlignCenter);
        layout->addWidget(label_);
        connect(&ticks_, &QTimer::timeout, this, &RestartLine::Update);
        ticks_.start(kTickMs);
        Update();
    }

    QString Text() const { return label_->text(); }

    void ShowOver(const QWidget* owner) {
        adjustSize();
        if (owner)
            move(owner->frameGeometry().center() - rect().center());
        show();
        // Read out once: the count is for the eye, the news that a restart began is for all.
        AnnounceAlert(this);
    }

  private:
    void Update() {
        const QString text = LineFor(since_.elapsed());
        label_->setText(text);
        setAccessibleName(text);
    }

    const QElapsedTimer& since_;
    QLabel* label_ = nullptr;
    QTimer ticks_;
};

struct RestartState {
    int depth = 0;
    QElapsedTimer started;
    QElapsedTimer ended;
    QPointer<RestartLine> line;
};

RestartState& State() {
    static RestartState state;
    return state;
}

}  // namespace

RestartProgress::RestartProgress() {
    RestartState& state = State();
    if (state.depth++ > 0)
        return;
    const bool goesOn = state.ended.isValid() && state.ended.elapsed() < kSameRestartWithinMs;
    if (!goesOn)
        state.started.start();
    state.line = new RestartLine(state.started);
    state.line->ShowOver(QApplication::activeWindow());
}

RestartProgress::~RestartProgress() {
    RestartState& state = State();
    if (--state.depth > 0)
        return;
    state.ended.start();
    delete state.line;
}

QString RestartProgress::ShownText() {
    const RestartState& state = State();
    return state.line && state.line->isVisible() ? state.line->Text() : QString();
}

}  // namespace ravelfin
