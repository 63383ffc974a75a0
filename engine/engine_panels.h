#pragma once
#include <QWidget>

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
    void setTitle(const QString &title, const QString &artist);
    void setMuted(bool muted);
    void setVolume(int hundredthsDb);

signals:
    void playClicked();
    void pauseClicked();
    void stopClicked();
    void muteToggled(bool muted);
    void volumeMoved(int hundredthsDb);
    void seekRequested(double seconds);
    void layoutChanged();

private:
    QWidget *panel(Panel panel) const;
    void seekToSlider();

    QWidget *controls_, *sound_, *row_, *position_, *title_, *status_;
    QToolButton *mute_;
    QSlider *volume_, *bar_;
    QLabel *titleText_, *artistText_, *stateText_, *timesText_;
    double duration_ = 0;
    bool updating_ = false;
};
