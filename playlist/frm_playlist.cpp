#include "playlist/frm_playlist.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QScopedValueRollback>
#include <QTimer>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QGroupBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QShowEvent>

#include "app/app_context.h"
#include "app/frm_solvane.h"
#include "platform/image_control.h"
#include "platform/twips.h"
#include "platform/user_message.h"
#include "platform/window_states.h"
#include "platform/window_drag.h"
#include "playback/mplayer.h"
#include "playlist/playlist_file.h"

namespace {

constexpr int kWidthTw = 5370;
const QString kOpenTitle = QStringLiteral("Charger une liste MP3");
const QString kOpenFilter = QStringLiteral("Liste de piste MP3(*.M3U)|*.M3U|Liste PLS (*.PLS)|*.PLS");
const QString kSaveTitle = QStringLiteral("Enregistrer la liste sous");
const QString kSaveFilter = QStringLiteral("Liste de pistes MP3  (*.M3U)|*.M3U");

// An entry kept as UTF-8 until someone changes its text: a long list holds
// tens of thousands of entries, and the list box's own items would keep each
// one twice as large, in a separate block.
class EntryItem : public QListWidgetItem
{
public:
    explicit EntryItem(const QByteArray &utf8) : utf8_(utf8), compact_(true) {}
    explicit EntryItem(const QString &text)
    {
        // Text that would not come back the same is kept as it is.
        if (!text.isValidUtf16()) {
            QListWidgetItem::setData(Qt::DisplayRole, text);
            return;
        }
        utf8_ = text.toUtf8();
        utf8_.squeeze();
        compact_ = true;
    }

    QVariant data(int role) const override
    {
        if (compact_ && (role == Qt::DisplayRole || role == Qt::EditRole))
            return QString::fromUtf8(utf8_);
        return QListWidgetItem::data(role);
    }

    void setData(int role, const QVariant &value) override
    {
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            compact_ = false;
            utf8_ = QByteArray();
        }
        QListWidgetItem::setData(role, value);
    }

private:
    QByteArray utf8_;
    bool compact_ = false;
};

// A disabled button looks faded; the image control itself paints the same
// picture whatever its state.
void setButtonEnabled(QWidget *button, bool enabled)
{
    if (button->isEnabled() == enabled && (enabled || button->graphicsEffect()))
        return;
    button->setEnabled(enabled);
    if (enabled) {
        button->setGraphicsEffect(nullptr);
    } else {
        auto *fade = new QGraphicsOpacityEffect(button);
        fade->setOpacity(0.3);
        button->setGraphicsEffect(fade);
    }
}

}  // namespace

frmPlayList::frmPlayList(App &app) : Form(app, Id, nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Form1"));
    // Shown with the main window's open face, it leaves the focus there; its
    // buttons explain themselves whichever window is active.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setClientSizeTw(kWidthTw, 3435);
    setAcceptDrops(true);
    // The thin margin around the skin picture: a dark edge, not the light
    // default of windows.
    QPalette edge = palette();
    edge.setColor(QPalette::Window, QColor(0x0c, 0x10, 0x17));
    setPalette(edge);
    setAutoFillBackground(true);
    QFile style(QStringLiteral(":/playlist/playlist.qss"));
    if (style.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(style.readAll()));
    buildControls();
}

void frmPlayList::buildControls()
{
    struct Button {
        ImageControl *&control;
        int left, top, width, height;
        const char *picture, *tip;
    };
    imgPlayList = new ImageControl(this);
    imgPlayList->setGeometryTw(40, 30, 5295, 3375);
    imgPlayList->setPicture(QStringLiteral(":/playlist/skin.svg"));

    const Button buttons[] = {
        {ImgOuvrir, 120, 80, 450, 450, ":/playlist/open.svg", "Ouvrir un fichier liste M3U"},
        {Image1, 840, 80, 450, 450, ":/playlist/save.svg", "Enregistrer la liste"},
        {ImgUP, 4920, 840, 400, 400, ":/playlist/up.svg", "Déplacer vers le haut"},
        {ImgDW, 4920, 1440, 400, 400, ":/playlist/down.svg", "Déplacer vers le bas"},
        {ImgDEL, 4920, 2040, 400, 400, ":/playlist/delete.svg", "Supprimer l'entrée sélectionnée"},
        {imgExit, 4920, 0, 375, 255, "", "::- Close -::"},
    };
    Frame1 = new QGroupBox(QStringLiteral("Liste"), this);
    Frame1->setGeometry(twips::toPx(120), twips::toPx(480), twips::toPx(4815), twips::toPx(2535));
    QFont frameFont(QStringLiteral("MS Sans Serif"));
    frameFont.setPointSizeF(8.25);
    Frame1->setFont(frameFont);

    LstPlay = new QListWidget(this);
    LstPlay->setGeometry(twips::toPx(360), twips::toPx(720), twips::toPx(4455), twips::toPx(2205));
    LstPlay->setSelectionMode(QAbstractItemView::SingleSelection);
    LstPlay->setSortingEnabled(false);
    LstPlay->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row has the same height: long lists lay out without measuring
    // each entry.
    LstPlay->setUniformItemSizes(true);
    LstPlay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The end of a path, the file name, is what tells entries apart.
    LstPlay->setTextElideMode(Qt::ElideLeft);
    LstPlay->installEventFilter(this);
    LstPlay->viewport()->installEventFilter(this);

    for (const Button &b : buttons) {
        b.control = new ImageControl(this);
        b.control->setGeometryTw(b.left, b.top, b.width, b.height);
        b.control->setPicture(QString::fromLatin1(b.picture));
        b.control->setToolTip(QString::fromUtf8(b.tip));
        b.control->setCursor(Qt::PointingHandCursor);
    }

    connect(ImgOuvrir, &ImageControl::Click, this, &frmPlayList::ImgOuvrir_Click);
    connect(Image1, &ImageControl::Click, this, &frmPlayList::Image1_Click);
    connect(ImgUP, &ImageControl::Click, this, &frmPlayList::ImgUP_Click);
    connect(ImgDW, &ImageControl::Click, this, &frmPlayList::ImgDW_Click);
    connect(ImgDEL, &ImageControl::Click, this, &frmPlayList::ImgDEL_Click);
    connect(imgExit, &ImageControl::Click, this, &frmPlayList::imgExit_Click);
    connect(imgPlayList, &ImageControl::MouseMove, this, &frmPlayList::imgPlayList_MouseMove);
    connect(imgPlayList, &ImageControl::MouseUp, this, &frmPlayList::dockMainWindow);
    connect(imgPlayList, &ImageControl::Click, this, &frmPlayList::dockMainWindow);
}

int frmPlayList::ListCount() const { return int(LstPlay->count()); }

int frmPlayList::ListIndex() const
{
    // The highlighted row; a row that is merely current (ctrl-click took its
    // selection away) is not the current entry.
    const QModelIndexList rows = LstPlay->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}

void frmPlayList::setListIndex(int index)
{
    if (index < 0 || index >= LstPlay->count()) {
        LstPlay->setCurrentRow(-1);
        LstPlay->clearSelection();
    } else {
        LstPlay->setCurrentRow(index);
    }
}

QString frmPlayList::List(int index) const
{
    const QListWidgetItem *item = LstPlay->item(index);
    return item ? item->text() : QString();
}

QString frmPlayList::selectedText() const { return List(ListIndex()); }

QStringList frmPlayList::entries() const
{
    QStringList out;
    out.reserve(LstPlay->count());
    for (int i = 0; i < LstPlay->count(); ++i)
        out << LstPlay->item(i)->text();
    return out;
}

bool frmPlayList::AddItem(const QString &entry) { return AddItems({entry}).isEmpty(); }

QStringList frmPlayList::AddItems(const QStringList &entries)
{
    QStringList leftOut;
    if (entries.isEmpty())
        return leftOut;
    int badNames = 0;
    for (const QString &entry : entries) {
        if (!playlist::isEntryName(entry)) {
            ++badNames;
            leftOut << entry;
        } else if (ListCount() >= playlist::kMaxEntries) {
            leftOut << entry;
        } else {
            LstPlay->addItem(new EntryItem(entry));
        }
    }
    SetUpDn();
    tellLeftOut(badNames, int(leftOut.size()) - badNames);
    return leftOut;
}

void frmPlayList::tellLeftOut(int badNames, int overCap)
{
    QStringList lines;
    if (badNames == 1)
        lines << QStringLiteral("1 fichier n'a pas été ajouté à la liste : son nom contient un saut de ligne ou un "
                                "caractère nul.");
    else if (badNames > 1)
        lines << QStringLiteral("%1 fichiers n'ont pas été ajoutés à la liste : leur nom contient un saut de ligne "
                                "ou un caractère nul.").arg(badNames);
    if (overCap == 1)
        lines << QStringLiteral("1 fichier n'a pas été ajouté : la liste est pleine (%1 entrées).")
                     .arg(playlist::kMaxEntries);
    else if (overCap > 1)
        lines << QStringLiteral("%1 fichiers n'ont pas été ajoutés : la liste est pleine (%2 entrées).")
                     .arg(overCap)
                     .arg(playlist::kMaxEntries);
    if (!lines.isEmpty())
        tellUser(this, lines.join(u'\n'));
}

void frmPlayList::Clear()
{
    const bool hadEntries = LstPlay->count() > 0;
    LstPlay->clear();
    if (hadEntries)
        SetUpDn();
}

bool frmPlayList::loadList(const QString &path)
{
    // A load runs whole, without letting other events in: an open, a drop or
    // a double-click waiting in the queue runs after it and sees the new
    // list. A load asked for from inside this one waits its turn the same way.
    if (loading_) {
        QTimer::singleShot(0, this, [this, path] { loadList(path); });
        return true;
    }
    const QScopedValueRollback<bool> busy(loading_, true);
    // An unknown kind of file or one that cannot be read leaves the
    // playlist alone.
    const std::optional<playlist::ListRead> read = playlist::readPlaylist(path);
    if (!read)
        return false;
    LstPlay->clear();
    for (const QByteArray &entry : read->entries)
        LstPlay->addItem(new EntryItem(entry));
    SetUpDn();
    tellLeftOut(read->leftOut, 0);
    if (!read->complete || ListCount() == 0)
        return true;
    setListIndex(0);
    hide();
    if (FrmSolvane *main = app().Solvane())
        main->hideToTray();
    PlaySelected(app());
    return true;
}

void frmPlayList::SetUpDn()
{
    const bool any = ListCount() > 0;
    setButtonEnabled(ImgUP, any);
    setButtonEnabled(ImgDW, any);
    setButtonEnabled(ImgDEL, true);
}

void frmPlayList::MovePLe(int step)
{
    const int i = ListIndex();
    if (i < 0)
        return;
    const int j = i + step;
    if (j < 0 || j >= ListCount())
        return;
    // A swap of two texts: the entries in between stay where they are.
    const QString kept = List(i);
    LstPlay->item(i)->setText(List(j));
    LstPlay->item(j)->setText(kept);
    setListIndex(j);
}

void frmPlayList::dockMainWindow()
{
    FrmSolvane *main = app().Solvane();
    if (!main)
        return;
    main->moveTw(twLeft(), twTop() - main->twHeight());
}

void frmPlayList::dockMainWindowAt(QPoint topLeft)
{
    if (FrmSolvane *main = app().Solvane())
        main->move(topLeft.x(), topLeft.y() - main->frameGeometry().height());
}

void frmPlayList::dropFiles(const QStringList &files)
{
    if (files.size() == 1 && playlist::listFormat(files.constFirst()) != playlist::ListFormat::Unknown) {
        loadList(files.constFirst());
        return;
    }
    QStringList media;
    for (const QString &file : files) {
        if (playlist::listFormat(file) == playlist::ListFormat::Unknown && !QFileInfo(file).isDir())
            media << file;
    }
    AddItems(media);
}

void frmPlayList::ImgOuvrir_Click() { OuvrirListe(); }
void frmPlayList::Image1_Click() { EnregistrerListe(); }
void frmPlayList::ImgUP_Click() { MovePLe(-1); }
void frmPlayList::ImgDW_Click() { MovePLe(+1); }

void frmPlayList::ImgDEL_Click()
{
    int i = ListIndex();
    if (i >= 0) {
        delete LstPlay->takeItem(i);
        if (i > ListCount() - 1)
            i = ListCount() - 1;
        setListIndex(i);
    }
    SetUpDn();
}

void frmPlayList::imgExit_Click() { hide(); }

void frmPlayList::closeEvent(QCloseEvent *event)
{
    event->ignore();
    hide();
}

void frmPlayList::showEvent(QShowEvent *event)
{
    Form::showEvent(event);
    // A part of the main window: not a window of its own to switch to.
    if (!event->spontaneous())
        skipTaskbarAndPager(this);
}

void frmPlayList::resizeEvent(QResizeEvent *event)
{
    Form::resizeEvent(event);
    // As wide as the main window above it: the skin fills the window, the
    // list grows or shrinks and the buttons keep to the right edge.
    const int grow = width() - twips::toPx(kWidthTw);
    imgPlayList->setGeometry(rect());
    Frame1->setGeometry(twips::toPx(120), twips::toPx(480), twips::toPx(4815) + grow, twips::toPx(2535));
    LstPlay->setGeometry(twips::toPx(360), twips::toPx(720), twips::toPx(4455) + grow, twips::toPx(2205));
    for (ImageControl *right : {ImgUP, ImgDW, ImgDEL, imgExit})
        right->move(twips::toPx(4920) + grow, right->y());
}

void frmPlayList::LstPlay_DblClick() { PlaySelected(app()); }

void frmPlayList::imgPlayList_MouseMove(int button)
{
    // The left button alone drags; the main window follows as we move.
    if (button != 1)
        return;
    dragWindow(this, [this](QPoint at) { dockMainWindowAt(at); });
}

void frmPlayList::OuvrirListe()
{
    CommonDialog &dlg = CommonDialog1;
    dlg.prepare(kOpenTitle, kOpenFilter, CommonDialog::HideReadOnly, 1);
    // The file name is left as the last dialog set it.
    if (!dlg.ShowOpen(this))
        return;
    loadList(dlg.FileName);
}

void frmPlayList::EnregistrerListe()
{
    CommonDialog &dlg = CommonDialog1;
    dlg.prepare(kSaveTitle, kSaveFilter, CommonDialog::OverwritePrompt, 1);
    dlg.FileName = QString();
    if (!dlg.ShowSave(this))
        return;
    if (!playlist::writeM3U(dlg.FileName, entries()))
        tellUser(this, QStringLiteral("La liste n'a pas pu être enregistrée :\n%1").arg(dlg.FileName));
}

bool frmPlayList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == LstPlay && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Delete) {
            ImgDEL_Click();
            return true;
        }
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            LstPlay_DblClick();
            return true;
        }
    } else if (watched == LstPlay->viewport() && event->type() == QEvent::MouseButtonDblClick) {
        // Anywhere in the list box, like the list box's own double-click.
        // The entry under the pointer is the one meant, even before the view
        // has handled the click.
        const auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() == Qt::LeftButton) {
            if (QListWidgetItem *item = LstPlay->itemAt(me->position().toPoint()))
                setListIndex(LstPlay->row(item));
            LstPlay_DblClick();
        }
    }
    return Form::eventFilter(watched, event);
}

void frmPlayList::dragEnterEvent(QDragEnterEvent *event)
{
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            event->acceptProposedAction();
            return;
        }
    }
}

void frmPlayList::dropEvent(QDropEvent *event)
{
    QStringList files;
    for (const QUrl &url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    dropFiles(files);
}
