#pragma once

#include <QtGlobal>

class App;
class MediaEngine;
struct Settings;

// Gives the engine every playback and display setting: display size, the
// five display elements, then full-screen controls, rewind, auto start, mute,
// play count, border colour and width, volume and balance, in that order.
// Every path that starts a file runs it first, so the first sample already
// has the user's volume and balance; the video window's activation runs it
// again. A value the engine already holds changes nothing there.
void applySettings(MediaEngine &mp, const Settings &s);

// The user set the volume or the mute somewhere (the engine's own controls, a
// remote): the settings keep it, so that no activation undoes it, the engine
// has it, and an open configuration dialog shows it, so that its apply keeps
// it too. The file waits for the next apply, as for the dialog's own slider.
void setSound(App &app, qint16 volume, bool muted);
