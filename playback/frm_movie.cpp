#include "playback/frm_movie.h"

#include "app/app_context.h"
#include "playback/media_engine.h"

frmMovie::frmMovie(App &app) : Form(app, Id)
{
    setClientSizeTw(7365, 6300);
    Mp_ = app.createEngine(this);
    connect(Mp_, &MediaEngine::EndOfStream, this, &frmMovie::Mp_EndOfStream);
}

void frmMovie::Form_Load() {}
void frmMovie::Form_Activate() {}
void frmMovie::Form_Resize() {}
void frmMovie::Form_Unload()
{
    if (Mp_)
        Mp_->call(Disp::Stop);
    app().VideoW = QString::number(twWidth());
    app().VideoH = QString::number(twHeight());
}
void frmMovie::Mp_EndOfStream(int) {}
