#pragma once
#include "platform/form.h"
#include "platform/form_registry.h"

class ImageControl;
class QLabel;
class QPushButton;

// The About box: the product's name, version and credit, its icon, and the
// way to the help.
class FrmApropos : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::FrmApropos;
    explicit FrmApropos(App &app);

    void Command1_Click();  // "&OK"
    void Command2_Click();  // "&Aide"

    QLabel *Label1, *Label2, *Label3, *Label4;
    ImageControl *Image1;
    QPushButton *Command1, *Command2;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool centred_ = false;
};
