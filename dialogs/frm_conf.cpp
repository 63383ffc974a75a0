#include "dialogs/frm_conf.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QSlider>

#include "app/app_context.h"
#include "app/config_location.h"
#include "dialogs/conf_rules.h"
#include "dialogs/window_centre.h"
#include "engine/media_engine.h"
#include "playback/frm_movie.h"
#include "playback/movie_toolbar.h"
#include "platform/twips.h"

namespace {
constexpr int kFirstScaleButton = 5;  // toolbar buttons 5-9 are display sizes 0-4

QColor fromBgr(qint32 c) { return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff); }

// A check box takes 0 (clear) or 1 (ticked); anything else leaves it as it is.
void setCheck(QCheckBox *box, qint32 value)
{
    if (value == 0 || value == 1)
        box->setChecked(value == 1);
}
qint16 checkValue(const QCheckBox *box) { return box->isChecked() ? 1 : 0; }

// A slider or scroll bar refuses a value outside its range.
template <class W>
bool setInRange(W *w, int value)
{
    if (value < w->minimum() || value > w->maximum())
        return false;
    const QSignalBlocker quiet(w);
    w->setValue(value);
    return true;
}
}  // namespace

FrmConf::FrmConf(App &app)
    : Form(app, Id, nullptr,
           Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Configuration"));
    setWindowIcon(QIcon(QStringLiteral(":/skin/icon.svg")));
    setFixedSize(twips::toPx(6945), twips::toPx(6930));
    // The layout is fixed in twips, so the font is fixed in the same unit
    // (8 points at 96 dots an inch): a larger desktop font would clip the
    // longest texts.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);
    buildFrames();
    buildOptions();
    paintSwatch(0);

    auto *scales = new QButtonGroup(this);
    for (int i = 0; i < int(OptionVideo.size()); ++i)
        scales->addButton(OptionVideo[i], i);
    connect(scales, &QButtonGroup::idClicked, this, &FrmConf::OptionVideo_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &FrmConf::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &FrmConf::Command1_Click);
    connect(Slider1, &QSlider::valueChanged, this, &FrmConf::Slider1_Change);
    connect(Slider2, &QSlider::valueChanged, this, &FrmConf::Slider2_Change);
    connect(OptionLire, &QRadioButton::toggled, this, &FrmConf::quitAtEndRule);
    connect(OptionRepet, &QRadioButton::toggled, this, &FrmConf::quitAtEndRule);
    connect(Text1, &QLineEdit::textChanged, this, &FrmConf::quitAtEndRule);
    connect(Text1, &QLineEdit::textEdited, lblRefused, &QLabel::clear);
    auto *escape = new QShortcut(Qt::Key_Escape, this);
    connect(escape, &QShortcut::activated, this, &FrmConf::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmConf::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmConf::Command3_Click);
    Text1->installEventFilter(this);
    Label6->installEventFilter(this);
}

void FrmConf::Form_Load()
{
    // Each control takes its value on its own; one it refuses stays as it
    // was. Its handler then runs as for a change by the user.
    const Settings &s = app().settings;
    showScale(s.CfgDisplaySize);
    const std::pair<QCheckBox *, qint16> checks[] = {
        {Check1, s.CfgShowControls}, {Check2, s.CfgShowAudioControls}, {Check3, s.CfgShowPositionControls},
        {Check4, s.CfgShowDisplay},  {Check5, s.CfgShowStatusBar},      {Check10, s.CfgFullScreenControls},
        {Check9, s.CfgShowToolbar},  {Check11, s.CfgFitToScreen},       {Check6, s.CfgAutoRewind},
        {Check7, s.CfgAutoStart},    {Check8, s.CfgMute}};
    for (const auto &[box, value] : checks)
        setCheck(box, value);
    showPlayCount();
    if (s.CfgBorderColor >= 0 && s.CfgBorderColor <= 0xffffff)
        paintSwatch(s.CfgBorderColor);
    const qint16 width = s.CfgBorderWidth;
    if (setInRange(HScroll1, width))
        HScroll1_Change();
    Label2->setText(QString::number(width));
    setCheck(Check12, s.CfgExitAtEnd);
    if (setInRange(Slider1, s.CfgVolume))
        Slider1_Change();
    if (setInRange(Slider2, s.CfgBalance))
        Slider2_Change();
    setCheck(Check13, s.CfgLoopList);
}

void FrmConf::showSound()
{
    const Settings &s = app().settings;
    setInRange(Slider1, s.CfgVolume);
    setCheck(Check8, s.CfgMute);
}

void FrmConf::OptionVideo_Click(int Index)
{
    // Shown at once where a video window is there to show it.
    if (auto *movie = static_cast<frmMovie *>(app().forms.loaded(FormId::frmMovie)))
        movie->setScale(Index);
    else
        app().settings.CfgDisplaySize = qint16(Index);
}

void FrmConf::showScale(int size)
{
    if (size >= 0 && size < int(OptionVideo.size()))
        OptionVideo[size]->setChecked(true);
}

void FrmConf::showPlayCount()
{
    const qint16 count = app().settings.CfgPlayCount;
    if (count != 0) {
        OptionLire->setChecked(true);
        Text1->setText(QString::number(count));
    } else {
        OptionRepet->setChecked(true);
    }
    quitAtEndRule();
}

void FrmConf::HScroll1_Change()
{
    app().settings.CfgBorderWidth = qint16(HScroll1->value());
    Label2->setText(QString::number(HScroll1->value()));
}

void FrmConf::Slider1_Change()
{
    App &a = app();
    a.settings.CfgVolume = qint16(Slider1->value());
    if (MediaEngine *mp = a.Mp())
        mp->set(Disp::Volume, qint32(a.settings.CfgVolume));
}

void FrmConf::Slider2_Change()
{
    App &a = app();
    a.settings.CfgBalance = qint16(Slider2->value());
    if (MediaEngine *mp = a.Mp())
        mp->set(Disp::Balance, qint32(a.settings.CfgBalance));
}

void FrmConf::Label6_Click()
{
    App &a = app();
    Slider2->setValue(0);
    if (MediaEngine *mp = a.Mp())
        mp->set(Disp::Balance, 0);
    a.settings.CfgBalance = 0;
}

void FrmConf::quitAtEndRule()
{
    // Hiding keeps the tick: apply copies it all the same.
    Check12->setVisible(quitAtEndVisible(OptionLire->isChecked(), Text1->text()));
}

void FrmConf::paintSwatch(qint32 color)
{
    swatch_ = color;
    QPalette p = Picture1->palette();
    p.setColor(QPalette::Window, fromBgr(color));
    Picture1->setPalette(p);
}

void FrmConf::Command1_Click()
{
    CommonDialog1.Color = quint32(swatch_);
    CommonDialog1.Flags = 0;
    // A cancelled chooser keeps the colour it was given.
    CommonDialog1.ShowColor(this);
    const qint32 chosen = qint32(CommonDialog1.Color);
    app().settings.CfgBorderColor = chosen;
    paintSwatch(chosen);
}

void FrmConf::Command2_Click()
{
    App &a = app();
    Settings &s = a.settings;
    // Through the video window, loaded hidden when it is closed.
    frmMovie *movie = a.movie();
    MediaEngine *mp = movie ? movie->Mp() : nullptr;
    MovieToolbar *toolbar = movie ? movie->Toolbar1 : nullptr;

    if (mp)
        mp->set(Disp::DisplaySize, qint32(s.CfgDisplaySize));
    if (toolbar)
        toolbar->setValue(s.CfgDisplaySize + kFirstScaleButton, 1);

    s.CfgShowControls = checkValue(Check1);
    s.CfgShowAudioControls = checkValue(Check2);
    s.CfgShowPositionControls = checkValue(Check3);
    s.CfgShowDisplay = checkValue(Check4);
    s.CfgShowStatusBar = checkValue(Check5);
    s.CfgFullScreenControls = checkValue(Check10);
    s.CfgShowToolbar = checkValue(Check9);
    s.CfgFitToScreen = checkValue(Check11);
    s.CfgAutoRewind = checkValue(Check6);
    s.CfgAutoStart = checkValue(Check7);
    s.CfgMute = checkValue(Check8);

    s.CfgBorderColor = swatch_;
    s.CfgExitAtEnd = checkValue(Check12);
    s.CfgLoopList = checkValue(Check13);

    bool refused = false;
    if (OptionRepet->isChecked()) {
        s.CfgPlayCount = 0;
    } else if (const auto count = playCountFromText(Text1->text())) {
        s.CfgPlayCount = *count;
    } else {
        refused = true;
    }
    // What was stored, and why it is not what was typed.
    showPlayCount();
    lblRefused->setText(refused ? QStringLiteral("trop grand") : QString());
    lblRefused->setToolTip(refused ? QStringLiteral("Nombre refusé\u00a0: 32767 fois au plus") : QString());

    const std::pair<qint16 Settings::*, Disp> elements[] = {
        {&Settings::CfgShowControls, Disp::ShowControls},
        {&Settings::CfgShowAudioControls, Disp::ShowAudioControls},
        {&Settings::CfgShowPositionControls, Disp::ShowPositionControls},
        {&Settings::CfgShowDisplay, Disp::ShowDisplay},
        {&Settings::CfgShowStatusBar, Disp::ShowStatusBar},
    };
    int button = 11;
    for (const auto &[field, id] : elements) {
        if (mp)
            mp->set(id, s.*field != 0);
        if (toolbar)
            toolbar->setValue(button, s.*field);
        ++button;
    }

    if (toolbar)
        toolbar->setShown(s.CfgShowToolbar != 0);
    if (mp) {
        mp->set(Disp::EnableFullScreenControls, s.CfgFullScreenControls != 0);
        mp->set(Disp::AutoRewind, s.CfgAutoRewind != 0);
        mp->set(Disp::AutoStart, s.CfgAutoStart != 0);
        mp->set(Disp::Mute, s.CfgMute != 0);
        mp->set(Disp::PlayCount, qint32(s.CfgPlayCount));
        mp->set(Disp::VideoBorderColor, qint32(s.CfgBorderColor));
        mp->set(Disp::VideoBorderWidth, qint32(s.CfgBorderWidth));
    }
    if (toolbar)
        toolbar->setShown(s.CfgShowToolbar != 0);
    if (movie)
        movie->verticalLayout();

    s.CfgVolume = qint16(Slider1->value());
    if (mp)
        mp->set(Disp::Volume, qint32(s.CfgVolume));
    s.CfgBalance = qint16(Slider2->value());
    if (mp)
        mp->set(Disp::Balance, qint32(s.CfgBalance));

    if (movie)
        movie->setMaximized(s.CfgFitToScreen != 0);

    // Never a silent failure: the settings stay in force for this run all
    // the same, and the user learns they will not outlive it.
    const QStringList failed = saveSettingsFile(a.CfgPath, s);
    delete findChild<QMessageBox *>();
    if (failed.isEmpty())
        return;
    auto *box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Configuration"),
                                QStringLiteral("Les réglages n'ont pas pu être enregistrés :\n\n%1\n\n"
                                               "Ils restent en vigueur jusqu'à la fermeture du programme.")
                                    .arg(failed.join(QLatin1Char('\n'))),
                                QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

void FrmConf::Command3_Click() { Unload(); }

bool FrmConf::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Text1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Only typed characters are filtered: editing keys and shortcuts
        // (Delete, arrows, Ctrl+A/C/X/V/Z) carry control codes or none.
        const QString typed = key->text();
        const bool shortcut = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (!shortcut && !typed.isEmpty() && typed.front().isPrint() && !countKeyAccepted(typed.front()))
            return true;
    }
    if (watched == Label6 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && Label6->rect().contains(mouse->position().toPoint())) {
            Label6_Click();
            return true;
        }
    }
    return Form::eventFilter(watched, event);
}

void FrmConf::showEvent(QShowEvent *e)
{
    Form::showEvent(e);
    if (!centred_ && !e->spontaneous()) {
        centred_ = true;
        placeBesideMainWindow(this, app());
    }
}
