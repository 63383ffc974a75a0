#include "dialogs/help_window.h"

#include <QFile>
#include <QHBoxLayout>
#include <QIcon>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>


HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Aide de Solvane"));
    setWindowIcon(QIcon(QStringLiteral(":/skin/icon.svg")));
    setAttribute(Qt::WA_DeleteOnClose);

    auto makeButton = [this](const QString &text, const QString &tip, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        b->setIcon(style()->standardIcon(icon));
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        return b;
    };
    back_ = makeButton(QStringLiteral("Précédent"), QStringLiteral("Page précédente"), QStyle::SP_ArrowBack);
    forward_ = makeButton(QStringLiteral("Suivant"), QStringLiteral("Page suivante"), QStyle::SP_ArrowForward);
    home_ = makeButton(QStringLiteral("Sommaire"), QStringLiteral("Retour au sommaire"), QStyle::SP_DirHomeIcon);
    back_->setEnabled(false);
    forward_->setEnabled(false);

    browser_ = new HelpBrowser(this);
    // http, https and mailto go to the desktop; the document's own anchors
    // stay in this window.
    browser_->setOpenExternalLinks(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(home_);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_);

    connect(back_, &QToolButton::clicked, this, [this] { step(false); });
    connect(forward_, &QToolButton::clicked, this, [this] { step(true); });
    connect(home_, &QToolButton::clicked, this, &HelpWindow::home);
    connect(new QShortcut(Qt::Key_Escape, this), &QShortcut::activated, this, &QWidget::close);
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
}

void HelpWindow::step(bool forward)
{
    // A link followed from the keyboard stays marked in the page left, and
    // coming back to the page would scroll to the mark rather than to where
    // the reader was: unmark it, keeping the view.
    QTextCursor mark = browser_->textCursor();
    if (mark.hasSelection()) {
        const int at = browser_->verticalScrollBar()->value();
        mark.clearSelection();
        browser_->setTextCursor(mark);
        browser_->verticalScrollBar()->setValue(at);
    }
    if (forward)
        browser_->forward();
    else
        browser_->backward();
}

void HelpWindow::home()
{
    // Back to the top of the file, as one more step of the history.
    if (browser_->source().isValid())
        browser_->setSource(QUrl::fromLocalFile(helpFile_), QTextDocument::HtmlResource);
    else
        showContents(helpFile_);
}

void HelpWindow::showContents(const QString &helpFile)
{
    helpFile_ = helpFile;
    // Forget the page shown before, so that the file is read again as it is
    // now and opens at its top.
    browser_->setSource(QUrl());
    browser_->setDocumentFile(helpFile);
    if (!readHelpDocument(helpFile)) {
        browser_->setHtml(QStringLiteral("<h2>Aide de Solvane</h2>"
                                         "<p>Le fichier d'aide est introuvable :</p><p><tt>%1</tt></p>")
                              .arg(helpFile.toHtmlEscaped()));
    } else {
        // The name does not say HTML; the document is HTML all the same.
        browser_->setSource(QUrl::fromLocalFile(helpFile), QTextDocument::HtmlResource);
        // The page shown last time is not read again by itself.
        browser_->reload();
    }
    browser_->clearHistory();
}
