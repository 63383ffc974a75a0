#pragma once
#include <QString>
#include <memory>

class QLockFile;

// One running instance per user and program file. The lock is released when
// the process ends, crashed or not.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &programFile);
    ~SingleInstance();
    // True when another instance of the same program file already runs.
    bool anotherIsRunning() const { return !held_; }

private:
    std::unique_ptr<QLockFile> lock_;
    bool held_ = false;
};
