#include "dialogs/frm_apropos.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QShowEvent>

#include "dialogs/help.h"
#include "dialogs/window_centre.h"
#include "platform/image_control.h"
#include "platform/twips.h"

namespace {
QRect rectTw(int left, int top, int width, int height)
{
    return {twips::toPx(left), twips::toPx(top), twips::toPx(width), twips::toPx(height)};
}

// Light green on light blue, as the name, version and kind are drawn.
QLabel *colouredLabel(QWidget *parent, const QString &text, const QRect &place)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, QColor(128, 128, 255));
    p.setColor(QPalette::WindowText, QColor(128, 255, 128));
    label->setPalette(p);
    return label;
}
}  // namespace

FrmApropos::FrmApropos(App &app)
    : Form(app, Id, nullptr,
           Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("A Propos"));
    setWindowIcon(QIcon(QStringLiteral(":/skin/icon.svg")));
    setClientSizeTw(4455, 4125);

    Label1 = colouredLabel(this, QStringLiteral("Solvane"), rectTw(240, 120, 3975, 735));
    // The version sits in the lower part of the name's band.
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QFont title = Label1->font();
    title.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    title.setPointSizeF(13.5);
    title.setBold(true);
    title.setItalic(true);
    Label1->setFont(title);

    Label2 = colouredLabel(this, QStringLiteral("Version 1.0"), rectTw(1440, 480, 1335, 255));

    Label3 = new QLabel(QStringLiteral("Conçu et écrit par l'équipe Solvane.\nLogiciel libre."), this);
    Label3->setGeometry(rectTw(240, 960, 3975, 855));
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setWordWrap(true);

    Image1 = new ImageControl(this);
    Image1->setGeometryTw(1680, 2040, 855, 855);
    Image1->setPicture(QStringLiteral(":/skin/icon.svg"));

    Label4 = colouredLabel(this, QStringLiteral("Lecteur Multimédia Audio/Vidéo"), rectTw(240, 3000, 3975, 375));
    QFont kind = title;
    kind.setPointSizeF(9.75);
    kind.setItalic(false);
    Label4->setFont(kind);

    Command1 = new QPushButton(QStringLiteral("&OK"), this);
    Command1->setGeometry(rectTw(720, 3600, 1215, 375));
    Command1->setToolTip(QStringLiteral("Ferme la fenêtre A Propos"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("&Aide"), this);
    Command2->setGeometry(rectTw(2640, 3600, 1215, 375));
    Command2->setToolTip(QStringLiteral("Affiche l'aide"));

    connect(Command1, &QPushButton::clicked, this, &FrmApropos::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmApropos::Command2_Click);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &FrmApropos::Command1_Click);
}

void FrmApropos::Command1_Click() { Unload(); }

void FrmApropos::Command2_Click() { showHelp(app()); }

void FrmApropos::showEvent(QShowEvent *e)
{
    Form::showEvent(e);
    if (!centred_ && !e->spontaneous()) {
        centred_ = true;
        placeBesideMainWindow(this, app());
    }
}
