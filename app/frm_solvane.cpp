#include "app/frm_solvane.h"

#include <QGuiApplication>
#include <QLabel>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QScreen>

#include "app/app_context.h"
#include "platform/image_control.h"
#include "platform/single_instance.h"
#include "platform/tray_icon.h"
#include "platform/twips.h"
#include "platform/window_states.h"
#include "playback/player_keys.h"
#include "playlist/frm_playlist.h"

namespace {
const char *kClosedFace = ":/skin/main_closed.svg";
const char *kOpenFace = ":/skin/main_open.svg";
}  // namespace

FrmSolvane::FrmSolvane(App &app) : Form(app, Id, nullptr, kToolWindow)
{
    setWindowTitle(QStringLiteral("Solvane"));
    setWindowIcon(QIcon(QStringLiteral(":/skin/icon.svg")));
    // The skin's zones explain themselves also while another window is active.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setFixedSize(twips::toPx(5280), twips::toPx(1545));
    buildSkin();
    installPlayerKeys(this);
    // Design-time place: near the top of the screen, centred.
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        move(avail.center().x() - width() / 2, avail.top() + avail.height() / 6);
    }
    TCount.setInterval(1000);
    TSlider.setInterval(1000);
    connect(&TCount, &QTimer::timeout, this, &FrmSolvane::TCount_Timer);
    connect(&TSlider, &QTimer::timeout, this, &FrmSolvane::TSlider_Timer);
    TCount.start();
    TSlider.start();
}

FrmSolvane::~FrmSolvane() = default;

void FrmSolvane::buildSkin()
{
    struct Zone {
        ImageControl *&control;
        int left, top, width, height;
        const char *tip;
    };
    imgMain = new ImageControl(this);
    imgMain->setGeometryTw(0, 0, 5295, 1575);
    imgMain->setPicture(QString::fromLatin1(kClosedFace));

    const Zone zones[] = {
        {imgLock, 120, 120, 255, 255, "Fermer le lecteur"},
        {imgUnLock, 2040, 120, 615, 375, "Ouvrir le lecteur"},
        {ImgConf, 120, 360, 255, 735, "Configuration du lecteur"},
        {imgOpen, 240, 1200, 255, 255, "Ouvrir un fichier"},
        {imgPlay, 480, 1200, 255, 255, "Lecture"},
        {imgStop, 720, 1200, 255, 255, "Arrêt"},
        {ImgPause, 960, 1200, 255, 255, "Pause"},
        {imgSlider, 1320, 1200, 375, 255, nullptr},
        {imgList, 4680, 480, 375, 495, "Afficher/Cacher la liste"},
        {ImgInfo, 4680, 1000, 345, 345, "A propos"},
        {imgMini, 4660, 220, 155, 135, "Réduire"},
        {imgExit, 4900, 220, 150, 150, "Quitter"},
    };
    for (const Zone &z : zones) {
        z.control = new ImageControl(this);
        z.control->setGeometryTw(z.left, z.top, z.width, z.height);
        if (z.tip)
            z.control->setToolTip(QString::fromUtf8(z.tip));
    }
    imgSlider->setPicture(QStringLiteral(":/skin/knob.svg"));
    ImgInfo->setPicture(QStringLiteral(":/skin/icon.svg"));

    lblCaption = new QLabel(QStringLiteral("Solvane"), this);
    lblCaption->setGeometry(twips::toPx(600), twips::toPx(480), twips::toPx(3795), twips::toPx(360));
    lblCaption->setStyleSheet(QStringLiteral("color: #00ff00; background: transparent;"));
    lblCaption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // A long path keeps its end, the file name, in view.
    lblCaption->setTextFormat(Qt::PlainText);

    lblTime = new QLabel(QStringLiteral("00:00"), this);
    // Wide enough for "mm:ss / mm:ss", and for three-digit minutes.
    lblTime->setGeometry(twips::toPx(2280), twips::toPx(840), twips::toPx(1800), twips::toPx(195));
    lblTime->setStyleSheet(QStringLiteral("color: #ffff00; background: transparent;"));
    QFont timeFont = lblTime->font();
    timeFont.setBold(true);
    timeFont.setPointSizeF(8.25);
    lblTime->setFont(timeFont);

    // The display panel is skin too: it drags the window like the rest.
    lblCaption->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblTime->setAttribute(Qt::WA_TransparentForMouseEvents);

    QFont captionFont = lblCaption->font();
    captionFont.setPointSizeF(8.25);
    lblCaption->setFont(captionFont);

    connectZones();
    buildMenu();
}

void FrmSolvane::setCaption(const QString &text)
{
    const QFontMetrics fm(lblCaption->font());
    lblCaption->setText(fm.elidedText(text, Qt::ElideLeft, lblCaption->width()));
    lblCaption->setToolTip(text);
}

void FrmSolvane::redock() { redockAt(frameGeometry().topLeft()); }

void FrmSolvane::redockAt(QPoint topLeft)
{
    frmPlayList *list = app().playList();
    if (!list)
        return;
    list->move(topLeft.x(), topLeft.y() + frameGeometry().height());
    // Exactly as wide as this window, frame included; counted in device
    // pixels, as a scaled desktop's thin frame is no whole logical pixel.
    int wide = frameGeometry().width();
    if (const auto frame = frameExtentsPx(this)) {
        const qreal ratio = devicePixelRatioF();
        wide = qRound((qRound(width() * ratio) + frame->left() + frame->right()) / ratio);
    }
    if (list->width() != wide)
        list->resize(wide, list->height());
}

void FrmSolvane::changeEvent(QEvent *e)
{
    Form::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange)
        return;
    // A window manager may offer to minimise this window: the playlist goes
    // and comes back with it.
    auto *list = static_cast<frmPlayList *>(app().forms.loaded(FormId::frmPlayList));
    if (!list)
        return;
    if (isMinimized()) {
        if (list->isVisible()) {
            listHiddenByMinimise_ = true;
            list->hide();
        }
    } else if (listHiddenByMinimise_) {
        listHiddenByMinimise_ = false;
        redock();
        list->show();
    }
}

void FrmSolvane::Form_Activate() { redock(); }

bool FrmSolvane::event(QEvent *e)
{
    // The caption lets the mouse through to the skin, which drags the
    // window; its tool tip, the full path, is shown from here.
    if (e->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(e);
        if (lblCaption->isVisible() && !lblCaption->toolTip().isEmpty()
            && lblCaption->geometry().contains(help->pos())) {
            QToolTip::showText(help->globalPos(), lblCaption->toolTip(), this, lblCaption->geometry());
            return true;
        }
    }
    return Form::event(e);
}

void FrmSolvane::mousePressEvent(QMouseEvent *e)
{
    Form::mousePressEvent(e);
    redock();
}

void FrmSolvane::imgLock_Click()
{
    imgMain->setPicture(QString::fromLatin1(kClosedFace));
    for (QWidget *w : {imgOpen, imgPlay, imgStop, imgLock})
        w->hide();
    imgUnLock->show();
    for (QWidget *w : std::initializer_list<QWidget *>{lblCaption, lblTime, imgList, imgSlider})
        w->hide();
    if (frmPlayList *list = app().playList())
        list->hide();
}

void FrmSolvane::imgUnLock_Click()
{
    imgMain->setPicture(QString::fromLatin1(kOpenFace));
    for (QWidget *w : {imgOpen, imgPlay, imgStop, imgLock})
        w->show();
    imgUnLock->hide();
    for (QWidget *w : std::initializer_list<QWidget *>{lblCaption, lblTime, imgList, imgSlider})
        w->show();
    if (frmPlayList *list = app().playList())
        list->show();
}

QString FrmSolvane::trayTipText()
{
    QString tip = QStringLiteral("  -  Solvane v1.0 - ") + QStringLiteral("Lecteur audio et vidéo libre") +
                  QStringLiteral(" -   ");
    return tip.leftJustified(64, u' ', true);
}
