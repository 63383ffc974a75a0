#pragma once
#include <QStringList>
#include <functional>

class QWidget;

// Lets `window` take local files dropped on it (or on any of its controls
// that takes no drops itself) and hands their paths to `dropped`.
void acceptFileDrops(QWidget *window, std::function<void(const QStringList &files)> dropped);
