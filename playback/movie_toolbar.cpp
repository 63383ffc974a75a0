#include "playback/movie_toolbar.h"

#include <QAction>
#include <QActionGroup>

QIcon ImageList1::ListImages(int number)
{
    if (number < 1 || number > kCount)
        return {};
    return QIcon(QStringLiteral(":/toolbar/tb%1.svg").arg(number, 2, 10, QLatin1Char('0')));
}

namespace {
struct ButtonDesign
{
    MovieToolbar::Style style;
    int picture;  // 0: none
    bool pressed;
    const char *toolTip;
};

using S = MovieToolbar::Style;
// Picture 2 is used by no button; 8 and 9 sit crosswise on buttons 8 and 9.
const ButtonDesign kDesign[MovieToolbar::kButtonCount] = {
    {S::Normal, 1, false, "Lecture"},
    {S::Normal, 3, false, "Pause"},
    {S::Normal, 4, false, "Fermer"},
    {S::Separator, 0, false, ""},
    {S::Group, 5, false, "Echelle 100%"},
    {S::Group, 6, false, "Echelle 50%"},
    {S::Group, 7, false, "Echelle 200%"},
    {S::Group, 9, false, "Plein ecran"},
    {S::Group, 8, false, "Echelle personalisée"},
    {S::Separator, 0, false, ""},
    {S::Check, 10, true, "Boutons de commande"},
    {S::Check, 11, true, "Contrôle du son"},
    {S::Check, 12, true, "Afficher la barre de défilement"},
    {S::Check, 13, true, "Fenêtre de Titres"},
    {S::Check, 14, true, "Barre d'état"},
    {S::Separator, 0, false, ""},
    {S::Normal, 15, false, "Configuration du lecteur"},
    {S::Normal, 16, false, "Fermer et quitter Solvane"},
    {S::Normal, 17, false, "A propos"},
    {S::Normal, 18, false, "Aide"},
};
}  // namespace

MovieToolbar::MovieToolbar(QWidget *parent) : QToolBar(parent)
{
    setMovable(false);
    setFloatable(false);
    setIconSize(QSize(16, 16));
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setContextMenuPolicy(Qt::PreventContextMenu);

    scales_ = new QActionGroup(this);
    scales_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);

    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDesign &d = kDesign[i];
        styles_[i] = d.style;
        if (d.style == Style::Separator) {
            buttons_[i] = addSeparator();
            continue;
        }
        const QString tip = QString::fromUtf8(d.toolTip);
        QAction *a = addAction(ImageList1::ListImages(d.picture), tip);
        a->setToolTip(tip);
        if (d.style != Style::Normal) {
            a->setCheckable(true);
            a->setChecked(d.pressed);
        }
        if (d.style == Style::Group)
            scales_->addAction(a);
        const int index = i + 1;
        connect(a, &QAction::triggered, this, [this, index] { emit ButtonClick(index); });
        buttons_[i] = a;
    }
}

QAction *MovieToolbar::button(int index) const
{
    return index >= 1 && index <= kButtonCount ? buttons_[index - 1] : nullptr;
}

MovieToolbar::Style MovieToolbar::style(int index) const
{
    return index >= 1 && index <= kButtonCount ? styles_[index - 1] : Style::Separator;
}

int MovieToolbar::value(int index) const
{
    const QAction *a = button(index);
    return a && a->isChecked() ? 1 : 0;
}

bool MovieToolbar::setValue(int index, int value)
{
    QAction *a = button(index);
    if (!a || !a->isCheckable() || (value != 0 && value != 1))
        return false;
    a->setChecked(value == 1);
    return true;
}

void MovieToolbar::click(int index)
{
    QAction *a = button(index);
    if (a && !a->isSeparator())
        a->trigger();
}
