#pragma once
#include <array>

#include "platform/common_dialog.h"
#include "platform/form.h"
#include "platform/form_registry.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;

// The configuration dialog. Scale, border and sound change their setting at
// once (volume and balance reach the engine at once too); the rest waits for
// "&Appliquer...", which pushes every setting to the video window and its
// engine and writes the settings file. It is never modal.
class FrmConf : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::FrmConf;
    explicit FrmConf(App &app);

    void Form_Load() override;
    void OptionVideo_Click(int Index);
    void HScroll1_Change();
    void Command1_Click();
    void Slider1_Change();
    void Slider2_Change();
    void Label6_Click();
    // OptionLire_Click, OptionRepet_Click and Text1_Change all apply the
    // quit-at-end visibility rule.
    void quitAtEndRule();
    void Command2_Click();  // "&Appliquer..."
    // The volume and the mute, changed elsewhere: the slider and the mute box
    // show them, quietly.
    void showSound();
    void Command3_Click();  // "&Fermer"
    // The display size in use, shown without choosing it again.
    void showScale(int size);

    QGroupBox *Frame1, *Frame2, *Frame3, *Frame6, *Frame4;
    std::array<QRadioButton *, 5> OptionVideo{};
    QCheckBox *Check1, *Check2, *Check3, *Check4, *Check5, *Check6, *Check7, *Check8, *Check9, *Check10,
        *Check11, *Check12, *Check13;
    QPushButton *Command1, *Command2, *Command3;
    QLabel *Picture1;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6;
    // Beside the count: says when apply refused the count typed.
    QLabel *lblRefused;
    QScrollBar *HScroll1;
    QRadioButton *OptionRepet, *OptionLire;
    QLineEdit *Text1;
    QSlider *Slider1, *Slider2;
    CommonDialog CommonDialog1;

    // The swatch's colour, 0x00BBGGRR.
    qint32 swatchColor() const { return swatch_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildFrames();
    void buildOptions();
    void paintSwatch(qint32 color);
    // The play mode and count as stored.
    void showPlayCount();

    qint32 swatch_ = 0;
    bool centred_ = false;
};
