#include "platform/file_drop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {
QStringList localFiles(const QMimeData *mime)
{
    QStringList files;
    if (!mime)
        return files;
    for (const QUrl &url : mime->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    return files;
}

class FileDropFilter : public QObject
{
public:
    FileDropFilter(QWidget *window, std::function<void(const QStringList &)> dropped)
        : QObject(window), dropped_(std::move(dropped))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter: {
            auto *e = static_cast<QDragEnterEvent *>(event);
            if (!localFiles(e->mimeData()).isEmpty())
                e->acceptProposedAction();
            return true;
        }
        case QEvent::DragMove: {
            auto *e = static_cast<QDragMoveEvent *>(event);
            if (!localFiles(e->mimeData()).isEmpty())
                e->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto *e = static_cast<QDropEvent *>(event);
            const QStringList files = localFiles(e->mimeData());
            if (files.isEmpty())
                return true;
            e->acceptProposedAction();
            dropped_(files);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::function<void(const QStringList &)> dropped_;
};
}  // namespace

void acceptFileDrops(QWidget *window, std::function<void(const QStringList &files)> dropped)
{
    window->setAcceptDrops(true);
    window->installEventFilter(new FileDropFilter(window, std::move(dropped)));
}
