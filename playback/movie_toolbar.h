#pragma once
#include <QIcon>
#include <QToolBar>
#include <array>

class QAction;
class QActionGroup;

// ImageList1: the toolbar's pictures, 16 x 16, numbered from 1. They are
// drawn on a transparent background (light grey was the transparent colour).
namespace ImageList1 {
inline constexpr int kCount = 18;
// A null icon outside 1 to kCount.
QIcon ListImages(int number);
}  // namespace ImageList1

// Toolbar1: twenty buttons numbered from 1, pictures only, tool tips in
// French. Check buttons flip their pressed state on each click; the group
// buttons 5 to 9 behave as one set of options. Every click of a button that
// is not a separator reaches ButtonClick after the state has changed.
class MovieToolbar : public QToolBar
{
    Q_OBJECT
public:
    enum class Style { Normal, Check, Group, Separator };
    static constexpr int kButtonCount = 20;
    static constexpr int kHeightTw = 420;

    explicit MovieToolbar(QWidget *parent = nullptr);

    // nullptr outside 1 to 20; separators are actions too.
    QAction *button(int index) const;
    Style style(int index) const;

    // Pressed state: 0 not pressed, 1 pressed. Pressing a group button
    // releases the other group buttons. Only check and group buttons hold a
    // state, and only 0 and 1 are accepted: anything else is refused (false)
    // and the state stays.
    int value(int index) const;
    bool setValue(int index, int value);

    // As a click of the user: the state changes first, then ButtonClick.
    void click(int index);

    // The toolbar's Visible property. The window reads it to lay itself out
    // and may keep the toolbar off screen all the same (full screen), so it
    // is not the widget's own visibility.
    bool shown() const { return shown_; }
    void setShown(bool shown) { shown_ = shown; }

signals:
    void ButtonClick(int Button);

private:
    std::array<QAction *, kButtonCount> buttons_{};
    std::array<Style, kButtonCount> styles_{};
    QActionGroup *scales_ = nullptr;
    bool shown_ = true;
};
