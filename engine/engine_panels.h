#pragma once
#include <QWidget>

class ElidedLabel;
class QLabel;
class QSlider;
class QToolButton;

// The engine's own panels under the picture, each shown or hidden on its own.
enum class Panel { Controls, Sound, Position, Title, Status };

// Control buttons, sound controls, position bar, title panel and status bar,
// stacked under the picture. They only show what they are told and report
// what the user does; the engine decides.
class EnginePanels : public QWidget
{
    Q_OBJECT
public:
    explicit EnginePanels(QWidget *parent = nullptr);

    void setPanelShown(Panel panel, bool shown);
    bool panelShown(Panel panel) const;
    // Height the shown panels need (0 when none is shown).
    int panelsHeight() const;

    // Another set of control buttons, for over the full-screen picture.
    QWidget *makeControlButtons(QWidget *parent);

    void setState(const QString &text);
    void setTimes(double position, double duration);
    // A file that did not play: why, in the status bar; no title, no time.
    void showFailure(const QString &why);
    void setTitle(const QString &title, const QString &artist);
    void setMuted(bool muted);
    void setVolume(int hundredthsDb);

signals:
    void playClicked();
    void pauseClicked();
    void stopClicked();
    void muteToggled(bool muted);
    void volumeMoved(int hundredthsDb);
    // While the knob is dragged, fast seeks (exact false); an exact one
    // where it is let go, clicked or moved with the keys.
    void seekRequested(double seconds, bool exact);
    void layoutChanged();

private:
    QWidget *panel(Panel panel) const;
    void seekToSlider(bool exact);

    QWidget *controls_, *sound_, *row_, *position_, *title_, *status_;
    QToolButton *mute_;
    QSlider *volume_, *bar_;
    ElidedLabel *titleText_, *artistText_;
    QLabel *stateText_, *timesText_;
    double duration_ = 0;
    double unitsPerSecond_ = 1000;  // of the position bar
    bool updating_ = false;
};
