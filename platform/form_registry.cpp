#include "platform/form_registry.h"

#include "platform/form.h"

#include <utility>

FormRegistry::~FormRegistry() { destroyAll(); }

void FormRegistry::setFactory(FormId id, Factory factory) { factories_[int(id)] = std::move(factory); }

bool FormRegistry::exists(FormId id) const { return bool(factories_[int(id)]); }

Form *FormRegistry::get(FormId id)
{
    auto &slot = forms_[int(id)];
    if (slot)
        return slot;
    if (!factories_[int(id)])
        return nullptr;
    Form *form = factories_[int(id)]();
    slot = form;
    form->Form_Load();
    return slot;
}

Form *FormRegistry::loaded(FormId id) const { return forms_[int(id)]; }

void FormRegistry::unload(FormId id)
{
    QPointer<Form> form = forms_[int(id)];
    if (!form)
        return;
    form->Form_Unload();
    // The handler may have unloaded the window itself, or ended the program.
    if (!form)
        return;
    forms_[int(id)] = nullptr;
    form->hide();
    // Later: an unload can start inside one of the window's own handlers.
    form->deleteLater();
    closing_.removeAll(nullptr);
    closing_ << form;
}

void FormRegistry::showModeless(FormId id)
{
    Form *form = get(id);
    if (!form)
        return;
    form->show();
    form->raise();
    form->activateWindow();
}

void FormRegistry::destroyAll()
{
    for (auto &slot : forms_) {
        delete slot.data();
        slot = nullptr;
    }
    for (const QPointer<Form> &form : std::exchange(closing_, {}))
        delete form.data();
}
