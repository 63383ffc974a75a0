#pragma once
#include "platform/form.h"
#include "platform/form_registry.h"

class MediaEngine;

// The video window: the one home of the media engine.
class frmMovie : public Form
{
    Q_OBJECT
public:
    static constexpr FormId Id = FormId::frmMovie;
    explicit frmMovie(App &app);

    MediaEngine *Mp() const { return Mp_; }

    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload() override;
    void Mp_EndOfStream(int Result);

private:
    MediaEngine *Mp_ = nullptr;
};
