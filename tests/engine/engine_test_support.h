#pragma once
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>

#include "engine/mpv_engine.h"
#include "support/files.h"
#include "tests/engine/engine_media.h"

inline double number(MediaEngine &engine, Disp id) { return engine.get(id).value_or(QVariant(-99.0)).toDouble(); }

// One of the engine's own widgets, by its object name.
template <typename T = QWidget>
T *part(MediaEngine &mp, const char *name) { return mp.widget()->findChild<T *>(QLatin1String(name)); }

// An engine in a shown host widget, as the video window holds it.
struct EngineRig
{
    explicit EngineRig(const MpvOptions &options = nullOutputs(), QSize size = {640, 480})
        : host(std::make_unique<QWidget>()), engine(new MpvEngine(host.get(), options)),
          ends(engine, &MediaEngine::EndOfStream)
    {
        host->resize(size);
        engine->widget()->setGeometry(QRect(QPoint(), size));
        host->show();
    }
    void play(const QString &file)
    {
        ASSERT_TRUE(engine->set(Disp::FileName, file));
        ASSERT_TRUE(engine->call(Disp::Play));
    }
    // Result of the next end of stream, or -999 when none came in time.
    int nextEnd(int ms)
    {
        const qsizetype seen = ends.size();
        if (!QTest::qWaitFor([&] { return ends.size() > seen; }, ms))
            return -999;
        return ends.at(seen).at(0).toInt();
    }

    std::unique_ptr<QWidget> host;
    MpvEngine *engine;  // owned by the host, as by the video window
    QSignalSpy ends;
};
