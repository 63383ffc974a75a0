#pragma once
#include "platform/form.h"
#include "platform/form_registry.h"

class QListWidget;

// The playlist window. Its list box is the playlist: the items are the
// entries in play order, the selection is the current entry.
class frmPlayList : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::frmPlayList;
    explicit frmPlayList(App &app);

    QListWidget *LstPlay = nullptr;

    // The list box as the rest of the program uses it.
    int ListCount() const;
    int ListIndex() const;            // -1 when nothing is selected
    void setListIndex(int index);     // -1 clears the selection
    QString List(int index) const;    // "" outside the list
    QString selectedText() const;
    void AddItem(const QString &entry);
    void AddItems(const QStringList &entries);
    void Clear();

    // Reads a list file into the playlist and plays its first entry.
    void loadList(const QString &path);
    void SetUpDn();
    void MovePLe(int step);
};
