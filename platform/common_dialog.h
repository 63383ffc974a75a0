#pragma once
#include <QColor>
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The open, save and colour dialogs as the windows drive them: properties set
// one by one, then Show*. A filter is "label|patterns|label|patterns…" with
// patterns separated by ";" and matched without regard to case. The filter
// index is 1-based. Show* returns false when the user cancels (the windows
// treat that as the error that ends their handler).
class CommonDialog
{
public:
    enum Flag { OverwritePrompt = 2, HideReadOnly = 4 };
    enum class Kind { Open, Save, Color };

    QString DialogTitle;
    QString Filter;
    int FilterIndex = 0;
    int Flags = 0;
    QString FileName;
    QString InitDir;
    bool CancelError = false;
    quint32 Color = 0;  // 0x00BBGGRR

    // Readies the dialog as the windows do before each use: cancel reported
    // as an error, no initial folder, then title, filter, flags and filter.
    void prepare(const QString &title, const QString &filter, int flags, int filterIndex);

    bool ShowOpen(QWidget *parent = nullptr);
    bool ShowSave(QWidget *parent = nullptr);
    bool ShowColor(QWidget *parent = nullptr);

    // Qt's name filters for `Filter`: labels shown as written, patterns made
    // case-insensitive.
    static QStringList qtNameFilters(const QString &filter);
    static QString caseInsensitivePattern(const QString &pattern);

    // Tests answer the dialogs in place of a user: the responder fills the
    // dialog's properties and returns false for cancel.
    using Responder = std::function<bool(CommonDialog &, Kind)>;
    static void setResponder(Responder responder);

private:
    bool showFileDialog(QWidget *parent, Kind kind);
};
