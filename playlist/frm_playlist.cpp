#include "playlist/frm_playlist.h"

#include <QListWidget>

#include "app/app_context.h"

frmPlayList::frmPlayList(App &app) : Form(app, Id, nullptr, Qt::Tool | Qt::FramelessWindowHint)
{
    setWindowTitle(QStringLiteral("Form1"));
    setClientSizeTw(5370, 3435);
    LstPlay = new QListWidget(this);
}

int frmPlayList::ListCount() const { return int(LstPlay->count()); }
int frmPlayList::ListIndex() const { return LstPlay->currentRow(); }
void frmPlayList::setListIndex(int index)
{
    if (index < 0 || index >= LstPlay->count())
        LstPlay->setCurrentRow(-1);
    else
        LstPlay->setCurrentRow(index);
}
QString frmPlayList::List(int index) const
{
    const QListWidgetItem *item = LstPlay->item(index);
    return item ? item->text() : QString();
}
QString frmPlayList::selectedText() const { return List(ListIndex()); }
void frmPlayList::AddItem(const QString &entry) { LstPlay->addItem(entry); }
void frmPlayList::AddItems(const QStringList &entries) { LstPlay->addItems(entries); }
void frmPlayList::Clear() { LstPlay->clear(); }
void frmPlayList::loadList(const QString &) {}
void frmPlayList::SetUpDn() {}
void frmPlayList::MovePLe(int) {}
