#pragma once
#include <QList>
#include <QMargins>
#include <QPointer>
#include <array>
#include <functional>
#include <optional>

class Form;

enum class FormId { Solvane, frmMovie, frmPlayList, FrmConf, FrmApropos };
inline constexpr int kFormCount = 5;

// The five windows, each existing at most once. Referring to a window that is
// not loaded creates it hidden and runs its load handler; unloading runs its
// unload handler and destroys it, so the next reference loads a fresh one.
class FormRegistry
{
public:
    using Factory = std::function<Form *()>;

    FormRegistry() = default;
    FormRegistry(const FormRegistry &) = delete;
    FormRegistry &operator=(const FormRegistry &) = delete;
    ~FormRegistry();

    void setFactory(FormId id, Factory factory);
    bool exists(FormId id) const;

    // Loads on reference; nullptr only when the window does not exist in
    // this build.
    Form *get(FormId id);
    Form *loaded(FormId id) const;
    void unload(FormId id);

    // Shows a window not modally and brings it to the front; an open one is
    // simply brought up again.
    void showModeless(FormId id);

    // Destroys every window without running handlers: the end of the program.
    void destroyAll();

    // The frame the window manager last gave each window, once it has. Kept
    // here, so a window unloaded and loaded again still knows it.
    std::optional<QMargins> &knownFrame(FormId id) { return frames_[int(id)]; }

private:
    std::array<Factory, kFormCount> factories_;
    std::array<QPointer<Form>, kFormCount> forms_;
    std::array<std::optional<QMargins>, kFormCount> frames_;
    // Unloaded windows whose deletion is still queued: they go with the
    // registry too, never outliving the state they refer to.
    QList<QPointer<Form>> closing_;
};
