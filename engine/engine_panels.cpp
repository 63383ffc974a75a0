#include "engine/engine_panels.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProxyStyle>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/engine_rules.h"

static QHBoxLayout *rowLayout(QWidget *w)
{
    auto *l = new QHBoxLayout(w);
    l->setContentsMargins(4, 2, 4, 2);
    l->setSpacing(4);
    return l;
}

namespace {
// A click on a bar puts the knob where it was clicked and goes on as a drag,
// instead of stepping a page towards it.
class JumpStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QSlider *jumpingSlider(QWidget *parent)
{
    auto *slider = new QSlider(Qt::Horizontal, parent);
    auto *style = new JumpStyle;
    style->setParent(slider);
    slider->setStyle(style);
    return slider;
}
}  // namespace

// A label that shows as much of its text as fits, the end kept, as the main
// window shows a path: never a letter cut in half.
class ElidedLabel : public QLabel
{
public:
    using QLabel::QLabel;
    void setFullText(const QString &text)
    {
        full_ = text;
        setToolTip(text);
        elide();
    }
    QString fullText() const { return full_; }
    QSize minimumSizeHint() const override { return QSize(0, QLabel::minimumSizeHint().height()); }

protected:
    void resizeEvent(QResizeEvent *e) override
    {
        QLabel::resizeEvent(e);
        elide();
    }

private:
    void elide() { setText(fontMetrics().elidedText(full_, Qt::ElideLeft, std::max(contentsRect().width(), 0))); }
    QString full_;
};

static QToolButton *textButton(const QString &text, QWidget *parent)
{
    auto *b = new QToolButton(parent);
    b->setText(text);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    b->setAutoRaise(false);
    return b;
}

EnginePanels::EnginePanels(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    position_ = new QWidget(this);
    position_->setObjectName(QStringLiteral("positionBar"));
    bar_ = jumpingSlider(position_);
    bar_->setObjectName(QStringLiteral("positionSlider"));
    bar_->setRange(0, 0);
    rowLayout(position_)->addWidget(bar_);
    // Live while dragged, exact where the knob ends.
    connect(bar_, &QSlider::sliderMoved, this, [this] { seekToSlider(false); });
    connect(bar_, &QSlider::sliderReleased, this, [this] { seekToSlider(true); });
    connect(bar_, &QSlider::valueChanged, this, [this] {
        if (!updating_ && !bar_->isSliderDown())
            seekToSlider(true);
    });

    row_ = new QWidget(this);
    auto *row = rowLayout(row_);
    row->setContentsMargins(0, 0, 0, 0);
    controls_ = makeControlButtons(row_);
    controls_->setObjectName(QStringLiteral("controlButtons"));
    row->addWidget(controls_);
    row->addStretch(1);
    sound_ = new QWidget(row_);
    sound_->setObjectName(QStringLiteral("soundControls"));
    auto *sound = rowLayout(sound_);
    mute_ = textButton(QStringLiteral("Muet"), sound_);
    mute_->setCheckable(true);
    volume_ = jumpingSlider(sound_);
    volume_->setObjectName(QStringLiteral("volumeSlider"));
    volume_->setRange(-2000, 0);
    volume_->setFixedWidth(110);
    volume_->setToolTip(QStringLiteral("Volume"));
    sound->addWidget(mute_);
    sound->addWidget(volume_);
    row->addWidget(sound_);
    connect(mute_, &QToolButton::toggled, this, &EnginePanels::muteToggled);
    connect(volume_, &QSlider::valueChanged, this, &EnginePanels::volumeMoved);

    title_ = new QWidget(this);
    title_->setObjectName(QStringLiteral("titlePanel"));
    auto *titles = new QVBoxLayout(title_);
    titles->setContentsMargins(6, 2, 6, 2);
    titles->setSpacing(0);
    titleText_ = new ElidedLabel(title_);
    titleText_->setObjectName(QStringLiteral("titleText"));
    QFont bold = titleText_->font();
    bold.setBold(true);
    titleText_->setFont(bold);
    artistText_ = new ElidedLabel(title_);
    for (QLabel *l : {static_cast<QLabel *>(titleText_), static_cast<QLabel *>(artistText_)}) {
        l->setTextFormat(Qt::PlainText);
        l->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    titles->addWidget(titleText_);
    titles->addWidget(artistText_);

    status_ = new QWidget(this);
    status_->setObjectName(QStringLiteral("statusBar"));
    auto *status = rowLayout(status_);
    stateText_ = new QLabel(QStringLiteral("Arrêté"), status_);
    stateText_->setObjectName(QStringLiteral("stateText"));
    timesText_ = new QLabel(status_);
    timesText_->setObjectName(QStringLiteral("timesText"));
    status->addWidget(stateText_);
    status->addStretch(1);
    status->addWidget(timesText_);

    stack->addWidget(position_);
    stack->addWidget(row_);
    stack->addWidget(title_);
    stack->addWidget(status_);
    setTimes(0, 0);
}

QWidget *EnginePanels::makeControlButtons(QWidget *parent)
{
    auto *box = new QWidget(parent);
    auto *l = rowLayout(box);
    QToolButton *play = textButton(QStringLiteral("Lecture"), box);
    QToolButton *pause = textButton(QStringLiteral("Pause"), box);
    QToolButton *stop = textButton(QStringLiteral("Arrêt"), box);
    play->setObjectName(QStringLiteral("play"));
    pause->setObjectName(QStringLiteral("pause"));
    stop->setObjectName(QStringLiteral("stop"));
    l->addWidget(play);
    l->addWidget(pause);
    l->addWidget(stop);
    connect(play, &QToolButton::clicked, this, &EnginePanels::playClicked);
    connect(pause, &QToolButton::clicked, this, &EnginePanels::pauseClicked);
    connect(stop, &QToolButton::clicked, this, &EnginePanels::stopClicked);
    return box;
}

QWidget *EnginePanels::panel(Panel panel) const
{
    switch (panel) {
    case Panel::Controls: return controls_;
    case Panel::Sound: return sound_;
    case Panel::Position: return position_;
    case Panel::Title: return title_;
    case Panel::Status: return status_;
    }
    return nullptr;
}

void EnginePanels::setPanelShown(Panel which, bool shown)
{
    QWidget *w = panel(which);
    if (!w || w->isHidden() == !shown)
        return;
    w->setHidden(!shown);
    // The row of buttons and sound controls takes room only while one of them shows.
    row_->setHidden(controls_->isHidden() && sound_->isHidden());
    emit layoutChanged();
}

bool EnginePanels::panelShown(Panel which) const
{
    QWidget *w = panel(which);
    return w && !w->isHidden();
}

int EnginePanels::panelsHeight() const
{
    int h = 0;
    for (QWidget *w : {position_, row_, title_, status_})
        if (!w->isHidden())
            h += w->sizeHint().height();
    return h;
}

void EnginePanels::setState(const QString &text) { stateText_->setText(text); }

void EnginePanels::showFailure(const QString &why)
{
    setTitle(QString(), QString());
    setTimes(0, 0);
    timesText_->clear();
    stateText_->setText(why);
}

void EnginePanels::setTimes(double position, double duration)
{
    duration_ = std::isfinite(duration) && duration > 0 ? duration : 0;
    const double pos = std::isfinite(position) && position > 0 ? position : 0;
    timesText_->setText(clockText(pos) + QStringLiteral(" / ") + clockText(duration_, Clock::Total));
    if (bar_->isSliderDown())
        return;
    // Called at every frame: the bar moves only when its knob would move on
    // screen, or each frame would repaint it.
    // Milliseconds, or coarser steps for a stream too long to count them in
    // an int (a crafted header can claim years).
    unitsPerSecond_ = std::min(1000.0, double(std::numeric_limits<int>::max()) / std::max(duration_, 1.0));
    const int range = int(duration_ * unitsPerSecond_), value = int(std::min(pos, duration_) * unitsPerSecond_);
    const int span = std::max(bar_->width(), 1);
    if (range == bar_->maximum()
        && QStyle::sliderPositionFromValue(0, range, value, span)
               == QStyle::sliderPositionFromValue(0, range, bar_->value(), span))
        return;
    updating_ = true;
    bar_->setRange(0, range);
    bar_->setValue(value);
    updating_ = false;
}

void EnginePanels::seekToSlider(bool exact)
{
    if (duration_ > 0)
        emit seekRequested(bar_->sliderPosition() / unitsPerSecond_, exact);
}

void EnginePanels::setTitle(const QString &title, const QString &artist)
{
    titleText_->setFullText(title);
    artistText_->setFullText(artist);
    artistText_->setHidden(artist.isEmpty());
    emit layoutChanged();
}

void EnginePanels::setMuted(bool muted)
{
    const QSignalBlocker quiet(mute_);
    mute_->setChecked(muted);
}

void EnginePanels::setVolume(int hundredthsDb)
{
    const QSignalBlocker quiet(volume_);
    volume_->setValue(hundredthsDb);
}
