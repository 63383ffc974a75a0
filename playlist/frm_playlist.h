#pragma once
#include "platform/common_dialog.h"
#include "platform/form.h"
#include "platform/form_registry.h"

class ImageControl;
class QGroupBox;
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
    QStringList entries() const;
    // Adding and removing entries runs SetUpDn. A name with a line break or
    // a NUL in it never enters the list, nor anything past kMaxEntries
    // entries: the user is told how many were left out, and they are
    // returned.
    bool AddItem(const QString &entry);
    QStringList AddItems(const QStringList &entries);
    void Clear();

    // Reads a list file into the playlist and plays its first entry; false
    // when the file could not be read, which leaves the playlist alone.
    bool loadList(const QString &path);
    void SetUpDn();
    void MovePLe(int step);

    // Moves the main window onto this one: bottom edge on our top, left
    // edges aligned.
    void dockMainWindow();
    void dockMainWindowAt(QPoint topLeft);

    // Files dropped on the window: one list file is loaded, media files are
    // appended.
    void dropFiles(const QStringList &files);

    // Handlers.
    void ImgOuvrir_Click();
    void Image1_Click();
    void ImgUP_Click();
    void ImgDW_Click();
    void ImgDEL_Click();
    void imgExit_Click();
    void LstPlay_DblClick();
    void imgPlayList_MouseMove(int button);

    ImageControl *imgPlayList, *ImgOuvrir, *Image1, *ImgUP, *ImgDW, *ImgDEL, *imgExit;
    QGroupBox *Frame1;
    // One dialog for opening and saving: the file name chosen in one is
    // still there when the open dialog shows next.
    CommonDialog CommonDialog1;

protected:
    // The window holds the only copy of the playlist: a close from the
    // window manager (Alt+F4, the window menu) only hides it.
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildControls();
    void OuvrirListe();
    void EnregistrerListe();
    void tellLeftOut(int badNames, int overCap);

    bool loading_ = false;
};
