#pragma once
#include <QTextBrowser>
#include <optional>

// The help document's text: a regular file (a link to one counts) of at most
// a megabyte of UTF-8. nullopt for anything else, a FIFO or a device among
// them, which is never read.
std::optional<QString> readHelpDocument(const QString &path);

// The help window's page. It reads its own document and nothing else: no
// other file, no picture, no style sheet named in it, and a link to another
// file leads nowhere. Links to the web open in the desktop's browser.
class HelpBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;
    // The one file this page reads.
    void setDocumentFile(const QString &path) { documentFile_ = path; }
    QVariant loadResource(int type, const QUrl &name) override;

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;

private:
    bool isDocument(const QUrl &name) const;

    QString documentFile_;
};
