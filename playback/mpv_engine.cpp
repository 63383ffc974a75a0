#include "playback/mpv_engine.h"

#include <QWidget>

// Placeholder until the libmpv engine lands.
MpvEngine::MpvEngine(QWidget *parent) : area_(new QWidget(parent)) {}
MpvEngine::~MpvEngine() = default;
bool MpvEngine::set(Disp, const QVariant &) { return false; }
std::optional<QVariant> MpvEngine::get(Disp) { return std::nullopt; }
bool MpvEngine::call(Disp) { return false; }
QWidget *MpvEngine::widget() { return area_; }
