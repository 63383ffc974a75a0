#pragma once
#include <QWidget>

#include "dialogs/help_browser.h"

class QToolButton;

// "Aide de Solvane": shows the help file, an HTML document, with back,
// forward and contents buttons. Links inside the document stay here; links to
// the web open in the desktop's browser.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Opens `helpFile` at its top, its contents page. A file that cannot be
    // read gives a page that says so, with its path.
    void showContents(const QString &helpFile);

    QTextBrowser *browser() const { return browser_; }
    QToolButton *backButton() const { return back_; }
    QToolButton *forwardButton() const { return forward_; }
    QToolButton *homeButton() const { return home_; }

private:
    void home();
    void step(bool forward);

    QString helpFile_;
    HelpBrowser *browser_;
    QToolButton *back_, *forward_, *home_;
};
