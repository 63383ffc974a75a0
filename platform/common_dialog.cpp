#include "platform/common_dialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QTreeView>

namespace {
CommonDialog::Responder responder;
}

void CommonDialog::setResponder(Responder r) { responder = std::move(r); }

QString CommonDialog::caseInsensitivePattern(const QString &pattern)
{
    QString out;
    for (const QChar c : pattern) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            out += u'[' + c.toLower() + c.toUpper() + u']';
        else
            out += c;
    }
    return out;
}

QStringList CommonDialog::qtNameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString &p : parts[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns << caseInsensitivePattern(p.trimmed());
        out << parts[i] + QLatin1String(" (") + patterns.join(u' ') + u')';
    }
    return out;
}

bool CommonDialog::showFileDialog(QWidget *parent, Kind kind)
{
    if (responder)
        return responder(*this, kind);

    QFileDialog dialog(parent, DialogTitle, InitDir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // The labels already name their patterns; the case-folded ones would only
    // clutter the list.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = qtNameFilters(Filter);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    // Qt shows each label with its blanks squeezed, and with the details
    // hidden it reports the chosen filter by that text alone. The list box
    // of filters is read directly instead, and shows the labels as written.
    QStringList labels;
    const QStringList parts = Filter.split(u'|');
    for (int i = 0; i + 1 < parts.size(); i += 2)
        labels << parts[i];
    auto *types = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    if (types && types->count() == labels.size()) {
        for (int i = 0; i < labels.size(); ++i)
            types->setItemText(i, labels[i]);
    }
    if (kind == Kind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(Flags & OverwritePrompt));
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (!FileName.isEmpty())
        dialog.selectFile(FileName);
    // Wide enough for every column of the file list: the type and date
    // columns as wide as what they show, the names taking the rest.
    dialog.resize(dialog.sizeHint().expandedTo(QSize(900, 520)));
    if (auto *list = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = list->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(QHeaderView::ResizeToContents);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    if (types && types->count() == labels.size()) {
        FilterIndex = types->currentIndex() + 1;
    } else {
        const QString chosen = dialog.selectedNameFilter();
        qsizetype i = filters.indexOf(chosen);
        for (qsizetype k = 0; i < 0 && k < labels.size(); ++k) {
            if (labels[k].simplified() == chosen.simplified())
                i = k;
        }
        FilterIndex = int(i) + 1;
    }
    return true;
}

void CommonDialog::prepare(const QString &title, const QString &filter, int flags, int filterIndex)
{
    CancelError = true;
    InitDir.clear();
    DialogTitle = title;
    Flags = flags;
    Filter = filter;
    FilterIndex = filterIndex;
}

bool CommonDialog::ShowOpen(QWidget *parent) { return showFileDialog(parent, Kind::Open); }
bool CommonDialog::ShowSave(QWidget *parent) { return showFileDialog(parent, Kind::Save); }

bool CommonDialog::ShowColor(QWidget *parent)
{
    if (responder)
        return responder(*this, Kind::Color);
    const QColor initial(int(Color & 0xff), int((Color >> 8) & 0xff), int((Color >> 16) & 0xff));
    const QColor chosen = QColorDialog::getColor(initial, parent, DialogTitle);
    if (!chosen.isValid())
        return false;
    Color = quint32(chosen.red()) | (quint32(chosen.green()) << 8) | (quint32(chosen.blue()) << 16);
    return true;
}
