#pragma once
#include "playback/media_engine.h"

// The media engine on libmpv: the only engine the program ships.
class MpvEngine : public MediaEngine
{
    Q_OBJECT
public:
    explicit MpvEngine(QWidget *parent = nullptr);
    ~MpvEngine() override;

    bool set(Disp id, const QVariant &value) override;
    std::optional<QVariant> get(Disp id) override;
    bool call(Disp id) override;
    QWidget *widget() override;

private:
    QWidget *area_ = nullptr;
};
