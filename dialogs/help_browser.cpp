#include "dialogs/help_browser.h"

#include <QFileInfo>
#include <QStringDecoder>

#include "platform/text_file.h"

namespace {
// The help file is a few tens of kilobytes.
constexpr qint64 kMaxHelpBytes = 1024 * 1024;
}  // namespace

std::optional<QString> readHelpDocument(const QString &path)
{
    QFile file;
    if (!openRegularFile(file, path) || file.size() > kMaxHelpBytes)
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxHelpBytes + 1);
    if (bytes.size() > kMaxHelpBytes || bytes.contains('\0'))
        return std::nullopt;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return std::nullopt;
    return text;
}

bool HelpBrowser::isDocument(const QUrl &name) const
{
    return !documentFile_.isEmpty() && name.isLocalFile() &&
           QFileInfo(name.toLocalFile()).absoluteFilePath() == QFileInfo(documentFile_).absoluteFilePath();
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    if (type != QTextDocument::HtmlResource || !isDocument(name))
        return {};
    const std::optional<QString> text = readHelpDocument(documentFile_);
    return text ? QVariant(*text) : QVariant();
}

void HelpBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    // The document's own anchors, and going back to it; any other file stays unread.
    if (name.isEmpty() || isDocument(name) || (name.isRelative() && name.path().isEmpty()))
        QTextBrowser::doSetSource(name, type);
}
