// The configuration dialog's frames and controls, placed in twips.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>

#include "dialogs/frm_conf.h"
#include "platform/twips.h"

namespace {
void placeTw(QWidget *w, int left, int top, int width, int height)
{
    w->setGeometry(twips::toPx(left), twips::toPx(top), twips::toPx(width), twips::toPx(height));
}

QGroupBox *makeFrame(QWidget *parent, const QString &caption, int left, int top, int width, int height)
{
    auto *f = new QGroupBox(caption, parent);
    placeTw(f, left, top, width, height);
    return f;
}

template <class W>
W *control(QWidget *parent, const QString &caption, int left, int top, int width, int height,
           const QString &tip = {})
{
    auto *w = new W(caption, parent);
    placeTw(w, left, top, width, height);
    if (!tip.isEmpty())
        w->setToolTip(tip);
    return w;
}
}  // namespace

void FrmConf::buildFrames()
{
    Frame1 = makeFrame(this, QStringLiteral("Affichage Vidéo"), 120, 120, 2535, 2295);
    Frame2 = makeFrame(this, QStringLiteral("Commandes && Affichage"), 2760, 120, 4095, 2295);
    Frame3 = makeFrame(this, QStringLiteral("Propriétes du lecteur"), 120, 2520, 6735, 1575);
    Frame6 = makeFrame(this, QStringLiteral("Options de lecture"), 120, 4200, 6735, 1935);
    Frame4 = makeFrame(this, QString(), 120, 6120, 6735, 735);

    const char *scales[] = {"Echelle 100%", "Echelle 50%", "Echelle 200%", "Plein écran", "Echelle personalisée"};
    for (int i = 0; i < 5; ++i)
        OptionVideo[i] = control<QRadioButton>(Frame1, QString::fromUtf8(scales[i]), 240, 300 + i * 375, 2175, 315);
    OptionVideo[0]->setChecked(true);

    // Frame 2, top to bottom.
    QCheckBox **checks[] = {&Check1, &Check2, &Check3, &Check4, &Check5, &Check10, &Check9, &Check11};
    const char *captions[] = {"Afficher les boutons de commande ",
                              "Afficher le curseur de son",
                              "Afficher la barre de défilement",
                              "Afficher la fenêtre de titres",
                              "Afficher la fenêtre d'état",
                              "Boutons de commande en plein écran",
                              "Afficher la barre d'outils",
                              "Fenêtre vidéo ajustée à la taille de l'écran"};
    for (int i = 0; i < 8; ++i)
        *checks[i] = control<QCheckBox>(Frame2, QString::fromUtf8(captions[i]), 120, 270 + i * 250, 3915, 255);
    Check1->setToolTip(QStringLiteral("Lecture - Pause - Stop"));

    // Frame 3: player properties on the left, border on the right and below.
    // The first box's text is the longest: the colour button sits lower.
    Check6 = control<QCheckBox>(Frame3, QStringLiteral("Rembobiner automatiquement en fin de lecture"), 120, 270, 6495, 285);
    Check7 = control<QCheckBox>(Frame3, QStringLiteral("Départ automatique en lecture"), 120, 570, 3735, 285);
    Check8 = control<QCheckBox>(Frame3, QStringLiteral("Son inactif au démarrage"), 120, 870, 3735, 285);
    Command1 = control<QPushButton>(Frame3, QStringLiteral("Couleur de bordure"), 3960, 600, 2055, 375,
                                    QStringLiteral("Affecter une couleur de bordure à la vidéo"));
    Picture1 = new QLabel(Frame3);
    placeTw(Picture1, 6120, 600, 495, 375);
    Picture1->setFrameShape(QFrame::Box);
    Picture1->setAutoFillBackground(true);
    Label1 = control<QLabel>(Frame3, QStringLiteral("Taille bordure : (en pixels)   "), 120, 1200, 2415, 255);
    HScroll1 = new QScrollBar(Qt::Horizontal, Frame3);
    placeTw(HScroll1, 2580, 1200, 3375, 255);
    HScroll1->setRange(0, 300);
    Label2 = control<QLabel>(Frame3, QStringLiteral("0"), 6060, 1200, 555, 255);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Frame 4: the two commands.
    Command2 = control<QPushButton>(Frame4, QStringLiteral("&Appliquer..."), 1200, 180, 1815, 375);
    Command3 = control<QPushButton>(Frame4, QStringLiteral("&Fermer"), 3720, 180, 1815, 375);
}

void FrmConf::buildOptions()
{
    OptionRepet = control<QRadioButton>(Frame6, QStringLiteral("Répéter automatiquement"), 120, 270, 2775, 285);
    OptionLire = control<QRadioButton>(Frame6, QStringLiteral("Lire"), 3120, 270, 795, 285);
    OptionRepet->setChecked(true);
    Text1 = new QLineEdit(QStringLiteral("1"), Frame6);
    placeTw(Text1, 3960, 255, 615, 315);
    Label3 = control<QLabel>(Frame6, QStringLiteral("fois"), 4680, 270, 495, 285);
    lblRefused = control<QLabel>(Frame6, QString(), 5160, 270, 1515, 285);
    lblRefused->setStyleSheet(QStringLiteral("color: #b00000;"));

    Check13 = control<QCheckBox>(Frame6, QStringLiteral("Liste M3U en boucle"), 120, 630, 2775, 285);
    Check12 = control<QCheckBox>(Frame6, QStringLiteral("Arrêt du programme en fin de lecture"), 3120, 630, 3495, 285,
                                 QStringLiteral("Quitte le programme après une lecture unique"));

    Label4 = control<QLabel>(Frame6, QStringLiteral("Volume"), 120, 1020, 1215, 255);
    Label5 = control<QLabel>(Frame6, QStringLiteral("Balance"), 3480, 1020, 1095, 255);
    Label6 = control<QLabel>(Frame6, QStringLiteral("--- | ---"), 4620, 1020, 855, 255, QStringLiteral("Balance à zéro"));
    Label6->setAlignment(Qt::AlignCenter);
    Label6->setCursor(Qt::PointingHandCursor);

    Slider1 = new QSlider(Qt::Horizontal, Frame6);
    placeTw(Slider1, 120, 1320, 3135, 435);
    Slider1->setRange(-2000, 0);
    Slider1->setSingleStep(50);
    Slider1->setPageStep(200);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setTickInterval(200);
    // The usual volume until the settings say otherwise.
    Slider1->setValue(-100);
    Slider2 = new QSlider(Qt::Horizontal, Frame6);
    placeTw(Slider2, 3480, 1320, 3135, 435);
    Slider2->setRange(-9500, 9500);
    Slider2->setSingleStep(250);
    Slider2->setPageStep(950);
    Slider2->setTickPosition(QSlider::TicksBelow);
    Slider2->setTickInterval(950);
}
